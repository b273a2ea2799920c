// The search of address ranges, inside a private network namespace of the test's own: of 250
// loopback addresses three hold fake devices (two answer probes, one only the clock) and one a
// web server that is no device; the search finds the three, each once, within its limits.
#include "platform/addresssearch.h"
#include "tests/support/privatenetwork.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
QString g_strNoNetwork;
}

class TestAddressSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<CFakeOnvifServer> m_fake;
    QTcpServer m_webServer;

    static FAKE_ONVIF_DEVICE Device(const QString &address, quint16 port)
    {
        FAKE_ONVIF_DEVICE device;
        device.strAddress = address;
        device.iPort = port;
        return device;
    }

private slots:
    void initTestCase()
    {
        if (!g_strNoNetwork.isEmpty())
            QSKIP(qPrintable("no private network namespace: " + g_strNoNetwork));
        m_fake = std::make_unique<CFakeOnvifServer>();
        QVERIFY2(m_fake->EnableDiscovery(), qPrintable(m_fake->Error()));
        m_fake->SetProbeMatchDelay(20);
        QVERIFY2(m_fake->StartInThread(
                     {Device("127.0.1.20", 8000), Device("127.0.1.100", 8080), Device("127.0.1.250", 8000)}),
                 qPrintable(m_fake->Error()));
        m_fake->SetDiscoverySilent(1, true);
        // Something that speaks HTTP but is no device.
        QVERIFY(m_webServer.listen(QHostAddress("127.0.1.50"), 8000));
        connect(&m_webServer, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *client = m_webServer.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, client, [client] {
                client->write("HTTP/1.1 200 OK\r\nContent-Length: 13\r\n\r\n<html></html>");
                client->disconnectFromHost();
            });
        });
    }

    void findsWhatAnswers_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("whole range") << false;
        QTest::newRow("cancelled") << true;
    }
    void findsWhatAnswers()
    {
        QFETCH(bool, cancel);
        QVector<quint32> addresses;
        for (int last = 1; last <= 250; ++last)
            addresses << (QHostAddress("127.0.1.0").toIPv4Address() | quint32(last));
        ADDRESS_SEARCH_OPTIONS options;
        options.iAnswerWaitMs = 300;
        options.iMaxInFlight = 16; // smaller than the default, so that the limit is reached
        CAddressSearch search(options);
        QVector<VIGIL_DEVICE_INFO> found;
        connect(&search, &CAddressSearch::SignalFound, this, [&](const VIGIL_DEVICE_INFO &info) { found << info; });
        QSignalSpy finished(&search, &CAddressSearch::SignalFinished);
        QSignalSpy progress(&search, &CAddressSearch::SignalProgress);
        search.Start(addresses, {8000, 8080});
        if (cancel) {
            QTRY_VERIFY(progress.size() >= 10);
            search.Cancel();
            QCOMPARE(finished.size(), 1);
            QCOMPARE(finished.at(0).at(0).toBool(), true);
            QVERIFY(!search.IsRunning());
            return;
        }
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(progress.last().at(0).toInt(), 250);
        QCOMPARE(search.ChecksStarted(), 250 * 3);
        QVERIFY(search.PeakInFlight() <= 16);
        QCOMPARE(found.size(), 3);
        std::sort(found.begin(), found.end(), [](const VIGIL_DEVICE_INFO &a, const VIGIL_DEVICE_INFO &b) {
            return QByteArray(a.sIPv4Address) < QByteArray(b.sIPv4Address);
        });
        // Probe answers carry the endpoint; a device heard only on a port is named by address and port.
        QCOMPARE(QString(found.at(0).sIPv4Address), QStringLiteral("127.0.1.100"));
        QCOMPARE(QString(found.at(0).sSerialNumber), QStringLiteral("127.0.1.100:8080"));
        QCOMPARE(found.at(0).iPort, 8080);
        for (int i : {1, 2}) {
            QCOMPARE(QString(found.at(i).sSerialNumber), m_fake->Device(i == 1 ? 0 : 2).Endpoint());
            QCOMPARE(found.at(i).iPort, 8000);
            QCOMPARE(found.at(i).iEvent, VIGIL_EVENT_ANSWERED);
        }
        QCOMPARE(QString(found.at(1).sIPv4Address), QStringLiteral("127.0.1.20"));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    if (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork) == PrivateNetwork::Outcome::ChildFinished)
        return exitCode;
    TestAddressSearch test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_addresssearch.moc"
