// Whole logins and imports through the device SDK and the device layer, against fake ONVIF
// devices served on 127.0.0.1, some of them behind a proxy that edits their answers.
#include "calc/bitratecalculator.h"
#include "import/deviceimporter.h"
#include "import/devicesurvey.h"
#include "platform/certificatepins.h"
#include "platform/dvrbackend.h"
#include "platform/onvif/onvifbackend.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <functional>
#include <future>
#include <mutex>
#include <numeric>
#include <thread>

namespace {

// Runs setup and then an event loop on a plain std::thread, whose start and end the thread
// sanitizer sees (Debian's Qt is not built for it). What setup returns lives until the loop ends.
class CLoopThread
{
public:
    ~CLoopThread()
    {
        if (m_thread.joinable()) {
            QMetaObject::invokeMethod(m_pLoop, "quit", Qt::QueuedConnection);
            m_thread.join();
        }
    }
    void Start(const std::function<std::shared_ptr<void>()> &setup)
    {
        std::promise<void> ready;
        m_thread = std::thread([&] {
            QEventLoop loop;
            m_pLoop = &loop;
            const std::shared_ptr<void> keep = setup();
            ready.set_value();
            loop.exec();
        });
        ready.get_future().wait();
    }

private:
    QEventLoop *m_pLoop = nullptr;
    std::thread m_thread;
};

// Relays each request to a device and edits its answer: the namespace prefixes renamed in one
// pass (so that two can swap), literal replacements, and the device's port in the service
// addresses made the proxy's.
class CEditingProxy
{
public:
    CEditingProxy(quint16 target, const QStringList &prefixes, const QStringList &edits)
        : m_uTarget(target), m_prefixes(prefixes), m_edits(edits)
    {
    }
    quint16 Start()
    {
        m_thread.Start([this] {
            auto server = std::make_shared<QTcpServer>();
            server->listen(QHostAddress::LocalHost);
            m_uPort = server->serverPort();
            QObject::connect(server.get(), &QTcpServer::newConnection, server.get(), [this, server = server.get()] {
                while (QTcpSocket *socket = server->nextPendingConnection())
                    Serve(socket);
            });
            return server;
        });
        return m_uPort;
    }

private:
    void Serve(QTcpSocket *socket)
    {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request = QByteArray()]() mutable {
            request += socket->readAll();
            const int end = request.indexOf("\r\n\r\n");
            const auto length = QRegularExpression("Content-Length: (\\d+)").match(request).captured(1).toInt();
            if (end < 0 || request.size() < end + 4 + length)
                return;
            QTcpSocket device;
            device.connectToHost(QHostAddress::LocalHost, m_uTarget);
            device.waitForConnected(3000);
            device.write(request.insert(end, "\r\nConnection: close")); // its answer ends with the connection
            QByteArray answer;
            while (device.waitForReadyRead(3000))
                answer += device.readAll();
            socket->write(Edit(answer + device.readAll()));
            socket->disconnectFromHost();
        });
    }

    QByteArray Edit(const QByteArray &answer) const
    {
        const int end = answer.indexOf("\r\n\r\n");
        QString body = QString::fromUtf8(answer.mid(end + 4));
        const QRegularExpression prefix("(</?|xmlns:|>)(env|tt|tds|trt|tr2|trc|ter)([:=])");
        QString renamed;
        qsizetype last = 0;
        for (auto matches = prefix.globalMatch(body); matches.hasNext();) {
            const QRegularExpressionMatch match = matches.next();
            const QStringList rename = m_prefixes.filter(QRegularExpression('^' + match.captured(2) + '='));
            renamed += body.mid(last, match.capturedStart(2) - last)
                + (rename.isEmpty() ? match.captured(2) : rename.first().section('=', 1));
            last = match.capturedEnd(2);
        }
        body = renamed + body.mid(last);
        body.replace(QStringLiteral(":%1/").arg(m_uTarget), QStringLiteral(":%1/").arg(m_uPort));
        for (const QString &edit : m_edits)
            body.replace(edit.section('|', 0, 0), edit.section('|', 1));
        const QByteArray edited = body.toUtf8();
        QByteArray header = answer.left(end);
        header.replace(
            QRegularExpression("Content-Length: \\d+").match(QString::fromLatin1(header)).captured(0).toLatin1(),
            "Content-Length: " + QByteArray::number(edited.size()));
        return header + "\r\n\r\n" + edited;
    }

    const quint16 m_uTarget;
    const QStringList m_prefixes; // "old=new"
    const QStringList m_edits;    // "old|new"
    quint16 m_uPort = 0;
    CLoopThread m_thread; // last: the server goes before the members it uses
};

