#include "platform/onvif/onvifconnection.h"

#include "platform/certificatepins.h"
#include "platform/dvrbackend.h"

#include <QCryptographicHash>
#include <QNetworkProxy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

int Remaining(const QDeadlineTimer &deadline)
{
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

// Waits in short slices, so that a caller who gives up (CDvrCallLimit) lets go of the device at
// once. wait(ms) is true once the awaited thing happened; pending() whether it still can.
template <typename Wait, typename Pending>
bool WaitSliced(const QDeadlineTimer &deadline, Wait wait, Pending pending)
{
    for (;;) {
        if (NetDvr_CallCancelled())
            return false;
        if (wait(std::min(Remaining(deadline), NetDvr_kCancelPollMs)))
            return true;
        if (!pending() || deadline.hasExpired())
            return false;
    }
}

QByteArray RequestText(const QString &host, quint16 port, const QByteArray &path, const QByteArray &action,
                       const QByteArray &extraHeaders, const QByteArray &body)
{
    const bool literal = !QHostAddress(host).isNull();
    const QByteArray hostName = literal ? host.toLatin1() : QUrl::toAce(host);
    const QByteArray hostHeader =
        (host.contains(':') ? '[' + hostName + ']' : hostName) + ':' + QByteArray::number(port);
    return "POST " + (path.isEmpty() ? QByteArray("/") : path) + " HTTP/1.1\r\nHost: " + hostHeader
        + "\r\nContent-Type: application/soap+xml; charset=utf-8; action=\"" + action
        + "\"\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
}

// Looks host up and connects socket to one of its addresses; a QSslSocket also makes its
// handshake, and the device's certificate is checked against the one pinned for host and port.
ONVIF_HTTP_ANSWER::Outcome Open(QTcpSocket *socket, const QString &host, quint16 port, const ONVIF_LIMITS &limits,
                                const QDeadlineTimer &deadline)
{
    // The connect timeout runs from the start, the lookup and the handshake included.
    const QDeadlineTimer connectDeadline(std::min(std::max(0, limits.iConnectTimeoutMs), Remaining(deadline)));
    bool lookupTimedOut = false;
    const QList<QHostAddress> addresses = OnvifResolve(host, connectDeadline, &lookupTimedOut);
    socket->setProxy(QNetworkProxy::NoProxy);
    auto *tls = qobject_cast<QSslSocket *>(socket);
    for (const QHostAddress &address : addresses) {
        if (tls)
            tls->connectToHostEncrypted(address.toString(), port, host);
        else
            socket->connectToHost(address, port);
        if (!WaitSliced(
                connectDeadline, [&](int ms) { return socket->waitForConnected(ms); },
                [&] { return socket->state() == QAbstractSocket::ConnectingState; })) {
            socket->abort();
            continue;
        }
        if (!tls)
            return ONVIF_HTTP_ANSWER::Ok;
        if (!WaitSliced(
                connectDeadline, [&](int ms) { return tls->waitForEncrypted(ms); },
                [&] { return tls->state() == QAbstractSocket::ConnectedState && !tls->isEncrypted(); })) {
            socket->abort();
            break; // the port answered: another address of the name would not speak TLS better
        }
        const QByteArray fingerprint = tls->peerCertificate().digest(QCryptographicHash::Sha256);
        if (CertificatePins::Check(host, port, fingerprint) == CertificatePins::Verdict::Changed) {
            socket->abort();
            return ONVIF_HTTP_ANSWER::CertificateChanged;
        }
        return ONVIF_HTTP_ANSWER::Ok;
    }
    return lookupTimedOut || NetDvr_RemainingMs() == 0 ? ONVIF_HTTP_ANSWER::TimedOut : ONVIF_HTTP_ANSWER::ConnectFailed;
}

QTcpSocket *NewSocket(bool tls)
{
    if (!tls)
        return new QTcpSocket;
    auto *socket = new QSslSocket;
    QSslConfiguration configuration = socket->sslConfiguration();
    // Cameras show self-signed certificates, made for no name the user types and often with dates
    // their clocks got wrong: neither an authority, the host name nor the validity dates say
    // anything about such a certificate. What does is whether it is the one the device showed
    // before, which Open() checks (pinning), so expired and wrong-name certificates pass here.
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    socket->setSslConfiguration(configuration);
    return socket;
}

// A port that speaks only TLS either closes on a plain request or answers it with a TLS alert
// record (content type 21, protocol version 3.x).
bool RefusedPlainHttp(const ONVIF_HTTP_ANSWER &answer, qint64 received, const QByteArray &head)
{
    if (answer.eOutcome == ONVIF_HTTP_ANSWER::Ok || answer.eOutcome == ONVIF_HTTP_ANSWER::TimedOut)
        return false;
    return received == 0 || (head.size() >= 2 && head.at(0) == '\x15' && head.at(1) == '\x03');
}

// True when a kept connection is still open and quiet: the device has neither closed it nor sent
// anything unasked while it was idle.
bool StillOpen(QTcpSocket *socket)
{
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesAvailable() > 0)
        return false;
    socket->waitForReadyRead(0); // takes in a close that arrived meanwhile
    return socket->state() == QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0;
}

