#include "platform/onvif/onvifbackend.h"

#include "platform/onvif/onvifcodes.h"

#include <QLoggingCategory>

#include <algorithm>
#include <climits>
#include <cstring>

Q_LOGGING_CATEGORY(lcOnvif, "norda.onvif")

using namespace OnvifUri;

namespace {

uint32_t ErrorOf(ONVIF_RESULT::Outcome outcome)
{
    switch (outcome) {
    case ONVIF_RESULT::Unauthorized:
        return NET_DVR_BAD_CREDENTIALS;
    case ONVIF_RESULT::ConnectFailed:
        return NET_DVR_CONNECT_FAILED;
    case ONVIF_RESULT::TimedOut:
        return NET_DVR_TIMEOUT;
    case ONVIF_RESULT::TooLarge:
    case ONVIF_RESULT::Malformed:
        return NET_DVR_BAD_ANSWER;
    default:
        return NET_DVR_READ_FAILED;
    }
}

// Credentials and transport failures end a login; other failures only lose what that call tells.
bool IsFatal(const ONVIF_RESULT &result)
{
    return result.eOutcome == ONVIF_RESULT::Unauthorized || result.IsTransportFailure();
}

// Only the address, the operation and what went wrong: never credentials.
void LogFailure(const QString &host, quint16 port, const char *operation, const ONVIF_RESULT &result)
{
    qCDebug(lcOnvif, "%s:%u %s: %s %s", qUtf8Printable(host), port, operation, OnvifOutcomeText(result.eOutcome),
            qUtf8Printable(result.strDetail));
}

void CopyText(uint8_t *target, size_t size, const QByteArray &text)
{
    std::memcpy(target, text.constData(), std::min(size - 1, static_cast<size_t>(text.size())));
}

QString RangeKey(const ONVIF_ENCODER &encoder)
{
    return encoder.strToken + QLatin1Char('\n') + encoder.strEncoding;
}

} // namespace

COnvifBackend::COnvifBackend(const ONVIF_LIMITS &limits) : m_limits(limits)
{
}

COnvifBackend::~COnvifBackend() = default;

int COnvifBackend::OpenSessions() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sessions.size();
}

int COnvifBackend::Login(const char *address, uint16_t port, const char *userName, const char *password,
                         NET_DVR_LOGIN_ANSWER *answer, uint32_t *error)
{
    SESSION session;
    session.strHost = QString::fromLocal8Bit(address).trimmed();
    session.link = std::make_shared<COnvifLink>();
    COnvifLink *link = session.link.get();
    session.auth.strUserName = userName;
    session.auth.strPassword = password;
    auto fail = [&](const char *operation, const ONVIF_RESULT &result) {
        LogFailure(session.strHost, port, operation, result);
        *error = ErrorOf(result.eOutcome);
        return -1;
    };

    // The clock first and without credentials: the UsernameToken's timestamp must be on the device's time.
    ONVIF_ENDPOINT device{session.strHost, port, kDevicePath};
    ONVIF_RESULT result = OnvifCall(device, kDevice, "GetSystemDateAndTime", {}, nullptr, m_limits, link);
    if (result.IsTransportFailure())
        return fail("GetSystemDateAndTime", result);
    const bool clockAnswered = result.IsOk();
    const QDateTime deviceUtc = result.IsOk() ? OnvifReplies::DeviceUtc(result.response) : QDateTime();
    if (deviceUtc.isValid())
        session.auth.iClockOffsetMs = QDateTime::currentDateTimeUtc().msecsTo(deviceUtc);

    result = OnvifCall(device, kDevice, "GetServices", OnvifField("IncludeCapability", QStringLiteral("false")),
                       &session.auth, m_limits, link);
    if (result.IsOk()) {
        session.services = OnvifReplies::Services(result.response, session.strHost, port);
    } else {
        if (IsFatal(result))
            return fail("GetServices", result);
        result = OnvifCall(device, kDevice, "GetCapabilities", OnvifField("Category", QStringLiteral("All")),
                           &session.auth, m_limits, link);
        if (!result.IsOk()) {
            fail("GetCapabilities", result);
            // Neither the clock nor the services in the device protocol: something else listens there.
            if (!clockAnswered && !IsFatal(result))
                *error = NET_DVR_NOT_SUPPORTED_DEVICE;
            return -1;
        }
        session.services = OnvifReplies::Capabilities(result.response, session.strHost, port);
    }
    if (session.services.device.IsValid())
        device = session.services.device;

    result = OnvifCall(device, kDevice, "GetDeviceInformation", {}, &session.auth, m_limits, link);
    if (result.IsOk()) {
        session.strSerialNumber = result.response.TextAt(kDevice, {"SerialNumber"}).toUtf8();
        session.strModel = result.response.TextAt(kDevice, {"Model"}).toUtf8();
    } else if (IsFatal(result)) {
        return fail("GetDeviceInformation", result);
    }

    result = OnvifCall(device, kDevice, "GetScopes", {}, &session.auth, m_limits, link);
    if (result.IsTransportFailure())
        return fail("GetScopes", result);
    const OnvifReplies::Role role =
        result.IsOk() ? OnvifReplies::RoleOfScopes(result.response) : OnvifReplies::RoleUnknown;
    session.bRecorder =
        role == OnvifReplies::RoleRecorder || (role == OnvifReplies::RoleUnknown && session.services.bRecording);

    ONVIF_RESULT::Outcome failure = ONVIF_RESULT::Fault;
    if (!ReadProfiles(&session, &failure)) {
        ONVIF_RESULT profiles;
        profiles.eOutcome = failure;
        fail("GetProfiles", profiles);
        if (*error == NET_DVR_READ_FAILED)
            *error = NET_DVR_BAD_ANSWER; // a device without usable media profiles gives no cameras
        return -1;
    }
    const int limit = session.bRecorder ? kMaxIPChannels : kMaxAnalogChannels;
    if (session.channels.size() > limit)
        session.channels.resize(limit);

    std::memset(answer, 0, sizeof(*answer));
    CopyText(answer->sSerialNumber, sizeof(answer->sSerialNumber), session.strSerialNumber);
    answer->byChanNum = session.bRecorder ? 0 : static_cast<uint8_t>(session.channels.size());
    answer->byStartChan = kFirstChannel;
    answer->byIPChanNum = session.bRecorder ? static_cast<uint8_t>(session.channels.size()) : 0;

    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_sessions.size() >= kMaxSessions) {
        *error = NET_DVR_TOO_MANY_USERS;
        return -1;
    }
    // Handles are not handed out again soon, so a handle kept after its logout finds no session.
    while (m_sessions.contains(m_iNextUserID))
        m_iNextUserID = m_iNextUserID == INT_MAX ? 0 : m_iNextUserID + 1;
    const int userID = m_iNextUserID;
    m_iNextUserID = m_iNextUserID == INT_MAX ? 0 : m_iNextUserID + 1;
    m_sessions.insert(userID, session);
    return userID;
}

