// The WS-Discovery target side of the fake devices: one socket on 239.255.255.250:3702 for all of
// them answers probes (each device after its own random delay, as real devices spread their
// answers) and announces Hello and Bye. Multicast goes out with TTL 0: it reaches listeners on
// this host only.
#pragma once

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QStringList>

class CFakeOnvifEngine;
class QUdpSocket;
struct FAKE_ONVIF_DEVICE;

class CFakeDiscovery : public QObject
{
    Q_OBJECT

public:
    CFakeDiscovery(CFakeOnvifEngine *engine, int probeMatchDelayMs);

    bool Open(QString *error);
    void Hello(int device);
    void Bye(int device);

    // The ProbeMatch (or Hello, Bye) message of a device; public for tests.
    enum class Kind { ProbeMatches, Hello, Bye };
    static QByteArray Message(Kind kind, const FAKE_ONVIF_DEVICE &device, const QString &relatesTo, quint64 instanceId,
                              quint64 messageNumber);

private:
    void OnReadyRead();
    // The socket that speaks for a device: bound to the device's own address, as a real device's
    // datagrams come from where it is (the listening socket when that address cannot be bound).
    QUdpSocket *SenderOf(const FAKE_ONVIF_DEVICE &device);
    void OnProbe(const QByteArray &datagram, const QHostAddress &sender, quint16 port, const QHostAddress &destination);

    CFakeOnvifEngine *const m_pEngine;
    const int m_iProbeMatchDelayMs;
    QUdpSocket *m_pSocket = nullptr;
    QHash<QString, QUdpSocket *> m_senders; // by device address
    quint64 m_iInstanceId = 0;
    quint64 m_iMessageNumber = 0;
    QStringList m_recentProbes; // message IDs already answered (probes come repeated)
};
