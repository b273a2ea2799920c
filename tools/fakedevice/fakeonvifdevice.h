// What one fake ONVIF device is: a camera or an N-channel recorder, its identity, its encoders,
// its credentials, and the ways it misbehaves. Read from JSON (the norda_fakedevice --config file)
// or filled in code by tests.
//
// JSON: {"devices": [ {device}, ... ]}, each device with any of these keys (defaults in brackets):
//   "count" [1]            this many devices from this entry: addresses counting up from
//                          "address", or with "sameAddress": true one address and ports counting up
//   "address" ["127.0.0.1"], "port" [8000; 0 = any free port]
//   "kind" ["camera"]      or "recorder" (lists a recording service and a recorder type scope)
//   "channels" [1]         video sources (a camera has one)
//   "streams"              [{"encoding": "H264", "width": 1920, "height": 1080, "frameRate": 25,
//                          "bitrate": 4096, "quality": 4, "qualityMin": 0, "qualityMax": 10,
//                          "govLength": 50, "frameRateMax": 30, "bitrateMin": 32,
//                          "bitrateMax": 16384, "resolutions": ["1920x1080", ...]}]
//                          the encoders of every channel; "channelStreams": [[...], [...]] per channel
//   "user" ["admin"], "password" ["12345"]
//   "auth" ["wsse"]        "digest": HTTP digest only (401 with challenges), "none": no checks
//   "digestAlgorithms" [["SHA-256", "MD5"]], "strictAuth" [false]: only GetSystemDateAndTime
//                          without credentials (otherwise also GetServices and GetCapabilities)
//   "createdTolerance" [300] seconds a token's Created may differ from the device clock; -1: any
//   "clockOffset" [0]      seconds the device clock is ahead of this machine's
//   "latency" [0]          milliseconds before every answer
//   "tls" [false]          served over HTTPS, with a certificate made at start; "tlsHost" [the
//                          address] the name it is made for, "tlsExpired" [false] expired since yesterday
//   "closeAfter" [0]       answers on one connection before the device closes it unannounced
//                          (as an idle timeout does); 0: connections stay open
//   "fault" ["none"]       "silent" (never answers), "slow" (trickles the answer), "huge" (50 MB
//                          body), "hugeUnsized" (the same without Content-Length), "malformed"
//   "faultOperations" [[]] operations the fault applies to; empty: all
//   "slowBytesPerSecond" [200], "hugeBytes" [52428800]
//   "media2" [true]        also serve the media2 service
//   "media1H265" ["omit"]  how media1 shows an H265 encoder: "omit" or "asis" (Encoding H265)
//   "manufacturer", "model", "firmware", "serial", "hardwareId", "name", "scopes" (extra scopes)
//   "metadataVersion" [1]
//   "rtsp" [false]         also stream every encoder over RTSP (GetStreamUri answers either way)
//   "rtspPort" [0]         the RTSP port; 0: any free one
//   "streamPassword" [""]  the RTSP password when it differs from "password"
//   "streamFault" ["none"] "stop" (the stream ends after 2 s), "mute" (the RTSP port accepts and
//                          never answers), "novideo" (an audio stream only)
//   "clip" on a stream     the H.264/H.265 byte-stream file it sends; default the built clip of
//                          its encoding
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

struct FAKE_ONVIF_ENCODER
{
    QString strEncoding = QStringLiteral("H264"); // H264, H265, JPEG, MPEG4
    int iWidth = 1920;
    int iHeight = 1080;
    int iFrameRateLimit = 25;
    int iBitrateLimit = 4096; // kbit/s
    double dQuality = 4;
    double dQualityMin = 0;
    double dQualityMax = 10;
    int iGovLength = 50;
    int iFrameRateMax = 30;
    int iBitrateMin = 32;
    int iBitrateMax = 16384;
    QVector<QSize> resolutions; // offered in the options; empty: only the configured one
    QString strClip;            // streamed over RTSP; empty: the built clip of the encoding
};

