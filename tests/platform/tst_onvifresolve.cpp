// A device address given as a host name, looked up through name servers that never answer: the
// request ends at its own deadline, never after the resolver's many seconds. Runs inside a private
// network namespace the test makes, where the name servers of /etc/resolv.conf are silent sockets
// of the test's own.
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "tests/support/privatenetwork.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QUdpSocket>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {
QString g_strNoNetwork;
// Reserved: a resolver that knows the name space answers at once and sends nothing out.
const char *const kHostName = "camera-7.site.invalid";
} // namespace

class TestOnvifResolve : public QObject
{
    Q_OBJECT

    std::vector<std::unique_ptr<QUdpSocket>> m_servers;
    int m_iQueries = 0;

    int Queries() // sent to the silent name servers so far
    {
        for (const auto &server : m_servers)
            while (server->hasPendingDatagrams() && server->receiveDatagram().isValid())
                ++m_iQueries;
        return m_iQueries;
    }

private slots:
    void initTestCase()
    {
        if (!g_strNoNetwork.isEmpty())
            QSKIP(qPrintable(g_strNoNetwork));
        QFile conf(QStringLiteral("/etc/resolv.conf"));
        QStringList servers{QStringLiteral("127.0.0.1")}; // the resolver's default
        if (conf.open(QIODevice::ReadOnly))
            for (const QByteArray &line : conf.readAll().split('\n'))
                if (line.trimmed().startsWith("nameserver"))
                    servers << QString::fromLatin1(line.trimmed().mid(10).trimmed());
        // IPv6 servers are unreachable here: the resolver moves on from them at once.
        for (const QString &server : servers) {
            if (QHostAddress(server).protocol() != QAbstractSocket::IPv4Protocol
                || servers.indexOf(server) != servers.lastIndexOf(server))
                continue;
            QProcess::execute(QStringLiteral("ip"), {"addr", "add", server + "/32", "dev", "lo"});
            m_servers.push_back(std::make_unique<QUdpSocket>());
            QVERIFY2(m_servers.back()->bind(QHostAddress(server), 53), qPrintable(server));
        }
        NET_DVR_Init();
        ONVIF_LIMITS limits;
        limits.iTotalTimeoutMs = 1500;
        NetDvr_SetBackend(std::make_shared<COnvifBackend>(limits));
    }

    void lookupEndsAtTheDeadline_data()
    {
        QTest::addColumn<bool>("login"); // false: one request alone
        QTest::newRow("one request") << false;
        QTest::newRow("a login") << true;
    }

    void lookupEndsAtTheDeadline()
    {
        QFETCH(bool, login);
        std::atomic<int> outcome{-1};
        const int queriesBefore = Queries();
        std::thread thread([&] {
            NET_DVR_LOGIN_ANSWER answer;
            outcome = login
                ? (NET_DVR_Login_V30(kHostName, 80, "admin", "1", &answer), int(NET_DVR_GetLastError()))
                : int(OnvifPost(kHostName, 80, "/", "urn:a", {}, "<x/>", {}, QDeadlineTimer(1000)).eOutcome);
        });
        const std::unique_ptr<std::thread, void (*)(std::thread *)> joined(&thread, [](std::thread *t) { t->join(); });
        // The name servers were asked, and the caller is back long before they would give up.
        QTRY_VERIFY(Queries() > queriesBefore);
        QTRY_VERIFY_WITH_TIMEOUT(outcome >= 0, 15000);
        QCOMPARE(outcome.load(), login ? int(NET_DVR_TIMEOUT) : int(ONVIF_HTTP_ANSWER::TimedOut));
    }
};

int main(int argc, char **argv)
{
    // A lookup that blocks waits 30 s: far beyond any deadline. Read by the resolver when it
    // first starts, in the re-executed copy too.
    qputenv("RES_OPTIONS", "timeout:30 attempts:1");
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    if (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork) == PrivateNetwork::Outcome::ChildFinished)
        return exitCode;
    TestOnvifResolve test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_onvifresolve.moc"
