#include "tests/support/scriptedbackend.h"

#include "platform/certificatepins.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

QByteArray EndpointKey(const QByteArray &address, int port)
{
    return address + ':' + QByteArray::number(port);
}

void CopyText(uint8_t *target, size_t size, const QByteArray &text)
{
    const size_t length = std::min(size - 1, static_cast<size_t>(text.size()));
    std::memcpy(target, text.constData(), length);
}

bool ReadChannels(const QJsonValue &value, QVector<SCRIPTED_CHANNEL> *channels, QString *error)
{
    if (value.isUndefined())
        return true;
    if (!value.isArray()) {
        *error = QStringLiteral("channel list is not an array");
        return false;
    }
    for (const QJsonValue &item : value.toArray()) {
        if (!item.isObject()) {
            *error = QStringLiteral("channel is not an object");
            return false;
        }
        const QJsonObject o = item.toObject();
        SCRIPTED_CHANNEL channel;
        channel.iResolutionCode = o.value("resolution").toInt(channel.iResolutionCode);
        channel.iFrameRateCode = o.value("frameRate").toInt(channel.iFrameRateCode);
        channel.uBitrateCode = static_cast<uint32_t>(o.value("bitrate").toDouble(channel.uBitrateCode));
        channel.iQuality = o.value("quality").toInt(channel.iQuality);
        channel.bReadFails = o.value("readFails").toBool(false);
        channels->append(channel);
    }
    return true;
}

bool ReadDevice(const QJsonObject &o, SCRIPTED_DEVICE *device, QString *error)
{
    if (!o.value("address").isString()) {
        *error = QStringLiteral("device without \"address\"");
        return false;
    }
    device->strAddress = o.value("address").toString().toLocal8Bit();
    device->iPort = o.value("port").toInt(device->iPort);
    device->strUserName = o.value("user").toString(QString::fromLocal8Bit(device->strUserName)).toLocal8Bit();
    device->strPassword = o.value("password").toString(QString::fromLocal8Bit(device->strPassword)).toLocal8Bit();
    device->iDeviceTypeCode = o.value("deviceTypeCode").toInt(device->iDeviceTypeCode);
    device->iLatencyMs = o.value("latencyMs").toInt(device->iLatencyMs);
    device->iFirstAnalogChannel = o.value("firstAnalogChannel").toInt(device->iFirstAnalogChannel);
    device->uStartIPChanField = static_cast<uint32_t>(o.value("firstIpChannel").toDouble(device->uStartIPChanField));
    device->bIPChanConfigFails = o.value("failIpChannelConfig").toBool(false);
    device->bDeviceConfigFails = o.value("failDeviceConfig").toBool(false);
    if (!ReadChannels(o.value("analogChannels"), &device->analogChannels, error)
        || !ReadChannels(o.value("ipChannels"), &device->ipChannels, error))
        return false;
    for (const QJsonValue &item : o.value("ipDevices").toArray())
        device->ipDevices.append(item.isObject() ? item.toObject().value("enabled").toBool(true) : item.toBool());
    if (o.contains("streamSources")) {
        for (const QJsonValue &item : o.value("streamSources").toArray()) {
            const QJsonObject s = item.toObject();
            SCRIPTED_SOURCE source;
            source.iKind = s.value("kind").toInt(source.iKind);
            source.iIPDevice = s.value("device").toInt(0);
            source.bEnabled = s.value("enabled").toBool(true);
            device->sources.append(source);
        }
    } else {
        device->sources.fill(SCRIPTED_SOURCE(), device->ipChannels.size());
    }
    if (device->ipDevices.size() > NET_DVR_MAX_IP_DEVICES || device->sources.size() > NET_DVR_MAX_STREAM_SOURCES
        || device->analogChannels.size() > 255) {
        *error = QStringLiteral("device %1 has too many entries").arg(o.value("address").toString());
        return false;
    }
    return true;
}

} // namespace

void SCRIPTED_DEVICE::AddConnectedIPChannel(const SCRIPTED_CHANNEL &channel)
{
    ipChannels.append(channel);
    sources.append(SCRIPTED_SOURCE());
}

