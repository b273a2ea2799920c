// WS-Discovery behind the discovery library, against fake devices inside a private network
// namespace of the test's own (the test re-executes itself under unshare -n; multicast never
// leaves it): devices appear by probe match or Hello, change, go away by Bye or silence, and
// hostile datagrams change nothing. The message reading runs without the network as well.
#include "platform/vigil.h"
#include "platform/wsdiscovery.h"
#include "platform/wsdiscoverymessage.h"
#include "tests/support/privatenetwork.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QUdpSocket>
#include <QtTest>

#include <mutex>

namespace {
QString g_strNoNetwork; // why the network tests cannot run, if they cannot

const char *const kHello = R"(<?xml version="1.0"?>
<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope" xmlns:a="http://schemas.xmlsoap.org/ws/2004/08/addressing"
 xmlns:d="http://schemas.xmlsoap.org/ws/2005/04/discovery" xmlns:dn="http://www.onvif.org/ver10/network/wsdl">
<s:Header><a:Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/Hello</a:Action>
<a:MessageID>urn:uuid:0c7d3b1e-1111-4a2b-9c3d-000000000001</a:MessageID></s:Header>
<s:Body><d:Hello><a:EndpointReference><a:Address>%ENDPOINT%</a:Address></a:EndpointReference>
<d:Types>%TYPES%</d:Types><d:Scopes>onvif://www.onvif.org/hardware/HW%2042 onvif://www.onvif.org/name/x</d:Scopes>
<d:XAddrs>%XADDRS%</d:XAddrs><d:MetadataVersion>7</d:MetadataVersion></d:Hello></s:Body></s:Envelope>)";

QByteArray Hello(const QByteArray &endpoint, const QByteArray &xaddrs = "http://127.0.0.1:8080/onvif/device_service",
                 const QByteArray &types = "dn:NetworkVideoTransmitter")
{
    return QByteArray(kHello).replace("%ENDPOINT%", endpoint).replace("%XADDRS%", xaddrs).replace("%TYPES%", types);
}

struct Collector
{
    mutable std::mutex mutex;
    QVector<VIGIL_DEVICE_INFO> records;

    static void Callback(const VIGIL_DEVICE_INFO *info, void *userData)
    {
        auto *self = static_cast<Collector *>(userData);
        std::lock_guard<std::mutex> lock(self->mutex);
        self->records.append(*info);
    }
    static int KeepFirstFlood(const char *serial, void *) { return QByteArray(serial) == "urn:uuid:flood-0"; }
    int Count(int event, const QString &serial = QString()) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        int count = 0;
        for (const VIGIL_DEVICE_INFO &record : records)
            count += record.iEvent == event && (serial.isEmpty() || serial == QLatin1String(record.sSerialNumber));
        return count;
    }
    // The last record of this event for the serial.
    VIGIL_DEVICE_INFO Last(int event, const QString &serial) const
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (int i = records.size() - 1; i >= 0; --i)
            if (records[i].iEvent == event && serial == QLatin1String(records[i].sSerialNumber))
                return records[i];
        return VIGIL_DEVICE_INFO();
    }
};

FAKE_ONVIF_DEVICE Camera(const QString &address = QStringLiteral("127.0.0.1"), const QString &model = QString())
{
    FAKE_ONVIF_DEVICE device;
    device.strAddress = address;
    device.iPort = 0;
    device.strModel = model;
    return device;
}
} // namespace