// Sends request and reads its answer; *received counts the answer's bytes, *head keeps the first.
ONVIF_HTTP_ANSWER Exchange(QTcpSocket *socket, const QByteArray &request, const ONVIF_LIMITS &limits,
                           const QDeadlineTimer &deadline, qint64 *received, QByteArray *head)
{
    ONVIF_HTTP_ANSWER failure;
    *received = 0;
    socket->write(request);
    while (socket->bytesToWrite() > 0) {
        if (!WaitSliced(
                deadline, [&](int ms) { return socket->waitForBytesWritten(ms); },
                [&] { return socket->state() == QAbstractSocket::ConnectedState; })) {
            const bool late = deadline.hasExpired() || NetDvr_CallCancelled();
            failure.eOutcome = late ? ONVIF_HTTP_ANSWER::TimedOut : ONVIF_HTTP_ANSWER::ConnectFailed;
            return failure;
        }
    }

    COnvifHttpReader reader(limits.iMaxAnswerBytes);
    auto take = [&] {
        QByteArray bytes = socket->readAll();
        if (head->size() < 8)
            *head += bytes.left(8 - head->size());
        *received += bytes.size();
        return bytes;
    };
    COnvifHttpReader::State state = reader.Feed(take());
    while (state == COnvifHttpReader::NeedMore) {
        if (deadline.hasExpired() || NetDvr_CallCancelled()) {
            failure.eOutcome = ONVIF_HTTP_ANSWER::TimedOut;
            return failure;
        }
        if (WaitSliced(
                deadline, [&](int ms) { return socket->waitForReadyRead(ms); },
                [&] { return socket->state() == QAbstractSocket::ConnectedState; })) {
            state = reader.Feed(take());
        } else if (socket->state() != QAbstractSocket::ConnectedState
                   || socket->error() == QAbstractSocket::RemoteHostClosedError) {
            state = reader.Feed(take(), true);
        } else {
            failure.eOutcome = ONVIF_HTTP_ANSWER::TimedOut;
            return failure;
        }
    }
    return reader.Answer();
}

} // namespace

COnvifLink::COnvifLink() = default;

COnvifLink::~COnvifLink()
{
    // No request runs any more: whoever destroys the link holds its last reference.
    for (const std::unique_ptr<KEPT> &kept : m_kept) {
        if (kept->pSocket) {
            kept->pSocket->moveToThread(QThread::currentThread());
            delete kept->pSocket;
        }
    }
}

int COnvifLink::ConnectionsOpened() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_iOpened;
}

namespace {
QString OriginKey(const QString &host, quint16 port)
{
    return host + QLatin1Char(' ') + QString::number(port);
}
} // namespace

COnvifLink::KEPT *COnvifLink::Take(const QString &host, quint16 port, const QDeadlineTimer &deadline, Scheme *scheme)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    *scheme = m_schemes.value(OriginKey(host, port), Scheme::Unknown);
    for (;;) {
        int same = 0;
        for (const std::unique_ptr<KEPT> &kept : m_kept) {
            if (kept->uPort != port || kept->strHost != host)
                continue;
            if (!kept->bBusy) {
                kept->bBusy = true;
                return kept.get();
            }
            ++same;
        }
        if (same < kMaxConnections) {
            auto kept = std::make_unique<KEPT>();
            kept->strHost = host;
            kept->uPort = port;
            kept->bBusy = true;
            m_kept.push_back(std::move(kept));
            return m_kept.back().get();
        }
        if (NetDvr_CallCancelled() || deadline.hasExpired())
            return nullptr;
        m_released.wait_for(lock, std::chrono::milliseconds(std::min(Remaining(deadline), NetDvr_kCancelPollMs)));
    }
}

