#include "platform/certificatepins.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <mutex>

namespace {

struct PINS
{
    std::mutex mutex;
    QString strFile;
    bool bLoaded = false;
    QHash<QString, QByteArray> fingerprints; // by "host port"
};

PINS &Pins()
{
    static PINS pins;
    return pins;
}

QString Key(const QString &host, quint16 port)
{
    return host + QLatin1Char(' ') + QString::number(port);
}

QString FileOf(PINS &pins)
{
    if (pins.strFile.isEmpty())
        pins.strFile = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
            + QStringLiteral("/device-certificates.txt");
    return pins.strFile;
}

// Lines of "host port hex-fingerprint"; anything else is skipped.
void Load(PINS &pins)
{
    if (pins.bLoaded)
        return;
    pins.bLoaded = true;
    QFile file(FileOf(pins));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine(4096).simplified().split(' ');
        const QByteArray fingerprint = fields.size() == 3 ? QByteArray::fromHex(fields.at(2)) : QByteArray();
        if (fingerprint.size() == 32)
            pins.fingerprints.insert(QString::fromUtf8(fields.at(0) + ' ' + fields.at(1)), fingerprint);
    }
}

void Store(PINS &pins)
{
    const QString path = FileOf(pins);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return; // kept for this run at least
    for (auto pin = pins.fingerprints.cbegin(); pin != pins.fingerprints.cend(); ++pin)
        file.write(pin.key().toUtf8() + ' ' + pin.value().toHex() + '\n');
    file.commit();
}

} // namespace

CertificatePins::Verdict CertificatePins::Check(const QString &host, quint16 port, const QByteArray &sha256)
{
    PINS &pins = Pins();
    std::lock_guard<std::mutex> lock(pins.mutex);
    Load(pins);
    const QString key = Key(host, port);
    const auto pinned = pins.fingerprints.constFind(key);
    if (pinned != pins.fingerprints.constEnd())
        return pinned.value() == sha256 ? Verdict::Known : Verdict::Changed;
    pins.fingerprints.insert(key, sha256);
    Store(pins);
    return Verdict::FirstUse;
}

void CertificatePins::Forget(const QString &host, quint16 port)
{
    PINS &pins = Pins();
    std::lock_guard<std::mutex> lock(pins.mutex);
    Load(pins);
    if (pins.fingerprints.remove(Key(host, port)))
        Store(pins);
}

QString CertificatePins::File()
{
    PINS &pins = Pins();
    std::lock_guard<std::mutex> lock(pins.mutex);
    return FileOf(pins);
}

void CertificatePins::SetFile(const QString &path)
{
    PINS &pins = Pins();
    std::lock_guard<std::mutex> lock(pins.mutex);
    pins.strFile = path;
    pins.bLoaded = false;
    pins.fingerprints.clear();
}
