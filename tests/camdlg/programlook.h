// Gives the test application the program's font, widget style and style sheet, so that the
// dialogs are laid out and measured as the user sees them.
#pragma once

#include "toolkit/vexastyle.h"

#include <QApplication>
#include <QFile>
#include <QFont>

inline void ApplyProgramLook()
{
    QFont font(QStringLiteral("Arial"), 9);
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    QApplication::setFont(font);
    QApplication::setStyle(new CVexaStyle);
    QFile sheet(QStringLiteral(":/qss/NORDA.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromLatin1(sheet.readAll()));
}
