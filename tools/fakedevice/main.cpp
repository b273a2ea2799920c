// norda_fakedevice: fake ONVIF cameras and recorders on this machine's loopback addresses, to try
// NORDA's device import without devices. Runs until interrupted (Ctrl+C); then says Bye.
#include "tools/fakedevice/fakeonvifserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdio>

namespace {
std::atomic<bool> g_bInterrupted{false};

void OnSignal(int)
{
    g_bInterrupted = true;
}

const char *const kDescription = R"(Serves fake ONVIF devices (device, media, media2 and, for recorders, recording
service) on loopback addresses. Without --config: --count devices with addresses counting up from
--address on one --port, or with --same-address on one address with ports counting up.

The JSON file given with --config: {"devices": [ {...}, ... ]}, each entry with any of
  "count", "address", "port", "sameAddress"    as the options of the same names
  "kind": "camera" | "recorder", "channels"
  "streams": [{"encoding": "H264"|"H265"|"JPEG"|"MPEG4", "width", "height", "frameRate",
               "bitrate" (kbit/s), "quality", "qualityMin", "qualityMax", "govLength",
               "frameRateMax", "bitrateMin", "bitrateMax", "resolutions": ["1280x720", ...]}]
  "channelStreams": [[streams of channel 1], [streams of channel 2], ...]
  "user", "password", "auth": "wsse"|"digest"|"none", "digestAlgorithms": ["SHA-256", "MD5"],
  "strictAuth", "createdTolerance" (s, -1: any), "clockOffset" (s), "latency" (ms),
  "fault": "none"|"silent"|"slow"|"huge"|"hugeUnsized"|"malformed", "faultOperations": [...],
  "slowBytesPerSecond", "hugeBytes", "media2": true|false, "media1H265": "omit"|"asis",
  "manufacturer", "model", "firmware", "serial", "hardwareId", "name", "scopes", "metadataVersion"
  "tls": true|false (HTTPS, certificate made at start), "tlsHost", "tlsExpired": true|false,
  "closeAfter" (answers before a connection is closed unannounced; 0: kept),
  "rtsp": true|false, "rtspPort" (0: any free), "streamPassword", "streamFault": "none"|"stop"|"mute"|"novideo",
  "clip" on a stream: the H.264/H.265 byte-stream file it sends over RTSP
Example: {"devices": [{"count": 2, "sameAddress": true, "port": 8000},
                      {"kind": "recorder", "channels": 8, "port": 8100, "password": "abc"}]}

Faults: silent never answers, slow trickles the answer, huge sends a 50 MB body, hugeUnsized the same
without Content-Length, malformed cuts the XML. auth digest answers 401 with HTTP digest challenges
instead of accepting WS-Security.

--discovery also answers WS-Discovery probes and sends Hello and Bye on 239.255.255.250:3702. It is
refused unless only loopback is up, as in a private network namespace:
  unshare -n sh -c 'ip link set lo up; ip route add 224.0.0.0/4 dev lo; norda_fakedevice --discovery')";

struct OPTION_VALUES
{
    QCommandLineOption config{"config", "Devices from a JSON file (format above).", "file"};
    QCommandLineOption count{"count", "Number of devices.", "N", "1"};
    QCommandLineOption address{"address", "First device's loopback address.", "address", "127.0.0.1"};
    QCommandLineOption port{"port", "First device's port (0: any free one).", "port", "8000"};
    QCommandLineOption sameAddress{"same-address", "One address, consecutive ports."};
    QCommandLineOption recorder{"recorder", "Recorders instead of cameras."};
    QCommandLineOption channels{"channels", "Channels of a recorder.", "N", "4"};
    QCommandLineOption stream{"stream",
                              "A stream of every channel, repeatable: ENCODING:WxH:FPS:KBPS[:QUALITY[:MIN-MAX]] "
                              "(default H264:1920x1080:25:4096:4:0-10).",
                              "stream"};
    QCommandLineOption user{"user", "User name.", "name", "admin"};
    QCommandLineOption password{"password", "Password.", "password", "12345"};
    QCommandLineOption auth{"auth", "wsse, digest or none.", "kind", "wsse"};
    QCommandLineOption digestAlgorithms{"digest-algorithms", "Digest challenges, comma separated.", "list",
                                        "SHA-256,MD5"};
    QCommandLineOption strictAuth{"strict-auth", "Only GetSystemDateAndTime without credentials."};
    QCommandLineOption clockOffset{"clock-offset", "Seconds the device clock is ahead.", "seconds", "0"};
    QCommandLineOption latency{"latency", "Milliseconds before every answer.", "ms", "0"};
    QCommandLineOption fault{"fault", "silent, slow, huge, hugeUnsized or malformed.", "fault", "none"};
    QCommandLineOption faultOps{"fault-ops", "Operations the fault applies to, comma separated (default all).", "list"};
    QCommandLineOption noMedia2{"no-media2", "Serve media (version 1) only."};
    QCommandLineOption discovery{"discovery", "Answer WS-Discovery (only inside a private network namespace)."};
    QCommandLineOption verbose{"verbose", "Log every request."};
    QCommandLineOption tls{"tls", "Serve HTTPS, with a self-signed certificate made at start."};
    QCommandLineOption rtsp{"rtsp", "Stream every encoder over RTSP from the built clips (GetStreamUri tells where)."};
    QCommandLineOption rtspPort{"rtsp-port", "First device's RTSP port (0: any free one).", "port", "0"};
    QCommandLineOption streamPassword{"stream-password", "RTSP password, when not the device's.", "password"};
    QCommandLineOption streamFault{"stream-fault", "stop (after 2 s), mute (accepts, never answers) or novideo.",
                                   "fault", "none"};
};

