#include "tools/fakedevice/fakeonvifdevice.h"

#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUuid>

QString FAKE_ONVIF_DEVICE::Model() const
{
    if (!strModel.isEmpty())
        return strModel;
    return bRecorder ? QStringLiteral("FR-%1").arg(iChannels * 100) : QStringLiteral("FC-100");
}

QString FAKE_ONVIF_DEVICE::Serial() const
{
    if (!strSerial.isEmpty())
        return strSerial;
    return QStringLiteral("FK%1%2")
        .arg(QHostAddress(strAddress).toIPv4Address(), 8, 16, QLatin1Char('0'))
        .arg(iPort, 5, 10, QLatin1Char('0'))
        .toUpper();
}

QString FAKE_ONVIF_DEVICE::Name() const
{
    return strName.isEmpty() ? Model() : strName;
}

QString FAKE_ONVIF_DEVICE::Endpoint() const
{
    if (!strEndpoint.isEmpty())
        return strEndpoint;
    // Stable across runs, so a restarted fake is the same device to a client.
    static const QUuid kNamespace(QStringLiteral("{6f1c5d2e-9a47-4b0e-8f43-2d7a51c0b9e4}"));
    return QStringLiteral("urn:uuid:") + QUuid::createUuidV5(kNamespace, Serial()).toString(QUuid::WithoutBraces);
}

const QVector<FAKE_ONVIF_ENCODER> &FAKE_ONVIF_DEVICE::Streams(int channel) const
{
    if (channel >= 0 && channel < channelStreams.size())
        return channelStreams[channel];
    return streams;
}

QString FAKE_ONVIF_DEVICE::StreamUri(int channel, int stream) const
{
    return QStringLiteral("rtsp://%1:%2/ch%3/s%4")
        .arg(strAddress)
        .arg(iRtspPort ? iRtspPort : 554)
        .arg(channel + 1)
        .arg(stream + 1);
}

bool FAKE_ONVIF_DEVICE::FaultApplies(const QString &operation) const
{
    return fault != FakeOnvifFault::None && (faultOperations.isEmpty() || faultOperations.contains(operation));
}

