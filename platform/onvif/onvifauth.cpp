#include "platform/onvif/onvifauth.h"

#include "platform/onvif/onvifhttp.h"
#include "platform/onvif/onvifxml.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace OnvifCredentials {

namespace {

QByteArray Hex(QCryptographicHash::Algorithm algorithm, const QByteArray &data)
{
    return QCryptographicHash::hash(data, algorithm).toHex();
}

// Splits 'key=value, key="quoted, value"' into pairs; keys lower-cased.
QList<QPair<QByteArray, QByteArray>> Parameters(const QByteArray &text)
{
    QList<QPair<QByteArray, QByteArray>> parameters;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        while (i < n && (text[i] == ' ' || text[i] == ',' || text[i] == '\t'))
            ++i;
        const int keyStart = i;
        while (i < n && text[i] != '=' && text[i] != ',' && text[i] != ' ')
            ++i;
        const QByteArray key = text.mid(keyStart, i - keyStart).trimmed().toLower();
        while (i < n && text[i] == ' ')
            ++i;
        QByteArray value;
        if (i < n && text[i] == '=') {
            ++i;
            while (i < n && text[i] == ' ')
                ++i;
            if (i < n && text[i] == '"') {
                for (++i; i < n && text[i] != '"'; ++i) {
                    if (text[i] == '\\' && i + 1 < n)
                        ++i;
                    value += text[i];
                }
                ++i;
            } else {
                const int valueStart = i;
                while (i < n && text[i] != ',')
                    ++i;
                value = text.mid(valueStart, i - valueStart).trimmed();
            }
        }
        if (!key.isEmpty())
            parameters.append({key, value});
    }
    return parameters;
}

bool ParseOne(const QByteArray &header, DIGEST_CHALLENGE *challenge)
{
    const QByteArray trimmed = header.trimmed();
    if (!trimmed.toLower().startsWith("digest "))
        return false;
    DIGEST_CHALLENGE parsed;
    QByteArray algorithm = "md5";
    bool qopOffered = false;
    for (const auto &parameter : Parameters(trimmed.mid(7))) {
        if (parameter.first == "realm")
            parsed.strRealm = parameter.second;
        else if (parameter.first == "nonce")
            parsed.strNonce = parameter.second;
        else if (parameter.first == "opaque")
            parsed.strOpaque = parameter.second;
        else if (parameter.first == "algorithm")
            algorithm = parameter.second.toLower();
        else if (parameter.first == "qop") {
            qopOffered = true;
            for (const QByteArray &option : parameter.second.split(','))
                if (option.trimmed().toLower() == "auth")
                    parsed.bQopAuth = true;
        }
    }
    if (parsed.strNonce.isEmpty() || (qopOffered && !parsed.bQopAuth))
        return false;
    // These go back to the device in our Authorization header: a line break there would let the
    // device write headers of its own into our request.
    for (const QByteArray *value : {&parsed.strRealm, &parsed.strNonce, &parsed.strOpaque})
        if (!OnvifHeaderSafe(*value))
            return false;
    parsed.bSession = algorithm.endsWith("-sess");
    if (parsed.bSession)
        algorithm.chop(5);
    if (algorithm == "sha-256")
        parsed.bSha256 = true;
    else if (algorithm != "md5")
        return false;
    *challenge = parsed;
    return true;
}

QByteArray Quoted(const QByteArray &value)
{
    QByteArray escaped = value;
    escaped.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + escaped + '"';
}

} // namespace

QByteArray PasswordDigest(const QByteArray &nonce, const QByteArray &created, const QByteArray &password)
{
    return QCryptographicHash::hash(nonce + created + password, QCryptographicHash::Sha1).toBase64();
}

QByteArray CreatedText(const QDateTime &utc)
{
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")).toLatin1();
}

QByteArray SecurityHeader(const QByteArray &userName, const QByteArray &password, const QDateTime &created,
                          const QByteArray &nonce)
{
    const QByteArray createdText = CreatedText(created);
    return QByteArray("<wsse:Security s:mustUnderstand=\"1\" xmlns:wsse=\"") + OnvifUri::kWsse + "\" xmlns:wsu=\""
        + OnvifUri::kWsu + "\"><wsse:UsernameToken><wsse:Username>" + OnvifEscape(QString::fromUtf8(userName))
        + "</wsse:Username><wsse:Password Type=\"http://docs.oasis-open.org/wss/2004/01/"
          "oasis-200401-wss-username-token-profile-1.0#PasswordDigest\">"
        + PasswordDigest(nonce, createdText, password)
        + "</wsse:Password><wsse:Nonce EncodingType=\"http://docs.oasis-open.org/wss/2004/01/"
          "oasis-200401-wss-soap-message-security-1.0#Base64Binary\">"
        + nonce.toBase64() + "</wsse:Nonce><wsu:Created>" + createdText
        + "</wsu:Created></wsse:UsernameToken></wsse:Security>";
}

bool ParseChallenge(const QList<QByteArray> &headers, DIGEST_CHALLENGE *challenge)
{
    bool found = false;
    for (const QByteArray &header : headers) {
        DIGEST_CHALLENGE candidate;
        if (ParseOne(header, &candidate) && (!found || (candidate.bSha256 && !challenge->bSha256))) {
            *challenge = candidate;
            found = true;
        }
    }
    return found;
}

QByteArray DigestResponse(const DIGEST_CHALLENGE &challenge, const QByteArray &userName, const QByteArray &password,
                          const QByteArray &method, const QByteArray &uri, quint32 nonceCount, const QByteArray &cnonce)
{
    const auto algorithm = challenge.bSha256 ? QCryptographicHash::Sha256 : QCryptographicHash::Md5;
    QByteArray ha1 = Hex(algorithm, userName + ':' + challenge.strRealm + ':' + password);
    if (challenge.bSession)
        ha1 = Hex(algorithm, ha1 + ':' + challenge.strNonce + ':' + cnonce);
    const QByteArray ha2 = Hex(algorithm, method + ':' + uri);
    if (!challenge.bQopAuth)
        return Hex(algorithm, ha1 + ':' + challenge.strNonce + ':' + ha2);
    const QByteArray nc = QByteArray::number(nonceCount, 16).rightJustified(8, '0');
    return Hex(algorithm, ha1 + ':' + challenge.strNonce + ':' + nc + ':' + cnonce + ":auth:" + ha2);
}

QByteArray DigestAuthorization(const DIGEST_CHALLENGE &challenge, const QByteArray &userName,
                               const QByteArray &password, const QByteArray &method, const QByteArray &uri,
                               quint32 nonceCount, const QByteArray &cnonce)
{
    QByteArray algorithm = challenge.bSha256 ? "SHA-256" : "MD5";
    if (challenge.bSession)
        algorithm += "-sess";
    QByteArray value = "Digest username=" + Quoted(userName) + ", realm=" + Quoted(challenge.strRealm)
        + ", nonce=" + Quoted(challenge.strNonce) + ", uri=" + Quoted(uri) + ", algorithm=" + algorithm
        + ", response=" + Quoted(DigestResponse(challenge, userName, password, method, uri, nonceCount, cnonce));
    if (challenge.bQopAuth)
        value += ", qop=auth, nc=" + QByteArray::number(nonceCount, 16).rightJustified(8, '0')
            + ", cnonce=" + Quoted(cnonce);
    if (!challenge.strOpaque.isEmpty())
        value += ", opaque=" + Quoted(challenge.strOpaque);
    return value;
}

QByteArray RandomBytes(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(QRandomGenerator::system()->generate() & 0xFF);
    return bytes;
}

} // namespace OnvifCredentials
