#include "tools/fakedevice/fakediscovery.h"

#include "tools/fakedevice/fakeonvifengine.h"
#include "tools/fakedevice/onvifanswers.h"

#include <QDateTime>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>
#include <QUuid>
#include <QVector>
#include <QXmlStreamReader>

namespace {
const QString kSoap = QStringLiteral("http://www.w3.org/2003/05/soap-envelope");
const QString kAddressing = QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing");
const QString kDiscovery = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery");
const QString kAnonymous = QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous");
const QString kMulticastTo = QStringLiteral("urn:schemas-xmlsoap-org:ws:2005:04:discovery");
const QHostAddress kGroup(QStringLiteral("239.255.255.250"));
const quint16 kPort = 3702;

struct PROBE
{
    QString strMessageId;
    bool bIsProbe = false;
    QVector<QPair<QString, QString>> types; // namespace (empty if the prefix is unknown), local name
    QStringList scopes;
};

// Resolves a QName's prefix through the declarations open at this point of the document.
QPair<QString, QString> Resolve(const QString &qname, const QVector<QXmlStreamNamespaceDeclarations> &scopes)
{
    const int colon = qname.indexOf(':');
    const QString prefix = colon < 0 ? QString() : qname.left(colon);
    const QString local = qname.mid(colon + 1);
    for (int i = scopes.size() - 1; i >= 0; --i)
        for (const auto &declaration : scopes[i])
            if (declaration.prefix() == prefix)
                return {declaration.namespaceUri().toString(), local};
    return {QString(), local};
}

PROBE ReadProbe(const QByteArray &datagram)
{
    PROBE probe;
    QXmlStreamReader xml(datagram);
    QVector<QXmlStreamNamespaceDeclarations> declarations;
    QString action;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (!declarations.isEmpty())
                declarations.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        declarations.append(xml.namespaceDeclarations());
        const auto ns = xml.namespaceUri();
        const auto name = xml.name();
        if (ns == kAddressing && name == QLatin1String("Action")) {
            action = xml.readElementText().trimmed();
            declarations.removeLast();
        } else if (ns == kAddressing && name == QLatin1String("MessageID")) {
            probe.strMessageId = xml.readElementText().trimmed();
            declarations.removeLast();
        } else if (ns == kDiscovery && name == QLatin1String("Types")) {
            const QVector<QXmlStreamNamespaceDeclarations> open = declarations;
            for (const QString &qname : xml.readElementText().simplified().split(' ', Qt::SkipEmptyParts))
                probe.types.append(Resolve(qname, open));
            declarations.removeLast();
        } else if (ns == kDiscovery && name == QLatin1String("Scopes")) {
            probe.scopes = xml.readElementText().simplified().split(' ', Qt::SkipEmptyParts);
            declarations.removeLast();
        }
    }
    probe.bIsProbe =
        !xml.hasError() && action == kDiscovery + QStringLiteral("/Probe") && !probe.strMessageId.isEmpty();
    return probe;
}

bool TypesMatch(const PROBE &probe)
{
    static const QVector<QPair<QString, QString>> kOurs{{OnvifNs::kNetwork, "NetworkVideoTransmitter"},
                                                        {OnvifNs::kDevice, "Device"}};
    for (const auto &wanted : probe.types) {
        bool found = false;
        for (const auto &ours : kOurs)
            found = found || (ours.second == wanted.second && (wanted.first.isEmpty() || wanted.first == ours.first));
        if (!found)
            return false;
    }
    return true;
}

// The RFC 3986 rule: a probe scope matches a scope it equals or that continues it by path segments.
bool ScopesMatch(const PROBE &probe, const QStringList &scopes)
{
    for (const QString &wanted : probe.scopes) {
        const QString prefix = wanted.endsWith('/') ? wanted : wanted + '/';
        bool found = false;
        for (const QString &scope : scopes)
            found = found || scope == wanted || scope.startsWith(prefix);
        if (!found)
            return false;
    }
    return true;
}
} // namespace

CFakeDiscovery::CFakeDiscovery(CFakeOnvifEngine *engine, int probeMatchDelayMs)
    : QObject(engine)
    , m_pEngine(engine)
    , m_iProbeMatchDelayMs(probeMatchDelayMs)
    , m_iInstanceId(quint64(QDateTime::currentSecsSinceEpoch()))
{
}

bool CFakeDiscovery::Open(QString *error)
{
    QString why;
    if (!FakeOnvifNetwork::IsPrivate(&why)) {
        *error = QStringLiteral("discovery refused: %1; multicast must not leave this machine, so run inside a "
                                "private network namespace (unshare -n)")
                     .arg(why);
        return false;
    }
    m_pSocket = new QUdpSocket(this);
    if (!m_pSocket->bind(QHostAddress::AnyIPv4, kPort, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)
        || !m_pSocket->joinMulticastGroup(kGroup)) {
        *error = QStringLiteral("discovery: %1 (is 224.0.0.0/4 routed to lo?)").arg(m_pSocket->errorString());
        return false;
    }
    m_pSocket->setSocketOption(QAbstractSocket::MulticastTtlOption, 0);
    m_pSocket->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    connect(m_pSocket, &QUdpSocket::readyRead, this, &CFakeDiscovery::OnReadyRead);
    return true;
}

void CFakeDiscovery::Hello(int device)
{
    if (!m_pSocket)
        return;
    const FAKE_ONVIF_DEVICE &speaker = m_pEngine->Device(device);
    SenderOf(speaker)->writeDatagram(Message(Kind::Hello, speaker, {}, m_iInstanceId, ++m_iMessageNumber), kGroup,
                                     kPort);
}

