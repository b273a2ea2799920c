// Reading Setup.xml: the start-up configuration and the manual opener both read it, so the
// rules about which files are read at all, and how a key's value is found, live here once.
#pragma once

#include <QByteArray>
#include <QString>

class QXmlStreamReader;

// Largest Setup.xml read; the real file holds three short keys.
constexpr qint64 kMaxSetupFileSize = qint64(64) * 1024;

// The contents of 'path' when it is a regular file of at most kMaxSetupFileSize bytes. A FIFO,
// device, directory or oversized file counts as missing: reading one could block start-up for
// ever or swallow the memory.
bool ReadSetupFile(const QString &path, QByteArray *contents);

// Reads on from the start of a key element to the end of the next "Value" element and returns
// that element's text, or 'value' unchanged when the document ends first.
QString ReadKeyValue(QXmlStreamReader &reader, const QString &value = QString());
