// The certificates of devices reached over HTTPS, pinned on first use.
//
// Cameras and recorders ship self-signed certificates that no authority vouches for, so the
// first certificate a device shows is trusted and its SHA-256 fingerprint kept, per address and
// port, in a small file in the user's configuration folder. A later, different certificate is
// refused until the user accepts it (Forget, then the next one seen is pinned). Callable from
// any thread.
#pragma once

#include <QByteArray>
#include <QString>

namespace CertificatePins {

enum class Verdict {
    FirstUse, // nothing was pinned: this one is now
    Known,    // the pinned certificate
    Changed,  // another certificate than the pinned one
};

Verdict Check(const QString &host, quint16 port, const QByteArray &sha256);
// The user accepted whatever the device shows next.
void Forget(const QString &host, quint16 port);

// The file, by default "device-certificates.txt" in the application's configuration folder.
QString File();
void SetFile(const QString &path);

} // namespace CertificatePins
