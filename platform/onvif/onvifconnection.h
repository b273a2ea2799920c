// A device session's HTTP/1.1 connections, kept open from one request to the next.
//
// One connection per address and port the session talks to, opened by its first request and
// closed with the link; requests that run at the same time get one each, up to kMaxConnections. A connection the device
// has closed while it was idle is opened again once and the request sent again; a request that got part of an answer,
// or none in time, is never sent twice.
//
// HTTPS: an https service address, port 443, or a port that answers the first plain request by
// closing or with a TLS alert is reached over TLS, and the link remembers which ports speak it.
// Devices show self-signed certificates: the first one a device shows is pinned, a different one
// later fails the request (CertificateChanged, platform/certificatepins.h).
//
// The session's requests come from whichever worker thread runs the survey or the import, and a
// socket may only be used by the thread it belongs to. So between requests a kept socket belongs
// to no thread: a request takes its connection under the link's lock (waiting for its turn within
// its deadline, as several threads may share a session), pulls the socket into its own thread,
// drives it with waitFor...() like a single request, and lets go of it again before the lock is
// given back. The lock is never held while the network is waited on.
#pragma once

#include "platform/onvif/onvifhttp.h"

#include <QHash>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class QTcpSocket;

class COnvifLink
{
public:
    COnvifLink();
    ~COnvifLink();
    COnvifLink(const COnvifLink &) = delete;
    COnvifLink &operator=(const COnvifLink &) = delete;

    // As OnvifPost, on the kept connection to host:port; tls: the service address is https.
    ONVIF_HTTP_ANSWER Post(const QString &host, quint16 port, bool tls, const QByteArray &path,
                           const QByteArray &action, const QByteArray &extraHeaders, const QByteArray &body,
                           const ONVIF_LIMITS &limits, const QDeadlineTimer &deadline);

    // Connections opened so far, each reconnect included.
    int ConnectionsOpened() const;

    // Requests sent together (one round of a login) each get a connection of their own, up to this
    // many to one address and port; more wait for one of them.
    static constexpr int kMaxConnections = 8;
    static constexpr quint16 kHttpsPort = 443;

private:
    enum class Scheme { Unknown, Plain, Tls };
    struct KEPT
    {
        QString strHost;
        quint16 uPort = 0;
        QTcpSocket *pSocket = nullptr; // belongs to no thread while not busy
        bool bBusy = false;
    };

    // A free connection to host:port (or room for one), and what is known of TLS there.
    KEPT *Take(const QString &host, quint16 port, const QDeadlineTimer &deadline, Scheme *scheme);
    void GiveBack(KEPT *kept, QTcpSocket *socket, Scheme learnt);

    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::vector<std::unique_ptr<KEPT>> m_kept;
    QHash<QString, Scheme> m_schemes; // by "host port", learnt from the first answer there
    int m_iOpened = 0;
};
