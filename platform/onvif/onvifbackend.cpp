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
    case ONVIF_RESULT::CertificateChanged:
        return NET_DVR_CERTIFICATE_CHANGED;
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

// The general options answer holds a range for every encoder whose encoding it names (Media: one
// range for all) and whose quality lies within it; others may have a range of their own.
bool Covers(const ONVIF_RANGE &range, const ONVIF_ENCODER &encoder)
{
    return range.bKnown && (encoder.dQuality < 0 || (encoder.dQuality >= range.dMin && encoder.dQuality <= range.dMax));
}

ONVIF_RESULT Failed(ONVIF_RESULT::Outcome outcome)
{
    ONVIF_RESULT result;
    result.eOutcome = outcome;
    return result;
}

} // namespace

COnvifBackend::COnvifBackend(const ONVIF_LIMITS &limits, int reuseMs) : m_limits(limits), m_iReuseMs(reuseMs)
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
    session.uPort = port;
    session.auth.strUserName = userName;
    session.auth.strPassword = password;
    session.strKey = session.strHost + QLatin1Char('\n') + QString::number(port) + QLatin1Char('\n')
        + QString::fromUtf8(session.auth.strUserName) + QLatin1Char('\n') + QString::fromUtf8(session.auth.strPassword);
    if (!TakeRecent(session.strKey, &session)) {
        session.link = std::make_shared<COnvifLink>();
        const uint32_t failure = ReadDevice(&session);
        if (failure != NET_DVR_NOERROR) {
            *error = failure;
            return -1;
        }
        session.learnt = std::chrono::steady_clock::now();
    }

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

bool COnvifBackend::TakeRecent(const QString &key, SESSION *session)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_recent.find(key);
    if (found == m_recent.end())
        return false;
    const bool fresh = std::chrono::steady_clock::now() - found->learnt < std::chrono::milliseconds(m_iReuseMs);
    if (fresh)
        *session = found.value();
    m_recent.erase(found);
    return fresh;
}

QVector<ONVIF_RESULT> COnvifBackend::CallAll(SESSION *session, const QVector<ONVIF_REQUEST> &requests) const
{
    QVector<ONVIF_RESULT> results;
    for (int first = 0; first < requests.size(); first += kMaxCallsAtOnce)
        results += OnvifCallAll(requests.mid(first, kMaxCallsAtOnce), &session->auth, m_limits, session->link.get());
    return results;
}

uint32_t COnvifBackend::ReadDevice(SESSION *session) const
{
    const QString &host = session->strHost;
    const quint16 port = session->uPort;
    auto fail = [&](const char *operation, const ONVIF_RESULT &result) {
        LogFailure(host, port, operation, result);
        return ErrorOf(result.eOutcome);
    };

    // The clock first and without credentials: the UsernameToken's timestamp must be on the device's time.
    const ONVIF_ENDPOINT device{host, port, kDevicePath};
    ONVIF_RESULT result =
        OnvifCall(device, kDevice, "GetSystemDateAndTime", {}, nullptr, m_limits, session->link.get());
    if (result.IsTransportFailure())
        return fail("GetSystemDateAndTime", result);
    const bool clockAnswered = result.IsOk();
    const QDateTime deviceUtc = result.IsOk() ? OnvifReplies::DeviceUtc(result.response) : QDateTime();
    if (deviceUtc.isValid())
        session->auth.iClockOffsetMs = QDateTime::currentDateTimeUtc().msecsTo(deviceUtc);

    // Services, identity and role at once, all from the address the clock answered at.
    QVector<ONVIF_RESULT> round =
        CallAll(session,
                {{device, kDevice, "GetServices", OnvifField("IncludeCapability", QStringLiteral("false"))},
                 {device, kDevice, "GetDeviceInformation", {}},
                 {device, kDevice, "GetScopes", {}}});
    result = round.at(0);
    if (result.IsOk()) {
        session->services = OnvifReplies::Services(result.response, host, port);
    } else {
        if (IsFatal(result))
            return fail("GetServices", result);
        result = OnvifCall(device, kDevice, "GetCapabilities", OnvifField("Category", QStringLiteral("All")),
                           &session->auth, m_limits, session->link.get());
        if (!result.IsOk()) {
            const uint32_t error = fail("GetCapabilities", result);
            // Neither the clock nor the services in the device protocol: something else listens there.
            return !clockAnswered && !IsFatal(result) ? NET_DVR_NOT_SUPPORTED_DEVICE : error;
        }
        session->services = OnvifReplies::Capabilities(result.response, host, port);
    }
    // A device whose device service lives elsewhere is asked there what it did not tell here.
    const ONVIF_ENDPOINT &reported = session->services.device;
    if (reported.IsValid() && (reported.strPath != device.strPath || reported.uPort != device.uPort)
        && !round.at(1).IsOk() && !IsFatal(round.at(1)))
        round = CallAll(session,
                        {{reported, kDevice, "GetServices", {}},
                         {reported, kDevice, "GetDeviceInformation", {}},
                         {reported, kDevice, "GetScopes", {}}});
    const uint32_t identity = ReadIdentity(session, round);
    if (identity != NET_DVR_NOERROR)
        return identity;

    ONVIF_RESULT::Outcome failure = ONVIF_RESULT::Fault;
    if (!ReadProfiles(session, &failure)) {
        const uint32_t error = fail("GetProfiles", Failed(failure));
        // A device without usable media profiles gives no cameras.
        return error == NET_DVR_READ_FAILED ? NET_DVR_BAD_ANSWER : error;
    }
    return NET_DVR_NOERROR;
}