namespace FakeOnvifConfig {

namespace {
bool ParseResolution(const QString &text, QSize *size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    *size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return size->width() > 0 && size->height() > 0;
}

bool CheckEncoder(const FAKE_ONVIF_ENCODER &encoder, QString *error)
{
    static const QStringList kEncodings{"H264", "H265", "JPEG", "MPEG4"};
    if (!kEncodings.contains(encoder.strEncoding))
        *error = QStringLiteral("unknown encoding %1 (H264, H265, JPEG, MPEG4)").arg(encoder.strEncoding);
    else if (encoder.iWidth <= 0 || encoder.iHeight <= 0)
        *error = QStringLiteral("a stream needs a width and a height");
    else if (encoder.iFrameRateLimit <= 0 || encoder.iBitrateLimit <= 0)
        *error = QStringLiteral("a stream needs a frame rate and a bitrate above 0");
    else if (encoder.dQualityMin > encoder.dQualityMax)
        *error = QStringLiteral("quality range %1-%2 is empty").arg(encoder.dQualityMin).arg(encoder.dQualityMax);
    else
        return true;
    return false;
}

bool ReadEncoder(const QJsonObject &object, FAKE_ONVIF_ENCODER *encoder, QString *error)
{
    encoder->strEncoding = object.value("encoding").toString(encoder->strEncoding).toUpper();
    encoder->iWidth = object.value("width").toInt(encoder->iWidth);
    encoder->iHeight = object.value("height").toInt(encoder->iHeight);
    encoder->iFrameRateLimit = object.value("frameRate").toInt(encoder->iFrameRateLimit);
    encoder->iBitrateLimit = object.value("bitrate").toInt(encoder->iBitrateLimit);
    encoder->dQuality = object.value("quality").toDouble(encoder->dQuality);
    encoder->dQualityMin = object.value("qualityMin").toDouble(encoder->dQualityMin);
    encoder->dQualityMax = object.value("qualityMax").toDouble(encoder->dQualityMax);
    encoder->iGovLength = object.value("govLength").toInt(encoder->iGovLength);
    encoder->iFrameRateMax = object.value("frameRateMax").toInt(qMax(encoder->iFrameRateMax, encoder->iFrameRateLimit));
    encoder->iBitrateMin = object.value("bitrateMin").toInt(encoder->iBitrateMin);
    encoder->iBitrateMax = object.value("bitrateMax").toInt(qMax(encoder->iBitrateMax, encoder->iBitrateLimit));
    for (const QJsonValue &value : object.value("resolutions").toArray()) {
        QSize size;
        if (!ParseResolution(value.toString(), &size)) {
            *error = QStringLiteral("resolution %1 is not WIDTHxHEIGHT").arg(value.toString());
            return false;
        }
        encoder->resolutions.append(size);
    }
    encoder->strClip = object.value("clip").toString();
    return CheckEncoder(*encoder, error);
}

bool ReadStreams(const QJsonValue &value, QVector<FAKE_ONVIF_ENCODER> *streams, QString *error)
{
    streams->clear();
    for (const QJsonValue &stream : value.toArray()) {
        FAKE_ONVIF_ENCODER encoder;
        if (!ReadEncoder(stream.toObject(), &encoder, error))
            return false;
        streams->append(encoder);
    }
    if (streams->isEmpty())
        *error = QStringLiteral("a channel needs at least one stream");
    return !streams->isEmpty();
}

QStringList StringList(const QJsonValue &value, const QStringList &fallback)
{
    if (!value.isArray())
        return fallback;
    QStringList list;
    for (const QJsonValue &item : value.toArray())
        list.append(item.toString());
    return list;
}

bool ReadDevice(const QJsonObject &object, QVector<FAKE_ONVIF_DEVICE> *devices, QString *error)
{
    FAKE_ONVIF_DEVICE device;
    device.strAddress = object.value("address").toString(device.strAddress);
    device.iPort = quint16(object.value("port").toInt(device.iPort));
    const QString kind = object.value("kind").toString("camera");
    if (kind != "camera" && kind != "recorder") {
        *error = QStringLiteral("kind %1 is neither camera nor recorder").arg(kind);
        return false;
    }
    device.bRecorder = kind == "recorder";
    device.iChannels = object.value("channels").toInt(device.iChannels);
    if (device.iChannels < 1 || device.iChannels > 256 || (!device.bRecorder && device.iChannels != 1)) {
        *error = QStringLiteral("a camera has 1 channel, a recorder 1 to 256");
        return false;
    }
    if (object.contains("streams") && !ReadStreams(object.value("streams"), &device.streams, error))
        return false;
    for (const QJsonValue &channel : object.value("channelStreams").toArray()) {
        QVector<FAKE_ONVIF_ENCODER> streams;
        if (!ReadStreams(channel, &streams, error))
            return false;
        device.channelStreams.append(streams);
    }
    device.strManufacturer = object.value("manufacturer").toString(device.strManufacturer);
    device.strModel = object.value("model").toString();
    device.strFirmware = object.value("firmware").toString(device.strFirmware);
    device.strSerial = object.value("serial").toString();
    device.strHardwareId = object.value("hardwareId").toString(device.strHardwareId);
    device.strName = object.value("name").toString();
    device.strEndpoint = object.value("endpoint").toString();
    device.extraScopes = StringList(object.value("scopes"), {});
    device.iMetadataVersion = object.value("metadataVersion").toInt(device.iMetadataVersion);
    device.strUser = object.value("user").toString(device.strUser);
    device.strPassword = object.value("password").toString(device.strPassword);
    if (!ParseAuth(object.value("auth").toString("wsse"), &device.auth)) {
        *error = QStringLiteral("auth must be wsse, digest or none");
        return false;
    }
    device.digestAlgorithms = StringList(object.value("digestAlgorithms"), device.digestAlgorithms);
    device.bStrictAuth = object.value("strictAuth").toBool(device.bStrictAuth);
    device.iCreatedToleranceSec = object.value("createdTolerance").toInt(device.iCreatedToleranceSec);
    device.iClockOffsetSec = object.value("clockOffset").toInt(device.iClockOffsetSec);
    device.iLatencyMs = object.value("latency").toInt(device.iLatencyMs);
    device.iCloseAfterAnswers = object.value("closeAfter").toInt(device.iCloseAfterAnswers);
    device.bTls = object.value("tls").toBool(device.bTls);
    device.strTlsHost = object.value("tlsHost").toString(device.strTlsHost);
    device.bTlsExpired = object.value("tlsExpired").toBool(device.bTlsExpired);
    if (!ParseFault(object.value("fault").toString("none"), &device.fault)) {
        *error = QStringLiteral("unknown fault %1").arg(object.value("fault").toString());
        return false;
    }
    device.faultOperations = StringList(object.value("faultOperations"), {});
    device.iSlowBytesPerSecond = qMax(1, object.value("slowBytesPerSecond").toInt(device.iSlowBytesPerSecond));
    device.iHugeBytes = qint64(object.value("hugeBytes").toDouble(double(device.iHugeBytes)));
    device.bMedia2 = object.value("media2").toBool(device.bMedia2);
    device.bMedia1H265AsIs = object.value("media1H265").toString("omit") == "asis";
    device.bRtsp = object.value("rtsp").toBool(device.bRtsp);
    const int rtspPort = object.value("rtspPort").toInt(0);
    if (rtspPort < 0 || rtspPort > 65535) {
        *error = QStringLiteral("rtspPort must be 0..65535");
        return false;
    }
    device.iRtspPort = quint16(rtspPort);
    device.strStreamPassword = object.value("streamPassword").toString();
    if (!ParseStreamFault(object.value("streamFault").toString("none"), &device.streamFault)) {
        *error = QStringLiteral("unknown stream fault %1").arg(object.value("streamFault").toString());
        return false;
    }
    return Expand(device, object.value("count").toInt(1), object.value("sameAddress").toBool(false), devices, error);
}
} // namespace

bool Expand(const FAKE_ONVIF_DEVICE &model, int count, bool sameAddress, QVector<FAKE_ONVIF_DEVICE> *devices,
            QString *error)
{
    const QHostAddress first(model.strAddress);
    // Devices are served on this machine only: the loopback network holds all of 127.0.0.0/8.
    if (first.protocol() != QAbstractSocket::IPv4Protocol || !first.isLoopback()) {
        *error = QStringLiteral("address %1 is not an IPv4 loopback address (127.x.x.x)").arg(model.strAddress);
        return false;
    }
    if (count < 1 || count > 65535) {
        *error = QStringLiteral("count must be 1..65535");
        return false;
    }
    const quint32 base = first.toIPv4Address();
    if (sameAddress ? (model.iPort != 0 && model.iPort + count - 1 > 65535)
                    : (base + quint32(count - 1)) >> 24 != 127) {
        *error = QStringLiteral("%1 devices do not fit after %2:%3").arg(count).arg(model.strAddress).arg(model.iPort);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        FAKE_ONVIF_DEVICE device = model;
        if (sameAddress) {
            if (model.iPort != 0)
                device.iPort = quint16(model.iPort + i);
            if (model.iRtspPort != 0)
                device.iRtspPort = quint16(qMin(65535, model.iRtspPort + i));
        } else {
            device.strAddress = QHostAddress(base + quint32(i)).toString();
        }
        if (count > 1 && !model.strSerial.isEmpty())
            device.strSerial = model.strSerial + QString::number(i + 1);
        if (count > 1 && !model.strEndpoint.isEmpty())
            device.strEndpoint.clear();
        devices->append(device);
    }
    return true;
}

bool ReadJson(const QByteArray &json, QVector<FAKE_ONVIF_DEVICE> *devices, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        *error = parseError.errorString();
        return false;
    }
    const QJsonArray list = document.object().value("devices").toArray();
    if (list.isEmpty()) {
        *error = QStringLiteral("no \"devices\" list");
        return false;
    }
    for (const QJsonValue &entry : list)
        if (!ReadDevice(entry.toObject(), devices, error))
            return false;
    return true;
}

