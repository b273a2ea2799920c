#include "import/device.h"

#include "platform/tuvo.h"

#include <QCoreApplication>

#include <cstring>
#include <memory>

namespace {

// The log tells nothing of the password, not even whether there is one.
const char *MaskedPassword(const QByteArray &)
{
    return "******";
}

// Device type codes of IP cameras.
bool IsIPCameraCode(int code)
{
    switch (code) {
    case 30:
    case 31:
    case 32:
    case 35:
    case 38:
    case 40:
    case 41:
    case 42:
    case 50:
        return true;
    default:
        return false;
    }
}

} // namespace

DeviceFailure DeviceFailureOfError(uint32_t error)
{
    switch (error) {
    case NET_DVR_NOERROR:
        return DeviceFailure::None;
    case NET_DVR_CONNECT_FAILED:
        return DeviceFailure::Unreachable;
    case NET_DVR_TIMEOUT:
        return DeviceFailure::TimedOut;
    case NET_DVR_BAD_CREDENTIALS:
        return DeviceFailure::Refused;
    case NET_DVR_NOT_SUPPORTED_DEVICE:
        return DeviceFailure::NotOnvif;
    case NET_DVR_CERTIFICATE_CHANGED:
        return DeviceFailure::CertificateChanged;
    default:
        return DeviceFailure::BadAnswer;
    }
}

QString DeviceFailureText(DeviceFailure failure)
{
    switch (failure) {
    case DeviceFailure::None:
        break;
    case DeviceFailure::Unreachable:
        return QCoreApplication::translate("DeviceFailure", "The device is not reachable.");
    case DeviceFailure::TimedOut:
        return QCoreApplication::translate("DeviceFailure", "The device did not answer in time.");
    case DeviceFailure::Refused:
        return QCoreApplication::translate("DeviceFailure", "The device refused the user name or password.");
    case DeviceFailure::NotOnvif:
        return QCoreApplication::translate("DeviceFailure", "This is not an ONVIF device.");
    case DeviceFailure::BadAnswer:
        return QCoreApplication::translate("DeviceFailure", "The device's answer could not be used.");
    case DeviceFailure::MoveUnconfirmed:
        return QCoreApplication::translate("DeviceFailure",
                                           "The device moved to another address. Log in to confirm the move.");
    case DeviceFailure::CertificateChanged:
        return QCoreApplication::translate("DeviceFailure", "The device's certificate has changed.");
    }
    return QString();
}

QString DEVICE_IDENTITY::Text() const
{
    const QPair<const char *, const QByteArray *> fields[] = {
        {QT_TRANSLATE_NOOP("DeviceIdentity", "Maker: %1"), &strMaker},
        {QT_TRANSLATE_NOOP("DeviceIdentity", "Model: %1"), &strModel},
        {QT_TRANSLATE_NOOP("DeviceIdentity", "Firmware: %1"), &strFirmware},
        {QT_TRANSLATE_NOOP("DeviceIdentity", "Serial number: %1"), &strSerial}};
    QStringList lines;
    for (const auto &field : fields)
        if (!field.second->isEmpty())
            lines << QCoreApplication::translate("DeviceIdentity", field.first).arg(QString::fromUtf8(*field.second));
    return lines.join(QLatin1Char('\n'));
}

int CountConnectedIPChannels(const NET_DVR_IPCHAN_CONFIG &config)
{
    int connected = 0;
    for (const NET_DVR_STREAM_SOURCE &entry : config.struSource) {
        switch (entry.byKind) {
        case NET_DVR_SOURCE_IP_DEVICE: {
            const int number = entry.source.ipDevice.byIPDevice;
            if (number >= 1 && number <= NET_DVR_MAX_IP_DEVICES && config.struIPDevice[number - 1].byEnable != 0)
                ++connected;
            break;
        }
        case NET_DVR_SOURCE_STREAM_SERVER:
            if (entry.source.streamServer.byEnable != 0)
                ++connected;
            break;
        case NET_DVR_SOURCE_URL:
            if (entry.source.url.byEnable != 0)
                ++connected;
            break;
        default:
            break;
        }
    }
    return connected;
}