// Counts a call in flight for the statistics.
class CScriptedBackend::CCallScope
{
public:
    explicit CCallScope(CScriptedBackend *backend) : m_pBackend(backend)
    {
        m_pBackend->m_iTotalCalls.fetch_add(1);
        const int inFlight = m_pBackend->m_iCallsInFlight.fetch_add(1) + 1;
        int peak = m_pBackend->m_iPeakCalls.load();
        while (inFlight > peak && !m_pBackend->m_iPeakCalls.compare_exchange_weak(peak, inFlight)) {}
    }
    ~CCallScope() { m_pBackend->m_iCallsInFlight.fetch_sub(1); }
    CCallScope(const CCallScope &) = delete;
    CCallScope &operator=(const CCallScope &) = delete;

private:
    CScriptedBackend *m_pBackend;
};

CScriptedBackend::CScriptedBackend(int defaultLatencyMs) : m_iDefaultLatencyMs(std::max(0, defaultLatencyMs))
{
}

void CScriptedBackend::AddDevice(const SCRIPTED_DEVICE &device)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices.append(device);
}

bool CScriptedBackend::LoadJson(const QByteArray &json, QString *error)
{
    QString scratch;
    QString &message = error ? *error : scratch;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        message = parseError.errorString();
        return false;
    }
    const QJsonObject root = document.object();
    const int latency = root.value("latencyMs").toInt(m_iDefaultLatencyMs);
    QVector<SCRIPTED_DEVICE> devices;
    for (const QJsonValue &item : root.value("devices").toArray()) {
        SCRIPTED_DEVICE device;
        if (!ReadDevice(item.toObject(), &device, &message))
            return false;
        if (device.iLatencyMs < 0)
            device.iLatencyMs = latency;
        devices.append(device);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices += devices;
    return true;
}

int CScriptedBackend::LoginAttempts(const QByteArray &address, int port) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_loginAttempts.value(EndpointKey(address, port));
}

int CScriptedBackend::OpenSessions() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sessions.size();
}

void CScriptedBackend::ResetStatistics()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_loginAttempts.clear();
    m_iPeakCalls = 0;
    m_iTotalCalls = 0;
}

int CScriptedBackend::DeviceIndex(const QByteArray &address, int port) const
{
    for (int i = 0; i < m_devices.size(); ++i)
        if (m_devices.at(i).strAddress == address && m_devices.at(i).iPort == port)
            return i;
    return -1;
}

int CScriptedBackend::LatencyOfSession(int userID) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto session = m_sessions.constFind(userID);
    return session != m_sessions.constEnd() ? LatencyOfDevice(session.value()) : m_iDefaultLatencyMs;
}

int CScriptedBackend::LatencyOfDevice(int index) const
{
    if (index < 0 || m_devices.at(index).iLatencyMs < 0)
        return m_iDefaultLatencyMs;
    return m_devices.at(index).iLatencyMs;
}

bool CScriptedBackend::Wait(int latencyMs) const
{
    // As a network backend does: the caller's limit ends the wait early.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, latencyMs));
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        const int remaining = NetDvr_RemainingMs();
        if (remaining == 0)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(
            {left, std::chrono::milliseconds(std::min(remaining, NetDvr_kCancelPollMs))}));
    }
}

