// WS-Discovery messages as the discovery backend reads and writes them: the Probe it sends for
// network video transmitters, and the Hello, Bye and ProbeMatch announcements it reads back.
// Elements are recognised by namespace URI and local name, never by prefix; both the 2005/04
// protocol that ONVIF devices speak and the 2009/01 standard are read. Anything that is not a
// well-formed announcement of this kind reads as nothing, and so does a datagram that would cost
// more to read than an announcement can (too large, too many tokens, or refused by XmlGuard).
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QVector>

struct WSD_ANNOUNCEMENT
{
    enum Kind { Hello, Bye, ProbeMatch };
    Kind kind = Hello;
    QString strEndpoint; // the endpoint reference address: the device's lasting identity
    bool bTypesGiven = false;
    bool bVideoDevice = false; // types name a network video transmitter or an ONVIF device
    QStringList scopes;
    QStringList xaddrs;
    quint32 iMetadataVersion = 0;
};

namespace WsDiscovery {
inline const char *const kGroup = "239.255.255.250";
const quint16 kPort = 3702;

constexpr int kMaxDatagramBytes = 32 * 1024;
constexpr int kMaxDatagramTokens = 4096;

QByteArray Probe(const QString &messageId);
QVector<WSD_ANNOUNCEMENT> Parse(const QByteArray &datagram);

// The device's address and port from the transport address that matches the sender; else from
// the first one with a literal IPv4 host; else the sender with the first address's port.
bool PickAddress(const QStringList &xaddrs, const QHostAddress &sender, QHostAddress *address, int *port);
// The value of the onvif://www.onvif.org/hardware/ scope, decoded; empty without one.
QString Hardware(const QStringList &scopes);
} // namespace WsDiscovery
