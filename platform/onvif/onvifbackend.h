// ONVIF device access: the network backend of the device SDK for any maker's cameras and
// recorders that speak ONVIF.
//
//   onvifxml     a small read-only element tree over QXmlStreamReader; elements are found by
//                namespace URI and local name, never by prefix, and a device's answer is bounded
//                in depth, size, attributes (XmlGuard) and parsing time before any of it is used;
//   onvifauth    WS-Security UsernameToken (PasswordDigest) and HTTP Digest (MD5, SHA-256);
//   onvifhttp    one blocking HTTP POST on the caller's thread, with a connect timeout, a total
//                deadline (host name lookup and parsing included) and a cap on the answer's size;
//   onvifconnection a session's kept HTTP/1.1 connections, handed from thread to thread, over TLS
//                where the device speaks it, its certificate pinned on first use;
//   onvifsoap    one SOAP call: envelope, credentials, retry on a Digest challenge, faults; and
//                calls that wait on no other, all at once;
//   onvifreplies what the answers say, as plain values: services, clock, role, profiles as channels;
//   onvifcodes   encoder settings in the device SDK's resolution, frame-rate, bitrate and
//                quality codes;
//   onvifbackend COnvifBackend (this file), the CDvrBackend that logs in over ONVIF and fills the
//                SDK's records.
//
// Login reads everything the SDK's records need in three rounds of requests that do not wait on
// each other: the clock without credentials (WS-Security timestamps are checked against it); then
// at once the services (GetServices, else GetCapabilities), the identity (the credential check) and
// the type scopes; then at once the media profiles with their encoders (Media2 GetProfiles of all
// types where offered, Media only where it is not) and the encoders' options, asked once for all
// of them. Only encoders that answer leaves out get their own options request, all in one more
// round. A camera's video sources become its analogue channels and it reports an IP camera's device
// type code; a recorder (type scope, else a recording service) reports its video sources as
// connected IP channels. Reading channel n's compression settings asks the device nothing.
//
// A session that read channels and ends well is kept for a minute: a login to the same address
// with the same credentials takes it up again without a request, so the import of a device
// surveyed seconds ago reuses what the survey learnt, and an older survey is redone. A login that
// read no channel (the dialogs' "Online" checks) is not kept: the next login asks the device.
//
// A session keeps its connections to the device from login to logout (COnvifLink), one for each
// request of its widest round. Every call runs on the caller's thread (a round's other requests on
// helper threads under the caller's limit) and waits on the network with deadlines; the sessions live in maps whose
// mutex is never held while waiting. A session whose device stopped answering fails its reads at once.
#pragma once

#include "platform/dvrbackend.h"
#include "platform/onvif/onvifreplies.h"

#include <QHash>

#include <chrono>
#include <mutex>

class COnvifBackend : public CDvrBackend
{
public:
    // reuseMs: how long a session's knowledge of a device is taken up again by a new login.
    explicit COnvifBackend(const ONVIF_LIMITS &limits = ONVIF_LIMITS(), int reuseMs = kReuseMs);
    ~COnvifBackend() override;

    int Login(const char *address, uint16_t port, const char *userName, const char *password,
              NET_DVR_LOGIN_ANSWER *answer, uint32_t *error) override;
    bool GetConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                   uint32_t *error) override;
    bool Logout(int userID, uint32_t *error) override;

    // The RTSP address of channel's stream (its first profile): Media2 GetStreamUri, else Media's.
    // The address is the one the device tells, on the host the user logged in to; it carries no
    // credentials. False with *error (NET_DVR_*) when the device tells none.
    bool GetStreamUri(int userID, int channel, QString *uri, uint32_t *error);

    int OpenSessions() const;

    static constexpr int kMaxSessions = 4096;
    static constexpr int kReuseMs = 60000;
    // Requests of one session's round at once: its answers held together stay within this many size caps.
    static constexpr int kMaxCallsAtOnce = COnvifLink::kMaxConnections;
    static constexpr uint8_t kCameraTypeCode = 40;  // read as "IP camera" by the device layer
    static constexpr uint8_t kRecorderTypeCode = 1; // any code outside the IP camera codes
    static constexpr int kFirstChannel = 1;         // of analogue channels, and of a recorder's IP channels
    static constexpr int kMaxAnalogChannels = 255;
    static constexpr int kMaxIPChannels = NET_DVR_MAX_STREAM_SOURCES;
    static constexpr char kDevicePath[] = "/onvif/device_service";

private:
    struct SESSION
    {
        QString strHost;
        quint16 uPort = 0;
        QString strKey;                   // address, port and credentials: what a later login must match to take it up
        std::shared_ptr<COnvifLink> link; // the device's kept connections, shared with running calls
        ONVIF_AUTH_STATE auth;
        ONVIF_SERVICES services;
        bool bRecorder = false;
        // What reading the encoders' settings ran into: a device that stopped answering.
        ONVIF_RESULT::Outcome eReadFailure = ONVIF_RESULT::Ok;
        bool bSurveyed = false; // a channel's settings were read
        QByteArray strSerialNumber;
        QByteArray strModel;
        QByteArray strManufacturer;
        QByteArray strFirmware;
        QVector<ONVIF_CHANNEL> channels;
        QVector<ONVIF_RANGE> ranges; // quality range of each channel's encoder
        std::chrono::steady_clock::time_point learnt;
    };

    uint32_t ReadDevice(SESSION *session) const;
    uint32_t ReadIdentity(SESSION *session, const QVector<ONVIF_RESULT> &round) const;
    bool ReadProfiles(SESSION *session, ONVIF_RESULT::Outcome *failure) const;
    void ReadRanges(SESSION *session, const char *ns, const ONVIF_ENDPOINT &media, const ONVIF_RESULT &general) const;
    QVector<ONVIF_RESULT> CallAll(SESSION *session, const QVector<ONVIF_REQUEST> &requests) const;
    bool TakeRecent(const QString &key, SESSION *session);
    bool ReadCompression(int userID, int channel, NET_DVR_COMPRESS_CONFIG *config, uint32_t *error);
    void FillIPChannels(const SESSION &session, NET_DVR_IPCHAN_CONFIG *config) const;
    static void FillDevice(const SESSION &session, NET_DVR_DEVICE_CONFIG *config);

    const ONVIF_LIMITS m_limits;
    const int m_iReuseMs;
    mutable std::mutex m_mutex;
    QHash<int, SESSION> m_sessions;
    QHash<QString, SESSION> m_recent; // ended sessions by key, taken up by a login within m_iReuseMs
    int m_iNextUserID = 0;
};
