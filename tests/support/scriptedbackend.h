// A device SDK backend whose devices are described in code or JSON, for tests and benchmarks.
//
// Each device has an address, port and credentials, analogue channels from a first channel
// number on, IP-device entries, stream-source entries and the compression settings of its IP
// channels, a device type code, reads that fail on purpose and a latency that every call to it
// waits (outside the lock, as a network call would). It also counts what was asked of it.
//
// JSON form (every key optional except "address"):
//   { "latencyMs": 0,
//     "devices": [ { "address": "10.0.0.5", "port": 8000, "user": "admin", "password": "50817",
//                    "deviceTypeCode": 0, "latencyMs": 10, "firstAnalogChannel": 1,
//                    "analogChannels": [ { "resolution": 3, "frameRate": 0, "bitrate": 23,
//                                          "quality": 0, "readFails": false } ],
//                    "firstIpChannel": 33, "ipChannels": [ ...same as analogChannels... ],
//                    "ipDevices": [ true, false ],
//                    "streamSources": [ { "kind": 0, "device": 1 }, { "kind": 2, "enabled": true } ],
//                    "failIpChannelConfig": false, "failDeviceConfig": false } ] }
// Without "streamSources", every IP channel gets one enabled kind-2 source.
#pragma once

#include "platform/dvrbackend.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

#include <atomic>
#include <mutex>

struct SCRIPTED_CHANNEL
{
    int iResolutionCode = 1;    // 1 = CIF
    int iFrameRateCode = 0;     // full rate
    uint32_t uBitrateCode = 19; // 1024 kbit/s
    int iQuality = 0;
    bool bReadFails = false;
};

struct SCRIPTED_SOURCE
{
    int iKind = NET_DVR_SOURCE_URL;
    int iIPDevice = 0;    // kind 0: IP-device number, 1..64 when valid
    bool bEnabled = true; // kinds 1 and 2
};

struct SCRIPTED_DEVICE
{
    QByteArray strAddress;
    int iPort = 8000;
    QByteArray strUserName = "admin";
    QByteArray strPassword = "50817";
    int iDeviceTypeCode = 0;
    int iLatencyMs = -1; // -1: the backend's default
    int iFirstAnalogChannel = 1;
    QVector<SCRIPTED_CHANNEL> analogChannels;
    uint32_t uStartIPChanField = 33;      // the raw 32-bit field; the channel is its low 16 bits, signed
    QVector<SCRIPTED_CHANNEL> ipChannels; // channels first IP channel, first + 1, ...
    QVector<bool> ipDevices;              // byte 0 of the IP-device entries, at most 64
    QVector<SCRIPTED_SOURCE> sources;     // stream-source entries, at most 64
    bool bIPChanConfigFails = false;
    bool bDeviceConfigFails = false;
    QByteArray certificate; // SHA-256 of the HTTPS certificate it shows, checked against the pins; empty: none
    QByteArray strModel;    // what the device says it is (maker "Scripted"); empty: it does not say

    // Appends an IP channel and one enabled kind-2 source for it.
    void AddConnectedIPChannel(const SCRIPTED_CHANNEL &channel);
    int FirstIPChannel() const { return static_cast<int16_t>(uStartIPChanField & 0xFFFF); }
};

class CScriptedBackend : public CDvrBackend
{
public:
    explicit CScriptedBackend(int defaultLatencyMs = 0);

    void AddDevice(const SCRIPTED_DEVICE &device);
    // Adds the devices of a JSON description; on error nothing is added and *error says why.
    bool LoadJson(const QByteArray &json, QString *error = nullptr);

    // What was asked of the backend.
    int LoginAttempts(const QByteArray &address, int port) const;
    int OpenSessions() const;
    int CallsInFlight() const { return m_iCallsInFlight.load(); }
    int PeakConcurrentCalls() const { return m_iPeakCalls.load(); }
    int TotalCalls() const { return m_iTotalCalls.load(); }
    void ResetStatistics();

    int Login(const char *address, uint16_t port, const char *userName, const char *password,
              NET_DVR_LOGIN_ANSWER *answer, uint32_t *error) override;
    bool GetConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                   uint32_t *error) override;
    bool Logout(int userID, uint32_t *error) override;

    static constexpr int kMaxSessions = 4096;

private:
    class CCallScope;
    int DeviceIndex(const QByteArray &address, int port) const; // under m_mutex
    int LatencyOfDevice(int index) const;                       // under m_mutex
    int LatencyOfSession(int userID) const;                     // takes m_mutex
    bool Wait(int latencyMs) const;                             // false when the caller's limit ended it
    static void FillIPChannels(const SCRIPTED_DEVICE &device, NET_DVR_IPCHAN_CONFIG *config);
    static const SCRIPTED_CHANNEL *FindChannel(const SCRIPTED_DEVICE &device, int channel);

    mutable std::mutex m_mutex;
    const int m_iDefaultLatencyMs;
    QVector<SCRIPTED_DEVICE> m_devices;
    QHash<int, int> m_sessions;             // user ID -> device index
    QHash<QByteArray, int> m_loginAttempts; // "address:port" -> count

    std::atomic<int> m_iCallsInFlight{0};
    std::atomic<int> m_iPeakCalls{0};
    std::atomic<int> m_iTotalCalls{0};
};