uint32_t COnvifBackend::ReadIdentity(SESSION *session, const QVector<ONVIF_RESULT> &round) const
{
    const ONVIF_RESULT &information = round.at(1);
    if (information.IsOk()) {
        session->strSerialNumber = information.response.TextAt(kDevice, {"SerialNumber"}).toUtf8();
        session->strModel = information.response.TextAt(kDevice, {"Model"}).toUtf8();
        session->strManufacturer = information.response.TextAt(kDevice, {"Manufacturer"}).toUtf8();
        session->strFirmware = information.response.TextAt(kDevice, {"FirmwareVersion"}).toUtf8();
    } else if (IsFatal(information)) {
        LogFailure(session->strHost, session->uPort, "GetDeviceInformation", information);
        return ErrorOf(information.eOutcome);
    }
    const ONVIF_RESULT &scopes = round.at(2);
    if (scopes.IsTransportFailure()) {
        LogFailure(session->strHost, session->uPort, "GetScopes", scopes);
        return ErrorOf(scopes.eOutcome);
    }
    const OnvifReplies::Role role =
        scopes.IsOk() ? OnvifReplies::RoleOfScopes(scopes.response) : OnvifReplies::RoleUnknown;
    session->bRecorder =
        role == OnvifReplies::RoleRecorder || (role == OnvifReplies::RoleUnknown && session->services.bRecording);
    return NET_DVR_NOERROR;
}

bool COnvifBackend::ReadProfiles(SESSION *session, ONVIF_RESULT::Outcome *failure) const
{
    const int limit = session->bRecorder ? kMaxIPChannels : kMaxAnalogChannels;
    // The profiles with their encoders and the options of all encoders, asked at once.
    for (const bool media2 : {true, false}) {
        const ONVIF_ENDPOINT &media = media2 ? session->services.media2 : session->services.media;
        if (!media.IsValid())
            continue;
        const char *ns = media2 ? kMedia2 : kMedia;
        const QVector<ONVIF_RESULT> round =
            CallAll(session,
                    {{media, ns, "GetProfiles", media2 ? OnvifField("Type", QStringLiteral("All")) : QByteArray()},
                     {media, ns, "GetVideoEncoderConfigurationOptions", {}}});
        const ONVIF_RESULT &profiles = round.at(0);
        if (profiles.IsOk()) {
            session->channels = media2 ? OnvifReplies::ChannelsOfMedia2(profiles.response)
                                       : OnvifReplies::ChannelsOfMedia1(profiles.response);
            if (session->channels.size() > limit)
                session->channels.resize(limit);
            ReadRanges(session, ns, media, round.at(1));
            return true;
        }
        LogFailure(session->strHost, media.uPort, media2 ? "GetProfiles (Media2)" : "GetProfiles", profiles);
        *failure = profiles.eOutcome;
        if (IsFatal(profiles))
            return false;
    }
    return false;
}

