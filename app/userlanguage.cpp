#include "app/userlanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
int g_running = 0;
// The file holds one digit and a newline; anything much larger is not ours.
constexpr qint64 kMaxFileSize = 64;
} // namespace

QString UserLanguageFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/language.txt");
}

int UserLanguageChoice()
{
    QFile file(UserLanguageFile());
    if (!QFileInfo(file).isFile() || file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll().trimmed();
    if (text == "0")
        return 0;
    if (text == "1")
        return 1;
    return -1;
}

bool SetUserLanguageChoice(int translator)
{
    if (translator != 0 && translator != 1)
        return false;
    QDir().mkpath(QFileInfo(UserLanguageFile()).absolutePath());
    QSaveFile file(UserLanguageFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(QByteArray::number(translator) + '\n');
    return file.commit();
}

int RunningLanguage()
{
    return g_running;
}

void SetRunningLanguage(int translator)
{
    g_running = translator == 1 ? 1 : 0;
}
