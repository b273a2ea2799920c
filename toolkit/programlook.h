// The program's look: its font, widget style and style sheet. Set once on the application by
// the program, and by tests and benchmarks that measure or picture widgets as users see them.
#pragma once

// Arial 9 (Liberation Sans where Arial is missing), CVexaStyle, ":/qss/NORDA.qss", and the
// 10-point font of field tooltips. Needs a QApplication; the style sheet needs the resources.
void ApplyProgramLook();
