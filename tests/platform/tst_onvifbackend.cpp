// Whole logins and imports through the device SDK and the device layer, against a canned ONVIF
// device served on 127.0.0.1 from its own thread: answers keyed by the request's operation,
// credentials checked as a device checks them, and one operation that misbehaves on purpose.
#include "calc/bitratecalculator.h"
#include "import/deviceimporter.h"
#include "platform/onvif/onvifbackend.h"

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <future>
#include <mutex>
#include <thread>

namespace {

const QByteArray kPassword = "pw-Secret!";
const QByteArray kNonce = "c4nn3d-n0nce";

struct REPLY
{
    enum Mode { Normal, Silent, Trickle, Huge, HugeUnsized };
    Mode eMode = Normal;
    int iStatus = 200;
    QByteArray headers;
    QByteArray body;
    int iDelayMs = 0;
};

struct CANNED_DEVICE
{
    QByteArray strDigest; // empty: WS-Security; "MD5" or "SHA-256": HTTP Digest only
    int iClockOffsetSec = 0; // tokens more than 300 s off the device's clock are refused
    bool bMedia2 = true;
    bool bServices = true; // false: GetServices is not supported, GetCapabilities is
    bool bRecorder = false;
    bool bListening = true;
    int iChannels = 1;
    QByteArray strWidth = "1920", strHeight = "1080", strRate = "25", strKbps = "4096", strQuality = "4";
    QByteArray strQualityMax = "10";
    QHash<QByteArray, QByteArray> prefixes; // renamed in every answer
    QByteArray strMisbehaving;              // this operation answers with misbehaviour
    REPLY misbehaviour;
    int iDelayMs = 0;
};

QByteArray Element(const QByteArray &name, const QByteArray &content)
{
    return '<' + name + '>' + content + "</" + name.split(' ').first() + '>';
}

// A plain std::thread with its own event loop, so that its start and end are visible to the
// thread sanitizer.
class CCannedDevice
{
public:
    explicit CCannedDevice(const CANNED_DEVICE &device) : m_device(device) {}
    ~CCannedDevice()
    {
        QMetaObject::invokeMethod(m_pLoop, "quit", Qt::QueuedConnection);
        m_thread.join();
    }
    quint16 Start()
    {
        std::promise<void> ready;
        m_thread = std::thread([this, &ready] { Run(&ready); });
        ready.get_future().wait();
        return m_uPort;
    }
    QByteArray Requests() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

private:
    void Run(std::promise<void> *ready)
    {
        QEventLoop loop;
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        m_uPort = server.serverPort();
        m_pLoop = &loop;
        if (!m_device.bListening)
            server.close();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                Serve(socket);
        });
        ready->set_value();
        loop.exec();
    }

    void Serve(QTcpSocket *socket)
    {
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            const int end = buffer->indexOf("\r\n\r\n");
            const auto length = QRegularExpression("Content-Length: (\\d+)").match(*buffer).captured(1).toInt();
            if (end < 0 || buffer->size() < end + 4 + length)
                return;
            const QByteArray request = *buffer;
            buffer->clear();
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests += request;
            }
            Send(socket, Answer(request.left(end), request.mid(end + 4)));
        });
    }

    void Send(QTcpSocket *socket, const REPLY &reply)
    {
        const QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.iStatus) + " X\r\n" + reply.headers;
        const QByteArray whole = head + "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n" + reply.body;
        switch (reply.eMode) {
        case REPLY::Normal:
            QTimer::singleShot(reply.iDelayMs, socket, [socket, whole] {
                socket->write(whole);
                socket->disconnectFromHost();
            });
            break;
        case REPLY::Silent:
            break;
        case REPLY::Trickle: {
            auto *timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, whole, sent = 0]() mutable {
                socket->write(whole.mid(sent++ % whole.size(), 1));
            });
            timer->start(50);
            break;
        }
        case REPLY::Huge:
        case REPLY::HugeUnsized: {
            socket->write(head + (reply.eMode == REPLY::Huge ? "Content-Length: 52428800\r\n\r\n" : "\r\n"));
            auto more = [socket, sent = qint64(0)]() mutable {
                if (sent >= 50 << 20)
                    socket->disconnectFromHost();
                else if (socket->bytesToWrite() < (1 << 20))
                    sent += socket->write(QByteArray(64 * 1024, '<'));
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
            more();
            break;
        }
        }
    }

    REPLY Answer(const QByteArray &header, const QByteArray &body)
    {
        const QString operation = QRegularExpression("<s:Body><m:(\\w+)").match(body).captured(1);
        const QByteArray path = header.split(' ').value(1);
        if (operation == m_device.strMisbehaving)
            return m_device.misbehaviour;
        const QDateTime now = QDateTime::currentDateTimeUtc().addSecs(m_device.iClockOffsetSec);
        if (operation == QLatin1String("GetSystemDateAndTime"))
            return Ok(Element("tds:GetSystemDateAndTimeResponse", Element("tds:SystemDateAndTime", Element(
                "tt:UTCDateTime", Element("tt:Time", Element("tt:Hour", QByteArray::number(now.time().hour()))
                    + Element("tt:Minute", QByteArray::number(now.time().minute()))
                    + Element("tt:Second", QByteArray::number(now.time().second())))
                    + Element("tt:Date", Element("tt:Year", QByteArray::number(now.date().year()))
                    + Element("tt:Month", QByteArray::number(now.date().month()))
                    + Element("tt:Day", QByteArray::number(now.date().day())))))));
        if (!m_device.strDigest.isEmpty() && !DigestAccepted(header)) {
            REPLY challenge;
            challenge.iStatus = 401;
            challenge.headers = "WWW-Authenticate: Digest realm=\"canned\", qop=\"auth\", algorithm="
                + m_device.strDigest + ", nonce=\"" + kNonce + "\"\r\n";
            return challenge;
        }
        if (m_device.strDigest.isEmpty() && !TokenAccepted(body, now))
            return Fault("ter:NotAuthorized");
        const QString token = QRegularExpression("ConfigurationToken>([^<]*)<").match(body).captured(1);
        const bool media2 = path.endsWith("media2");
        if (operation == QLatin1String("GetServices") && m_device.bServices) {
            QByteArray services = Service(OnvifUri::kDevice, "device_service") + Service(OnvifUri::kMedia, "media");
            if (m_device.bMedia2)
                services += Service(OnvifUri::kMedia2, "media2");
            if (m_device.bRecorder)
                services += Service(OnvifUri::kRecording, "recording");
            return Ok(Element("tds:GetServicesResponse", services));
        }
        if (operation == QLatin1String("GetCapabilities"))
            return Ok(Element("tds:GetCapabilitiesResponse", Element("tds:Capabilities",
                Element("tt:Media", Element("tt:XAddr", Url("media")))
                + Element("tt:Extension", m_device.bRecorder ? Element("tt:Recording", Element("tt:XAddr", Url("rec"))) : ""))));
        if (operation == QLatin1String("GetDeviceInformation"))
            return Ok(Element("tds:GetDeviceInformationResponse", Element("tds:Manufacturer", "Canned")
                + Element("tds:Model", "CM-1") + Element("tds:SerialNumber", "SN-CANNED")));
        if (operation == QLatin1String("GetScopes"))
            return Ok(Element("tds:GetScopesResponse", Element("tds:Scopes", Element("tt:ScopeItem",
                m_device.bRecorder ? "onvif://www.onvif.org/name/R" : "onvif://www.onvif.org/type/video_encoder"))));
        if (operation == QLatin1String("GetProfiles")) {
            QByteArray profiles;
            for (int c = 0; c < m_device.iChannels; ++c)
                for (const char *stream : {"m", "s"})
                    profiles += Profile(c, stream, media2);
            return Ok(Element(media2 ? "tr2:GetProfilesResponse" : "trt:GetProfilesResponse", profiles));
        }
        if (operation == QLatin1String("GetVideoEncoderConfiguration") && !media2)
            return Ok(Element("trt:GetVideoEncoderConfigurationResponse",
                              Element("trt:Configuration token=\"" + token.toLatin1() + '"',
                                      Encoder(token.mid(3, 1).toInt(), token.endsWith('m') ? "m" : "s"))));
        if (operation == QLatin1String("GetVideoEncoderConfigurationOptions")) {
            const QByteArray range = Element("tt:QualityRange", Element("tt:Min", "0")
                                                                   + Element("tt:Max", m_device.strQualityMax));
            if (!media2)
                return Ok(Element("trt:GetVideoEncoderConfigurationOptionsResponse", Element("trt:Options", range)));
            // The JPEG options come first: only those of the encoder's own encoding count.
            return Ok(Element("tr2:GetVideoEncoderConfigurationOptionsResponse",
                              Element("tr2:Options", Element("tt:Encoding", "JPEG")
                                  + Element("tt:QualityRange", Element("tt:Min", "0") + Element("tt:Max", "1")))
                                  + Element("tr2:Options", Element("tt:Encoding", "H264") + range)));
        }
        return Fault("ter:ActionNotSupported");
    }

    bool TokenAccepted(const QByteArray &body, const QDateTime &now) const
    {
        auto field = [&](const char *name) {
            return QRegularExpression(QString("<ws\\w*:%1(?: [^>]*)?>([^<]*)<").arg(name)).match(body).captured(1).toLatin1();
        };
        const QByteArray created = field("Created");
        const QDateTime when = QDateTime::fromString(QString::fromLatin1(created), Qt::ISODateWithMs);
        return field("Username") == "admin" && when.isValid() && qAbs(when.secsTo(now)) <= 300
            && field("Password") == OnvifCredentials::PasswordDigest(QByteArray::fromBase64(field("Nonce")), created, kPassword);
    }

    bool DigestAccepted(const QByteArray &header) const
    {
        auto field = [&](const char *name) {
            return QRegularExpression(QString("[ ,]%1=\"?([^\",\\r]*)").arg(name)).match(header).captured(1).toLatin1();
        };
        OnvifCredentials::DIGEST_CHALLENGE challenge;
        challenge.strRealm = "canned";
        challenge.strNonce = kNonce;
        challenge.bSha256 = m_device.strDigest == "SHA-256";
        challenge.bQopAuth = true;
        return header.contains("Authorization: Digest ") && field("username") == "admin"
            && field("response") == OnvifCredentials::DigestResponse(challenge, "admin", kPassword, "POST", field("uri"),
                                                                      field("nc").toUInt(nullptr, 16), field("cnonce"));
    }

    QByteArray Url(const char *path) const
    {
        return "http://127.0.0.1:" + QByteArray::number(m_uPort) + "/onvif/" + path;
    }
    QByteArray Service(const char *ns, const char *path) const
    {
        return Element("tds:Service", Element("tds:Namespace", ns) + Element("tds:XAddr", Url(path)));
    }
    QByteArray Encoder(int channel, const char *stream) const
    {
        const bool main = QByteArray(stream) == "m";
        return Element("tt:Name", "E") + Element("tt:Encoding", "H264")
            + Element("tt:Resolution", Element("tt:Width", main ? m_device.strWidth : "352")
                                           + Element("tt:Height", main ? m_device.strHeight : "288"))
            + Element("tt:Quality", m_device.strQuality)
            + Element("tt:RateControl", Element("tt:FrameRateLimit", m_device.strRate)
                                            + Element("tt:BitrateLimit", main ? QByteArray::number(m_device.strKbps.toLongLong() + channel) : "256"));
    }
    QByteArray Profile(int channel, const char *stream, bool media2) const
    {
        const QByteArray c = QByteArray::number(channel);
        const QByteArray source = Element("tt:Name", "V") + Element("tt:SourceToken", "vs" + c);
        const QByteArray encoder = " token=\"enc" + c + stream + '"';
        if (!media2)
            return Element("trt:Profiles token=\"p" + c + stream + '"', Element("tt:Name", "P")
                + Element("tt:VideoSourceConfiguration token=\"vsc\"", source)
                + Element("tt:VideoEncoderConfiguration" + encoder, Encoder(channel, stream)));
        return Element("tr2:Profiles token=\"p" + c + stream + '"', Element("tr2:Name", "P")
            + Element("tr2:Configurations", Element("tr2:VideoSource token=\"vsc\"", source)
                                                + Element("tr2:VideoEncoder" + encoder, Encoder(channel, stream))));
    }

    REPLY Ok(const QByteArray &content) const
    {
        REPLY reply;
        QByteArray envelope = "<?xml version=\"1.0\"?><s:Envelope";
        const std::pair<const char *, const char *> namespaces[] = {
            {"s", OnvifUri::kSoap},   {"tds", OnvifUri::kDevice}, {"tt", OnvifUri::kSchema}, {"trt", OnvifUri::kMedia},
            {"tr2", OnvifUri::kMedia2}, {"ter", OnvifUri::kError}};
        for (const auto &ns : namespaces)
            envelope += QByteArray(" xmlns:") + ns.first + "=\"" + ns.second + '"';
        envelope += "><s:Body>" + content + "</s:Body></s:Envelope>";
        QString renamed = QString::fromUtf8(envelope);
        const QRegularExpression prefix("(</?|xmlns:|>)(s|tds|tt|trt|tr2|ter)([:=])");
        QString out;
        qsizetype last = 0;
        for (auto match = prefix.globalMatch(renamed); match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            const QByteArray name = m.captured(2).toLatin1();
            out += renamed.mid(last, m.capturedStart(2) - last) + QString::fromLatin1(m_device.prefixes.value(name, name));
            last = m.capturedEnd(2);
        }
        reply.body = (out + renamed.mid(last)).toUtf8();
        reply.iDelayMs = m_device.iDelayMs;
        return reply;
    }
    REPLY Fault(const QByteArray &code) const
    {
        REPLY reply = Ok(Element("s:Fault", Element("s:Code", Element("s:Value", "s:Sender")
            + Element("s:Subcode", Element("s:Value", code))) + Element("s:Reason", Element("s:Text", "no"))));
        reply.iStatus = 400;
        return reply;
    }

    const CANNED_DEVICE m_device;
    quint16 m_uPort = 0;
    QEventLoop *m_pLoop = nullptr;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    QByteArray m_requests;
};

