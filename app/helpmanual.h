// Opens the user manual in the desktop's PDF viewer. The language follows the "Translator"
// entry of Setup.xml in the current directory; the manual is looked for there too.
#pragma once

// True when the desktop accepted the request. Callers show "Can not find Manual." otherwise.
bool OpenHelpManual();
