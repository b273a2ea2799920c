// The fake ONVIF device as a client sees it over HTTP on 127.0.0.1: WS-Security and HTTP digest
// checks, the answers of its services, its configuration, and the faults it commits on purpose
// (the 50 MB answer streamed without ever holding more than a small buffer).
#include "tools/fakedevice/fakeonvifserver.h"
#include "tools/fakedevice/onvifauth.h"

#include <QTcpSocket>
#include <QUuid>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
const QString kDevice = QStringLiteral("http://www.onvif.org/ver10/device/wsdl");
const QString kMedia = QStringLiteral("http://www.onvif.org/ver10/media/wsdl");
const QString kMedia2 = QStringLiteral("http://www.onvif.org/ver20/media/wsdl");

struct REPLY
{
    int iStatus = 0;
    QList<QPair<QByteArray, QByteArray>> headers; // names in lower case
    QByteArray body;
    QByteArray Header(const QByteArray &name) const
    {
        for (const auto &header : headers)
            if (header.first == name)
                return header.second;
        return {};
    }
};

// Reads one HTTP response from the socket; status 0 when none came whole. Bytes read beyond it
// stay in *carry for the next response.
REPLY ReadReply(QTcpSocket &socket, QByteArray *carry = nullptr, int timeoutMs = 10000)
{
    REPLY reply;
    QByteArray data;
    if (carry)
        data.swap(*carry);
    int headerEnd = -1;
    qint64 length = -1;
    while (true) {
        if (headerEnd < 0 && (headerEnd = data.indexOf("\r\n\r\n")) >= 0) {
            const QList<QByteArray> lines = data.left(headerEnd).split('\n');
            reply.iStatus = lines.first().split(' ').value(1).toInt();
            for (int i = 1; i < lines.size(); ++i) {
                const int colon = lines[i].indexOf(':');
                reply.headers.append({lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed()});
            }
            length = reply.Header("content-length").isEmpty() ? -1 : reply.Header("content-length").toLongLong();
        }
        if (headerEnd >= 0 && length >= 0 && data.size() >= headerEnd + 4 + length) {
            reply.body = data.mid(headerEnd + 4, int(length));
            if (carry)
                *carry = data.mid(headerEnd + 4 + int(length));
            return reply;
        }
        if (!socket.waitForReadyRead(timeoutMs)) {
            if (headerEnd >= 0 && length < 0) // ends with the connection
                reply.body = data.mid(headerEnd + 4);
            else
                reply.iStatus = 0;
            return reply;
        }
        data += socket.readAll();
    }
}

QByteArray Request(quint16 port, const QByteArray &body, const QList<QByteArray> &headers = {})
{
    QByteArray request = "POST /onvif/device_service HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port)
        + "\r\nContent-Type: application/soap+xml; charset=utf-8\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\n";
    for (const QByteArray &header : headers)
        request += header + "\r\n";
    return request + "\r\n" + body;
}

REPLY Post(quint16 port, const QByteArray &body, const QList<QByteArray> &headers = {})
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(Request(port, body, headers));
    return ReadReply(socket);
}

struct CREDENTIALS
{
    QByteArray user;
    QByteArray password;
    QByteArray created; // empty: now
    bool bText = false;
};

QByteArray Envelope(const QString &ns, const QByteArray &operation, const CREDENTIALS *credentials = nullptr)
{
    QByteArray header;
    if (credentials) {
        const QByteArray nonce = QUuid::createUuid().toRfc4122().toBase64();
        const QByteArray created = credentials->created.isEmpty()
            ? QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1()
            : credentials->created;
        const QByteArray password = credentials->bText
            ? credentials->password
            : OnvifAuth::PasswordDigest(nonce, created, credentials->password);
        header =
            "<s:Header><wsse:Security xmlns:wsse=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd\""
            " xmlns:wsu=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\"><wsse:UsernameToken>"
            "<wsse:Username>"
            + credentials->user
            + "</wsse:Username><wsse:Password Type=\"http://docs.oasis-open.org/wss/2004/01/"
              "oasis-200401-username-token-profile-1.0#"
            + (credentials->bText ? "PasswordText" : "PasswordDigest") + "\">" + password
            + "</wsse:Password><wsse:Nonce>" + nonce + "</wsse:Nonce><wsu:Created>" + created
            + "</wsu:Created></wsse:UsernameToken></wsse:Security></s:Header>";
    }
    return "<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" xmlns:x=\""
        + ns.toLatin1() + "\">" + header + "<s:Body>" + operation + "</s:Body></s:Envelope>";
}