QString CameraText(const STRU_CAMERA &camera)
{
    return QStringLiteral("%1 ch%2 %3 %4 %5fps %6 L%7")
        .arg(QString::fromLocal8Bit(camera.strName))
        .arg(camera.iChannel)
        .arg(NordaVocab::DeviceTypeText(camera.iType), NordaVocab::ResolutionText(camera.iResolution))
        .arg(camera.dFramerate)
        .arg(camera.iBitrate == camera.iRecommendedBitrate ? QStringLiteral("recommended") : QString::number(camera.iBitrate))
        .arg(camera.iLevel);
}

// The cameras of channels 1..count; a bitrate in braces counts up with the channel, as the
// canned device's bitrates do.
QStringList Cameras(const QString &name, int count, const QString &rest)
{
    QStringList cameras;
    const QRegularExpressionMatch bitrate = QRegularExpression("\\{(\\d+)\\}").match(rest);
    for (int i = 1; i <= count; ++i) {
        QString text = rest;
        if (bitrate.hasMatch())
            text.replace(bitrate.captured(0), QString::number(bitrate.captured(1).toInt() + i - 1));
        cameras << QStringLiteral("127.0.0.1_%1%2 ch%2 IPC %3").arg(name).arg(i).arg(text);
    }
    return cameras;
}