bool COnvifBackend::ReadProfiles(SESSION *session, ONVIF_RESULT::Outcome *failure) const
{
    if (session->services.media2.IsValid()) {
        const ONVIF_RESULT result =
            OnvifCall(session->services.media2, kMedia2, "GetProfiles", OnvifField("Type", QStringLiteral("All")),
                      &session->auth, m_limits, session->link.get());
        if (result.IsOk()) {
            session->channels = OnvifReplies::ChannelsOfMedia2(result.response);
            session->bMedia2 = true;
            return true;
        }
        LogFailure(session->strHost, session->services.media2.uPort, "GetProfiles (Media2)", result);
        *failure = result.eOutcome;
        if (IsFatal(result))
            return false;
    }
    if (session->services.media.IsValid()) {
        const ONVIF_RESULT result = OnvifCall(session->services.media, kMedia, "GetProfiles", {}, &session->auth,
                                              m_limits, session->link.get());
        if (result.IsOk()) {
            session->channels = OnvifReplies::ChannelsOfMedia1(result.response);
            return true;
        }
        *failure = result.eOutcome;
    }
    return false;
}

bool COnvifBackend::GetConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                              uint32_t *error)
{
    if (command == NET_DVR_GET_COMPRESSCFG)
        return ReadCompression(userID, channel, static_cast<NET_DVR_COMPRESS_CONFIG *>(buffer), error);

    std::lock_guard<std::mutex> lock(m_mutex);
    const auto session = m_sessions.constFind(userID);
    if (session == m_sessions.constEnd()) {
        *error = NET_DVR_BAD_USERID;
        return false;
    }
    if (channel != 0) {
        *error = NET_DVR_BAD_CHANNEL;
        return false;
    }
    switch (command) {
    case NET_DVR_GET_IPCHANCFG: {
        auto *config = static_cast<NET_DVR_IPCHAN_CONFIG *>(buffer);
        if (config->dwSize != sizeof(NET_DVR_IPCHAN_CONFIG) || bufferSize < sizeof(NET_DVR_IPCHAN_CONFIG)) {
            *error = NET_DVR_BAD_PARAMETER;
            return false;
        }
        FillIPChannels(session.value(), config);
        return true;
    }
    case NET_DVR_GET_DEVICECFG:
        FillDevice(session.value(), static_cast<NET_DVR_DEVICE_CONFIG *>(buffer));
        return true;
    default:
        *error = NET_DVR_BAD_COMMAND;
        return false;
    }
}