// Answers each request with the next of its answers (the last one again and again) and keeps
// the requests it was sent.
class CHostilePeer
{
public:
    explicit CHostilePeer(const QList<QByteArray> &answers) : m_answers(answers) {}
    quint16 Start()
    {
        m_thread.Start([this] {
            auto server = std::make_shared<QTcpServer>();
            server->listen(QHostAddress::LocalHost);
            m_uPort = server->serverPort();
            QObject::connect(server.get(), &QTcpServer::newConnection, server.get(), [this, server = server.get()] {
                while (QTcpSocket *socket = server->nextPendingConnection())
                    Serve(socket);
            });
            return server;
        });
        return m_uPort;
    }
    QList<QByteArray> Requests()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

private:
    void Serve(QTcpSocket *socket)
    {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request = QByteArray()]() mutable {
            request += socket->readAll();
            const int end = request.indexOf("\r\n\r\n");
            const auto length = QRegularExpression("Content-Length: (\\d+)").match(request).captured(1).toInt();
            if (end < 0 || request.size() < end + 4 + length)
                return;
            QByteArray answer;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                answer = m_answers.value(std::min(m_requests.size(), m_answers.size() - 1));
                m_requests << request;
            }
            socket->write(answer);
            socket->disconnectFromHost();
        });
    }

    const QList<QByteArray> m_answers;
    std::mutex m_mutex;
    QList<QByteArray> m_requests;
    quint16 m_uPort = 0;
    CLoopThread m_thread; // last: the server goes before the members it uses
};

QByteArray HttpAnswer(const QByteArray &status, const QByteArray &headers, const QByteArray &body)
{
    return "HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
        + body;
}

// A fake device served from its own loop thread; its port and serial number.
struct SERVED
{
    CLoopThread thread;
    quint16 uPort = 0;
    QString strSerial;
    QString strError;
    CFakeOnvifServer *pFake = nullptr; // lives as long as the thread

    bool Start(const FAKE_ONVIF_DEVICE &device)
    {
        thread.Start([&] {
            auto fake = std::make_shared<CFakeOnvifServer>();
            pFake = fake.get();
            if (fake->Start({device})) {
                uPort = fake->Device(0).iPort;
                strSerial = fake->Device(0).Serial();
            }
            strError = fake->Error();
            return fake;
        });
        return uPort != 0;
    }
};

QString CameraText(const STRU_CAMERA &camera)
{
    return QStringLiteral("%1 ch%2 %3 %4 %5fps %6 L%7")
        .arg(QString::fromLocal8Bit(camera.strName))
        .arg(camera.iChannel)
        .arg(NordaVocab::DeviceTypeText(camera.iType), NordaVocab::ResolutionText(camera.iResolution))
        .arg(camera.dFramerate)
        .arg(camera.iBitrate == camera.iRecommendedBitrate ? QStringLiteral("recommended")
                                                           : QString::number(camera.iBitrate))
        .arg(camera.iLevel);
}

// The cameras of channels 1..count, all with the same settings.
QStringList Cameras(const QString &name, int count, const QString &settings)
{
    QStringList cameras;
    for (int i = 1; i <= count; ++i)
        cameras << QStringLiteral("127.0.0.1_%1%2 ch%2 IPC %3").arg(name).arg(i).arg(settings);
    return cameras;
}

