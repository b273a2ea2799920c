#include "toolkit/formparts.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidgetItem>

#include <algorithm>

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
    // Wide enough for its largest value and suffix, and never narrower than its neighbours.
    spin->setMinimumWidth(std::max(84, spin->sizeHint().width()));
    spin->setKeyboardTracking(true); // every keystroke recomputes
    return spin;
}

void SetReadOnly(QLineEdit *edit, bool readOnly)
{
    if (edit->isReadOnly() == readOnly)
        return;
    edit->setReadOnly(readOnly);
    // The style sheet picks the look by the property, which a running style does not look at again.
    edit->style()->unpolish(edit);
    edit->style()->polish(edit);
}

void SetNumber(QTreeWidgetItem *item, int column, const QString &text)
{
    item->setText(column, text);
    item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace NordaForm
