// The user manual: opened in the desktop's PDF viewer on F1 from every window. The language
// follows the "Translator" entry of Setup.xml in the current directory; the manual is looked
// for there too.
#pragma once

#include <QString>

class QWidget;

// The language the user picked for the program ("0" English, "1" Chinese) chooses the manual in
// place of Setup.xml's "Translator"; empty (the default) leaves the choice to Setup.xml.
void SetHelpManualLanguage(const QString &translator);

// True when the desktop accepted the request. Callers show "Can not find Manual." otherwise.
bool OpenHelpManual();

// Opens the manual, or tells the user "Can not find Manual." in a message box over 'parent'.
void ShowHelpManual(QWidget *parent);

// The manual OpenHelpManual() would open (in the current directory), or empty when Setup.xml
// can't be read there.
QString HelpManualPath();