// Texts of every element of this local name (any namespace but SOAP's); nullopt when not XML.
QStringList Texts(const QByteArray &xml, const QString &name, bool *wellFormed = nullptr)
{
    QStringList texts;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
            texts.append(reader.readElementText(QXmlStreamReader::IncludeChildElements));
    if (wellFormed)
        *wellFormed = !reader.hasError();
    return texts;
}

FAKE_ONVIF_ENCODER Stream(const QString &encoding, int width, int height, int fps, int kbps)
{
    FAKE_ONVIF_ENCODER encoder;
    encoder.strEncoding = encoding;
    encoder.iWidth = width;
    encoder.iHeight = height;
    encoder.iFrameRateLimit = fps;
    encoder.iBitrateLimit = kbps;
    return encoder;
}
} // namespace

class TestFakeDevice : public QObject
{
    Q_OBJECT

private:
    CFakeOnvifServer m_server;
    enum { Camera, Recorder, OldRecorder, Strict, Digest, Ahead, Count };
    quint16 Port(int device) const { return m_server.Device(device).iPort; }
    CFakeOnvifServer m_faulty; // one device per fault
    enum { Silent, Slow, Late, Malformed, Huge, HugeUnsized, SilentProfiles, FaultCount };
    quint16 FaultyPort(int device) const { return m_faulty.Device(device).iPort; }
    const CREDENTIALS m_right{"admin", "12345", {}, false};

private slots:
    void initTestCase()
    {
        FAKE_ONVIF_DEVICE camera;
        camera.iPort = 0;
        camera.streams = {Stream("H264", 1920, 1080, 25, 4096), Stream("H264", 640, 360, 15, 512)};
        camera.streams[0].dQuality = 5;
        camera.streams[0].dQualityMin = 1;
        camera.streams[0].dQualityMax = 6;
        camera.streams[0].iBitrateMax = 8192;
        FAKE_ONVIF_DEVICE recorder = camera;
        recorder.bRecorder = true;
        recorder.iChannels = 4;
        recorder.streams = {Stream("H264", 2560, 1440, 20, 6144), Stream("H265", 704, 576, 12, 768)};
        FAKE_ONVIF_DEVICE old = recorder;
        old.bMedia2 = false;
        old.bMedia1H265AsIs = true;
        FAKE_ONVIF_DEVICE strict = camera;
        strict.bStrictAuth = true;
        FAKE_ONVIF_DEVICE digest = camera;
        digest.auth = FakeOnvifAuth::HttpDigest;
        FAKE_ONVIF_DEVICE ahead = camera;
        ahead.iClockOffsetSec = 7200;
        QVERIFY2(m_server.StartInThread({camera, recorder, old, strict, digest, ahead}), qPrintable(m_server.Error()));
        QCOMPARE(m_server.DeviceCount(), int(Count));

        QVector<FAKE_ONVIF_DEVICE> faulty(FaultCount, camera);
        const FakeOnvifFault faults[FaultCount] = {
            FakeOnvifFault::Silent, FakeOnvifFault::Slow,        FakeOnvifFault::None,  FakeOnvifFault::Malformed,
            FakeOnvifFault::Huge,   FakeOnvifFault::HugeUnsized, FakeOnvifFault::Silent};
        for (int i = 0; i < FaultCount; ++i)
            faulty[i].fault = faults[i];
        faulty[Slow].iSlowBytesPerSecond = 20000;
        faulty[Late].iLatencyMs = 300;
        faulty[SilentProfiles].faultOperations = QStringList{"GetProfiles"};
        QVERIFY2(m_faulty.StartInThread(faulty), qPrintable(m_faulty.Error()));
    }

