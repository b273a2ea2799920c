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
#include <QRegularExpression>
#include <QUdpSocket>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {
QString g_strNoNetwork;
// A lookup that blocks waits this long for each of the two address families: far beyond any deadline.
const char *const kResolverOptions = "timeout:30 attempts:1";
// Reserved: a resolver that knows the name space answers at once and sends nothing out.
const char *const kHostName = "camera-7.site.invalid";
} // namespace

class TestOnvifResolve : public QObject
{
    Q_OBJECT

    std::vector<std::unique_ptr<QUdpSocket>> m_servers;
    int m_iQueries = 0;

    // The requests the silent name servers were sent so far.
    int Queries()
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
        QStringList servers;
        if (conf.open(QIODevice::ReadOnly))
            for (const QByteArray &line : conf.readAll().split('\n'))
                if (line.trimmed().startsWith("nameserver"))
                    servers << QString::fromLatin1(line.trimmed().mid(10).trimmed());
        if (servers.isEmpty())
            servers << QStringLiteral("127.0.0.1"); // the resolver's default
        for (const QString &server : servers) {
            const QHostAddress address(server);
            if (address.protocol() != QAbstractSocket::IPv4Protocol)
                continue; // unreachable here: the resolver moves on at once
            if (!address.isLoopback())
                QCOMPARE(QProcess::execute(QStringLiteral("ip"), {"addr", "add", server + "/32", "dev", "lo"}), 0);
            auto socket = std::make_unique<QUdpSocket>();
            QVERIFY2(socket->bind(address, 53), qPrintable(socket->errorString()));
            m_servers.push_back(std::move(socket));
        }
        QVERIFY(!m_servers.empty());
        NET_DVR_Init();
        ONVIF_LIMITS limits;
        limits.iConnectTimeoutMs = 1000;
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
        std::atomic<bool> done{false};
        std::atomic<int> outcome{-1};
        const int queriesBefore = Queries();
        std::thread thread([&] {
            if (login) {
                NET_DVR_LOGIN_ANSWER answer;
                NET_DVR_Login_V30(kHostName, 80, "admin", "12345", &answer);
                outcome = int(NET_DVR_GetLastError());
            } else {
                const ONVIF_HTTP_ANSWER answer = OnvifPost(QString::fromLatin1(kHostName), 80, "/", "urn:a", {}, "<x/>",
                                                           ONVIF_LIMITS(), QDeadlineTimer(1000));
                outcome = int(answer.eOutcome);
            }
            done = true;
        });
        // Joined on every way out, a failed check included.
        const std::unique_ptr<std::thread, void (*)(std::thread *)> caller(&thread, [](std::thread *t) { t->join(); });
        // The name servers were asked (the lookup really waits on them) ...
        QTRY_VERIFY(Queries() > queriesBefore);
        // ... and the caller is back long before they would give up.
        QTRY_VERIFY_WITH_TIMEOUT(done, 15000);
        QCOMPARE(outcome.load(), login ? int(NET_DVR_CONNECT_FAILED) : int(ONVIF_HTTP_ANSWER::TimedOut));
    }
};

int main(int argc, char **argv)
{
    // Read by the resolver when it first starts, in the re-executed copy too.
    qputenv("RES_OPTIONS", kResolverOptions);
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    if (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork) == PrivateNetwork::Outcome::ChildFinished)
        return exitCode;
    TestOnvifResolve test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_onvifresolve.moc"
