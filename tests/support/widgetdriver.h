// Drives ordinary widgets from tests as a user does: fields found by object name, a combo box
// entry picked by its text, a line edit cleared and typed into, a dialog run modally with the
// user's steps inside its loop.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QDialog;
class QLineEdit;
class QWidget;

QComboBox *Combo(QWidget *w, const char *name); // the child combo box of that name, or null
QLineEdit *Edit(QWidget *w, const char *name);  // the child line edit of that name, or null

// Picks the entry the way the user sees it, by its text; false when there is no such entry.
bool Choose(QComboBox *combo, const QString &text);
bool Choose(QWidget *w, const char *combo, const QString &text);

// Opens the combo box's list, moves to the entry with the arrow keys and presses 'key' in the
// open list, as a keyboard user picks an entry; false when the list did not open or has no
// such entry.
bool PickInOpenList(QComboBox *combo, const QString &text, int key);

// Focuses the field, clears it with the keyboard and types the text.
void Retype(QLineEdit *edit, const QString &text);

// The texts of all entries, in list order.
QStringList Texts(const QComboBox *combo);

// The field tooltip's label while it is on screen, else null.
QWidget *VisibleTipLabel();

// Runs the dialog modally and performs 'steps' inside its loop once it is the active window
// (Return and Enter are window shortcuts). A dialog the steps leave open by mistake is ended
// with -1 after a while instead of hanging the test. Returns what exec() returned.
int RunModal(QDialog &dlg, const std::function<void()> &steps);