// Reading and writing the messages; no network.
class TestWsDiscoveryMessages : public QObject
{
    Q_OBJECT

private slots:
    void pickAddress_data()
    {
        QTest::addColumn<QStringList>("xaddrs");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<QString>("address"); // empty: none
        QTest::addColumn<int>("port");
        QTest::newRow("the one matching the sender")
            << QStringList{"http://10.0.0.5:81/a", "http://192.168.1.9:8899/onvif/device_service"} << "192.168.1.9"
            << "192.168.1.9" << 8899;
        QTest::newRow("none matches: first IPv4")
            << QStringList{"http://[fe80::1]/x", "http://10.0.0.5/x"} << "192.168.1.9"
            << "10.0.0.5" << 80;
        QTest::newRow("https default port") << QStringList{"https://10.0.0.5/x"} << "10.0.0.5"
                                            << "10.0.0.5" << 443;
        QTest::newRow("host name: the sender") << QStringList{"http://cam.local:8000/x"} << "10.1.1.1"
                                               << "10.1.1.1" << 8000;
        QTest::newRow("mapped sender") << QStringList{"http://10.0.0.5:81/x", "http://10.0.0.6:82/x"}
                                       << "::ffff:10.0.0.6"
                                       << "10.0.0.6" << 82;
        QTest::newRow("no usable address")
            << QStringList{"ftp://10.0.0.5/", "garbage ::::", "http://10.0.0.5:99999/"} << "10.0.0.5"
            << "" << 0;
        QTest::newRow("none at all") << QStringList() << "10.0.0.5"
                                     << "" << 0;
    }
    void pickAddress()
    {
        QFETCH(QStringList, xaddrs);
        QFETCH(QString, sender);
        QFETCH(QString, address);
        QFETCH(int, port);
        QHostAddress picked;
        int pickedPort = 0;
        QCOMPARE(WsDiscovery::PickAddress(xaddrs, QHostAddress(sender), &picked, &pickedPort), !address.isEmpty());
        if (!address.isEmpty()) {
            QCOMPARE(picked.toString(), address);
            QCOMPARE(pickedPort, port);
        }
    }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("video");
        QTest::addColumn<QString>("hardware");
        QTest::newRow("hello") << Hello("urn:uuid:1") << 1 << true << "HW 42";
        QTest::newRow("types by default namespace")
            << Hello("urn:uuid:1", "http://1.2.3.4/", "NetworkVideoTransmitter")
                   .replace("<d:Types>", "<d:Types xmlns=\"http://www.onvif.org/ver10/network/wsdl\">")
            << 1 << true << "HW 42";
        QTest::newRow("same name, other namespace")
            << Hello("urn:uuid:1", "http://1.2.3.4/", "p:NetworkVideoTransmitter")
                   .replace("<d:Types>", "<d:Types xmlns:p=\"urn:printers\">")
            << 1 << false << "HW 42";
        QTest::newRow("undeclared prefix")
            << Hello("urn:uuid:1", "http://1.2.3.4/", "tdn:NetworkVideoTransmitter") << 1 << true << "HW 42";
        QTest::newRow("2009/01 namespaces")
            << Hello("urn:uuid:1")
                   .replace("http://schemas.xmlsoap.org/ws/2005/04/discovery",
                            "http://docs.oasis-open.org/ws-dd/ns/discovery/2009/01")
                   .replace("http://schemas.xmlsoap.org/ws/2004/08/addressing", "http://www.w3.org/2005/08/addressing")
            << 1 << true << "HW 42";
        QByteArray two = Hello("urn:uuid:1");
        two.replace("<d:Hello>", "<d:ProbeMatches><d:ProbeMatch>")
            .replace(
                "</d:Hello>",
                "</d:ProbeMatch><d:ProbeMatch>"
                "<a:EndpointReference><a:Address>urn:uuid:2</a:Address></a:EndpointReference></d:ProbeMatch></d:ProbeMatches>");
        QTest::newRow("two probe matches") << two << 2 << true << "HW 42";
        QTest::newRow("discovery namespace misspelt")
            << Hello("urn:uuid:1").replace("ws/2005/04/discovery", "ws/2005/04/discovey") << 0 << false << "";
        QTest::newRow("truncated") << Hello("urn:uuid:1").left(400) << 0 << false << "";
        QTest::newRow("not SOAP") << QByteArray("<Envelope><Body><Hello/></Body></Envelope>") << 0 << false << "";
        // Reading stays cheap whatever a datagram holds.
        QByteArray attributes;
        for (int i = 0; i < 65; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"1\"";
        QTest::newRow("64 attributes")
            << Hello("urn:uuid:1").replace("<d:Hello>", "<d:Hello" + attributes.left(attributes.lastIndexOf(' ')) + '>')
            << 1 << true << "HW 42";
        QTest::newRow("65 attributes") << Hello("urn:uuid:1").replace("<d:Hello>", "<d:Hello" + attributes + '>') << 0
                                       << false << "";
        QTest::newRow("over 32 KB")
            << Hello("urn:uuid:1").replace("<d:Hello>", "<d:Hello><!--" + QByteArray(32 * 1024, ' ') + "-->") << 0
            << false << "";
        QTest::newRow("too many tokens")
            << Hello("urn:uuid:1").replace("<d:Hello>", "<d:Hello>" + QByteArray("<x/>").repeated(5000)) << 0 << false
            << "";
    }
    void parse()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(int, count);
        QFETCH(bool, video);
        QFETCH(QString, hardware);
        const QVector<WSD_ANNOUNCEMENT> found = WsDiscovery::Parse(datagram);
        QCOMPARE(found.size(), count);
        if (count > 0) {
            QCOMPARE(found[0].strEndpoint, QStringLiteral("urn:uuid:1"));
            QCOMPARE(found[0].bVideoDevice, video);
            QCOMPARE(WsDiscovery::Hardware(found[0].scopes), hardware);
            QCOMPARE(found[0].iMetadataVersion, 7u);
        }
        if (count == 2)
            QCOMPARE(found[1].strEndpoint, QStringLiteral("urn:uuid:2"));
    }
};

