#include "platform/wsdiscoverymessage.h"

#include "platform/xmlguard.h"

#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const QString kSoap12 = QStringLiteral("http://www.w3.org/2003/05/soap-envelope");
const QString kSoap11 = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString kDiscovery = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery");
const QString kDiscovery11 = QStringLiteral("http://docs.oasis-open.org/ws-dd/ns/discovery/2009/01");
const QString kAddressing = QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing");
const QString kAddressing10 = QStringLiteral("http://www.w3.org/2005/08/addressing");
const QString kNetwork = QStringLiteral("http://www.onvif.org/ver10/network/wsdl");
const QString kDevice = QStringLiteral("http://www.onvif.org/ver10/device/wsdl");

bool IsDiscoveryNs(QStringView ns)
{
    return ns == kDiscovery || ns == kDiscovery11;
}

bool IsAddressingNs(QStringView ns)
{
    return ns == kAddressing || ns == kAddressing10;
}

// Reads the documents with the namespace declarations open at each point, to resolve the QNames
// of d:Types.
class CReader
{
public:
    explicit CReader(const QByteArray &data) : m_xml(data) {}

    QVector<WSD_ANNOUNCEMENT> Read()
    {
        QVector<WSD_ANNOUNCEMENT> found;
        if (!Next() || m_xml.name() != QLatin1String("Envelope")
            || (m_xml.namespaceUri() != kSoap12 && m_xml.namespaceUri() != kSoap11))
            return {};
        const QString soap = m_xml.namespaceUri().toString();
        while (Next()) {
            if (m_xml.namespaceUri() == soap && m_xml.name() == QLatin1String("Body"))
                ReadBody(found);
            else
                Skip();
        }
        return m_xml.hasError() ? QVector<WSD_ANNOUNCEMENT>() : found;
    }

private:
    // Every token is counted: one datagram never costs more than a bounded amount of reading.
    QXmlStreamReader::TokenType ReadNext()
    {
        if (++m_iTokens > WsDiscovery::kMaxDatagramTokens) {
            m_xml.raiseError(QStringLiteral("too many tokens"));
            return QXmlStreamReader::Invalid;
        }
        return m_xml.readNext();
    }

    // The next child start element of the current element; false at its end (or an error).
    bool Next()
    {
        while (!m_xml.atEnd()) {
            const auto token = ReadNext();
            if (token == QXmlStreamReader::StartElement) {
                m_scopes.append(m_xml.namespaceDeclarations());
                return true;
            }
            if (token == QXmlStreamReader::EndElement) {
                if (!m_scopes.isEmpty())
                    m_scopes.removeLast();
                return false;
            }
        }
        return false;
    }
    // Past the end of the current element, without recursion: hostile input may nest deeply.
    void Skip()
    {
        int depth = 1;
        while (depth > 0 && !m_xml.atEnd()) {
            const auto token = ReadNext();
            if (token == QXmlStreamReader::StartElement) {
                m_scopes.append(m_xml.namespaceDeclarations());
                ++depth;
            } else if (token == QXmlStreamReader::EndElement) {
                if (!m_scopes.isEmpty())
                    m_scopes.removeLast();
                --depth;
            }
        }
    }
    QString Text()
    {
        QString text = m_xml.readElementText(QXmlStreamReader::SkipChildElements).simplified();
        if (!m_scopes.isEmpty())
            m_scopes.removeLast();
        return text;
    }
    QPair<QString, QString> Resolve(const QString &qname) const
    {
        const int colon = qname.indexOf(':');
        const QString prefix = colon < 0 ? QString() : qname.left(colon);
        for (int i = m_scopes.size() - 1; i >= 0; --i)
            for (const auto &declaration : m_scopes[i])
                if (declaration.prefix() == prefix)
                    return {declaration.namespaceUri().toString(), qname.mid(colon + 1)};
        return {QString(), qname.mid(colon + 1)};
    }

    void ReadBody(QVector<WSD_ANNOUNCEMENT> &found)
    {
        while (Next()) {
            const QStringView name = m_xml.name();
            if (!IsDiscoveryNs(m_xml.namespaceUri())) {
                Skip();
            } else if (name == QLatin1String("Hello") || name == QLatin1String("Bye")) {
                found.append(
                    ReadAnnouncement(name == QLatin1String("Hello") ? WSD_ANNOUNCEMENT::Hello : WSD_ANNOUNCEMENT::Bye));
            } else if (name == QLatin1String("ProbeMatches")) {
                while (Next()) {
                    if (IsDiscoveryNs(m_xml.namespaceUri()) && m_xml.name() == QLatin1String("ProbeMatch"))
                        found.append(ReadAnnouncement(WSD_ANNOUNCEMENT::ProbeMatch));
                    else
                        Skip();
                }
            } else {
                Skip();
            }
        }
    }

