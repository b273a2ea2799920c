#include "app/userruntime.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString UserRuntimeDir()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return !folder.isEmpty() && IsPrivateFolder(folder) ? folder : QString();
}

bool IsPrivateFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    // lstat: a link named like the folder could point anywhere, also into another user's hands.
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
#else
    return QFileInfo(path).isDir();
#endif
}

qint64 CurrentUserId()
{
#ifdef Q_OS_UNIX
    return static_cast<qint64>(::geteuid());
#else
    return -1;
#endif
}

qint64 PeerUserId(qintptr socketDescriptor)
{
#if defined(Q_OS_LINUX)
    struct ucred credentials;
    socklen_t size = sizeof(credentials);
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return -1;
    return static_cast<qint64>(credentials.uid);
#elif defined(Q_OS_UNIX)
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(static_cast<int>(socketDescriptor), &uid, &gid) != 0)
        return -1;
    return static_cast<qint64>(uid);
#else
    Q_UNUSED(socketDescriptor);
    return -1;
#endif
}

bool SharedMemoryOwnedByUser(const QString &nativeKey)
{
#ifdef Q_OS_UNIX
    // QSharedMemory names its System V segment by ftok() of the key file with the project id 'Q'.
    const key_t key = ::ftok(QFile::encodeName(nativeKey).constData(), 'Q');
    if (key == -1)
        return false;
    const int id = ::shmget(key, 0, 0);
    struct shmid_ds segment;
    if (id == -1 || ::shmctl(id, IPC_STAT, &segment) != 0)
        return false;
    return segment.shm_perm.uid == ::geteuid() && segment.shm_perm.cuid == ::geteuid();
#else
    Q_UNUSED(nativeKey);
    return true;
#endif
}
