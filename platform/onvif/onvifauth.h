// Credentials on the two levels ONVIF devices check them: the WS-Security UsernameToken in the
// SOAP header, and HTTP Digest when a device answers 401 with a challenge.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

namespace OnvifCredentials {

// Base64(SHA-1(nonce + created + password)), nonce as raw bytes.
QByteArray PasswordDigest(const QByteArray &nonce, const QByteArray &created, const QByteArray &password);
// "2014-12-24T16:29:56.117Z"
QByteArray CreatedText(const QDateTime &utc);
// The <wsse:Security> header element with a UsernameToken carrying the digest (never the password).
QByteArray SecurityHeader(const QByteArray &userName, const QByteArray &password, const QDateTime &created,
                          const QByteArray &nonce);

struct DIGEST_CHALLENGE
{
    QByteArray strRealm;
    QByteArray strNonce;
    QByteArray strOpaque;
    bool bSha256 = false;
    bool bSession = false; // "-sess" variant
    bool bQopAuth = false; // false: the challenge names no qop (RFC 2069 answer)
};

// The strongest challenge we can answer among the WWW-Authenticate values of one response
// (SHA-256 over MD5). False when none is a Digest challenge with an algorithm and qop we speak.
bool ParseChallenge(const QList<QByteArray> &headers, DIGEST_CHALLENGE *challenge);
// The "response" value of RFC 7616, lower-case hex.
QByteArray DigestResponse(const DIGEST_CHALLENGE &challenge, const QByteArray &userName, const QByteArray &password,
                          const QByteArray &method, const QByteArray &uri, quint32 nonceCount,
                          const QByteArray &cnonce);
// The whole Authorization header value.
QByteArray DigestAuthorization(const DIGEST_CHALLENGE &challenge, const QByteArray &userName,
                               const QByteArray &password, const QByteArray &method, const QByteArray &uri,
                               quint32 nonceCount, const QByteArray &cnonce);

// Random bytes for nonces.
QByteArray RandomBytes(int count);

} // namespace OnvifCredentials