// The backend on the network, inside the namespace.
class TestWsDiscoveryNetwork : public QObject
{
    Q_OBJECT

private:
    std::shared_ptr<CWsDiscoveryBackend> m_backend;
    std::unique_ptr<CFakeOnvifServer> m_fake;
    Collector m_collector;

    void StartBackend(int probeIntervalMs = 300)
    {
        WSDISCOVERY_OPTIONS options;
        options.iProbeIntervalMs = probeIntervalMs;
        options.iVanishRounds = 2;
        options.iAnswerWaitMs = 300;
        options.iProbeRepeatMs = 100;
        m_backend = std::make_shared<CWsDiscoveryBackend>(options);
        Vigil_SetBackend(m_backend);
        QCOMPARE(VIGIL_Start_V20(&Collector::Callback, &m_collector), 1);
        QTRY_VERIFY(m_backend->ProbesSent() >= 1); // listening by now
    }
    // One datagram to the group from the given loopback address, as a host there would send it.
    static void SendFrom(const QString &address, const QByteArray &datagram)
    {
        QUdpSocket sender;
        QVERIFY(sender.bind(QHostAddress(address), 0));
        sender.setSocketOption(QAbstractSocket::MulticastTtlOption, 0);
        QVERIFY(sender.writeDatagram(datagram, QHostAddress(WsDiscovery::kGroup), WsDiscovery::kPort) >= 0);
    }
    void StartFake(const QVector<FAKE_ONVIF_DEVICE> &devices)
    {
        m_fake = std::make_unique<CFakeOnvifServer>();
        QVERIFY2(m_fake->EnableDiscovery(), qPrintable(m_fake->Error()));
        m_fake->SetProbeMatchDelay(50);
        QVERIFY2(m_fake->StartInThread(devices), qPrintable(m_fake->Error()));
    }
    void VerifyRecord(const VIGIL_DEVICE_INFO &record, const FAKE_ONVIF_DEVICE &device)
    {
        QCOMPARE(QString::fromLatin1(record.sSerialNumber), device.Endpoint());
        QCOMPARE(QString::fromLatin1(record.sIPv4Address), device.strAddress);
        QCOMPARE(record.iPort, int(device.iPort));
        QCOMPARE(QString::fromUtf8(record.sSoftwareVersion), device.Model());
    }

private slots:
    void initTestCase()
    {
        if (!g_strNoNetwork.isEmpty())
            QSKIP(qPrintable("no private network namespace: " + g_strNoNetwork));
        QVERIFY(PrivateNetwork::IsPrivate()); // multicast stays inside
    }
    void cleanup()
    {
        VIGIL_Stop();
        Vigil_SetBackend(nullptr);
        m_fake.reset();
        m_backend.reset();
        std::lock_guard<std::mutex> lock(m_collector.mutex);
        m_collector.records.clear();
    }