    WSD_ANNOUNCEMENT ReadAnnouncement(WSD_ANNOUNCEMENT::Kind kind)
    {
        WSD_ANNOUNCEMENT announcement;
        announcement.kind = kind;
        while (Next()) {
            const QStringView ns = m_xml.namespaceUri();
            const QStringView name = m_xml.name();
            if (IsAddressingNs(ns) && name == QLatin1String("EndpointReference")) {
                while (Next()) {
                    if (IsAddressingNs(m_xml.namespaceUri()) && m_xml.name() == QLatin1String("Address"))
                        announcement.strEndpoint = Text();
                    else
                        Skip();
                }
            } else if (IsDiscoveryNs(ns) && name == QLatin1String("Types")) {
                announcement.bTypesGiven = true;
                const QString text = m_xml.readElementText(QXmlStreamReader::SkipChildElements);
                for (const QString &qname : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                    // Some devices use a prefix they never declare: then the local name decides.
                    const auto type = Resolve(qname.trimmed());
                    announcement.bVideoDevice = announcement.bVideoDevice
                        || ((type.first == kNetwork || type.first.isEmpty())
                            && type.second == QLatin1String("NetworkVideoTransmitter"))
                        || (type.first == kDevice && type.second == QLatin1String("Device"));
                }
                if (!m_scopes.isEmpty())
                    m_scopes.removeLast();
            } else if (IsDiscoveryNs(ns) && name == QLatin1String("Scopes")) {
                announcement.scopes = Text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            } else if (IsDiscoveryNs(ns) && name == QLatin1String("XAddrs")) {
                announcement.xaddrs = Text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            } else if (IsDiscoveryNs(ns) && name == QLatin1String("MetadataVersion")) {
                announcement.iMetadataVersion = Text().toUInt();
            } else {
                Skip();
            }
        }
        return announcement;
    }

    QXmlStreamReader m_xml;
    QVector<QXmlStreamNamespaceDeclarations> m_scopes;
    int m_iTokens = 0;
};
} // namespace

namespace WsDiscovery {

QByteArray Probe(const QString &messageId)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeNamespace(kSoap12, QStringLiteral("s"));
    xml.writeNamespace(kAddressing, QStringLiteral("a"));
    xml.writeNamespace(kDiscovery, QStringLiteral("d"));
    xml.writeNamespace(kNetwork, QStringLiteral("dn"));
    xml.writeStartElement(kSoap12, QStringLiteral("Envelope"));
    xml.writeStartElement(kSoap12, QStringLiteral("Header"));
    xml.writeStartElement(kAddressing, QStringLiteral("Action"));
    xml.writeAttribute(kSoap12, QStringLiteral("mustUnderstand"), QStringLiteral("1"));
    xml.writeCharacters(kDiscovery + QStringLiteral("/Probe"));
    xml.writeEndElement();
    xml.writeTextElement(kAddressing, QStringLiteral("MessageID"), messageId);
    xml.writeStartElement(kAddressing, QStringLiteral("ReplyTo"));
    xml.writeTextElement(kAddressing, QStringLiteral("Address"),
                         QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous"));
    xml.writeEndElement();
    xml.writeStartElement(kAddressing, QStringLiteral("To"));
    xml.writeAttribute(kSoap12, QStringLiteral("mustUnderstand"), QStringLiteral("1"));
    xml.writeCharacters(QStringLiteral("urn:schemas-xmlsoap-org:ws:2005:04:discovery"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(kSoap12, QStringLiteral("Body"));
    xml.writeStartElement(kDiscovery, QStringLiteral("Probe"));
    xml.writeTextElement(kDiscovery, QStringLiteral("Types"), QStringLiteral("dn:NetworkVideoTransmitter"));
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QVector<WSD_ANNOUNCEMENT> Parse(const QByteArray &datagram)
{
    if (datagram.size() > kMaxDatagramBytes || !XmlGuard::Check(datagram))
        return {};
    return CReader(datagram).Read();
}

bool PickAddress(const QStringList &xaddrs, const QHostAddress &sender, QHostAddress *address, int *port)
{
    struct CANDIDATE
    {
        QHostAddress host;
        int iPort;
    };
    QVector<CANDIDATE> candidates;
    for (const QString &text : xaddrs) {
        const QUrl url(text, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
            continue;
        const int defaultPort = scheme == QLatin1String("https") ? 443 : 80;
        candidates.append({QHostAddress(url.host()), url.port(defaultPort)});
    }
    if (candidates.isEmpty())
        return false;
    bool senderIsV4 = false;
    const QHostAddress senderV4(sender.toIPv4Address(&senderIsV4));
    for (const CANDIDATE &candidate : candidates)
        if (senderIsV4 && candidate.host.protocol() == QAbstractSocket::IPv4Protocol && candidate.host == senderV4) {
            *address = candidate.host;
            *port = candidate.iPort;
            return true;
        }
    for (const CANDIDATE &candidate : candidates)
        if (candidate.host.protocol() == QAbstractSocket::IPv4Protocol) {
            *address = candidate.host;
            *port = candidate.iPort;
            return true;
        }
    if (!senderIsV4)
        return false;
    *address = senderV4;
    *port = candidates.first().iPort;
    return true;
}

QString Hardware(const QStringList &scopes)
{
    static const QString kPrefix = QStringLiteral("onvif://www.onvif.org/hardware/");
    for (const QString &scope : scopes)
        if (scope.startsWith(kPrefix, Qt::CaseInsensitive))
            return QUrl::fromPercentEncoding(scope.mid(kPrefix.size()).toUtf8());
    return {};
}

} // namespace WsDiscovery
