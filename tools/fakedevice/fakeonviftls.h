// The certificate a fake device shows over HTTPS: made at start with a fresh key, self-signed as
// cameras' are, and as broken as the device is configured (expired, or for another host name).
// Nothing secret is kept anywhere but in memory.
#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QString>

struct FAKE_TLS_IDENTITY
{
    QSslCertificate certificate;
    QSslKey key;
    bool IsValid() const { return !certificate.isNull() && !key.isNull(); }
};

namespace FakeOnvifTls {
// A P-256 key and a certificate for hostName (a DNS name or an IP address, in the subject and the
// subject alternative name), valid from an hour ago for a year, or expired since yesterday.
FAKE_TLS_IDENTITY MakeIdentity(const QString &hostName, bool expired, QString *error);
} // namespace FakeOnvifTls