enum class FakeOnvifFault { None, Silent, Slow, Huge, HugeUnsized, Malformed };
enum class FakeOnvifAuth { WsSecurity, HttpDigest, None };
enum class FakeStreamFault { None, Stop, Mute, NoVideo };

struct FAKE_ONVIF_DEVICE
{
    QString strAddress = QStringLiteral("127.0.0.1");
    quint16 iPort = 8000; // 0: any free port
    bool bRecorder = false;
    int iChannels = 1;
    QVector<FAKE_ONVIF_ENCODER> streams{FAKE_ONVIF_ENCODER()};
    QVector<QVector<FAKE_ONVIF_ENCODER>> channelStreams; // per channel; overrides streams

    QString strManufacturer = QStringLiteral("Fakework");
    QString strModel; // empty: "FC-100" for a camera, "FR-<channels>00" for a recorder
    QString strFirmware = QStringLiteral("V1.0.0 build 240101");
    QString strSerial; // empty: made from address and port
    QString strHardwareId = QStringLiteral("FW-HW1");
    QString strName;     // empty: the model
    QString strEndpoint; // empty: a name-based urn:uuid made from the serial
    QStringList extraScopes;
    int iMetadataVersion = 1;

    QString strUser = QStringLiteral("admin");
    QString strPassword = QStringLiteral("12345");
    FakeOnvifAuth auth = FakeOnvifAuth::WsSecurity;
    QStringList digestAlgorithms{QStringLiteral("SHA-256"), QStringLiteral("MD5")};
    bool bStrictAuth = false;
    int iCreatedToleranceSec = 300;
    int iClockOffsetSec = 0;
    int iLatencyMs = 0;
    bool bTls = false;  // HTTPS, with a self-signed certificate made when the port opens
    QString strTlsHost; // the certificate's host name; empty: the address
    bool bTlsExpired = false;
    int iCloseAfterAnswers = 0; // closes a connection after this many answers without a word; 0: keeps it

    FakeOnvifFault fault = FakeOnvifFault::None;
    QStringList faultOperations;
    int iSlowBytesPerSecond = 200;
    qint64 iHugeBytes = 50LL * 1024 * 1024;

    bool bMedia2 = true;
    bool bMedia1H265AsIs = false;

    bool bRtsp = false;
    quint16 iRtspPort = 0;     // 0: any free port; the served port once started
    QString strStreamPassword; // empty: strPassword
    FakeStreamFault streamFault = FakeStreamFault::None;

    // The effective values of the defaults above.
    QString Model() const;
    QString Serial() const;
    QString Name() const;
    QString Endpoint() const;
    const QVector<FAKE_ONVIF_ENCODER> &Streams(int channel) const; // channel 0-based
    bool FaultApplies(const QString &operation) const;
    // rtsp://address:port/chC/sS of a channel's stream (0-based), as GetStreamUri tells it.
    QString StreamUri(int channel, int stream) const;
};

namespace FakeOnvifConfig {
// Reads {"devices": [...]}; the "count" of an entry expands to that many devices. Returns false
// with *error set on a file or value that cannot be used.
bool ReadFile(const QString &path, QVector<FAKE_ONVIF_DEVICE> *devices, QString *error);
bool ReadJson(const QByteArray &json, QVector<FAKE_ONVIF_DEVICE> *devices, QString *error);
// count devices like the template: addresses counting up from its address (sameAddress false)
// or ports counting up from its port.
bool Expand(const FAKE_ONVIF_DEVICE &model, int count, bool sameAddress, QVector<FAKE_ONVIF_DEVICE> *devices,
            QString *error);
// "H264:1920x1080:25:4096:4[:0-10]" (encoding, resolution, frame rate, kbit/s, quality, range).
bool ParseStream(const QString &text, FAKE_ONVIF_ENCODER *encoder, QString *error);
bool ParseFault(const QString &text, FakeOnvifFault *fault);
bool ParseAuth(const QString &text, FakeOnvifAuth *auth);
bool ParseStreamFault(const QString &text, FakeStreamFault *fault);
} // namespace FakeOnvifConfig