void COnvifLink::GiveBack(KEPT *kept, QTcpSocket *socket, Scheme learnt)
{
    if (socket)
        socket->moveToThread(nullptr); // the next request may come from another thread
    std::lock_guard<std::mutex> lock(m_mutex);
    kept->pSocket = socket;
    if (learnt != Scheme::Unknown)
        m_schemes.insert(OriginKey(kept->strHost, kept->uPort), learnt);
    kept->bBusy = false;
    m_released.notify_all();
}

ONVIF_HTTP_ANSWER COnvifLink::Post(const QString &host, quint16 port, bool tls, const QByteArray &path,
                                   const QByteArray &action, const QByteArray &extraHeaders, const QByteArray &body,
                                   const ONVIF_LIMITS &limits, const QDeadlineTimer &requestDeadline)
{
    ONVIF_HTTP_ANSWER answer;
    answer.eOutcome = ONVIF_HTTP_ANSWER::Malformed;
    QByteArray lines = extraHeaders;
    lines.replace("\r\n", "\t");
    if (!OnvifHeaderSafe(host.toUtf8()) || !OnvifHeaderSafe(path) || !OnvifHeaderSafe(action)
        || !OnvifHeaderSafe(lines))
        return answer;

    // The caller's own limit (a whole device's budget, or a cancelled run) shortens every wait.
    const QDeadlineTimer deadline(std::min(Remaining(requestDeadline), NetDvr_RemainingMs()));
    Scheme scheme = Scheme::Unknown;
    KEPT *kept = Take(host, port, deadline, &scheme);
    if (!kept) {
        answer.eOutcome = ONVIF_HTTP_ANSWER::TimedOut;
        return answer;
    }
    bool useTls = tls || scheme == Scheme::Tls || (scheme == Scheme::Unknown && port == kHttpsPort);
    bool mayTryTls = !useTls && scheme == Scheme::Unknown;
    QTcpSocket *socket = kept->pSocket;
    if (socket)
        socket->moveToThread(QThread::currentThread());
    const QByteArray request = RequestText(host, port, path, action, extraHeaders, body);
    std::optional<ONVIF_HTTP_ANSWER> refusedPlain; // told when TLS does not work there either
    for (bool resent = false;;) {
        const bool reused = socket && (qobject_cast<QSslSocket *>(socket) != nullptr) == useTls && StillOpen(socket);
        if (socket && !reused) {
            delete socket;
            socket = nullptr;
        }
        if (!socket) {
            socket = NewSocket(useTls);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                ++m_iOpened;
            }
            answer.eOutcome = Open(socket, host, port, limits, deadline);
            if (answer.eOutcome != ONVIF_HTTP_ANSWER::Ok) {
                delete socket;
                socket = nullptr;
                if (refusedPlain && answer.eOutcome != ONVIF_HTTP_ANSWER::CertificateChanged) {
                    answer = *refusedPlain;
                    useTls = false;
                }
                break;
            }
        }
        qint64 received = 0;
        QByteArray head;
        answer = Exchange(socket, request, limits, deadline, &received, &head);
        // A device closes a connection that was idle too long, and may do so just as the request
        // goes out: nothing came back, so the request is sent once more on a new connection.
        const bool closedWhileIdle = reused && received == 0 && answer.eOutcome != ONVIF_HTTP_ANSWER::TimedOut
            && socket->state() != QAbstractSocket::ConnectedState;
        const bool wantsTls = mayTryTls && !reused && RefusedPlainHttp(answer, received, head);
        mayTryTls = false;
        if (answer.eOutcome != ONVIF_HTTP_ANSWER::Ok || !answer.bKeepAlive) {
            delete socket; // closes at once: a late or half-read answer must not meet the next request
            socket = nullptr;
        }
        if (wantsTls) {
            refusedPlain = answer;
            useTls = true;
            continue;
        }
        if (!closedWhileIdle || resent)
            break;
        resent = true;
    }
    const bool answered = answer.eOutcome == ONVIF_HTTP_ANSWER::Ok;
    GiveBack(kept, socket, !answered ? Scheme::Unknown : useTls ? Scheme::Tls : Scheme::Plain);
    return answer;
}

// A request of its own: its connection ends with it.
ONVIF_HTTP_ANSWER OnvifPost(const QString &host, quint16 port, const QByteArray &path, const QByteArray &action,
                            const QByteArray &extraHeaders, const QByteArray &body, const ONVIF_LIMITS &limits,
                            const QDeadlineTimer &deadline)
{
    COnvifLink link;
    return link.Post(host, port, false, path, action, extraHeaders, body, limits, deadline);
}