int CScriptedBackend::Login(const char *address, uint16_t port, const char *userName, const char *password,
                            NET_DVR_LOGIN_ANSWER *answer, uint32_t *error)
{
    CCallScope scope(this);
    int latency = m_iDefaultLatencyMs;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        latency = LatencyOfDevice(DeviceIndex(address, port));
        ++m_loginAttempts[EndpointKey(address, port)];
    }
    if (!Wait(latency)) {
        *error = NET_DVR_TIMEOUT;
        return -1;
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    const int index = DeviceIndex(address, port);
    if (index < 0) {
        *error = NET_DVR_CONNECT_FAILED;
        return -1;
    }
    const SCRIPTED_DEVICE &device = m_devices.at(index);
    if (!device.certificate.isEmpty()
        && CertificatePins::Check(QString::fromLatin1(address), port, device.certificate)
            == CertificatePins::Verdict::Changed) {
        *error = NET_DVR_CERTIFICATE_CHANGED;
        return -1;
    }
    if (device.strUserName != userName || device.strPassword != password) {
        *error = NET_DVR_BAD_CREDENTIALS;
        return -1;
    }
    if (m_sessions.size() >= kMaxSessions) {
        *error = NET_DVR_TOO_MANY_USERS;
        return -1;
    }
    std::memset(answer, 0, sizeof(*answer));
    CopyText(answer->sSerialNumber, sizeof(answer->sSerialNumber), "SN-" + device.strAddress);
    answer->byChanNum = static_cast<uint8_t>(device.analogChannels.size());
    answer->byStartChan = static_cast<uint8_t>(device.iFirstAnalogChannel);
    answer->byIPChanNum = NET_DVR_MAX_STREAM_SOURCES;
    // Like a real device SDK, the lowest free handle is handed out again, so a handle kept
    // after its logout may by now belong to another device's session.
    int userID = 0;
    while (m_sessions.contains(userID))
        ++userID;
    m_sessions.insert(userID, index);
    return userID;
}

const SCRIPTED_CHANNEL *CScriptedBackend::FindChannel(const SCRIPTED_DEVICE &device, int channel)
{
    const int analog = channel - device.iFirstAnalogChannel;
    if (analog >= 0 && analog < device.analogChannels.size())
        return &device.analogChannels.at(analog);
    const int ip = channel - device.FirstIPChannel();
    if (ip >= 0 && ip < device.ipChannels.size())
        return &device.ipChannels.at(ip);
    return nullptr;
}

void CScriptedBackend::FillIPChannels(const SCRIPTED_DEVICE &device, NET_DVR_IPCHAN_CONFIG *config)
{
    const uint32_t size = config->dwSize;
    std::memset(config, 0, sizeof(*config));
    config->dwSize = size;
    config->dwStartIPChan = device.uStartIPChanField;
    for (int i = 0; i < device.analogChannels.size() && i < 64; ++i)
        config->byAnalogChanEnable[i] = 1;
    for (int i = 0; i < device.ipDevices.size() && i < NET_DVR_MAX_IP_DEVICES; ++i) {
        NET_DVR_IP_DEVICE &entry = config->struIPDevice[i];
        entry.byEnable = device.ipDevices.at(i) ? 1 : 0;
        CopyText(entry.sAddress, sizeof(entry.sAddress), "192.168.254." + QByteArray::number(i + 1));
        entry.wPort = 8000;
    }
    for (int i = 0; i < device.sources.size() && i < NET_DVR_MAX_STREAM_SOURCES; ++i) {
        const SCRIPTED_SOURCE &source = device.sources.at(i);
        NET_DVR_STREAM_SOURCE &entry = config->struSource[i];
        entry.byKind = static_cast<uint8_t>(source.iKind);
        switch (source.iKind) {
        case NET_DVR_SOURCE_IP_DEVICE:
            entry.source.ipDevice.byIPDevice = static_cast<uint8_t>(source.iIPDevice);
            entry.source.ipDevice.byChannel = 1;
            break;
        case NET_DVR_SOURCE_STREAM_SERVER:
            entry.source.streamServer.byEnable = source.bEnabled ? 1 : 0;
            break;
        case NET_DVR_SOURCE_URL:
            entry.source.url.byEnable = source.bEnabled ? 1 : 0;
            CopyText(entry.source.url.sUrl, sizeof(entry.source.url.sUrl), "rtsp://" + device.strAddress);
            break;
        default:
            // Unknown kinds carry whatever they carry; make every byte look "enabled".
            std::memset(entry.source.byRaw, 1, sizeof(entry.source.byRaw));
            break;
        }
    }
}

