// Device network SDK: the C interface the device import calls.
//
// NET_DVR_Init prepares the SDK once at start-up. A login returns a user ID (0 or more) that the
// configuration reads and the logout take; the three configuration reads fill fixed-size records
// laid out below. Every call is served by the installed backend (platform/dvrbackend.h): the
// scripted backend for tests and benchmarks, a network backend for real devices.
//
// Threads: the calls are thread-safe and calls for different devices run in parallel. The last
// error is kept per thread: NET_DVR_GetLastError reports the outcome of the calling thread's own
// last call (NET_DVR_NOERROR after a success).
#pragma once

#include <stddef.h>
#include <stdint.h>

// Configuration commands of NET_DVR_GetDVRConfig.
#define NET_DVR_GET_COMPRESSCFG 1040 // NET_DVR_COMPRESS_CONFIG of one channel (channel = channel number)
#define NET_DVR_GET_IPCHANCFG 1062   // NET_DVR_IPCHAN_CONFIG, channel 0
#define NET_DVR_GET_DEVICECFG 1100   // NET_DVR_DEVICE_CONFIG, channel 0
#define NET_DVR_GET_IDENTITY 1101    // ours: NET_DVR_DEVICE_IDENTITY, channel 0

// Error codes of NET_DVR_GetLastError.
#define NET_DVR_NOERROR 0               // the call succeeded
#define NET_DVR_NOT_INITIALISED 1       // NET_DVR_Init was not called, or no backend is installed
#define NET_DVR_BAD_PARAMETER 2         // a null pointer, a record too small, or a record size field not set
#define NET_DVR_CONNECT_FAILED 3        // no device answers at that address and port
#define NET_DVR_BAD_CREDENTIALS 4       // the device refused the user name or password
#define NET_DVR_BAD_USERID 5            // the user ID is not (or no longer) logged in
#define NET_DVR_BAD_COMMAND 6           // the configuration command is not supported
#define NET_DVR_BAD_CHANNEL 7           // the device has no such channel
#define NET_DVR_READ_FAILED 8           // the device could not deliver the configuration
#define NET_DVR_TOO_MANY_USERS 9        // no more login sessions available
#define NET_DVR_TIMEOUT 10              // the device did not answer in time, or the caller gave up
#define NET_DVR_NOT_SUPPORTED_DEVICE 11 // something answers there, but not the device protocol
#define NET_DVR_BAD_ANSWER 12           // the device answered, but what it said cannot be used
#define NET_DVR_CERTIFICATE_CHANGED 13  // the device shows another HTTPS certificate than it did before

#define NET_DVR_MAX_IP_DEVICES 64
#define NET_DVR_MAX_STREAM_SOURCES 64

// Stream-source kinds (byte 0 of NET_DVR_STREAM_SOURCE).
#define NET_DVR_SOURCE_IP_DEVICE 0 // a channel of one of the IP-device entries
#define NET_DVR_SOURCE_STREAM_SERVER 1
#define NET_DVR_SOURCE_URL 2

#ifdef __cplusplus
extern "C" {
#endif

// Answer of a login, 80 bytes.
typedef struct
{
    uint8_t sSerialNumber[48];
    uint8_t byRes1[4];
    uint8_t byChanNum;   // 52: analogue channel count
    uint8_t byStartChan; // 53: channel number of the first analogue channel
    uint8_t byIPChanNum; // 54: IP channels the device can hold
    uint8_t byRes2[25];
} NET_DVR_LOGIN_ANSWER;

// One IP device the recorder pulls streams from, 296 bytes.
typedef struct
{
    uint8_t byEnable; // 0: device entry in use
    uint8_t byRes1[3];
    uint8_t sUserName[32];
    uint8_t sPassword[16];
    uint8_t sAddress[128];
    uint16_t wPort;
    uint8_t byRes2[114];
} NET_DVR_IP_DEVICE;

// Where one IP channel takes its stream from, 496 bytes. The meaning of the 492 bytes from
// offset 4 depends on the kind in byte 0.
typedef struct
{
    uint8_t byKind; // NET_DVR_SOURCE_...
    uint8_t byRes1[3];
    union
    {
        struct
        {
            uint8_t byRes1;
            uint8_t byIPDevice; // 5: IP-device number, 1..64
            uint8_t byChannel;  // 6: channel on that device
            uint8_t byRes2[489];
        } ipDevice;
        struct
        {
            uint8_t byRes1[4];
            uint8_t byEnable; // 8
            uint8_t byRes2[487];
        } streamServer;
        struct
        {
            uint8_t byEnable; // 4
            uint8_t byRes1[3];
            uint8_t sUrl[240];
            uint8_t byRes2[248];
        } url;
        uint8_t byRaw[492];
    } source;
} NET_DVR_STREAM_SOURCE;

// IP-channel configuration, command 1062, 50,792 bytes. dwSize must hold the record size.
typedef struct
{
    uint32_t dwSize;
    uint8_t byRes1[12];
    uint32_t dwStartIPChan; // 16: first IP channel number in the low 16 bits (signed)
    uint8_t byAnalogChanEnable[64];
    NET_DVR_IP_DEVICE struIPDevice[NET_DVR_MAX_IP_DEVICES];       // from 84
    NET_DVR_STREAM_SOURCE struSource[NET_DVR_MAX_STREAM_SOURCES]; // from 19,028
    uint8_t byRes2[20];
} NET_DVR_IPCHAN_CONFIG;

// One set of encoding parameters, 28 bytes.
typedef struct
{
    uint8_t byStreamType;
    uint8_t byResolution; // 1: resolution code
    uint8_t byBitrateType;
    uint8_t byPicQuality;    // 3: 0 = best
    uint32_t dwVideoBitrate; // 4: bitrate code; bit 31 set: user-defined bit/s in the low 31 bits
    uint32_t dwFrameRate;    // 8: frame-rate code, 0 = full rate
    uint16_t wIFrameInterval;
    uint16_t wWidth;        // 14: picture width in pixels, 0 when the device does not say
    uint16_t wHeight;       // 16: picture height in pixels, 0 when the device does not say
    uint8_t byVideoEncType; // 18: 0 unknown, 1 H.264, 2 H.265, 3 MJPEG, 4 smart H.264, 5 smart H.265
    uint8_t byRes[9];
} NET_DVR_COMPRESS_BLOCK;

// Compression configuration of one channel, command 1040, 116 bytes.
typedef struct
{
    uint32_t dwSize;
    NET_DVR_COMPRESS_BLOCK struRecord; // 4: the recording stream
    NET_DVR_COMPRESS_BLOCK struEvent;
    NET_DVR_COMPRESS_BLOCK struSubStream;
    NET_DVR_COMPRESS_BLOCK struRes;
} NET_DVR_COMPRESS_CONFIG;

// Device configuration, command 1100, 180 bytes.
typedef struct
{
    uint32_t dwSize;
    uint8_t sDeviceName[32];
    uint8_t sSerialNumber[48];
    uint32_t dwSoftwareVersion;
    uint8_t byRes1[35];
    uint8_t byDeviceType; // 123: device type code
    uint8_t byRes2[56];
} NET_DVR_DEVICE_CONFIG;

// Ours: what the device says it is, 260 bytes. Texts are NUL-terminated UTF-8 within their
// field, empty where the device does not say.
typedef struct
{
    uint32_t dwSize;
    char sManufacturer[64];
    char sModel[64];
    char sFirmwareVersion[64];
    char sSerialNumber[64];
} NET_DVR_DEVICE_IDENTITY;

// Returns 1.
int NET_DVR_Init(void);

// Logs in. Returns a user ID of 0 or more and fills *answer, or -1 on failure.
int NET_DVR_Login_V30(const char *address, uint16_t port, const char *userName, const char *password,
                      NET_DVR_LOGIN_ANSWER *answer);

// Reads one configuration record into buffer (bufferSize bytes). Returns nonzero on success with
// *bytesReturned (if given) set to the record size, zero on failure.
int NET_DVR_GetDVRConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                         uint32_t *bytesReturned);