bool COnvifBackend::ReadCompression(int userID, int channel, NET_DVR_COMPRESS_CONFIG *config, uint32_t *error)
{
    // What the calls need, copied out so that no lock is held while the device answers.
    ONVIF_CHANNEL target;
    std::shared_ptr<COnvifLink> link;
    ONVIF_AUTH_STATE auth;
    ONVIF_ENDPOINT media;
    QString host;
    bool media2 = false;
    bool rangeCached = false;
    ONVIF_RANGE range;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto session = m_sessions.constFind(userID);
        if (session == m_sessions.constEnd()) {
            *error = NET_DVR_BAD_USERID;
            return false;
        }
        const int index = channel - kFirstChannel;
        if (index < 0 || index >= session->channels.size()) {
            *error = NET_DVR_BAD_CHANNEL;
            return false;
        }
        if (session->bUnreachable) {
            *error = NET_DVR_CONNECT_FAILED;
            return false;
        }
        target = session->channels.at(index);
        link = session->link;
        auth = session->auth;
        media2 = session->bMedia2;
        media = media2 ? session->services.media2 : session->services.media;
        host = session->strHost;
        const auto cached = session->qualityRanges.constFind(RangeKey(target.encoder));
        rangeCached = cached != session->qualityRanges.constEnd();
        if (rangeCached)
            range = cached.value();
    }

    ONVIF_RESULT::Outcome outcome = ONVIF_RESULT::Ok;
    ONVIF_ENCODER encoder = target.encoder;
    if (!media2) {
        // Media keeps its encoder configurations apart from the profiles: read the current one.
        const ONVIF_RESULT result =
            OnvifCall(media, kMedia, "GetVideoEncoderConfiguration",
                      OnvifField("ConfigurationToken", target.encoder.strToken), &auth, m_limits, link.get());
        const ONVIF_ENCODER fresh =
            result.IsOk() ? OnvifReplies::Encoder(result.response.Child(kMedia, "Configuration")) : ONVIF_ENCODER();
        if (fresh.bValid)
            encoder = fresh;
        else
            LogFailure(host, media.uPort, "GetVideoEncoderConfiguration", result);
        if (IsFatal(result))
            outcome = result.eOutcome;
    }
    if (outcome == ONVIF_RESULT::Ok && !rangeCached) {
        const char *ns = media2 ? kMedia2 : kMedia;
        const ONVIF_RESULT result = OnvifCall(media, ns, "GetVideoEncoderConfigurationOptions",
                                              OnvifField("ConfigurationToken", encoder.strToken)
                                                  + OnvifField("ProfileToken", target.strProfileToken),
                                              &auth, m_limits, link.get());
        if (result.IsOk())
            range = OnvifReplies::QualityRange(result.response, ns, encoder.strEncoding);
        else
            LogFailure(host, media.uPort, "GetVideoEncoderConfigurationOptions", result);
        if (IsFatal(result))
            outcome = result.eOutcome;
    }

    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto session = m_sessions.find(userID);
        if (session != m_sessions.end()) {
            session->auth = auth; // a Digest challenge learnt on the way serves the next call
            if (outcome == ONVIF_RESULT::ConnectFailed || outcome == ONVIF_RESULT::TimedOut)
                session->bUnreachable = true;
            else if (outcome == ONVIF_RESULT::Ok)
                session->qualityRanges.insert(RangeKey(encoder), range);
        }
    }
    if (outcome != ONVIF_RESULT::Ok) {
        *error = ErrorOf(outcome);
        return false;
    }
    std::memset(config, 0, sizeof(*config));
    config->dwSize = sizeof(*config);
    config->struRecord = OnvifCodes::Block(encoder, range);
    return true;
}

void COnvifBackend::FillIPChannels(const SESSION &session, NET_DVR_IPCHAN_CONFIG *config) const
{
    const uint32_t size = config->dwSize;
    std::memset(config, 0, sizeof(*config));
    config->dwSize = size;
    if (!session.bRecorder) {
        config->dwStartIPChan = static_cast<uint32_t>(kFirstChannel + session.channels.size());
        return;
    }
    config->dwStartIPChan = kFirstChannel;
    for (int i = 0; i < session.channels.size() && i < kMaxIPChannels; ++i) {
        NET_DVR_IP_DEVICE &device = config->struIPDevice[i];
        device.byEnable = 1;
        CopyText(device.sAddress, sizeof(device.sAddress), session.strHost.toUtf8());
        NET_DVR_STREAM_SOURCE &source = config->struSource[i];
        source.byKind = NET_DVR_SOURCE_URL;
        source.source.url.byEnable = 1;
        CopyText(source.source.url.sUrl, sizeof(source.source.url.sUrl),
                 "onvif:" + session.channels.at(i).strProfileToken.toUtf8());
    }
}

void COnvifBackend::FillDevice(const SESSION &session, NET_DVR_DEVICE_CONFIG *config)
{
    std::memset(config, 0, sizeof(*config));
    config->dwSize = sizeof(*config);
    CopyText(config->sDeviceName, sizeof(config->sDeviceName), session.strModel);
    CopyText(config->sSerialNumber, sizeof(config->sSerialNumber), session.strSerialNumber);
    config->byDeviceType = session.bRecorder ? kRecorderTypeCode : kCameraTypeCode;
}

bool COnvifBackend::Logout(int userID, uint32_t *error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_sessions.remove(userID)) {
        *error = NET_DVR_BAD_USERID;
        return false;
    }
    return true;
}
