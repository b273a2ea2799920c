#include "tools/fakedevice/onvifauth.h"

#include <QCryptographicHash>

namespace OnvifAuth {

QByteArray PasswordDigest(const QByteArray &nonceBase64, const QByteArray &created, const QByteArray &password)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::fromBase64(nonceBase64));
    hash.addData(created);
    hash.addData(password);
    return hash.result().toBase64();
}

TokenCheck CheckUsernameToken(const USERNAME_TOKEN &token, const QByteArray &user, const QByteArray &password,
                              const QDateTime &now, int toleranceSeconds)
{
    if (!token.bPresent)
        return TokenCheck::Missing;
    if (token.strUser != user)
        return TokenCheck::WrongCredentials;
    if (token.bPasswordText)
        return token.strPassword == password ? TokenCheck::Accepted : TokenCheck::WrongCredentials;
    // A digest needs both nonce and creation time, so that it cannot be replayed forever.
    if (token.strNonce.isEmpty() || token.strCreated.isEmpty())
        return TokenCheck::WrongCredentials;
    if (PasswordDigest(token.strNonce, token.strCreated, password) != token.strPassword)
        return TokenCheck::WrongCredentials;
    if (toleranceSeconds >= 0) {
        const QDateTime created = QDateTime::fromString(QString::fromLatin1(token.strCreated), Qt::ISODateWithMs);
        if (!created.isValid() || qAbs(created.secsTo(now)) > toleranceSeconds)
            return TokenCheck::StaleCreated;
    }
    return TokenCheck::Accepted;
}

QByteArray DigestChallenge(const QByteArray &realm, const QByteArray &nonce, const QByteArray &algorithm)
{
    return "Digest realm=\"" + realm + "\", qop=\"auth\", algorithm=" + algorithm + ", nonce=\"" + nonce + "\"";
}

QMap<QByteArray, QByteArray> ParseDigestFields(const QByteArray &header)
{
    QMap<QByteArray, QByteArray> fields;
    QByteArray text = header.trimmed();
    if (!text.startsWith("Digest ") && !text.startsWith("digest "))
        return fields;
    text = text.mid(7);
    int i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ','))
            ++i;
        const int equals = text.indexOf('=', i);
        if (equals < 0)
            break;
        const QByteArray name = text.mid(i, equals - i).trimmed().toLower();
        i = equals + 1;
        QByteArray value;
        if (i < text.size() && text[i] == '"') {
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                value += text[i++];
            }
            ++i; // closing quote
        } else {
            const int comma = text.indexOf(',', i);
            value = text.mid(i, comma < 0 ? -1 : comma - i).trimmed();
            i = comma < 0 ? text.size() : comma;
        }
        fields.insert(name, value);
    }
    return fields;
}

QByteArray DigestResponse(const QMap<QByteArray, QByteArray> &fields, const QByteArray &method,
                          const QByteArray &password)
{
    const QByteArray algorithm = fields.value("algorithm", "MD5").toUpper();
    QCryptographicHash::Algorithm hashAlgorithm;
    if (algorithm == "MD5")
        hashAlgorithm = QCryptographicHash::Md5;
    else if (algorithm == "SHA-256")
        hashAlgorithm = QCryptographicHash::Sha256;
    else
        return {};
    auto hex = [hashAlgorithm](const QByteArray &data) {
        return QCryptographicHash::hash(data, hashAlgorithm).toHex();
    };
    const QByteArray ha1 = hex(fields.value("username") + ':' + fields.value("realm") + ':' + password);
    const QByteArray ha2 = hex(method + ':' + fields.value("uri"));
    if (fields.contains("qop"))
        return hex(ha1 + ':' + fields.value("nonce") + ':' + fields.value("nc") + ':' + fields.value("cnonce") + ':'
                   + fields.value("qop") + ':' + ha2);
    return hex(ha1 + ':' + fields.value("nonce") + ':' + ha2); // RFC 2069 clients
}

} // namespace OnvifAuth