    void passwordDigest()
    {
        QCOMPARE(OnvifAuth::PasswordDigest("NDczOTcxNjIzNw==", "2014-12-24T16:29:56.117Z", "9999"),
                 QByteArray("GBojZCRixHjpO9rnY+SxhdxZ5bc="));
    }

    // The examples of RFC 7616, section 3.9.1.
    void httpDigestResponse_data()
    {
        QTest::addColumn<QByteArray>("algorithm");
        QTest::addColumn<QByteArray>("response");
        QTest::newRow("MD5") << QByteArray("MD5") << QByteArray("8ca523f5e9506fed4657c9700eebdbec");
        QTest::newRow("SHA-256") << QByteArray("SHA-256")
                                 << QByteArray("753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1");
        QTest::newRow("unknown") << QByteArray("SHA-512-256") << QByteArray();
    }
    void httpDigestResponse()
    {
        QFETCH(QByteArray, algorithm);
        QFETCH(QByteArray, response);
        const auto fields = OnvifAuth::ParseDigestFields(
            "Digest username=\"Mufasa\", realm=\"http-auth@example.org\", uri=\"/dir/index.html\", algorithm="
            + algorithm
            + ", nonce=\"7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v\", nc=00000001, "
              "cnonce=\"f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ\", qop=auth, response=\"x\"");
        QCOMPARE(OnvifAuth::DigestResponse(fields, "GET", "Circle of Life"), response);
    }

