// ONVIF device access: the network backend of the device SDK for any maker's cameras and
// recorders that speak ONVIF.
//
//   onvifxml     a small read-only element tree over QXmlStreamReader; elements are found by
//                namespace URI and local name, never by prefix, and a device's answer is bounded
//                in depth, size, attributes (XmlGuard) and parsing time before any of it is used;
//   onvifauth    WS-Security UsernameToken (PasswordDigest) and HTTP Digest (MD5, SHA-256);
//   onvifhttp    one blocking HTTP POST on the caller's thread, with a connect timeout, a total
//                deadline (host name lookup and parsing included) and a cap on the answer's size;
//   onvifconnection a session's kept HTTP/1.1 connections, handed from thread to thread;
//   onvifsoap    one SOAP call: envelope, credentials, retry on a Digest challenge, faults;
//   onvifreplies what the answers say, as plain values: services, clock, role, profiles as channels;
//   onvifcodes   encoder settings in the device SDK's resolution, frame-rate, bitrate and
//                quality codes;
//   onvifbackend COnvifBackend (this file), the CDvrBackend that logs in over ONVIF and fills the
//                SDK's records.
//
// Login asks the device's clock without credentials (WS-Security timestamps are checked against
// it), its services (GetServices, else GetCapabilities), its identity with credentials (the
// credential check), its type scopes and its media profiles (Media2 where offered, else Media).
// A camera's video sources become its analogue channels and it reports an IP camera's device
// type code; a recorder (type scope, else a recording service) reports its video sources as
// connected IP channels. Reading channel n's compression settings reads the encoder of that
// source's first profile and the quality range of its options.
//
// A session keeps its connections to the device from login to logout (COnvifLink). Every call
// runs on the caller's thread and waits on the network with deadlines; the sessions
// live in a map whose mutex is never held while waiting. A session whose device stopped
// answering fails its further reads at once instead of waiting out every timeout again.
#pragma once

#include "platform/dvrbackend.h"
#include "platform/onvif/onvifreplies.h"

#include <QHash>

#include <mutex>

class COnvifBackend : public CDvrBackend
{
public:
    explicit COnvifBackend(const ONVIF_LIMITS &limits = ONVIF_LIMITS());
    ~COnvifBackend() override;

    int Login(const char *address, uint16_t port, const char *userName, const char *password,
              NET_DVR_LOGIN_ANSWER *answer, uint32_t *error) override;
    bool GetConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                   uint32_t *error) override;
    bool Logout(int userID, uint32_t *error) override;

    int OpenSessions() const;

    // The RTSP address of channel's stream (its first profile): Media2 GetStreamUri, else Media's.
    // The address is the one the device tells, on the host the user logged in to; it carries no
    // credentials. False with *error (NET_DVR_*) when the device tells none.
    bool GetStreamUri(int userID, int channel, QString *uri, uint32_t *error);

    static constexpr int kMaxSessions = 4096;
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
        std::shared_ptr<COnvifLink> link; // the device's kept connections, shared with running calls
        ONVIF_AUTH_STATE auth;
        ONVIF_SERVICES services;
        bool bMedia2 = false; // the channels came from Media2
        bool bRecorder = false;
        bool bUnreachable = false;
        QByteArray strSerialNumber;
        QByteArray strModel;
        QVector<ONVIF_CHANNEL> channels;
        QHash<QString, ONVIF_RANGE> qualityRanges; // by encoder token and encoding
    };

    bool ReadProfiles(SESSION *session, ONVIF_RESULT::Outcome *failure) const;
    bool ReadCompression(int userID, int channel, NET_DVR_COMPRESS_CONFIG *config, uint32_t *error);
    void FillIPChannels(const SESSION &session, NET_DVR_IPCHAN_CONFIG *config) const;
    static void FillDevice(const SESSION &session, NET_DVR_DEVICE_CONFIG *config);

    const ONVIF_LIMITS m_limits;
    mutable std::mutex m_mutex;
    QHash<int, SESSION> m_sessions;
    int m_iNextUserID = 0;
};