    void appear_data()
    {
        QTest::addColumn<bool>("byHello");
        QTest::newRow("answering a probe") << false;
        QTest::newRow("saying hello") << true;
    }
    void appear()
    {
        QFETCH(bool, byHello);
        FAKE_ONVIF_DEVICE recorder = Camera();
        recorder.bRecorder = true;
        recorder.iChannels = 4;
        const QVector<FAKE_ONVIF_DEVICE> devices{Camera(), recorder, Camera("127.0.0.3", "FC-300 Outdoor")};
        if (byHello) {
            StartBackend(600000); // one probe, before the devices exist
            StartFake(devices);
        } else {
            StartFake(devices);
            StartBackend();
        }
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED), 3);
        for (int i = 0; i < 3; ++i)
            VerifyRecord(m_collector.Last(VIGIL_EVENT_APPEARED, m_fake->Device(i).Endpoint()), m_fake->Device(i));
        // Answers to repeated probes and further rounds are the same devices, unchanged.
        if (!byHello) {
            const int probes = m_backend->ProbesSent();
            QTRY_VERIFY(m_backend->ProbesSent() >= probes + 2 && m_fake->Stats().iProbesAnswered >= 9);
        }
        QCOMPARE(m_collector.Count(VIGIL_EVENT_APPEARED), 3);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_CHANGED), 0);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_VANISHED), 0);
    }

    void change_data()
    {
        QTest::addColumn<bool>("newPort");
        QTest::addColumn<QString>("newModel");
        QTest::newRow("port") << true << QString();
        QTest::newRow("metadata version only") << false << QString();
        QTest::newRow("hardware") << false << "FC-200";
    }
    void change()
    {
        QFETCH(bool, newPort);
        QFETCH(QString, newModel);
        StartFake({Camera(), Camera()});
        StartBackend();
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED), 2);
        FAKE_ONVIF_DEVICE changed = m_fake->Device(0);
        const QString serial = changed.Endpoint();
        if (newPort)
            changed.iPort = 0; // a fresh one
        if (!newModel.isEmpty())
            changed.strModel = newModel;
        QVERIFY(m_fake->UpdateDevice(0, changed));
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_CHANGED, serial), 1);
        VerifyRecord(m_collector.Last(VIGIL_EVENT_CHANGED, serial), m_fake->Device(0));
        if (newPort)
            QVERIFY(m_fake->Device(0).iPort != m_collector.Last(VIGIL_EVENT_APPEARED, serial).iPort);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_CHANGED), 1);
    }

    void vanish_data()
    {
        QTest::addColumn<bool>("bye");
        QTest::newRow("saying bye") << true;
        QTest::newRow("falling silent") << false;
    }
    void vanish()
    {
        QFETCH(bool, bye);
        StartFake({Camera(), Camera()});
        StartBackend();
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED), 2);
        const QString gone = m_fake->Device(0).Endpoint();
        const QString staying = m_fake->Device(1).Endpoint();
        if (bye)
            m_fake->RemoveDevice(0, true);
        else
            m_fake->SetDiscoverySilent(0, true);
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_VANISHED, gone), 1);
        QCOMPARE(QString::fromLatin1(m_collector.Last(VIGIL_EVENT_VANISHED, gone).sIPv4Address),
                 QStringLiteral("127.0.0.1"));
        // The other device keeps answering through further rounds.
        const int probes = m_backend->ProbesSent();
        QTRY_VERIFY(m_backend->ProbesSent() >= probes + 3);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_VANISHED, staying), 0);
        // A silent device that speaks again is new again.
        if (!bye) {
            m_fake->SetDiscoverySilent(0, false);
            QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED, gone), 2);
        }
    }

    // A device speaks for itself: announcements count only from an address their XAddrs name,
    // and the device is where the sender is; a Bye only from where the device is.
    void sendersSpeakForThemselves_data()
    {
        QTest::addColumn<QByteArray>("message"); // about urn:uuid:dev, known at 127.0.0.1:8080
        QTest::addColumn<QString>("sender");
        QTest::addColumn<int>("event");       // what it announces; 0: nothing
        QTest::addColumn<QString>("address"); // where the device is then
        const QByteArray bye = Hello("urn:uuid:dev").replace("d:Hello>", "d:Bye>");
        QTest::newRow("hello naming another host")
            << Hello("urn:uuid:dev", "http://127.0.0.77:80/onvif/device_service") << "127.0.0.66" << 0 << "";
        QTest::newRow("hello naming the device's address")
            << Hello("urn:uuid:dev", "http://127.0.0.1:81/onvif/device_service") << "127.0.0.66" << 0 << "";
        QTest::newRow("hello naming its sender") << Hello("urn:uuid:dev", "http://127.0.0.66:80/onvif/device_service")
                                                 << "127.0.0.66" << int(VIGIL_EVENT_CHANGED) << "127.0.0.66";
        QTest::newRow("bye of another host") << bye << "127.0.0.66" << 0 << "";
        QTest::newRow("bye of the device") << bye << "127.0.0.1" << int(VIGIL_EVENT_VANISHED) << "127.0.0.1";
    }
    void sendersSpeakForThemselves()
    {
        QFETCH(QByteArray, message);
        QFETCH(QString, sender);
        QFETCH(int, event);
        QFETCH(QString, address);
        StartBackend(600000);
        SendFrom("127.0.0.1", Hello("urn:uuid:dev"));
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED, "urn:uuid:dev"), 1);
        SendFrom(sender, message);
        // Read in order: once the marker is in, so is the message.
        SendFrom(sender, Hello("urn:uuid:marker", "http://" + sender.toLatin1() + ":80/"));
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED, "urn:uuid:marker"), 1);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_CHANGED), event == VIGIL_EVENT_CHANGED ? 1 : 0);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_VANISHED), event == VIGIL_EVENT_VANISHED ? 1 : 0);
        if (event != 0)
            QCOMPARE(QString::fromLatin1(m_collector.Last(event, "urn:uuid:dev").sIPv4Address), address);
    }

    // When the list is full, a new device takes the place of the one silent the longest that the
    // caller does not keep: a flood of invented devices cannot hide a real one.
    void fullListMakesRoom_data()
    {
        QTest::addColumn<bool>("keepOldest");
        QTest::newRow("the longest silent goes") << false;
        QTest::newRow("a kept device stays") << true;
    }
    void fullListMakesRoom()
    {
        QFETCH(bool, keepOldest);
        VIGIL_SetKeepCallback(keepOldest ? &Collector::KeepFirstFlood : nullptr);
        StartBackend(600000);
        VIGIL_SetKeepCallback(nullptr);
        const int full = 4096;
        // In rounds, so that no datagram is lost to a full socket buffer.
        for (int sent = 0; sent < full;) {
            for (const int end = std::min(full, sent + 32); sent < end; ++sent)
                SendFrom(
                    "127.0.0.5",
                    Hello("urn:uuid:flood-" + QByteArray::number(sent), "http://127.0.0.5:80/onvif/device_service"));
            QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED), sent);
        }
        StartFake({Camera()});
        const QString real = m_fake->Device(0).Endpoint();
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED, real), 1);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_VANISHED), 1);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_VANISHED, keepOldest ? "urn:uuid:flood-1" : "urn:uuid:flood-0"), 1);
    }

    void hostileDatagrams_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("accepted"); // serial of the device it announces; empty: none
        QRandomGenerator random(42);
        QByteArray noise(2000, Qt::Uninitialized);
        for (char &c : noise)
            c = char(random.bounded(256));
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("noise") << noise << "";
        QTest::newRow("truncated hello") << Hello("urn:uuid:t").left(500) << "";
        QTest::newRow("deep nesting") << QByteArray(
                                             "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>")
                + QByteArray("<a>").repeated(20000)
                                      << "";
        QTest::newRow("entity expansion")
            << QByteArray(
                   "<?xml version=\"1.0\"?><!DOCTYPE s:Envelope [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                   "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>")
                + Hello("urn:uuid:&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;").mid(22)
            << "";
        QTest::newRow("hello without types")
            << Hello("urn:uuid:n").replace("<d:Types>dn:NetworkVideoTransmitter</d:Types>", "") << "";
        QTest::newRow("hello of a printer") << Hello("urn:uuid:p", "http://127.0.0.1:80/", "dn:Printer") << "";
        QTest::newRow("hello with broken addresses") << Hello("urn:uuid:x", "::: http://:99999/ ftp://1.2.3.4/") << "";
        QTest::newRow("bye of a stranger") << Hello("urn:uuid:s").replace("d:Hello>", "d:Bye>") << "";
        QTest::newRow("hello without endpoint") << Hello("") << "";
        QTest::newRow("hello") << Hello("urn:uuid:fine") << "urn:uuid:fine";
        QTest::newRow("endpoint longer than the field")
            << Hello("urn:uuid:" + QByteArray(5000, 'x')) << "urn:uuid:" + QString(47 - 9, 'x');
    }
    void hostileDatagrams()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, accepted);
        StartBackend();
        // Sent to the group as any host could, and straight to the port the probes come from.
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::AnyIPv4, WsDiscovery::kPort,
                              QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint));
        QVERIFY(listener.joinMulticastGroup(QHostAddress(WsDiscovery::kGroup)));
        QTRY_VERIFY_WITH_TIMEOUT(listener.hasPendingDatagrams(), 10000);
        const quint16 probePort = quint16(listener.receiveDatagram().senderPort());
        QUdpSocket sender;
        sender.setSocketOption(QAbstractSocket::MulticastTtlOption, 0);
        const int ignoredBefore = m_backend->DatagramsIgnored();
        QVERIFY(sender.writeDatagram(datagram, QHostAddress(WsDiscovery::kGroup), WsDiscovery::kPort) >= 0);
        QVERIFY(sender.writeDatagram(datagram, QHostAddress::LocalHost, probePort) >= 0);
        if (accepted.isEmpty())
            QTRY_VERIFY(m_backend->DatagramsIgnored() >= ignoredBefore + 2);
        else
            QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED, accepted), 1);
        // Still working: a real device is found, and nothing else was.
        StartFake({Camera()});
        QTRY_COMPARE(m_collector.Count(VIGIL_EVENT_APPEARED, m_fake->Device(0).Endpoint()), 1);
        QCOMPARE(m_collector.Count(VIGIL_EVENT_APPEARED), accepted.isEmpty() ? 1 : 2);
        if (!accepted.isEmpty()) {
            const VIGIL_DEVICE_INFO record = m_collector.Last(VIGIL_EVENT_APPEARED, accepted);
            QCOMPARE(QByteArray(record.sIPv4Address), QByteArray("127.0.0.1"));
            QCOMPARE(record.iPort, 8080);
            QCOMPARE(QByteArray(record.sSoftwareVersion), QByteArray("HW 42"));
        }
    }

    // Probes leave by every multicast interface, also one that came up after discovery started.
    // Multicast sent out of an interface is looped back to this host as arriving there, which
    // tells which interfaces a probe left by.
    void probesEveryInterface()
    {
        StartBackend(200);
        auto ip = [](const QString &command) {
            QProcess process;
            process.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
            return process.waitForFinished(10000) && process.exitCode() == 0;
        };
        // Two ends of a virtual cable, both in this namespace: nothing leaves it.
        const auto tearDown = qScopeGuard([&] { ip(QStringLiteral("ip link del nd0")); });
        QVERIFY(ip("ip link add nd0 type veth peer name nd1 && ip addr add 10.213.0.1/24 dev nd0 "
                   "&& ip addr add 10.213.1.1/24 dev nd1 && ip link set nd0 up && ip link set nd1 up"));
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::AnyIPv4, WsDiscovery::kPort, QUdpSocket::ShareAddress));
        QSet<int> wanted;
        for (const QString name : {"nd0", "nd1"}) {
            const QNetworkInterface netInterface = QNetworkInterface::interfaceFromName(name);
            QVERIFY(listener.joinMulticastGroup(QHostAddress(WsDiscovery::kGroup), netInterface));
            wanted.insert(netInterface.index());
        }
        QSet<int> arrivedOn;
        connect(&listener, &QUdpSocket::readyRead, &listener, [&] {
            while (listener.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = listener.receiveDatagram();
                if (datagram.data().contains("Probe</"))
                    arrivedOn.insert(datagram.interfaceIndex());
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(arrivedOn.contains(wanted), 10000);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    switch (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork)) {
    case PrivateNetwork::Outcome::ChildFinished:
        return exitCode;
    case PrivateNetwork::Outcome::Unavailable:
    case PrivateNetwork::Outcome::Inside:
        break;
    }
    TestWsDiscoveryMessages messages;
    TestWsDiscoveryNetwork network;
    const int failedMessages = QTest::qExec(&messages, argc, argv);
    return failedMessages + QTest::qExec(&network, argc, argv);
}

#include "tst_wsdiscovery.moc"
