#include "toolkit/setupfile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

bool ReadSetupFile(const QString &path, QByteArray *contents)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxSetupFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The file may have grown since it was looked at; one byte more than allowed tells.
    const QByteArray data = file.read(kMaxSetupFileSize + 1);
    if (data.size() > kMaxSetupFileSize)
        return false;
    *contents = data;
    return true;
}

QString ReadKeyValue(QXmlStreamReader &reader, const QString &value)
{
    QString result = value;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("Value"))
            result = reader.readElementText();
        if (reader.isEndElement() && reader.name() == QLatin1String("Value"))
            break;
    }
    return result;
}
