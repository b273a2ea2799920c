#include "platform/wsdiscovery.h"

#include "platform/wsdiscoverymessage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QSet>
#include <QTimer>
#include <QUdpSocket>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include <cstring>

namespace {
const int kMaxEndpoints = 4096; // a flood of invented endpoints must not grow without end
const int kStopPollMs = 50;

struct ENDPOINT
{
    QHostAddress address;
    int iPort = 0;
    quint32 iMetadataVersion = 0;
    QString strHardware;
    qint64 iLastHeardMs = 0;
    quint64 iLastHeardOrder = 0; // which was heard last, where milliseconds tie
};

void CopyText(char *field, size_t size, const QByteArray &text)
{
    const size_t length = qMin(size - 1, size_t(text.size()));
    std::memcpy(field, text.constData(), length);
    field[length] = '\0';
}

VIGIL_DEVICE_INFO Record(const QString &endpoint, const ENDPOINT &data, int event)
{
    VIGIL_DEVICE_INFO info;
    std::memset(&info, 0, sizeof info);
    info.dwSize = sizeof info;
    CopyText(info.sSerialNumber, sizeof info.sSerialNumber, endpoint.toUtf8());
    CopyText(info.sIPv4Address, sizeof info.sIPv4Address, data.address.toString().toLatin1());
    info.iPort = data.iPort;
    CopyText(info.sSoftwareVersion, sizeof info.sSoftwareVersion, data.strHardware.toUtf8());
    info.iEvent = event;
    return info;
}

// Interfaces that can carry IPv4 multicast: up, multicast-capable, not loopback, with an IPv4
// address to send from (without one a probe would leave by the default interface instead). The
// routing table picks one when there are none (as in a network namespace with only loopback and
// a multicast route over it).
QList<QNetworkInterface> MulticastInterfaces()
{
    QList<QNetworkInterface> found;
    for (const QNetworkInterface &candidate : QNetworkInterface::allInterfaces()) {
        const auto flags = candidate.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::CanMulticast)
            || (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : candidate.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                found.append(candidate);
                break;
            }
    }
    return found;
}

// The port of the first transport address whose host is the sender's address, literally.
bool NamesSender(const QStringList &xaddrs, const QHostAddress &sender, int *port)
{
    for (const QString &text : xaddrs) {
        const QUrl url(text, QUrl::StrictMode);
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
            continue;
        if (QHostAddress(url.host()) == sender) {
            *port = url.port(scheme == QLatin1String("https") ? 443 : 80);
            return true;
        }
    }
    return false;
}

class CDiscoveryRun
{
public:
    CDiscoveryRun(const WSDISCOVERY_OPTIONS &options, CVigilSession &session, std::atomic<int> &probes,
                  std::atomic<int> &ignored)
        : m_options(options), m_session(session), m_probes(probes), m_ignored(ignored)
    {
        m_clock.start();
    }

    void Exec()
    {
        // First the loop: it gives this thread the event dispatcher that the sockets register with.
        QEventLoop loop;
        const QHostAddress group(QString::fromLatin1(WsDiscovery::kGroup));
        // Hello and Bye arrive on the group's port, shared with any other listener on this host.
        m_bListening = m_listener.bind(QHostAddress::AnyIPv4, WsDiscovery::kPort,
                                       QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
        // Without the group, probe matches still come in: failures only cost Hello and Bye.
        if (m_bListening)
            m_listener.joinMulticastGroup(group);
        // Probe matches come back to the port the probe left from: a port of our own.
        m_prober.bind(QHostAddress::AnyIPv4, 0);
        m_prober.setSocketOption(QAbstractSocket::MulticastTtlOption, m_options.iMulticastTtl);
        QObject::connect(&m_listener, &QUdpSocket::readyRead, [this] { Drain(m_listener); });
        QObject::connect(&m_prober, &QUdpSocket::readyRead, [this] { Drain(m_prober); });

        QTimer stopPoll;
        QObject::connect(&stopPoll, &QTimer::timeout, &loop, [&] {
            if (m_session.StopRequested())
                loop.quit();
        });
        stopPoll.start(kStopPollMs);
        QTimer probeTimer;
        QObject::connect(&probeTimer, &QTimer::timeout, &loop, [&] { ProbeRound(group); });
        probeTimer.start(qMax(100, m_options.iProbeIntervalMs));
        ProbeRound(group);
        if (!m_session.StopRequested())
            loop.exec();
    }

private:
    // Every round looks at the interfaces again: a cable plugged in, a VPN or VLAN brought up
    // later is probed (and listened on) from its next round on.
    QList<QNetworkInterface> RefreshInterfaces(const QHostAddress &group)
    {
        QList<QNetworkInterface> interfaces = MulticastInterfaces();
        QSet<int> present;
        for (const QNetworkInterface &netInterface : interfaces) {
            present.insert(netInterface.index());
            if (m_bListening && !m_joined.contains(netInterface.index())
                && m_listener.joinMulticastGroup(group, netInterface))
                m_joined.insert(netInterface.index());
        }
        m_joined.intersect(present); // one that went away is joined again when it comes back
        return interfaces;
    }

    void ProbeRound(const QHostAddress &group)
    {
        ForgetSilent();
        const QList<QNetworkInterface> interfaces = RefreshInterfaces(group);
        const QByteArray probe =
            WsDiscovery::Probe(QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces));
        auto send = [this, probe, group, interfaces] {
            if (interfaces.isEmpty()) {
                m_prober.writeDatagram(probe, group, WsDiscovery::kPort);
            } else {
                for (const QNetworkInterface &netInterface : interfaces) {
                    m_prober.setMulticastInterface(netInterface);
                    m_prober.writeDatagram(probe, group, WsDiscovery::kPort);
                }
            }
        };
        send();
        ++m_probes;
        if (m_options.iProbeRepeatMs > 0)
            QTimer::singleShot(m_options.iProbeRepeatMs, &m_prober, send);
    }