void COnvifBackend::ReadRanges(SESSION *session, const char *ns, const ONVIF_ENDPOINT &media,
                               const ONVIF_RESULT &general) const
{
    auto noteFailure = [&](const ONVIF_RESULT &result) {
        if (result.IsOk())
            return;
        LogFailure(session->strHost, media.uPort, "GetVideoEncoderConfigurationOptions", result);
        if (IsFatal(result) && session->eReadFailure == ONVIF_RESULT::Ok)
            session->eReadFailure = result.eOutcome;
    };
    noteFailure(general);
    if (general.IsTransportFailure())
        return; // the device stopped answering: no channel's settings can be read
    session->ranges = QVector<ONVIF_RANGE>(session->channels.size());
    // Encoders the general answer leaves out, each asked once for its own options.
    QVector<ONVIF_REQUEST> requests;
    QHash<QString, int> asked; // by range key: index in requests
    for (int i = 0; i < session->channels.size(); ++i) {
        const ONVIF_CHANNEL &channel = session->channels.at(i);
        if (general.IsOk()) {
            const ONVIF_RANGE range =
                OnvifReplies::QualityRange(general.response, ns, channel.encoder.strEncoding, true);
            if (Covers(range, channel.encoder)) {
                session->ranges[i] = range;
                continue;
            }
        }
        const QString key = RangeKey(channel.encoder);
        if (asked.contains(key))
            continue;
        asked.insert(key, requests.size());
        requests.append({media, ns, "GetVideoEncoderConfigurationOptions",
                         OnvifField("ConfigurationToken", channel.encoder.strToken)
                             + OnvifField("ProfileToken", channel.strProfileToken)});
    }
    if (requests.isEmpty())
        return;
    const QVector<ONVIF_RESULT> answers = CallAll(session, requests);
    for (const ONVIF_RESULT &answer : answers)
        noteFailure(answer);
    for (int i = 0; i < session->channels.size(); ++i) {
        const ONVIF_ENCODER &encoder = session->channels.at(i).encoder;
        const auto request = asked.constFind(RangeKey(encoder));
        if (request != asked.constEnd() && answers.at(request.value()).IsOk())
            session->ranges[i] =
                OnvifReplies::QualityRange(answers.at(request.value()).response, ns, encoder.strEncoding);
    }
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
    case NET_DVR_GET_IDENTITY: {
        auto *identity = static_cast<NET_DVR_DEVICE_IDENTITY *>(buffer);
        std::memset(identity, 0, sizeof(*identity));
        identity->dwSize = sizeof(*identity);
        CopyText(reinterpret_cast<uint8_t *>(identity->sManufacturer), sizeof(identity->sManufacturer),
                 session->strManufacturer);
        CopyText(reinterpret_cast<uint8_t *>(identity->sModel), sizeof(identity->sModel), session->strModel);
        CopyText(reinterpret_cast<uint8_t *>(identity->sFirmwareVersion), sizeof(identity->sFirmwareVersion),
                 session->strFirmware);
        CopyText(reinterpret_cast<uint8_t *>(identity->sSerialNumber), sizeof(identity->sSerialNumber),
                 session->strSerialNumber);
        return true;
    }
    default:
        *error = NET_DVR_BAD_COMMAND;
        return false;
    }
}

bool COnvifBackend::ReadCompression(int userID, int channel, NET_DVR_COMPRESS_CONFIG *config, uint32_t *error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto session = m_sessions.find(userID);
    if (session == m_sessions.end()) {
        *error = NET_DVR_BAD_USERID;
        return false;
    }
    const int index = channel - kFirstChannel;
    if (index < 0 || index >= session->channels.size()) {
        *error = NET_DVR_BAD_CHANNEL;
        return false;
    }
    session->bSurveyed = true;
    if (session->eReadFailure != ONVIF_RESULT::Ok) {
        *error = ErrorOf(session->eReadFailure);
        return false;
    }
    std::memset(config, 0, sizeof(*config));
    config->dwSize = sizeof(*config);
    config->struRecord = OnvifCodes::Block(session->channels.at(index).encoder, session->ranges.value(index));
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
    const auto session = m_sessions.find(userID);
    if (session == m_sessions.end()) {
        *error = NET_DVR_BAD_USERID;
        return false;
    }
    // A survey's session is kept for the import after it, unless it went wrong on the way. A login
    // that read no channel (the dialogs' logins) is not: the next one asks the device again.
    const auto now = std::chrono::steady_clock::now();
    const auto reuse = std::chrono::milliseconds(m_iReuseMs);
    if (session->bSurveyed && session->eReadFailure == ONVIF_RESULT::Ok && now - session->learnt < reuse) {
        if (m_recent.size() >= kMaxSessions)
            for (auto recent = m_recent.begin(); recent != m_recent.end();)
                recent = now - recent->learnt < reuse ? std::next(recent) : m_recent.erase(recent);
        if (m_recent.size() < kMaxSessions) {
            SESSION &kept = m_recent.insert(session->strKey, session.value()).value();
            kept.link.reset(); // its connections end with the logout all the same
        }
    }
    m_sessions.erase(session);
    return true;
}