    void wsSecurity_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("credentials");
        QTest::addColumn<int>("status");
        QTest::newRow("right") << int(Camera) << "GetDeviceInformation"
                               << "right" << 200;
        QTest::newRow("plain text") << int(Camera) << "GetDeviceInformation"
                                    << "text" << 200;
        QTest::newRow("wrong password") << int(Camera) << "GetDeviceInformation"
                                        << "wrong password" << 400;
        QTest::newRow("wrong user") << int(Camera) << "GetDeviceInformation"
                                    << "wrong user" << 400;
        QTest::newRow("none") << int(Camera) << "GetScopes"
                              << "none" << 400;
        QTest::newRow("created in 2014") << int(Camera) << "GetDeviceInformation"
                                         << "old" << 400;
        QTest::newRow("clock without credentials") << int(Camera) << "GetSystemDateAndTime"
                                                   << "none" << 200;
        QTest::newRow("clock, wrong password") << int(Camera) << "GetSystemDateAndTime"
                                               << "wrong password" << 200;
        QTest::newRow("services without credentials") << int(Camera) << "GetServices"
                                                      << "none" << 200;
        QTest::newRow("strict: services") << int(Strict) << "GetServices"
                                          << "none" << 400;
        QTest::newRow("strict: capabilities") << int(Strict) << "GetCapabilities"
                                              << "none" << 400;
        QTest::newRow("strict: clock") << int(Strict) << "GetSystemDateAndTime"
                                       << "none" << 200;
        QTest::newRow("device 2 h ahead, our clock") << int(Ahead) << "GetDeviceInformation"
                                                     << "right" << 400;
        QTest::newRow("device 2 h ahead, its clock") << int(Ahead) << "GetDeviceInformation"
                                                     << "ahead" << 200;
    }
    void wsSecurity()
    {
        QFETCH(int, device);
        QFETCH(QString, operation);
        QFETCH(QString, credentials);
        QFETCH(int, status);
        CREDENTIALS used = m_right;
        if (credentials == "text")
            used.bText = true;
        else if (credentials == "wrong password")
            used.password = "54321";
        else if (credentials == "wrong user")
            used.user = "operator";
        else if (credentials == "old")
            used.created = "2014-12-24T16:29:56.117Z";
        else if (credentials == "ahead")
            used.created = QDateTime::currentDateTimeUtc().addSecs(7200).toString(Qt::ISODateWithMs).toLatin1();
        const int rejectedBefore = m_server.Stats().iAuthRejected;
        const QByteArray body = "<x:" + operation.toLatin1() + "/>";
        const REPLY reply = Post(Port(device), Envelope(kDevice, body, credentials == "none" ? nullptr : &used));
        QCOMPARE(reply.iStatus, status);
        const QStringList subcodes = Texts(reply.body, "Value");
        if (status == 400) {
            QCOMPARE(subcodes, QStringList({"env:Sender", "ter:NotAuthorized"}));
            QCOMPARE(m_server.Stats().iAuthRejected, rejectedBefore + 1);
        } else {
            QCOMPARE(Texts(reply.body, operation + "Response").size(), 1);
        }
    }

    void httpDigest_data()
    {
        QTest::addColumn<QByteArray>("algorithm");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("status");
        QTest::newRow("SHA-256") << QByteArray("SHA-256") << QByteArray("12345") << 200;
        QTest::newRow("MD5") << QByteArray("MD5") << QByteArray("12345") << 200;
        QTest::newRow("wrong password") << QByteArray("MD5") << QByteArray("1234") << 401;
    }
    void httpDigest()
    {
        QFETCH(QByteArray, algorithm);
        QFETCH(QByteArray, password);
        QFETCH(int, status);
        const QByteArray body = Envelope(kDevice, "<x:GetDeviceInformation/>", &m_right); // WS-Security does not count
        const REPLY challenge = Post(Port(Digest), body);
        QCOMPARE(challenge.iStatus, 401);
        QByteArrayList challenges;
        for (const auto &header : challenge.headers)
            if (header.first == "www-authenticate")
                challenges.append(header.second);
        QCOMPARE(challenges.size(), 2);
        QVERIFY(challenges[0].contains("algorithm=SHA-256") && challenges[1].contains("algorithm=MD5"));
        const QByteArray chosen = challenges[algorithm == "MD5" ? 1 : 0];
        auto fields = OnvifAuth::ParseDigestFields(chosen);
        fields.insert("username", "admin");
        fields.insert("uri", "/onvif/device_service");
        fields.insert("nc", "00000001");
        fields.insert("cnonce", "0a4f113b");
        const QByteArray response = OnvifAuth::DigestResponse(fields, "POST", password);
        const QByteArray authorization = "Authorization: Digest username=\"admin\", realm=\"" + fields.value("realm")
            + "\", nonce=\"" + fields.value("nonce") + "\", uri=\"/onvif/device_service\", algorithm=" + algorithm
            + ", qop=auth, nc=00000001, cnonce=\"0a4f113b\", response=\"" + response + "\"";
        const REPLY reply = Post(Port(Digest), Envelope(kDevice, "<x:GetDeviceInformation/>"), {authorization});
        QCOMPARE(reply.iStatus, status);
        if (status == 200)
            QCOMPARE(Texts(reply.body, "SerialNumber"), QStringList{m_server.Device(Digest).Serial()});
        // The clock needs no credentials here either.
        QCOMPARE(Post(Port(Digest), Envelope(kDevice, "<x:GetSystemDateAndTime/>")).iStatus, 200);
    }

    void answers_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("ns");
        QTest::addColumn<QByteArray>("operation");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QStringList>("texts"); // of every such element, in order
        QTest::newRow("identity") << int(Camera) << kDevice << QByteArray("<x:GetDeviceInformation/>") << 200 << "Model"
                                  << QStringList{"FC-100"};
        QTest::newRow("services of a recorder")
            << int(Recorder) << kDevice
            << QByteArray("<x:GetServices><x:IncludeCapability>false</x:IncludeCapability></x:GetServices>") << 200
            << "Namespace" << QStringList{kDevice, kMedia, kMedia2, "http://www.onvif.org/ver10/recording/wsdl"};
        QTest::newRow("services without media2")
            << int(OldRecorder) << kDevice
            << QByteArray("<x:GetServices><x:IncludeCapability>true</x:IncludeCapability></x:GetServices>") << 200
            << "XAddr"
            << QStringList{QStringLiteral("http://127.0.0.1:%1/onvif/device_service").arg(Port(OldRecorder)),
                           QStringLiteral("http://127.0.0.1:%1/onvif/media_service").arg(Port(OldRecorder)),
                           QStringLiteral("http://127.0.0.1:%1/onvif/recording_service").arg(Port(OldRecorder))};
        QTest::newRow("recorder type scope")
            << int(Recorder) << kDevice << QByteArray("<x:GetScopes/>") << 200 << "ScopeItem"
            << QStringList{"onvif://www.onvif.org/type/video_encoder",
                           "onvif://www.onvif.org/type/NetworkVideoTransmitter",
                           "onvif://www.onvif.org/Profile/Streaming",
                           "onvif://www.onvif.org/Profile/T",
                           "onvif://www.onvif.org/type/NetworkVideoRecorder",
                           "onvif://www.onvif.org/Profile/G",
                           "onvif://www.onvif.org/hardware/FR-400",
                           "onvif://www.onvif.org/name/FR-400",
                           "onvif://www.onvif.org/location/country/nowhere"};
        QTest::newRow("capabilities, media only")
            << int(Camera) << kDevice
            << QByteArray("<x:GetCapabilities><x:Category>Media</x:Category></x:GetCapabilities>") << 200 << "XAddr"
            << QStringList{QStringLiteral("http://127.0.0.1:%1/onvif/media_service").arg(Port(Camera))};
        QTest::newRow("capabilities, PTZ")
            << int(Camera) << kDevice
            << QByteArray("<x:GetCapabilities><x:Category>PTZ</x:Category></x:GetCapabilities>") << 500 << "Value"
            << QStringList{"env:Receiver", "ter:ActionNotSupported", "ter:NoSuchService"};
        QTest::newRow("media1 encoders of a camera") << int(Camera) << kMedia << QByteArray("<x:GetProfiles/>") << 200
                                                     << "BitrateLimit" << QStringList{"4096", "512"};
        QTest::newRow("media1 leaves H.265 out")
            << int(Recorder) << kMedia << QByteArray("<x:GetVideoEncoderConfigurations/>") << 200 << "Encoding"
            << QStringList(4, "H264");
        QTest::newRow("media1 H.265 named as is")
            << int(OldRecorder) << kMedia << QByteArray("<x:GetVideoEncoderConfigurations/>") << 200 << "Encoding"
            << QStringList{"H264", "H265", "H264", "H265", "H264", "H265", "H264", "H265"};
        QTest::newRow("media1 profiles of a recorder")
            << int(Recorder) << kMedia << QByteArray("<x:GetProfiles/>") << 200 << "SourceToken"
            << QStringList{"VideoSource_1", "VideoSource_1", "VideoSource_2", "VideoSource_2",
                           "VideoSource_3", "VideoSource_3", "VideoSource_4", "VideoSource_4"};
        QTest::newRow("media1 one encoder")
            << int(Recorder) << kMedia
            << QByteArray(
                   "<x:GetVideoEncoderConfiguration><x:ConfigurationToken>VideoEncoder_3_1</x:ConfigurationToken></x:GetVideoEncoderConfiguration>")
            << 200 << "Width" << QStringList{"2560"};
        QTest::newRow("media1 unknown encoder")
            << int(Recorder) << kMedia
            << QByteArray(
                   "<x:GetVideoEncoderConfiguration><x:ConfigurationToken>VideoEncoder_9_1</x:ConfigurationToken></x:GetVideoEncoderConfiguration>")
            << 400 << "Value" << QStringList{"env:Sender", "ter:InvalidArgVal", "ter:NoConfig"};
        QTest::newRow("media1 options: quality 1 to 6")
            << int(Camera) << kMedia
            << QByteArray(
                   "<x:GetVideoEncoderConfigurationOptions><x:ConfigurationToken>VideoEncoder_1_1</x:ConfigurationToken></x:GetVideoEncoderConfigurationOptions>")
            << 200 << "QualityRange" << QStringList{"16"};
        QTest::newRow("media1 options: bitrate 32 to 8192")
            << int(Camera) << kMedia
            << QByteArray(
                   "<x:GetVideoEncoderConfigurationOptions><x:ProfileToken>Profile_1_1</x:ProfileToken></x:GetVideoEncoderConfigurationOptions>")
            << 200 << "BitrateRange" << QStringList{"328192"};
        QTest::newRow("media1 video sources") << int(Recorder) << kMedia << QByteArray("<x:GetVideoSources/>") << 200
                                              << "Framerate" << QStringList(4, "20");
        QTest::newRow("media2 profiles, no type")
            << int(Recorder) << kMedia2 << QByteArray("<x:GetProfiles/>") << 200 << "Configurations" << QStringList();
        QTest::newRow("media2 profiles, all")
            << int(Recorder) << kMedia2 << QByteArray("<x:GetProfiles><x:Type>All</x:Type></x:GetProfiles>") << 200
            << "Encoding" << QStringList{"H264", "H265", "H264", "H265", "H264", "H265", "H264", "H265"};
        QTest::newRow("media2 one profile, encoder only")
            << int(Recorder) << kMedia2
            << QByteArray("<x:GetProfiles><x:Token>Profile_2_2</x:Token><x:Type>VideoEncoder</x:Type></x:GetProfiles>")
            << 200 << "BitrateLimit" << QStringList{"768"};
        QTest::newRow("media2 unknown profile")
            << int(Recorder) << kMedia2 << QByteArray("<x:GetProfiles><x:Token>Profile_7_1</x:Token></x:GetProfiles>")
            << 400 << "Value" << QStringList{"env:Sender", "ter:InvalidArgVal", "ter:NoProfile"};
        QTest::newRow("media2 encoder of a profile")
            << int(Recorder) << kMedia2
            << QByteArray(
                   "<x:GetVideoEncoderConfigurations><x:ProfileToken>Profile_4_1</x:ProfileToken></x:GetVideoEncoderConfigurations>")
            << 200 << "FrameRateLimit" << QStringList{"20"};
        QTest::newRow("media2 options, own encoding first")
            << int(Recorder) << kMedia2
            << QByteArray(
                   "<x:GetVideoEncoderConfigurationOptions><x:ConfigurationToken>VideoEncoder_1_2</x:ConfigurationToken></x:GetVideoEncoderConfigurationOptions>")
            << 200 << "Encoding" << QStringList{"H265", "H264"};
        QTest::newRow("media2 off") << int(OldRecorder) << kMedia2 << QByteArray("<x:GetProfiles/>") << 500 << "Value"
                                    << QStringList{"env:Receiver", "ter:ActionNotSupported"};
        QTest::newRow("unknown operation") << int(Camera) << kDevice << QByteArray("<x:Reboot/>") << 500 << "Value"
                                           << QStringList{"env:Receiver", "ter:ActionNotSupported"};
    }
    void answers()
    {
        QFETCH(int, device);
        QFETCH(QString, ns);
        QFETCH(QByteArray, operation);
        QFETCH(int, status);
        QFETCH(QString, element);
        QFETCH(QStringList, texts);
        const REPLY reply = Post(Port(device), Envelope(ns, operation, &m_right));
        QCOMPARE(reply.iStatus, status);
        bool wellFormed = false;
        QCOMPARE(Texts(reply.body, element, &wellFormed), texts);
        QVERIFY(wellFormed);
    }

    void clockOffset()
    {
        const REPLY reply = Post(Port(Ahead), Envelope(kDevice, "<x:GetSystemDateAndTime/>"));
        QCOMPARE(reply.iStatus, 200);
        auto number = [&](const char *name) { return Texts(reply.body, name).value(0).toInt(); };
        const QDateTime told(QDate(number("Year"), number("Month"), number("Day")),
                             QTime(number("Hour"), number("Minute"), number("Second")), Qt::UTC);
        QVERIFY2(qAbs(told.secsTo(QDateTime::currentDateTimeUtc().addSecs(7200))) < 60, qPrintable(told.toString()));
    }

    void keepAlive()
    {
        // Two requests in one go on one connection: two answers, in order.
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, Port(Camera));
        QVERIFY(socket.waitForConnected(5000));
        socket.write(Request(Port(Camera), Envelope(kDevice, "<x:GetSystemDateAndTime/>"))
                     + Request(Port(Camera), Envelope(kDevice, "<x:GetDeviceInformation/>", &m_right)));
        QByteArray carry;
        QCOMPARE(Texts(ReadReply(socket, &carry).body, "DateTimeType"), QStringList{"Manual"});
        QCOMPARE(Texts(ReadReply(socket, &carry).body, "Manufacturer"), QStringList{"Fakework"});
    }

    void silent_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<QByteArray>("operation");
        QTest::newRow("everything") << int(Silent) << QByteArray("<x:GetSystemDateAndTime/>");
        QTest::newRow("only the profiles") << int(SilentProfiles) << QByteArray("<x:GetProfiles/>");
    }
    void silent()
    {
        QFETCH(int, device);
        QFETCH(QByteArray, operation);
        const QString ns = device == Silent ? kDevice : kMedia;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, FaultyPort(device));
        QVERIFY(socket.waitForConnected(5000));
        const int before = m_faulty.Stats().iRequests;
        socket.write(Request(FaultyPort(device), Envelope(ns, operation, &m_right)));
        QTRY_COMPARE(m_faulty.Stats().iRequests, before + 1); // read, and left unanswered
        QVERIFY(!socket.waitForReadyRead(300));
        QCOMPARE(socket.state(), QAbstractSocket::ConnectedState);
        if (device == SilentProfiles) // the rest of the device answers
            QCOMPARE(Post(FaultyPort(device), Envelope(kDevice, "<x:GetDeviceInformation/>", &m_right)).iStatus, 200);
    }

    // Late or slow, the answer is the one a sound device gives.
    void lateAnswers_data()
    {
        QTest::addColumn<int>("device");
        QTest::newRow("trickled") << int(Slow);
        QTest::newRow("after a delay") << int(Late);
    }
    void lateAnswers()
    {
        QFETCH(int, device);
        const REPLY reply = Post(FaultyPort(device), Envelope(kMedia, "<x:GetProfiles/>", &m_right));
        QCOMPARE(reply.iStatus, 200);
        QCOMPARE(reply.body, Post(Port(Camera), Envelope(kMedia, "<x:GetProfiles/>", &m_right)).body);
    }

    void malformed()
    {
        const REPLY reply = Post(FaultyPort(Malformed), Envelope(kDevice, "<x:GetDeviceInformation/>", &m_right));
        QCOMPARE(reply.iStatus, 200);
        QCOMPARE(reply.Header("content-length").toInt(), reply.body.size());
        bool wellFormed = true;
        Texts(reply.body, "Model", &wellFormed);
        QVERIFY(!wellFormed);
    }

    void hugeAnswer_data()
    {
        QTest::addColumn<int>("device");
        QTest::newRow("with its length") << int(Huge);
        QTest::newRow("until the connection ends") << int(HugeUnsized);
    }
    void hugeAnswer()
    {
        QFETCH(int, device);
        m_faulty.ResetStats();
        const REPLY reply = Post(FaultyPort(device), Envelope(kDevice, "<x:GetDeviceInformation/>"));
        QCOMPARE(reply.iStatus, 200);
        QCOMPARE(reply.body.size(), 50 * 1024 * 1024);
        QCOMPARE(reply.Header("content-length").isEmpty(), device == HugeUnsized);
        QVERIFY(
            reply.body.endsWith("</tds:Manufacturer></tds:GetDeviceInformationResponse></env:Body></env:Envelope>"));
        // Streamed as the client read it: never more than a few hundred kB waited in the fake.
        QVERIFY2(m_faulty.Stats().iPeakPendingBytes <= 512 * 1024,
                 qPrintable(QString::number(m_faulty.Stats().iPeakPendingBytes)));
    }

    // A client that gives up after 1 MB: the fake stops sending instead of pushing 50 MB.
    void hugeAnswerAbandoned()
    {
        m_faulty.ResetStats();
        {
            QTcpSocket socket;
            socket.setReadBufferSize(64 * 1024);
            socket.connectToHost(QHostAddress::LocalHost, FaultyPort(Huge));
            QVERIFY(socket.waitForConnected(5000));
            socket.write(Request(FaultyPort(Huge), Envelope(kDevice, "<x:GetDeviceInformation/>")));
            qint64 read = 0;
            while (read < 1024 * 1024 && socket.waitForReadyRead(5000))
                read += socket.readAll().size();
            QVERIFY(read >= 1024 * 1024);
        }
        // Once the fake has seen the client go, the count is final. The kernel buffers hold a few MB
        // at most; the rest of the 50 MB must never be produced.
        QTRY_COMPARE(m_faulty.Stats().iOpenConnections, 0);
        const qint64 sent = m_faulty.Stats().iHugeBytesSent;
        QVERIFY2(sent < 16 * 1024 * 1024, qPrintable(QString::number(sent)));
        QVERIFY(m_faulty.Stats().iPeakPendingBytes <= 512 * 1024);
    }

    void config_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("devices"); // address:port of each; empty: refused
        QTest::newRow("addresses counting up") << QByteArray(R"({"devices": [{"count": 3, "port": 8000}]})")
                                               << QStringList{"127.0.0.1:8000", "127.0.0.2:8000", "127.0.0.3:8000"};
        QTest::newRow("ports counting up")
            << QByteArray(R"({"devices": [{"count": 2, "sameAddress": true, "port": 9000},
                                                                      {"kind": "recorder", "channels": 8, "port": 9100}]})")
            << QStringList{"127.0.0.1:9000", "127.0.0.1:9001", "127.0.0.1:9100"};
        QTest::newRow("not loopback") << QByteArray(R"({"devices": [{"address": "192.168.1.10"}]})") << QStringList();
        QTest::newRow("past the loopback net")
            << QByteArray(R"({"devices": [{"address": "127.255.255.255", "count": 2}]})") << QStringList();
        QTest::newRow("camera with two channels") << QByteArray(R"({"devices": [{"channels": 2}]})") << QStringList();
        QTest::newRow("unknown fault") << QByteArray(R"({"devices": [{"fault": "explode"}]})") << QStringList();
        QTest::newRow("unknown encoding")
            << QByteArray(R"({"devices": [{"streams": [{"encoding": "VP8"}]}]})") << QStringList();
        QTest::newRow("empty quality range")
            << QByteArray(R"({"devices": [{"streams": [{"qualityMin": 5, "qualityMax": 1}]}]})") << QStringList();
        QTest::newRow("no list") << QByteArray(R"({"device": {}})") << QStringList();
        QTest::newRow("not JSON") << QByteArray("devices: 3") << QStringList();
    }
    void config()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, devices);
        QVector<FAKE_ONVIF_DEVICE> read;
        QString error;
        QCOMPARE(FakeOnvifConfig::ReadJson(json, &read, &error), !devices.isEmpty());
        QCOMPARE(error.isEmpty(), !devices.isEmpty());
        QStringList found;
        for (const FAKE_ONVIF_DEVICE &device : read)
            found.append(QStringLiteral("%1:%2").arg(device.strAddress).arg(device.iPort));
        if (!devices.isEmpty())
            QCOMPARE(found, devices);
    }

    void streamSpec_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<double>("qualityMax");
        QTest::newRow("full") << "h265:2560x1440:20:6144:3:1-5" << true << "H265" << 5.0;
        QTest::newRow("no quality") << "JPEG:640x480:5:1024" << true << "JPEG" << 10.0;
        QTest::newRow("bad resolution") << "H264:1920*1080:25:4096" << false << "" << 0.0;
        QTest::newRow("bad range") << "H264:1920x1080:25:4096:3:5" << false << "" << 0.0;
        QTest::newRow("too short") << "H264:1920x1080" << false << "" << 0.0;
    }
    void streamSpec()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, encoding);
        QFETCH(double, qualityMax);
        FAKE_ONVIF_ENCODER encoder;
        QString error;
        QCOMPARE(FakeOnvifConfig::ParseStream(text, &encoder, &error), valid);
        if (valid) {
            QCOMPARE(encoder.strEncoding, encoding);
            QCOMPARE(encoder.dQualityMax, qualityMax);
        }
    }
};

QTEST_GUILESS_MAIN(TestFakeDevice)
#include "tst_fakedevice.moc"
