#include "tests/support/privatenetwork.h"

#include <QCoreApplication>
#include <QNetworkInterface>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace PrivateNetwork {

namespace {
const char *const kMarker = "NORDA_PRIVATE_NETWORK";
// Brings loopback up and routes multicast over it, then runs the rest of the arguments.
const char *const kSetUp = "ip link set lo up && ip route add 224.0.0.0/4 dev lo";
} // namespace

bool IsPrivate(QString *why)
{
    for (const QNetworkInterface &netInterface : QNetworkInterface::allInterfaces()) {
        const auto flags = netInterface.flags();
        if ((flags & QNetworkInterface::IsUp) && !(flags & QNetworkInterface::IsLoopBack)) {
            if (why)
                *why = QStringLiteral("network interface %1 is up").arg(netInterface.name());
            return false;
        }
    }
    return true;
}

Outcome Enter(int argc, char **argv, int *exitCode, QString *why)
{
    if (qEnvironmentVariableIsSet(kMarker)) {
        if (IsPrivate(why))
            return Outcome::Inside;
        *why = QStringLiteral("re-executed, yet the network is not private: ") + *why;
        return Outcome::Unavailable;
    }
    const QStringList searchPath{"/usr/sbin", "/sbin", "/usr/bin", "/bin"};
    QString unshare = QStandardPaths::findExecutable("unshare");
    if (unshare.isEmpty())
        unshare = QStandardPaths::findExecutable("unshare", searchPath);
    QString ip = QStandardPaths::findExecutable("ip");
    if (ip.isEmpty())
        ip = QStandardPaths::findExecutable("ip", searchPath);
    if (unshare.isEmpty() || ip.isEmpty()) {
        *why = QStringLiteral("unshare or ip (util-linux, iproute2) is not installed");
        return Outcome::Unavailable;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", environment.value("PATH") + ":/usr/sbin:/sbin");
    QString reason;
    for (const QString &mode : {QStringLiteral("-n"), QStringLiteral("-rn")}) {
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.start(unshare, {mode, "sh", "-c", kSetUp});
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            reason = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
            continue;
        }
        QStringList arguments{mode, "sh", "-c", QString::fromLatin1(kSetUp) + " && exec \"$0\" \"$@\"",
                              QCoreApplication::applicationFilePath()};
        for (int i = 1; i < argc; ++i)
            arguments.append(QString::fromLocal8Bit(argv[i]));
        environment.insert(kMarker, "1");
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.setInputChannelMode(QProcess::ForwardedInputChannel);
        child.start(unshare, arguments);
        child.waitForFinished(-1);
        *exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : 1;
        return Outcome::ChildFinished;
    }
    *why = QStringLiteral("private network namespaces are not permitted here (unshare: %1)").arg(reason);
    return Outcome::Unavailable;
}

} // namespace PrivateNetwork
