// Small pieces the program's pages build their forms from, so that every page looks alike: a
// blue caption with a line after it, spin boxes that recompute on every keystroke, and numbers
// right-aligned in table cells.
#pragma once

#include <QString>

class QFrame;
class QLabel;
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
// A number in a table cell, right-aligned.
void SetNumber(QTreeWidgetItem *item, int column, const QString &text);

} // namespace NordaForm
