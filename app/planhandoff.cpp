#include "app/planhandoff.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// One path, UTF-8, ended by a newline; more than this is no path.
constexpr qint64 kMaxMessage = 64 * 1024;
} // namespace

CPlanHandoff::CPlanHandoff(const QString &name, QObject *parent) : QObject(parent), m_strName(name)
{
}

QString CPlanHandoff::DefaultName()
{
    // Per user: another user's copy is no place to open this user's plans.
    return QStringLiteral("NORDA-plans-") + QDir::home().dirName();
}

bool CPlanHandoff::Listen()
{
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
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxMessage) {
                socket->abort();
                return;
            }
            if (!socket->canReadLine())
                return;
            const QString path = QString::fromUtf8(socket->readLine()).trimmed();
            socket->write("ok\n");
            socket->disconnectFromServer();
            if (!path.isEmpty())
                emit SignalPlanReceived(path);
        });
    }
}

bool CPlanHandoff::Send(const QString &path, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QFileInfo(path).absoluteFilePath().toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running copy answers once it has the path.
    return socket.waitForReadyRead(timeoutMs) && socket.readLine().startsWith("ok");
}
