#include "widgetdriver.h"

#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>

QComboBox *Combo(QWidget *w, const char *name)
{
    return w->findChild<QComboBox *>(QString::fromLatin1(name));
}

QLineEdit *Edit(QWidget *w, const char *name)
{
    return w->findChild<QLineEdit *>(QString::fromLatin1(name));
}

bool Choose(QComboBox *combo, const QString &text)
{
    const int index = combo ? combo->findText(text) : -1;
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    return true;
}

bool Choose(QWidget *w, const char *combo, const QString &text)
{
    return Choose(Combo(w, combo), text);
}

bool PickInOpenList(QComboBox *combo, const QString &text, int key)
{
    const int target = combo->findText(text);
    if (target < 0) {
        qWarning() << "no entry" << text << "in" << Texts(combo);
        return false;
    }
    combo->setFocus();
    combo->showPopup();
    if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; })) {
        qWarning() << "the list did not open";
        return false;
    }
    QWidget *list = QApplication::activePopupWidget()->focusWidget();
    if (!list)
        return false;
    const int steps = target - combo->currentIndex();
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key(key));
    return true;
}

void Retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QStringList Texts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QWidget *VisibleTipLabel()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("ctooltip_label") && w->isVisible())
            return w;
    }
    return nullptr;
}

int RunModal(QDialog &dlg, const std::function<void()> &steps)
{
    // Shared with the timers below, which may outlive this call when the dialog does.
    auto done = std::make_shared<bool>(false);
    QTimer::singleShot(0, &dlg, [&dlg, steps, done]() {
        if (QTest::qWaitForWindowActive(&dlg))
            steps();
        QTimer::singleShot(3000, &dlg, [&dlg, done]() {
            if (!*done)
                dlg.done(-1);
        });
    });
    const int result = dlg.exec();
    *done = true;
    return result;
}
