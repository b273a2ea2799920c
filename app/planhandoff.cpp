#include "app/planhandoff.h"

#include "app/userruntime.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QUrl>

namespace {
// One request line; more than this is no request.
constexpr qint64 kMaxMessage = qint64(64) * 1024;
// How often a waiting plan looks whether the boxes in its way have closed.
constexpr int kRetryMs = 100;

const QByteArray kShow("show");
const QByteArray kOpen("open ");

// False when the peer is known to be another user.
bool PeerIsThisUser(QLocalSocket *socket)
{
    const qint64 peer = PeerUserId(socket->socketDescriptor());
    return peer < 0 || peer == CurrentUserId();
}
} // namespace

CPlanHandoff::CPlanHandoff(const QString &name, QObject *parent) : QObject(parent), m_strName(name)
{
    m_pRetry = new QTimer(this);
    m_pRetry->setSingleShot(true);
    m_pRetry->setInterval(kRetryMs);
    connect(m_pRetry, &QTimer::timeout, this, &CPlanHandoff::Dispatch);
}

QString CPlanHandoff::DefaultName()
{
    const QString folder = UserRuntimeDir();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/NORDA-plans");
}

bool CPlanHandoff::Listen()
{
    if (m_strName.isEmpty())
        return false;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that crashed would refuse the listen.
    QLocalServer::removeServer(m_strName);
    connect(m_pServer, &QLocalServer::newConnection, this, &CPlanHandoff::OnNewConnection);
    return m_pServer->listen(m_strName);
}

void CPlanHandoff::OnNewConnection()
{
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!PeerIsThisUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnRequest(socket); });
    }
}

void CPlanHandoff::OnRequest(QLocalSocket *socket)
{
    if (socket->bytesAvailable() > kMaxMessage) {
        socket->abort();
        return;
    }
    if (!socket->canReadLine())
        return;
    const QByteArray line = socket->readLine().trimmed();
    QByteArray answer = "ok\n";
    QString path;
    if (line.startsWith(kOpen)) {
        path = QUrl::fromPercentEncoding(line.mid(kOpen.size()));
        if (path.isEmpty() || m_pending.size() >= kMaxQueued)
            answer = "busy\n";
    } else if (line != kShow) {
        socket->abort();
        return;
    }
    socket->write(answer);
    socket->disconnectFromServer();
    emit SignalShowRequested();
    if (path.isEmpty() || answer != "ok\n")
        return;
    m_pending << path;
    // From the main loop: this may run inside a box's event loop.
    QTimer::singleShot(0, this, &CPlanHandoff::Dispatch);
}

void CPlanHandoff::Dispatch()
{
    if (m_bHandling || m_pending.isEmpty())
        return;
    // A box or menu is open: its event loop is no place for the next plan's questions.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        m_pRetry->start();
        return;
    }
    m_bHandling = true;
    emit SignalPlanReceived(m_pending.takeFirst());
    m_bHandling = false;
    if (!m_pending.isEmpty())
        QTimer::singleShot(0, this, &CPlanHandoff::Dispatch);
}

bool CPlanHandoff::Exchange(const QByteArray &request, int timeoutMs) const
{
    if (m_strName.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Whoever answers must be this user's own copy.
    if (!PeerIsThisUser(&socket))
        return false;
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running copy answers once it has the request.
    return socket.waitForReadyRead(timeoutMs) && socket.readLine().startsWith("ok");
}

bool CPlanHandoff::Send(const QString &path, int timeoutMs) const
{
    // Percent-encoded: a newline in a path would end the request early.
    return Exchange(kOpen + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/"), timeoutMs);
}

bool CPlanHandoff::SendShow(int timeoutMs) const
{
    return Exchange(kShow, timeoutMs);
}
