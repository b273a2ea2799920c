#include "app/apppath.h"

#include <QCoreApplication>
#include <QDir>

QString AppDirPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString ResolveAppPath(const QString &name)
{
    if (QDir::isAbsolutePath(name))
        return name;
    return AppDirPath() + name;
}
