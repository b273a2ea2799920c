// Where the program's data files are: beside the program.
#pragma once

#include <QString>

// The application directory as Qt reports it, followed by "/".
QString AppDirPath();
// A relative name resolved against AppDirPath(); an absolute path is returned unchanged.
QString ResolveAppPath(const QString &name);