QStringList g_messages;
std::mutex g_messagesMutex;

} // namespace

Q_DECLARE_METATYPE(CANNED_DEVICE)

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
        NetDvr_SetBackend(std::make_shared<COnvifBackend>(limits));
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
            QVERIFY2(!message.contains(QString::fromLatin1(kPassword)), qPrintable(message));
        const auto backend = std::static_pointer_cast<COnvifBackend>(NetDvr_Backend());
        QCOMPARE(backend->OpenSessions(), 0);
    }

    void import_data()
    {
        QTest::addColumn<CANNED_DEVICE>("device");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("cameras");
        const QString hd = QStringLiteral("1080P(1920*1080) 25fps {4096} L3");
        const CANNED_DEVICE camera;
        QTest::newRow("camera, Media2") << camera << kPassword << 0 << Cameras("", 1, hd);
        CANNED_DEVICE device = camera;
        device.bMedia2 = false;
        device.iChannels = 2;
        QTest::newRow("two sources, Media") << device << kPassword << 0
                                            << Cameras("", 2, hd);
        device = camera;
        device.bRecorder = true;
        device.iChannels = 8;
        QTest::newRow("recorder, 8 channels") << device << kPassword << 0 << Cameras("IPCamera", 8, hd);
        device.bServices = false;
        QTest::newRow("recorder without GetServices") << device << kPassword << 0 << Cameras("IPCamera", 8, hd);
        for (const char *algorithm : {"MD5", "SHA-256"}) {
            device = camera;
            device.strDigest = algorithm;
            QTest::addRow("HTTP Digest %s", algorithm) << device << kPassword << 0 << Cameras("", 1, hd);
            QTest::addRow("HTTP Digest %s, wrong password", algorithm) << device << QByteArray("x") << NET_DVR_BAD_CREDENTIALS
                                                                   << QStringList();
        }
        QTest::newRow("WS-Security, wrong password") << camera << QByteArray("x") << NET_DVR_BAD_CREDENTIALS << QStringList();
        device = camera;
        device.iClockOffsetSec = -7200;
        QTest::newRow("device clock 2 h behind") << device << kPassword << 0 << Cameras("", 1, hd);
        device = camera;
        device.prefixes = {{"s", "env"}, {"tds", "d"}, {"tt", "sch"}, {"tr2", "m2"}, {"ter", "e"}};
        QTest::newRow("other prefixes") << device << kPassword << 0 << Cameras("", 1, hd);
        device.prefixes = {{"s", "tt"}, {"tt", "s"}, {"tds", "tr2"}, {"tr2", "tds"}, {"ter", "trt"}, {"trt", "ter"}};
        QTest::newRow("prefixes swapped") << device << kPassword << 0 << Cameras("", 1, hd);
        QTest::newRow("swapped prefixes, wrong password") << device << QByteArray("x") << NET_DVR_BAD_CREDENTIALS
                                                          << QStringList();
        device = camera;
        device.strWidth = "2592";
        device.strHeight = "1944";
        device.strKbps = "2147483647";
        device.strQuality = "50";
        device.strQualityMax = "100";
        QTest::newRow("5 MP, unlimited bitrate") << device << kPassword << 0
                                                 << Cameras("", 1, "2560*1920 25fps recommended L3");
        device = camera;
        device.strWidth = "99999999999999999999";
        device.strRate = "NaN";
        device.strKbps = "1e400";
        device.strQuality = "-inf";
        QTest::newRow("absurd numbers: resolution unsupported") << device << kPassword << 0 << QStringList();
        device = camera;
        device.bMedia2 = false;
        device.strWidth = "720";
        device.strHeight = "480";
        device.strRate = "30";
        device.iDelayMs = 150;
        QTest::newRow("NTSC D1 camera answering slowly") << device << kPassword << 0
                                                         << Cameras("", 1, "4CIF 25fps 4096 L3");
        device = camera;
        device.bListening = false;
        QTest::newRow("nothing listening") << device << kPassword << NET_DVR_CONNECT_FAILED << QStringList();
        const std::pair<const char *, REPLY::Mode> modes[] = {{"never answers", REPLY::Silent},
                                                              {"trickles", REPLY::Trickle},
                                                              {"50 MB", REPLY::Huge},
                                                              {"50 MB unsized", REPLY::HugeUnsized}};
        for (const auto &mode : modes) {
            device = camera;
            device.strMisbehaving = "GetProfiles";
            device.misbehaviour.eMode = mode.second;
            const bool timeout = mode.second == REPLY::Silent || mode.second == REPLY::Trickle;
            QTest::addRow("profiles: %s", mode.first) << device << kPassword
                                                      << (timeout ? NET_DVR_CONNECT_FAILED : NET_DVR_READ_FAILED)
                                                      << QStringList();
            device.strMisbehaving = "GetVideoEncoderConfigurationOptions";
            QTest::addRow("options: %s", mode.first) << device << kPassword << 0
                                                     << (timeout ? QStringList() : Cameras("", 1, hd));
        }
        device = camera;
        device.strMisbehaving = "GetSystemDateAndTime";
        device.misbehaviour.eMode = REPLY::Silent;
        QTest::newRow("clock never answers") << device << kPassword << NET_DVR_CONNECT_FAILED << QStringList();
        for (const QByteArray &malformed : {QByteArray("<s:Envelope><broken"), QByteArray("]]>&;<<"), QByteArray()}) {
            device = camera;
            device.strMisbehaving = "GetProfiles";
            device.misbehaviour.body = malformed;
            QTest::addRow("malformed profiles %s", malformed.constData()) << device << kPassword << NET_DVR_READ_FAILED
                                                                           << QStringList();
            device.bMedia2 = false;
            device.strMisbehaving = "GetVideoEncoderConfiguration";
            QTest::addRow("malformed encoder %s: the profile's copy", malformed.constData())
                << device << kPassword << 0 << Cameras("", 1, hd);
        }
    }

    void import()
    {
        QFETCH(CANNED_DEVICE, device);
        QFETCH(QByteArray, password);
        QFETCH(int, error);
        QFETCH(QStringList, cameras);
        CCannedDevice canned(device);
        STRU_DEVICE record;
        record.strIP = "127.0.0.1";
        record.iPort = canned.Start();
        record.strUserName = "admin";
        record.strPassword = password;

        NET_DVR_LOGIN_ANSWER answer;
        const int userID = NET_DVR_Login_V30("127.0.0.1", static_cast<uint16_t>(record.iPort), "admin",
                                             password.constData(), &answer);
        QCOMPARE(int(NET_DVR_GetLastError()), error);
        QCOMPARE(userID >= 0, error == 0);
        if (userID >= 0) {
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(answer.sSerialNumber)), QByteArray("SN-CANNED"));
            QCOMPARE(int(answer.byChanNum), device.bRecorder ? 0 : device.iChannels);
            QVERIFY(NET_DVR_Logout(userID));
            QVERIFY(record.Login());
            QCOMPARE(record.GetDeviceKind(), device.bRecorder ? int(STRU_DEVICE::KindRecorder) : int(STRU_DEVICE::KindIPCamera));
            record.Logout();
            CBitrateCalculator calculator;
            QStringList imported;
            for (const STRU_CAMERA &camera : CDeviceImporter::ImportDevice(record, 0, calculator))
                imported << CameraText(camera);
            QCOMPARE(imported, cameras);
        }
        QVERIFY(!canned.Requests().contains(kPassword));
    }

    void parallelSessions()
    {
        // Every device of the run is worked on at once, all of them against the same device.
        CANNED_DEVICE device;
        device.iChannels = 2;
        device.strDigest = "MD5";
        CCannedDevice canned(device);
        STRU_DEVICE record;
        record.strIP = "127.0.0.1";
        record.iPort = canned.Start();
        record.strUserName = "admin";
        record.strPassword = kPassword;
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
