// The interface language a user picked from the menu. It is kept in the user's own configuration
// folder, beside the recent plans, and wins over Setup.xml, which stays the machine's default for
// every user who has not picked one. A choice takes effect at the next start.
//
// Languages are numbered as Setup.xml's "Translator": 0 English, 1 Chinese.
#pragma once

#include <QString>

// The user's choice, or -1 when there is none (or the file holds anything else).
int UserLanguageChoice();
// Keeps the choice for the next start; false when it could not be written.
bool SetUserLanguageChoice(int translator);
QString UserLanguageFile();

// The language this run shows, as recorded at start-up; English until then.
int RunningLanguage();
void SetRunningLanguage(int translator);
