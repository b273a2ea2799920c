#include "toolkit/programlook.h"

#include "toolkit/vexastyle.h"

#include <QApplication>
#include <QFile>
#include <QFont>

void ApplyProgramLook()
{
    QFont font(QStringLiteral("Arial"), 9);
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    QApplication::setFont(font);
    QApplication::setStyle(new CVexaStyle);
    QFile sheet(QStringLiteral(":/qss/NORDA.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    QFont tipFont = font;
    tipFont.setPointSize(10);
    QApplication::setFont(tipFont, "CToolLabel");
}
