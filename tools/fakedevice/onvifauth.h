// The two ways an ONVIF request proves who sends it, as the fake device checks them: the
// WS-Security UsernameToken in the SOAP header, and HTTP digest authentication (RFC 7616).
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

namespace OnvifAuth {

// Base64(SHA-1(nonce + created + password)), the nonce taken as the raw bytes that its Base64
// text encodes.
QByteArray PasswordDigest(const QByteArray &nonceBase64, const QByteArray &created, const QByteArray &password);

// The UsernameToken as it came in the request header.
struct USERNAME_TOKEN
{
    bool bPresent = false;
    QByteArray strUser;
    QByteArray strPassword;     // the digest (or the plain text, by the type below)
    bool bPasswordText = false; // Type ...#PasswordText instead of ...#PasswordDigest
    QByteArray strNonce;        // Base64 text
    QByteArray strCreated;      // xs:dateTime text
};

enum class TokenCheck { Accepted, Missing, WrongCredentials, StaleCreated };

// Checks the token against the device's user. now is the device's clock; a Created time further
// than toleranceSeconds away from it is refused (toleranceSeconds < 0: never).
TokenCheck CheckUsernameToken(const USERNAME_TOKEN &token, const QByteArray &user, const QByteArray &password,
                              const QDateTime &now, int toleranceSeconds);

// HTTP digest. The challenge carries a fresh nonce; the response's fields come from the
// Authorization header.
QByteArray DigestChallenge(const QByteArray &realm, const QByteArray &nonce, const QByteArray &algorithm);
QMap<QByteArray, QByteArray> ParseDigestFields(const QByteArray &authorizationHeader);
// The response value a client must send for these fields (algorithm "MD5" when absent, "SHA-256").
// Empty for an algorithm we do not know.
QByteArray DigestResponse(const QMap<QByteArray, QByteArray> &fields, const QByteArray &method,
                          const QByteArray &password);

} // namespace OnvifAuth