bool ReadFile(const QString &path, QVector<FAKE_ONVIF_DEVICE> *devices, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    if (!ReadJson(file.readAll(), devices, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}

bool ParseStream(const QString &text, FAKE_ONVIF_ENCODER *encoder, QString *error)
{
    const QStringList parts = text.split(':');
    QSize size;
    bool frameOk = false, bitrateOk = false, qualityOk = true;
    if (parts.size() < 4 || parts.size() > 6 || !ParseResolution(parts[1], &size)) {
        *error = QStringLiteral("stream %1 is not ENCODING:WxH:FPS:KBPS[:QUALITY[:MIN-MAX]]").arg(text);
        return false;
    }
    encoder->strEncoding = parts[0].toUpper();
    encoder->iWidth = size.width();
    encoder->iHeight = size.height();
    encoder->iFrameRateLimit = parts[2].toInt(&frameOk);
    encoder->iBitrateLimit = parts[3].toInt(&bitrateOk);
    if (parts.size() > 4)
        encoder->dQuality = parts[4].toDouble(&qualityOk);
    if (parts.size() > 5) {
        const QStringList range = parts[5].split('-');
        bool minOk = false, maxOk = false;
        if (range.size() == 2) {
            encoder->dQualityMin = range[0].toDouble(&minOk);
            encoder->dQualityMax = range[1].toDouble(&maxOk);
        }
        qualityOk = qualityOk && minOk && maxOk;
    }
    encoder->iFrameRateMax = qMax(encoder->iFrameRateMax, encoder->iFrameRateLimit);
    encoder->iBitrateMax = qMax(encoder->iBitrateMax, encoder->iBitrateLimit);
    if (!frameOk || !bitrateOk || !qualityOk) {
        *error = QStringLiteral("stream %1: frame rate, bitrate and quality are numbers").arg(text);
        return false;
    }
    return CheckEncoder(*encoder, error);
}

bool ParseFault(const QString &text, FakeOnvifFault *fault)
{
    static const QList<QPair<QString, FakeOnvifFault>> kFaults{{"none", FakeOnvifFault::None},
                                                               {"silent", FakeOnvifFault::Silent},
                                                               {"slow", FakeOnvifFault::Slow},
                                                               {"huge", FakeOnvifFault::Huge},
                                                               {"hugeUnsized", FakeOnvifFault::HugeUnsized},
                                                               {"malformed", FakeOnvifFault::Malformed}};
    for (const auto &entry : kFaults)
        if (entry.first == text) {
            *fault = entry.second;
            return true;
        }
    return false;
}

bool ParseStreamFault(const QString &text, FakeStreamFault *fault)
{
    static const QList<QPair<QString, FakeStreamFault>> kFaults{{"none", FakeStreamFault::None},
                                                                {"stop", FakeStreamFault::Stop},
                                                                {"mute", FakeStreamFault::Mute},
                                                                {"novideo", FakeStreamFault::NoVideo}};
    for (const auto &entry : kFaults)
        if (entry.first == text) {
            *fault = entry.second;
            return true;
        }
    return false;
}

bool ParseAuth(const QString &text, FakeOnvifAuth *auth)
{
    if (text == "wsse")
        *auth = FakeOnvifAuth::WsSecurity;
    else if (text == "digest")
        *auth = FakeOnvifAuth::HttpDigest;
    else if (text == "none")
        *auth = FakeOnvifAuth::None;
    else
        return false;
    return true;
}

} // namespace FakeOnvifConfig
