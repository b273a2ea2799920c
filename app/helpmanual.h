// Opens the user manual in the desktop's PDF viewer. The language follows the "Translator"
// entry of Setup.xml in the current directory; the manual is looked for there too.
#pragma once

// True when the desktop accepted the request. Callers show "Can not find Manual." otherwise.
bool OpenHelpManual();

#include <QString>

// The manual OpenHelpManual() would open (in the current directory), or empty when Setup.xml
// can't be read there.
QString HelpManualPath();