// Error code of the calling thread's last call.
uint32_t NET_DVR_GetLastError(void);

// Ends a login session. Returns nonzero on success.
int NET_DVR_Logout(int userID);

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(NET_DVR_LOGIN_ANSWER) == 80, "login answer");
static_assert(offsetof(NET_DVR_LOGIN_ANSWER, byChanNum) == 52, "analogue channel count");
static_assert(offsetof(NET_DVR_LOGIN_ANSWER, byStartChan) == 53, "first analogue channel");

static_assert(sizeof(NET_DVR_IP_DEVICE) == 296, "IP-device entry");
static_assert(offsetof(NET_DVR_IP_DEVICE, byEnable) == 0, "IP device enabled");
static_assert(sizeof(NET_DVR_STREAM_SOURCE) == 496, "stream-source entry");
static_assert(offsetof(NET_DVR_STREAM_SOURCE, byKind) == 0, "source kind");
static_assert(offsetof(NET_DVR_STREAM_SOURCE, source.ipDevice.byIPDevice) == 5, "kind 0 device number");
static_assert(offsetof(NET_DVR_STREAM_SOURCE, source.streamServer.byEnable) == 8, "kind 1 enabled");
static_assert(offsetof(NET_DVR_STREAM_SOURCE, source.url.byEnable) == 4, "kind 2 enabled");

static_assert(sizeof(NET_DVR_IPCHAN_CONFIG) == 50792, "IP-channel configuration");
static_assert(offsetof(NET_DVR_IPCHAN_CONFIG, dwSize) == 0, "record size");
static_assert(offsetof(NET_DVR_IPCHAN_CONFIG, dwStartIPChan) == 16, "first IP channel");
static_assert(offsetof(NET_DVR_IPCHAN_CONFIG, struIPDevice) == 84, "IP-device entries");
static_assert(offsetof(NET_DVR_IPCHAN_CONFIG, struSource) == 19028, "stream-source entries");

static_assert(sizeof(NET_DVR_COMPRESS_BLOCK) == 28, "compression block");
static_assert(offsetof(NET_DVR_COMPRESS_BLOCK, byResolution) == 1, "resolution code");
static_assert(offsetof(NET_DVR_COMPRESS_BLOCK, byPicQuality) == 3, "picture quality");
static_assert(offsetof(NET_DVR_COMPRESS_BLOCK, dwVideoBitrate) == 4, "bitrate code");
static_assert(offsetof(NET_DVR_COMPRESS_BLOCK, dwFrameRate) == 8, "frame-rate code");
static_assert(offsetof(NET_DVR_COMPRESS_BLOCK, wWidth) == 14, "picture width");
static_assert(offsetof(NET_DVR_COMPRESS_BLOCK, byVideoEncType) == 18, "video encoding");

static_assert(sizeof(NET_DVR_COMPRESS_CONFIG) == 116, "compression configuration");
static_assert(offsetof(NET_DVR_COMPRESS_CONFIG, struRecord) == 4, "first parameter block");

static_assert(sizeof(NET_DVR_DEVICE_CONFIG) == 180, "device configuration");
static_assert(sizeof(NET_DVR_DEVICE_IDENTITY) == 260, "device identity");
static_assert(offsetof(NET_DVR_DEVICE_CONFIG, byDeviceType) == 123, "device type code");
#endif