void CFakeDiscovery::Bye(int device)
{
    if (!m_pSocket)
        return;
    const FAKE_ONVIF_DEVICE &speaker = m_pEngine->Device(device);
    SenderOf(speaker)->writeDatagram(Message(Kind::Bye, speaker, {}, m_iInstanceId, ++m_iMessageNumber), kGroup, kPort);
}

QUdpSocket *CFakeDiscovery::SenderOf(const FAKE_ONVIF_DEVICE &device)
{
    QUdpSocket *&sender = m_senders[device.strAddress];
    if (!sender) {
        auto socket = new QUdpSocket(this);
        if (socket->bind(QHostAddress(device.strAddress), 0)) {
            socket->setSocketOption(QAbstractSocket::MulticastTtlOption, 0);
            socket->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
            sender = socket;
        } else {
            delete socket;
            sender = m_pSocket;
        }
    }
    return sender;
}

void CFakeDiscovery::OnReadyRead()
{
    while (m_pSocket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_pSocket->receiveDatagram(65536);
        OnProbe(datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort()),
                datagram.destinationAddress());
    }
}

void CFakeDiscovery::OnProbe(const QByteArray &datagram, const QHostAddress &sender, quint16 port,
                             const QHostAddress &destination)
{
    // A probe sent to one address is answered by the device there only, as by real devices.
    const bool unicast = !destination.isNull() && !destination.isMulticast();
    const PROBE probe = ReadProbe(datagram);
    if (!probe.bIsProbe || m_recentProbes.contains(probe.strMessageId) || !TypesMatch(probe))
        return;
    m_recentProbes.append(probe.strMessageId);
    if (m_recentProbes.size() > 64)
        m_recentProbes.removeFirst();
    for (int device : m_pEngine->Discoverable()) {
        if (!ScopesMatch(probe, FakeOnvifScopes(m_pEngine->Device(device)))
            || (unicast && QHostAddress(m_pEngine->Device(device).strAddress) != destination))
            continue;
        const QString endpoint = m_pEngine->Device(device).Endpoint();
        const int delay = m_iProbeMatchDelayMs > 0 ? QRandomGenerator::global()->bounded(m_iProbeMatchDelayMs + 1) : 0;
        QTimer::singleShot(delay, this, [this, device, endpoint, sender, port, id = probe.strMessageId] {
            // Still the same device, and still answering?
            if (!m_pEngine->Discoverable().contains(device) || m_pEngine->Device(device).Endpoint() != endpoint)
                return;
            SenderOf(m_pEngine->Device(device))
                ->writeDatagram(
                    Message(Kind::ProbeMatches, m_pEngine->Device(device), id, m_iInstanceId, ++m_iMessageNumber),
                    sender, port);
            ++m_pEngine->Stats().iProbesAnswered;
        });
    }
}

QByteArray CFakeDiscovery::Message(Kind kind, const FAKE_ONVIF_DEVICE &device, const QString &relatesTo,
                                   quint64 instanceId, quint64 messageNumber)
{
    static const char *const kActions[] = {"ProbeMatches", "Hello", "Bye"};
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument();
    xml.writeNamespace(kSoap, "s");
    xml.writeNamespace(kAddressing, "a");
    xml.writeNamespace(kDiscovery, "d");
    xml.writeNamespace(OnvifNs::kNetwork, "dn");
    xml.writeNamespace(OnvifNs::kDevice, "tds");
    xml.writeStartElement(kSoap, "Envelope");
    xml.writeStartElement(kSoap, "Header");
    xml.writeStartElement(kAddressing, "Action");
    xml.writeAttribute(kSoap, "mustUnderstand", "1");
    xml.writeCharacters(kDiscovery + '/' + kActions[int(kind)]);
    xml.writeEndElement();
    xml.writeTextElement(kAddressing, "MessageID",
                         QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (kind == Kind::ProbeMatches)
        xml.writeTextElement(kAddressing, "RelatesTo", relatesTo);
    xml.writeTextElement(kAddressing, "To", kind == Kind::ProbeMatches ? kAnonymous : kMulticastTo);
    xml.writeEmptyElement(kDiscovery, "AppSequence");
    xml.writeAttribute("InstanceId", QString::number(instanceId));
    xml.writeAttribute("MessageNumber", QString::number(messageNumber));
    xml.writeEndElement();
    xml.writeStartElement(kSoap, "Body");
    if (kind == Kind::ProbeMatches)
        xml.writeStartElement(kDiscovery, "ProbeMatches");
    xml.writeStartElement(kDiscovery, kind == Kind::ProbeMatches ? "ProbeMatch" : kActions[int(kind)]);
    xml.writeStartElement(kAddressing, "EndpointReference");
    xml.writeTextElement(kAddressing, "Address", device.Endpoint());
    xml.writeEndElement();
    if (kind != Kind::Bye) {
        xml.writeTextElement(kDiscovery, "Types", "dn:NetworkVideoTransmitter tds:Device");
        xml.writeTextElement(kDiscovery, "Scopes", FakeOnvifScopes(device).join(' '));
        xml.writeTextElement(
            kDiscovery, "XAddrs",
            QStringLiteral("http://%1:%2/onvif/device_service").arg(device.strAddress).arg(device.iPort));
        xml.writeTextElement(kDiscovery, "MetadataVersion", QString::number(device.iMetadataVersion));
    }
    xml.writeEndDocument();
    return out;
}
