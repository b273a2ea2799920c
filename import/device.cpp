#include "import/device.h"

#include "platform/tuvo.h"

#include <cstring>
#include <memory>

namespace {

// The log shows whether a password was given, never the password or its length.
const char *MaskedPassword(const QByteArray &password)
{
    return password.isEmpty() ? "(empty)" : "******";
}

// Device type codes of IP cameras.
bool IsIPCameraCode(int code)
{
    switch (code) {
    case 30: case 31: case 32: case 35: case 38: case 40: case 41: case 42: case 50:
        return true;
    default:
        return false;
    }
}

} // namespace

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

    NET_DVR_LOGIN_ANSWER answer;
    std::memset(&answer, 0, sizeof(answer));
    Tuvo_OutputDebug("login start-------");
    iUserID = NET_DVR_Login_V30(strIP.constData(), static_cast<uint16_t>(iPort & 0xFFFF),
                                strUserName.constData(), strPassword.constData(), &answer);
    if (iUserID < 0) {
        const int error = static_cast<int>(NET_DVR_GetLastError());
        Tuvo_OutputDebug("Login failed[%s]! error: %d\n", strIP.constData(), error);
        Tuvo_OutputDebug("User: %s\n", strUserName.constData());
        Tuvo_OutputDebug("Password: %s\n", MaskedPassword(strPassword));
        return false;
    }
    Tuvo_OutputDebug("login succeed-------");

    // 50 KB: too much for a worker's stack, and zeroed so that a failed read leaves nothing stale.
    auto config = std::make_unique<NET_DVR_IPCHAN_CONFIG>();
    std::memset(config.get(), 0, sizeof(NET_DVR_IPCHAN_CONFIG));
    config->dwSize = sizeof(NET_DVR_IPCHAN_CONFIG);
    uint32_t returned = 0;
    int connected = 0;
    if (NET_DVR_GetDVRConfig(iUserID, NET_DVR_GET_IPCHANCFG, 0, config.get(), sizeof(NET_DVR_IPCHAN_CONFIG),
                             &returned))
        connected = CountConnectedIPChannels(*config);

    iChannelCount = answer.byChanNum;
    iStartChannel = answer.byStartChan;
    iIPChannelCount = connected;
    iStartIPChannel = static_cast<int16_t>(config->dwStartIPChan & 0xFFFF);
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