int Fail(const QString &message)
{
    std::fprintf(stderr, "norda_fakedevice: %s\n", qPrintable(message));
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    const OPTION_VALUES o;
    parser.addOptions({o.config,     o.count,       o.address, o.port,     o.sameAddress,    o.recorder,
                       o.channels,   o.stream,      o.user,    o.password, o.auth,           o.digestAlgorithms,
                       o.strictAuth, o.clockOffset, o.latency, o.fault,    o.faultOps,       o.noMedia2,
                       o.discovery,  o.verbose,     o.rtsp,    o.rtspPort, o.streamPassword, o.streamFault,
                       o.tls});
    parser.process(app);

    QVector<FAKE_ONVIF_DEVICE> devices;
    QString error;
    if (parser.isSet(o.config)) {
        if (!FakeOnvifConfig::ReadFile(parser.value(o.config), &devices, &error))
            return Fail(error);
    } else {
        FAKE_ONVIF_DEVICE model;
        bool ok[6] = {true, true, true, true, true, true};
        const int count = parser.value(o.count).toInt(&ok[0]);
        model.strAddress = parser.value(o.address);
        model.iPort = quint16(parser.value(o.port).toUInt(&ok[1]));
        model.bRecorder = parser.isSet(o.recorder);
        model.iChannels = model.bRecorder ? parser.value(o.channels).toInt(&ok[2]) : 1;
        model.strUser = parser.value(o.user);
        model.strPassword = parser.value(o.password);
        model.digestAlgorithms = parser.value(o.digestAlgorithms).split(',', Qt::SkipEmptyParts);
        model.bStrictAuth = parser.isSet(o.strictAuth);
        model.iClockOffsetSec = parser.value(o.clockOffset).toInt(&ok[3]);
        model.iLatencyMs = parser.value(o.latency).toInt(&ok[4]);
        model.faultOperations = parser.value(o.faultOps).split(',', Qt::SkipEmptyParts);
        model.bMedia2 = !parser.isSet(o.noMedia2);
        model.bTls = parser.isSet(o.tls);
        model.bRtsp = parser.isSet(o.rtsp);
        model.iRtspPort = quint16(parser.value(o.rtspPort).toUInt());
        model.strStreamPassword = parser.value(o.streamPassword);
        if (!FakeOnvifConfig::ParseStreamFault(parser.value(o.streamFault), &model.streamFault))
            return Fail(QStringLiteral("unknown stream fault %1").arg(parser.value(o.streamFault)));
        if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !ok[4] || parser.value(o.port).toUInt() > 65535)
            return Fail(QStringLiteral("count, port, channels, clock offset and latency are numbers"));
        if (model.iChannels < 1 || model.iChannels > 256)
            return Fail(QStringLiteral("a recorder has 1 to 256 channels"));
        if (!FakeOnvifConfig::ParseAuth(parser.value(o.auth), &model.auth))
            return Fail(QStringLiteral("--auth is wsse, digest or none"));
        if (!FakeOnvifConfig::ParseFault(parser.value(o.fault), &model.fault))
            return Fail(QStringLiteral("unknown fault %1").arg(parser.value(o.fault)));
        if (parser.isSet(o.stream)) {
            model.streams.clear();
            for (const QString &text : parser.values(o.stream)) {
                FAKE_ONVIF_ENCODER encoder;
                if (!FakeOnvifConfig::ParseStream(text, &encoder, &error))
                    return Fail(error);
                model.streams.append(encoder);
            }
        }
        if (!FakeOnvifConfig::Expand(model, count, parser.isSet(o.sameAddress), &devices, &error))
            return Fail(error);
    }

    CFakeOnvifServer server;
    server.SetVerbose(parser.isSet(o.verbose));
    if (parser.isSet(o.discovery) && !server.EnableDiscovery())
        return Fail(server.Error());
    if (!server.Start(devices))
        return Fail(server.Error());
    for (int i = 0; i < server.DeviceCount(); ++i) {
        const FAKE_ONVIF_DEVICE device = server.Device(i);
        std::printf("listening %s:%u %s %s, %d channel(s), user %s", qPrintable(device.strAddress),
                    unsigned(device.iPort), device.bRecorder ? "recorder" : "camera", qPrintable(device.Serial()),
                    device.iChannels, qPrintable(device.strUser));
        if (device.bRtsp)
            std::printf(", streams at %s", qPrintable(device.StreamUri(0, 0)));
        std::printf("\n");
    }
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&app] {
        if (g_bInterrupted)
            app.quit();
    });
    poll.start(100);
    const int result = app.exec();
    server.Stop();
    return result;
}