QStringList g_messages;
std::mutex g_messagesMutex;

} // namespace

Q_DECLARE_METATYPE(FAKE_ONVIF_DEVICE)

class TestOnvifBackend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        NET_DVR_Init();
        ONVIF_LIMITS limits;
        limits.iConnectTimeoutMs = 1000;
        limits.iTotalTimeoutMs = 1500;
        // Devices of later rows may get the port of an earlier one: nothing learnt is taken up.
        NetDvr_SetBackend(std::make_shared<COnvifBackend>(limits, 0));
        QLoggingCategory::setFilterRules(QStringLiteral("norda.*.debug=true"));
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
            std::lock_guard<std::mutex> lock(g_messagesMutex);
            g_messages << message;
        });
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        for (const QString &message : g_messages)
            QVERIFY2(!message.contains(QLatin1String("12345")), qPrintable(message));
        const auto backend = std::static_pointer_cast<COnvifBackend>(NetDvr_Backend());
        QCOMPARE(backend->OpenSessions(), 0);
    }

    void import_data()
    {
        QTest::addColumn<FAKE_ONVIF_DEVICE>("device");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("prefixes"); // renamed by the proxy ("old=new")
        QTest::addColumn<QStringList>("edits");    // replaced by the proxy ("old|new"); neither: no proxy
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("cameras");
        const QString hd = QStringLiteral("1080P(1920*1080) 25fps 4096 L3");
        const QString right = QStringLiteral("12345");
        const QString wrong = QStringLiteral("1234");
        FAKE_ONVIF_DEVICE camera;
        camera.iPort = 0;
        QTest::newRow("camera, Media2") << camera << right << QStringList() << QStringList() << 0 << Cameras("", 1, hd);
        QTest::newRow("camera, WS-Security, wrong password")
            << camera << wrong << QStringList() << QStringList() << NET_DVR_BAD_CREDENTIALS << QStringList();
        FAKE_ONVIF_DEVICE device = camera;
        device.bMedia2 = false;
        QTest::newRow("camera, Media") << device << right << QStringList() << QStringList() << 0 << Cameras("", 1, hd);
        device.fault = FakeOnvifFault::Malformed;
        device.faultOperations = QStringList{"GetVideoEncoderConfiguration"};
        QTest::newRow("Media, encoder malformed: the profile's copy")
            << device << right << QStringList() << QStringList() << 0 << Cameras("", 1, hd);

        device = camera;
        device.bRecorder = true;
        device.iChannels = 8;
        device.auth = FakeOnvifAuth::HttpDigest;
        device.bStrictAuth = true;
        device.iClockOffsetSec = -7200;
        QTest::newRow("recorder, 8 channels, Digest SHA-256, clock 2 h behind")
            << device << right << QStringList() << QStringList() << 0 << Cameras("IPCamera", 8, hd);
        QTest::newRow("Digest SHA-256, wrong password")
            << device << wrong << QStringList() << QStringList() << NET_DVR_BAD_CREDENTIALS << QStringList();
        device.iChannels = 2;
        device.digestAlgorithms = QStringList{"MD5"};
        FAKE_ONVIF_ENCODER hd720;
        hd720.iWidth = 1280;
        hd720.iHeight = 720;
        hd720.iBitrateLimit = 2048;
        FAKE_ONVIF_ENCODER d1;
        d1.iWidth = 720;
        d1.iHeight = 480;
        d1.iFrameRateLimit = 30;
        d1.iBitrateLimit = 1024;
        d1.dQuality = 10;
        device.channelStreams = {{hd720, d1}, {d1, hd720}};
        QTest::newRow("recorder, Digest MD5, two channels of two streams")
            << device << right << QStringList() << QStringList() << 0
            << QStringList{"127.0.0.1_IPCamera1 ch1 IPC 720P(1280*760) 25fps 2048 L3",
                           "127.0.0.1_IPCamera2 ch2 IPC 4CIF 25fps 1024 L0"};
        QTest::newRow("Digest MD5, wrong password")
            << device << wrong << QStringList() << QStringList() << NET_DVR_BAD_CREDENTIALS << QStringList();

        device = camera;
        device.streams.first().iWidth = 2592;
        device.streams.first().iHeight = 1944;
        device.streams.first().iFrameRateLimit = 15;
        device.streams.first().iBitrateLimit = 2147483647;
        device.streams.first().dQuality = 70;
        device.streams.first().dQualityMin = 1;
        device.streams.first().dQualityMax = 100;
        QTest::newRow("5 MP, unlimited bitrate, quality 70 of 1..100")
            << device << right << QStringList() << QStringList() << 0
            << Cameras("", 1, "2560*1920 15fps recommended L2");
        device.streams.first().dQualityMin = 70;
        device.streams.first().dQualityMax = 70;
        QTest::newRow("one quality offered: the best") << device << right << QStringList() << QStringList() << 0
                                                       << Cameras("", 1, "2560*1920 15fps recommended L0");
        device = camera;
        device.iLatencyMs = 200;
        QTest::newRow("answers slowly") << device << right << QStringList() << QStringList() << 0 << Cameras("", 1, hd);

        const QStringList renamed{"env=SOAP-ENV", "tt=sch", "tds=dev", "tr2=m", "ter=e"};
        const QStringList swapped{"env=tt", "tt=env", "tds=tr2", "tr2=tds", "ter=trt", "trt=ter"};
        QTest::newRow("other prefixes") << camera << right << renamed << QStringList() << 0 << Cameras("", 1, hd);
        QTest::newRow("prefixes swapped") << camera << right << swapped << QStringList() << 0 << Cameras("", 1, hd);
        QTest::newRow("prefixes swapped, wrong password")
            << camera << wrong << swapped << QStringList() << NET_DVR_BAD_CREDENTIALS << QStringList();
        QTest::newRow("absurd numbers: no supported resolution")
            << camera << right << QStringList()
            << QStringList{">1920<|>99999999999999999999<", ">25<|>NaN<", ">4096<|>1e400<", ">4<|>-inf<"} << 0
            << QStringList();

        device = camera;
        device.iPort = 1; // nothing listens there
        QTest::newRow("nothing listening")
            << device << right << QStringList() << QStringList() << NET_DVR_CONNECT_FAILED << QStringList();
        device = camera;
        device.fault = FakeOnvifFault::Silent;
        device.faultOperations = QStringList{"GetSystemDateAndTime"};
        QTest::newRow("clock never answers")
            << device << right << QStringList() << QStringList() << NET_DVR_TIMEOUT << QStringList();
        device.faultOperations.clear();
        device.fault = FakeOnvifFault::Malformed;
        QTest::newRow("not an ONVIF device")
            << device << right << QStringList() << QStringList() << NET_DVR_NOT_SUPPORTED_DEVICE << QStringList();
        const std::pair<const char *, FakeOnvifFault> faults[] = {{"never answers", FakeOnvifFault::Silent},
                                                                  {"trickles", FakeOnvifFault::Slow},
                                                                  {"50 MB", FakeOnvifFault::Huge},
                                                                  {"50 MB unsized", FakeOnvifFault::HugeUnsized},
                                                                  {"malformed", FakeOnvifFault::Malformed}};
        for (const auto &fault : faults) {
            device.fault = fault.second;
            const bool timeout = fault.second == FakeOnvifFault::Silent || fault.second == FakeOnvifFault::Slow;
            device.faultOperations = QStringList{"GetProfiles"};
            QTest::addRow("profiles: %s", fault.first)
                << device << right << QStringList() << QStringList() << (timeout ? NET_DVR_TIMEOUT : NET_DVR_BAD_ANSWER)
                << QStringList();
            device.faultOperations = QStringList{"GetVideoEncoderConfigurationOptions"};
            QTest::addRow("options: %s", fault.first) << device << right << QStringList() << QStringList() << 0
                                                      << (timeout ? QStringList() : Cameras("", 1, hd));
        }
    }

    void import()
    {
        QFETCH(FAKE_ONVIF_DEVICE, device);
        QFETCH(QString, password);
        QFETCH(QStringList, prefixes);
        QFETCH(QStringList, edits);
        QFETCH(int, error);
        QFETCH(QStringList, cameras);
        SERVED served;
        quint16 port = device.iPort;
        if (port == 0) {
            QVERIFY2(served.Start(device), qPrintable(served.strError));
            port = served.uPort;
        }
        CEditingProxy proxy(port, prefixes, edits);
        if (!prefixes.isEmpty() || !edits.isEmpty())
            port = proxy.Start();
        STRU_DEVICE record;
        record.strIP = "127.0.0.1";
        record.iPort = port;
        record.strUserName = "admin";
        record.strPassword = password.toLatin1();

        NET_DVR_LOGIN_ANSWER answer;
        const int userID = NET_DVR_Login_V30("127.0.0.1", port, "admin", record.strPassword.constData(), &answer);
        QCOMPARE(int(NET_DVR_GetLastError()), error);
        QCOMPARE(userID >= 0, error == 0);
        if (userID < 0)
            return;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(answer.sSerialNumber)), served.strSerial.toLatin1());
        QCOMPARE(int(answer.byChanNum), device.bRecorder ? 0 : device.iChannels);
        QVERIFY(NET_DVR_Logout(userID));
        QVERIFY(record.Login());
        // What the device says it is comes with the login, and goes on into every camera.
        const QStringList identity{device.strManufacturer, device.Model(), device.strFirmware, served.strSerial};
        QCOMPARE(QString::fromUtf8(record.identity.strMaker + '|' + record.identity.strModel + '|'
                                   + record.identity.strFirmware + '|' + record.identity.strSerial),
                 identity.join('|'));
        QCOMPARE(record.GetDeviceKind(),
                 device.bRecorder ? int(STRU_DEVICE::KindRecorder) : int(STRU_DEVICE::KindIPCamera));
        record.Logout();
        CBitrateCalculator calculator;
        QStringList imported;
        for (const STRU_CAMERA &camera : CDeviceImporter::ImportDevice(record, 0, calculator)) {
            imported << CameraText(camera);
            QCOMPARE(QString::fromUtf8(camera.strModel + '|' + camera.strSerial),
                     identity.at(1) + '|' + identity.at(3));
        }
        QCOMPARE(imported, cameras);
    }

    // A device that answers every request late: its whole budget ends the login however many
    // requests remain; a cancelled run lets go of it at once, its connection closed.
    void budgetAndCancel_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("budget runs out") << false;
        QTest::newRow("run cancelled") << true;
    }
    void budgetAndCancel()
    {
        QFETCH(bool, cancel);
        FAKE_ONVIF_DEVICE device;
        device.iPort = 0;
        device.iLatencyMs = cancel ? 3600 * 1000 : 400;
        SERVED served;
        QVERIFY2(served.Start(device), qPrintable(served.strError));
        const std::shared_ptr<CDvrBackend> fixture = NetDvr_Backend();
        NetDvr_SetBackend(std::make_shared<COnvifBackend>()); // the program's own limits per request
        std::atomic<bool> stop{false};
        std::thread canceller([&] {
            while (cancel && served.pFake->Stats().iOpenConnections == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            stop = cancel;
        });
        QElapsedTimer clock;
        clock.start();
        NET_DVR_LOGIN_ANSWER answer;
        int userID = -1;
        {
            const CDvrCallLimit limit(cancel ? -1 : 1000, &stop);
            userID = NET_DVR_Login_V30("127.0.0.1", served.uPort, "admin", "12345", &answer);
        }
        qInfo("%s: login given up after %lld ms", cancel ? "cancelled" : "budget of 1 s", clock.elapsed());
        canceller.join();
        NetDvr_SetBackend(fixture);
        QCOMPARE(userID, -1);
        QCOMPARE(int(NET_DVR_GetLastError()), NET_DVR_TIMEOUT);
        QTRY_COMPARE(served.pFake->Stats().iOpenConnections, 0);
        if (cancel)
            QCOMPARE(served.pFake->Stats().iRequests, 1);
    }

    void hostileAnswers_data()
    {
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("requests");
        const QByteArray envelope =
            QByteArray("<s:Envelope xmlns:s=\"") + OnvifUri::kSoap + "\"><s:Body>%1</s:Body></s:Envelope>";
        const QByteArray scopes = QByteArray("<m:GetScopesResponse xmlns:m=\"") + OnvifUri::kDevice + "\"%1/>";
        const QByteArray fine =
            HttpAnswer("200 OK", {}, QByteArray(envelope).replace("%1", QByteArray(scopes).replace("%1", "")));
        const QByteArray challenge =
            "WWW-Authenticate: Digest realm=\"r\", nonce=\"n\", opaque=\"o\", qop=\"auth\"\r\n";
        QTest::newRow("digest challenge")
            << QList<QByteArray>{HttpAnswer("401 Unauthorized", challenge, {}), fine} << int(ONVIF_RESULT::Ok) << 2;
        for (const QByteArray field : {"realm", "nonce", "opaque"}) {
            const QByteArray forged =
                QByteArray(challenge).replace(field + "=\"" + field.left(1), field + "=\"x\rX-Injected: 1\r");
            QTest::addRow("digest %s with a carriage return", field.constData())
                << QList<QByteArray>{HttpAnswer("401 Unauthorized", forged, {}), fine}
                << int(ONVIF_RESULT::Unauthorized) << 1;
        }
        QByteArray attributes;
        for (int i = 0; attributes.size() < 1000 * 1000 - 300; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"1\"";
        QTest::newRow("1 MB of attributes on one element") << QList<QByteArray>{HttpAnswer(
            "200 OK", {}, QByteArray(envelope).replace("%1", QByteArray(scopes).replace("%1", attributes)))}
                                                           << int(ONVIF_RESULT::Malformed) << 1;
    }

    void hostileAnswers()
    {
        QFETCH(QList<QByteArray>, answers);
        QFETCH(int, outcome);
        QFETCH(int, requests);
        CHostilePeer peer(answers);
        const ONVIF_ENDPOINT endpoint{QStringLiteral("127.0.0.1"), peer.Start(), "/onvif/device_service"};
        ONVIF_AUTH_STATE auth;
        auth.strUserName = "admin";
        auth.strPassword = "12345";
        const ONVIF_RESULT result = OnvifCall(endpoint, OnvifUri::kDevice, "GetScopes", {}, &auth, ONVIF_LIMITS());
        QCOMPARE(int(result.eOutcome), outcome);
        const QList<QByteArray> sent = peer.Requests();
        QCOMPARE(sent.size(), requests);
        for (const QByteArray &request : sent)
            QVERIFY(!request.contains("X-Injected"));
    }

    // A session's connections from login to logout, one per request of its widest round (3), used
    // by one thread after another and by several at once; a device that closes connections after
    // some answers gets the next request on a new one, each request sent once.
    void keptConnection_data()
    {
        QTest::addColumn<int>("closeAfter");
        QTest::newRow("kept open") << 0;
        QTest::newRow("closed after every answer") << 1;
        QTest::newRow("closed after three answers") << 3;
    }
    void keptConnection()
    {
        QFETCH(int, closeAfter);
        FAKE_ONVIF_DEVICE device;
        device.iPort = 0;
        device.bRecorder = true;
        device.iChannels = 4;
        device.iCloseAfterAnswers = closeAfter;
        device.iLatencyMs = 20; // a round's requests are in progress together
        SERVED served;
        QVERIFY2(served.Start(device), qPrintable(served.strError));
        NET_DVR_LOGIN_ANSWER answer;
        int userID = -1;
        std::thread([&] { userID = NET_DVR_Login_V30("127.0.0.1", served.uPort, "admin", "12345", &answer); }).join();
        QVERIFY(userID >= 0);
        std::atomic<int> read{0};
        std::vector<std::thread> readers;
        for (int channel = 1; channel <= device.iChannels; ++channel)
            readers.emplace_back([&, channel] {
                NET_DVR_COMPRESS_CONFIG config{};
                config.dwSize = sizeof(config);
                uint32_t returned = 0;
                read +=
                    NET_DVR_GetDVRConfig(userID, NET_DVR_GET_COMPRESSCFG, channel, &config, sizeof(config), &returned)
                    != 0;
            });
        for (std::thread &reader : readers)
            reader.join();
        QCOMPARE(read.load(), device.iChannels);
        if (closeAfter == 0)
            QCOMPARE(served.pFake->Stats().iOpenConnections, 3);
        QVERIFY(NET_DVR_Logout(userID));
        QTRY_COMPARE(served.pFake->Stats().iOpenConnections, 0);
        const FAKE_ONVIF_STATS stats = served.pFake->Stats();
        const int requests = std::accumulate(stats.operations.cbegin(), stats.operations.cend(), 0);
        QCOMPARE(stats.iRequests, requests);
        if (closeAfter == 0)
            QCOMPARE(stats.iConnections, 3);
        else
            QVERIFY(stats.iConnections >= (requests + closeAfter - 1) / closeAfter);
        QCOMPARE(stats.connections.value(0), stats.iConnections);
    }

    // What one device's survey and the import after it cost, counted by the device.
    void roundTrips_data()
    {
        QTest::addColumn<FAKE_ONVIF_DEVICE>("device");
        QTest::addColumn<int>("reuseMs");
        QTest::addColumn<bool>("loginFirst"); // a login that reads no channel, as the dialogs' are
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("requests");
        const int reuse = COnvifBackend::kReuseMs;
        FAKE_ONVIF_DEVICE camera;
        camera.iPort = 0;
        camera.iLatencyMs = 50; // requests sent together are in progress together
        QTest::newRow("camera, Media2") << camera << reuse << false << 3 << 6;
        QTest::newRow("camera, after a login that read nothing") << camera << reuse << true << 6 << 12;
        FAKE_ONVIF_DEVICE device = camera;
        device.bMedia2 = false;
        QTest::newRow("camera, Media only") << device << reuse << false << 3 << 6;
        device = camera;
        device.bRecorder = true;
        device.iChannels = 16;
        QTest::newRow("recorder, 16 channels") << device << reuse << false << 3 << 6;
        QTest::newRow("recorder, survey too old for the import") << device << 0 << false << 6 << 12;
        FAKE_ONVIF_ENCODER other;
        other.dQuality = 70;
        other.dQualityMax = 100;
        device.channelStreams = QVector<QVector<FAKE_ONVIF_ENCODER>>(16, device.streams);
        device.channelStreams[5] = {other};
        QTest::newRow("recorder, a channel on another quality scale") << device << reuse << false << 4 << 7;
    }
    void roundTrips()
    {
        QFETCH(FAKE_ONVIF_DEVICE, device);
        QFETCH(int, reuseMs);
        QFETCH(bool, loginFirst);
        QFETCH(int, rounds);
        QFETCH(int, requests);
        SERVED served;
        QVERIFY2(served.Start(device), qPrintable(served.strError));
        const std::shared_ptr<CDvrBackend> fixture = NetDvr_Backend();
        NetDvr_SetBackend(std::make_shared<COnvifBackend>(ONVIF_LIMITS(), reuseMs));
        STRU_DEVICE record;
        record.strIP = "127.0.0.1";
        record.iPort = served.uPort;
        record.strUserName = "admin";
        record.strPassword = "12345";
        if (loginFirst)
            QVERIFY(record.Login() && record.Logout());
        const CDeviceSurvey::Outcome outcome = CDeviceSurvey::SurveyDevice(&record);
        CBitrateCalculator calculator;
        const int cameras = CDeviceImporter::ImportDevice(record, 0, calculator).size();
        NetDvr_SetBackend(fixture);
        QCOMPARE(int(outcome), int(CDeviceSurvey::Succeeded));
        QCOMPARE(cameras, device.iChannels);
        const FAKE_ONVIF_STATS stats = served.pFake->Stats();
        QCOMPARE(stats.iRounds, rounds);
        QCOMPARE(stats.iRequests, requests);
    }

    // Over HTTPS: the plain first request refused, the login goes on over TLS on kept connections;
    // the certificate is pinned on first use, a changed one refused until the user accepts it.
    // Self-signed, expired and wrong-name certificates pass.
    void https_data()
    {
        QTest::addColumn<FAKE_ONVIF_DEVICE>("device");
        QTest::addColumn<QString>("pinned"); // before the login: nothing, the same, or another certificate
        FAKE_ONVIF_DEVICE device;
        device.iPort = 0;
        device.bTls = true;
        QTest::newRow("first use") << device << QString();
        QTest::newRow("same certificate") << device << QStringLiteral("same");
        QTest::newRow("changed certificate") << device << QStringLiteral("other");
        device.bTlsExpired = true;
        QTest::newRow("expired") << device << QString();
        device.bTlsExpired = false;
        device.strTlsHost = QStringLiteral("camera.invalid");
        QTest::newRow("wrong host name") << device << QString();
    }
    void https()
    {
        QFETCH(FAKE_ONVIF_DEVICE, device);
        QFETCH(QString, pinned);
        QTemporaryDir folder;
        CertificatePins::SetFile(folder.filePath(QStringLiteral("pins.txt")));
        SERVED served;
        QVERIFY2(served.Start(device), qPrintable(served.strError));
        const auto login = [&] {
            NET_DVR_LOGIN_ANSWER answer;
            const int userID = NET_DVR_Login_V30("127.0.0.1", served.uPort, "admin", "12345", &answer);
            return userID >= 0 && NET_DVR_Logout(userID) ? 0 : int(NET_DVR_GetLastError());
        };
        if (pinned == QLatin1String("same"))
            QCOMPARE(login(), 0);
        if (pinned == QLatin1String("other")) {
            CertificatePins::Check(QStringLiteral("127.0.0.1"), served.uPort, QByteArray(32, 'x'));
            QCOMPARE(login(), NET_DVR_CERTIFICATE_CHANGED);
            CertificatePins::Forget(QStringLiteral("127.0.0.1"), served.uPort); // the user accepts it
        }
        served.pFake->ResetStats();
        QCOMPARE(login(), 0);
        const FAKE_ONVIF_STATS stats = served.pFake->Stats();
        QVERIFY2(stats.iConnections < stats.iRequests, "connections kept over TLS");
        CertificatePins::SetFile(folder.filePath(QStringLiteral("pins.txt"))); // read back from the file
        QCOMPARE(CertificatePins::Check(QStringLiteral("127.0.0.1"), served.uPort, QByteArray(32, 'y')),
                 CertificatePins::Verdict::Changed);
    }

    void parallelSessions()
    {
        // Every device of the run is worked on at once, all of them against the same recorder.
        FAKE_ONVIF_DEVICE device;
        device.iPort = 0;
        device.bRecorder = true;
        device.iChannels = 2;
        device.auth = FakeOnvifAuth::HttpDigest;
        SERVED served;
        QVERIFY(served.Start(device));
        STRU_DEVICE record;
        record.strIP = "127.0.0.1";
        record.iPort = served.uPort;
        record.strUserName = "admin";
        record.strPassword = "12345";
        const QVector<STRU_DEVICE> devices(24, record);
        CBitrateCalculator calculator;
        const QVector<STRU_CAMERA> cameras = CDeviceImporter(24).ImportDevices(devices, 0, calculator);
        QCOMPARE(cameras.size(), 48);
        for (int i = 0; i < cameras.size(); ++i)
            QCOMPARE(cameras.at(i).iChannel, i % 2 + 1);
    }
};

QTEST_GUILESS_MAIN(TestOnvifBackend)
#include "tst_onvifbackend.moc"
