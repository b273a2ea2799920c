#include "toolkit/formparts.h"

#include <QFrame>
#include <QLabel>
#include <QSpinBox>
#include <QTreeWidgetItem>

namespace NordaForm {

QLabel *Caption(const QString &text, QWidget *parent)
{
    auto label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: rgb(64, 131, 197);"));
    return label;
}

QFrame *Line(QWidget *parent)
{
    auto line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QSpinBox *Spin(int min, int max, const QString &suffix, QWidget *parent, const char *name)
{
    auto spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(min, max);
    spin->setSuffix(suffix);
    spin->setAlignment(Qt::AlignRight);
    spin->setMinimumWidth(84);
    spin->setKeyboardTracking(true); // every keystroke recomputes
    return spin;
}

void SetNumber(QTreeWidgetItem *item, int column, const QString &text)
{
    item->setText(column, text);
    item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace NordaForm