bool CScriptedBackend::GetConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                                 uint32_t *error)
{
    CCallScope scope(this);
    if (!Wait(LatencyOfSession(userID))) {
        *error = NET_DVR_TIMEOUT;
        return false;
    }

    std::lock_guard<std::mutex> lock(m_mutex);
    const auto session = m_sessions.constFind(userID);
    if (session == m_sessions.constEnd()) {
        *error = NET_DVR_BAD_USERID;
        return false;
    }
    const SCRIPTED_DEVICE &device = m_devices.at(session.value());
    switch (command) {
    case NET_DVR_GET_IPCHANCFG: {
        auto *config = static_cast<NET_DVR_IPCHAN_CONFIG *>(buffer);
        if (channel != 0) {
            *error = NET_DVR_BAD_CHANNEL;
            return false;
        }
        if (config->dwSize != sizeof(NET_DVR_IPCHAN_CONFIG) || bufferSize < sizeof(NET_DVR_IPCHAN_CONFIG)) {
            *error = NET_DVR_BAD_PARAMETER;
            return false;
        }
        if (device.bIPChanConfigFails) {
            *error = NET_DVR_READ_FAILED;
            return false;
        }
        FillIPChannels(device, config);
        return true;
    }
    case NET_DVR_GET_COMPRESSCFG: {
        const SCRIPTED_CHANNEL *settings = FindChannel(device, channel);
        if (!settings) {
            *error = NET_DVR_BAD_CHANNEL;
            return false;
        }
        if (settings->bReadFails) {
            *error = NET_DVR_READ_FAILED;
            return false;
        }
        auto *config = static_cast<NET_DVR_COMPRESS_CONFIG *>(buffer);
        std::memset(config, 0, sizeof(*config));
        config->dwSize = sizeof(*config);
        NET_DVR_COMPRESS_BLOCK &block = config->struRecord;
        block.byResolution = static_cast<uint8_t>(settings->iResolutionCode);
        block.byPicQuality = static_cast<uint8_t>(settings->iQuality);
        block.dwVideoBitrate = settings->uBitrateCode;
        block.dwFrameRate = static_cast<uint32_t>(settings->iFrameRateCode);
        block.wIFrameInterval = 50;
        // The other streams differ, so a reader that takes the wrong block is caught.
        config->struSubStream = block;
        config->struSubStream.byResolution = 2;
        config->struSubStream.dwVideoBitrate = 7;
        return true;
    }
    case NET_DVR_GET_DEVICECFG: {
        if (channel != 0) {
            *error = NET_DVR_BAD_CHANNEL;
            return false;
        }
        if (device.bDeviceConfigFails) {
            *error = NET_DVR_READ_FAILED;
            return false;
        }
        auto *config = static_cast<NET_DVR_DEVICE_CONFIG *>(buffer);
        std::memset(config, 0, sizeof(*config));
        config->dwSize = sizeof(*config);
        CopyText(config->sSerialNumber, sizeof(config->sSerialNumber), "SN-" + device.strAddress);
        config->byDeviceType = static_cast<uint8_t>(device.iDeviceTypeCode);
        return true;
    }
    case NET_DVR_GET_IDENTITY: {
        if (device.strModel.isEmpty())
            break;
        auto *identity = static_cast<NET_DVR_DEVICE_IDENTITY *>(buffer);
        std::memset(identity, 0, sizeof(*identity));
        CopyText(reinterpret_cast<uint8_t *>(identity->sManufacturer), sizeof(identity->sManufacturer), "Scripted");
        CopyText(reinterpret_cast<uint8_t *>(identity->sModel), sizeof(identity->sModel), device.strModel);
        CopyText(reinterpret_cast<uint8_t *>(identity->sSerialNumber), sizeof(identity->sSerialNumber),
                 "SN-" + device.strAddress);
        return true;
    }
    default:
        break;
    }
    *error = NET_DVR_BAD_COMMAND;
    return false;
}

bool CScriptedBackend::Logout(int userID, uint32_t *error)
{
    CCallScope scope(this);
    Wait(LatencyOfSession(userID));

    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sessions.remove(userID)) {
        *error = NET_DVR_BAD_USERID;
        return false;
    }
    return true;
}