    void Drain(QUdpSocket &socket)
    {
        while (socket.hasPendingDatagrams() && !m_session.StopRequested()) {
            const QNetworkDatagram datagram = socket.receiveDatagram(65536);
            const QVector<WSD_ANNOUNCEMENT> announcements = WsDiscovery::Parse(datagram.data());
            if (announcements.isEmpty())
                ++m_ignored;
            for (const WSD_ANNOUNCEMENT &announcement : announcements)
                Take(announcement, datagram.senderAddress());
        }
    }

    void Take(const WSD_ANNOUNCEMENT &announcement, const QHostAddress &sender)
    {
        if (announcement.strEndpoint.isEmpty()) {
            ++m_ignored;
            return;
        }
        bool senderIsV4 = false;
        const QHostAddress senderV4(sender.toIPv4Address(&senderIsV4));
        auto known = m_endpoints.find(announcement.strEndpoint);
        if (announcement.kind == WSD_ANNOUNCEMENT::Bye) {
            // Only the device itself says goodbye: any other host could name it.
            if (known == m_endpoints.end() || !senderIsV4 || known->address != senderV4) {
                ++m_ignored;
                return;
            }
            const ENDPOINT gone = known.value();
            m_endpoints.erase(known);
            m_session.Announce(Record(announcement.strEndpoint, gone, VIGIL_EVENT_VANISHED));
            return;
        }
        // A Hello must say it is a video device; a probe match answers our probe for one, so
        // only types that say otherwise exclude it.
        const bool video = announcement.bVideoDevice
            || (announcement.kind == WSD_ANNOUNCEMENT::ProbeMatch && !announcement.bTypesGiven);
        ENDPOINT data;
        // A device speaks for itself only: the sender must be one of the addresses it names, and
        // that is where it is. Otherwise any host could move a device (and what is sent to it)
        // elsewhere.
        if (!video || !senderIsV4 || !NamesSender(announcement.xaddrs, senderV4, &data.iPort)) {
            ++m_ignored;
            return;
        }
        data.address = senderV4;
        data.iMetadataVersion = announcement.iMetadataVersion;
        data.strHardware = WsDiscovery::Hardware(announcement.scopes);
        data.iLastHeardMs = m_clock.elapsed();
        data.iLastHeardOrder = ++m_iHeard;
        if (known == m_endpoints.end()) {
            if (m_endpoints.size() >= kMaxEndpoints && !Evict())
                return;
            m_endpoints.insert(announcement.strEndpoint, data);
            m_session.Announce(Record(announcement.strEndpoint, data, VIGIL_EVENT_APPEARED));
            return;
        }
        const bool changed = known->address != data.address || known->iPort != data.iPort
            || known->iMetadataVersion != data.iMetadataVersion || known->strHardware != data.strHardware;
        *known = data;
        if (changed)
            m_session.Announce(Record(announcement.strEndpoint, data, VIGIL_EVENT_CHANGED));
    }

    // Makes room by forgetting the device silent the longest among those the caller does not
    // keep; false when every one is kept. A flood of invented devices then only pushes out its
    // own, and a real device still finds a place.
    bool Evict()
    {
        auto oldest = m_endpoints.end();
        for (auto it = m_endpoints.begin(); it != m_endpoints.end(); ++it)
            if (oldest == m_endpoints.end() || it->iLastHeardOrder < oldest->iLastHeardOrder) {
                if (!m_session.Keeps(it.key().toUtf8().left(sizeof(VIGIL_DEVICE_INFO::sSerialNumber) - 1).constData()))
                    oldest = it;
            }
        if (oldest == m_endpoints.end())
            return false;
        const VIGIL_DEVICE_INFO record = Record(oldest.key(), oldest.value(), VIGIL_EVENT_VANISHED);
        m_endpoints.erase(oldest);
        m_session.Announce(record);
        return true;
    }

    void ForgetSilent()
    {
        const qint64 limit = qint64(m_options.iVanishRounds) * m_options.iProbeIntervalMs + m_options.iAnswerWaitMs;
        const qint64 now = m_clock.elapsed();
        for (auto it = m_endpoints.begin(); it != m_endpoints.end();) {
            if (now - it->iLastHeardMs > limit) {
                const VIGIL_DEVICE_INFO record = Record(it.key(), it.value(), VIGIL_EVENT_VANISHED);
                it = m_endpoints.erase(it);
                m_session.Announce(record);
            } else {
                ++it;
            }
        }
    }

    const WSDISCOVERY_OPTIONS &m_options;
    CVigilSession &m_session;
    std::atomic<int> &m_probes;
    std::atomic<int> &m_ignored;
    QElapsedTimer m_clock;
    QUdpSocket m_listener;
    QUdpSocket m_prober;
    bool m_bListening = false;
    QSet<int> m_joined; // interface indexes whose group membership the listener holds
    QHash<QString, ENDPOINT> m_endpoints;
    quint64 m_iHeard = 0;
};
} // namespace

CWsDiscoveryBackend::CWsDiscoveryBackend(const WSDISCOVERY_OPTIONS &options) : m_options(options)
{
}

void CWsDiscoveryBackend::Run(CVigilSession &session)
{
    if (!QCoreApplication::instance())
        return; // sockets and timers need the application object
    CDiscoveryRun run(m_options, session, m_iProbesSent, m_iIgnored);
    run.Exec();
}
