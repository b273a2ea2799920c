// Small pieces the program's pages build their forms from, so that every page looks alike: a
// blue caption with a line after it, spin boxes that recompute on every keystroke, read-only
// fields that look it, and numbers right-aligned in table cells.
#pragma once

#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTreeWidgetItem;
class QWidget;

namespace NordaForm {

// A section's caption in the skin's blue.
QLabel *Caption(const QString &text, QWidget *parent);
// The sunken line that runs after a caption.
QFrame *Line(QWidget *parent);
// A right-aligned spin box named 'name' whose every keystroke changes its value.
QSpinBox *Spin(int min, int max, const QString &suffix, QWidget *parent, const char *name);
// Makes a field read-only or editable, with the look the style sheet gives either.
void SetReadOnly(QLineEdit *edit, bool readOnly);
// A number in a table cell, right-aligned.
void SetNumber(QTreeWidgetItem *item, int column, const QString &text);

} // namespace NordaForm