bool STRU_DEVICE::Login()
{
    if (iUserID >= 0)
        Logout();
    if (bMoveUnconfirmed) {
        eFailure = DeviceFailure::MoveUnconfirmed;
        return false;
    }

    NET_DVR_LOGIN_ANSWER answer;
    std::memset(&answer, 0, sizeof(answer));
    Tuvo_OutputDebug("login start-------");
    iUserID = NET_DVR_Login_V30(strIP.constData(), static_cast<uint16_t>(iPort & 0xFFFF), strUserName.constData(),
                                strPassword.constData(), &answer);
    if (iUserID < 0) {
        const uint32_t code = NET_DVR_GetLastError();
        eFailure = DeviceFailureOfError(code);
        const int error = static_cast<int>(code);
        Tuvo_OutputDebug("Login failed[%s]! error: %d\n", strIP.constData(), error);
        Tuvo_OutputDebug("User: %s\n", strUserName.constData());
        Tuvo_OutputDebug("Password: %s\n", MaskedPassword(strPassword));
        return false;
    }
    Tuvo_OutputDebug("login succeed-------");
    eFailure = DeviceFailure::None;

    // 50 KB: too much for a worker's stack, and zeroed so that a failed read leaves nothing stale.
    auto config = std::make_unique<NET_DVR_IPCHAN_CONFIG>();
    std::memset(config.get(), 0, sizeof(NET_DVR_IPCHAN_CONFIG));
    config->dwSize = sizeof(NET_DVR_IPCHAN_CONFIG);
    uint32_t returned = 0;
    int connected = 0;
    if (NET_DVR_GetDVRConfig(iUserID, NET_DVR_GET_IPCHANCFG, 0, config.get(), sizeof(NET_DVR_IPCHAN_CONFIG), &returned))
        connected = CountConnectedIPChannels(*config);

    iChannelCount = answer.byChanNum;
    iStartChannel = answer.byStartChan;
    iIPChannelCount = connected;
    iStartIPChannel = static_cast<int16_t>(config->dwStartIPChan & 0xFFFF);

    // Only shown and recorded: a device that cannot say keeps an empty identity.
    NET_DVR_DEVICE_IDENTITY said;
    std::memset(&said, 0, sizeof(said));
    said.dwSize = sizeof(said);
    identity = DEVICE_IDENTITY();
    if (NET_DVR_GetDVRConfig(iUserID, NET_DVR_GET_IDENTITY, 0, &said, sizeof(said), &returned)) {
        auto text = [](const char *field, size_t size) { return QByteArray(field, int(qstrnlen(field, size))); };
        identity.strMaker = text(said.sManufacturer, sizeof(said.sManufacturer));
        identity.strModel = text(said.sModel, sizeof(said.sModel));
        identity.strFirmware = text(said.sFirmwareVersion, sizeof(said.sFirmwareVersion));
        identity.strSerial = text(said.sSerialNumber, sizeof(said.sSerialNumber));
    }
    return true;
}

bool STRU_DEVICE::Logout()
{
    Tuvo_OutputDebug("enter logout-------");
    if (iUserID >= 0) {
        Tuvo_OutputDebug("logout start-------");
        NET_DVR_Logout(iUserID);
        Tuvo_OutputDebug("logout end-------");
        iUserID = -1;
    }
    return true;
}

bool STRU_DEVICE::GetCompressInfo(int index, NET_DVR_COMPRESS_BLOCK *block) const
{
    NET_DVR_COMPRESS_CONFIG config;
    std::memset(&config, 0, sizeof(config));
    uint32_t returned = 0;
    if (!NET_DVR_GetDVRConfig(iUserID, NET_DVR_GET_COMPRESSCFG, index + 1, &config, sizeof(config), &returned))
        return false;
    if (block)
        *block = config.struRecord;
    return true;
}

int STRU_DEVICE::GetDeviceKind() const
{
    NET_DVR_DEVICE_CONFIG config;
    std::memset(&config, 0, sizeof(config));
    uint32_t returned = 0;
    if (!NET_DVR_GetDVRConfig(iUserID, NET_DVR_GET_DEVICECFG, 0, &config, sizeof(config), &returned))
        return KindUnknown;
    return IsIPCameraCode(config.byDeviceType) ? KindIPCamera : KindRecorder;
}

void CIdentityBox::Put(const QByteArray &serial, const DEVICE_IDENTITY &identity)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_identities.insert(serial, identity);
}

DEVICE_IDENTITY CIdentityBox::Take(const QByteArray &serial)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_identities.take(serial);
}
