// import/: device access, discovery, the online device and login dialogs, the SQLite layer and
// the client database dialog.
//
// The device layer (this library, QtCore only) turns network devices into camera rows:
//   STRU_DEVICE      one device and its four operations on the device SDK (platform/netdvr.h);
//   DeviceCodes      the device's resolution, frame-rate, bitrate and quality codes in the camera
//                    vocabulary, and the camera built from one channel's compression block;
//   CDeviceSurvey    the channel survey both import dialogs run over their selected rows;
//   CDeviceImporter  the import run: surveyed devices to STRU_CAMERA rows.
// Survey and import work on several devices at once and give the same result, in the same
// order, as one device after the other.
#pragma once

#include "platform/netdvr.h"

#include <QByteArray>
#include <QHash>
#include <QMetaType>
#include <QString>

#include <mutex>

// Why a device could not be logged in, kept beside the row's status text (which stays as it is).
enum class DeviceFailure {
    None,
    Unreachable,        // nothing answers at the address and port
    TimedOut,           // no answer in time, or the device's time budget ran out
    Refused,            // the device refused the user name or password
    NotOnvif,           // something answers there, but not as an ONVIF device
    BadAnswer,          // the device answered with something that cannot be used
    MoveUnconfirmed,    // the device moved to another address: no credentials go there unconfirmed
    CertificateChanged, // the device shows another HTTPS certificate than before: not trusted unaccepted
};
// The reason behind a device SDK error code.
DeviceFailure DeviceFailureOfError(uint32_t error);
// The user's words for a reason (translated); empty for None.
QString DeviceFailureText(DeviceFailure failure);

// What a device says it is after a login (UTF-8; empty where it does not say).
struct DEVICE_IDENTITY
{
    QByteArray strMaker;
    QByteArray strModel;
    QByteArray strFirmware;
    QByteArray strSerial;

    bool IsEmpty() const
    {
        return strMaker.isEmpty() && strModel.isEmpty() && strFirmware.isEmpty() && strSerial.isEmpty();
    }
    // "Maker: ...", one line per known field (translated); empty when nothing is known.
    QString Text() const;
};
Q_DECLARE_METATYPE(DEVICE_IDENTITY)

// Identities a login thread hands to the GUI thread, by serial number. They go through a standard
// mutex rather than as a queued signal's argument: Qt copies such an argument through its event
// queue, a hand-over the thread sanitizer cannot see (Debian's Qt is not built for it).
class CIdentityBox
{
public:
    void Put(const QByteArray &serial, const DEVICE_IDENTITY &identity);
    // The identity put for serial, removed from the box; empty when none is there.
    DEVICE_IDENTITY Take(const QByteArray &serial);

private:
    std::mutex m_mutex;
    QHash<QByteArray, DEVICE_IDENTITY> m_identities;
};

// Time one device's work may take as a whole: a login plus its survey, or a login plus its import.
constexpr int kDeviceBudgetMs = 60000;

struct STRU_DEVICE
{
    int iUserID = -1;         // SDK login handle; -1 when logged out
    int iChannelCount = -1;   // analogue channels; -1 until the first successful login
    int iIPChannelCount = 0;  // connected IP channels
    int iStartChannel = 0;    // number of the first analogue channel
    int iStartIPChannel = 0;  // number of the first IP channel
    QByteArray strDeviceName; // from the client database; empty for discovered devices
    QByteArray strUserName;
    QByteArray strPassword;
    QByteArray strIP; // dotted IPv4 text
    int iPort = -1;
    QByteArray strVersion; // display only
    QByteArray strSerialNo;
    bool bLoginRequested = false;
    bool bLoginAttempted = false;
    int iImportStatus = 0;                        // kImportLoginFailed after a survey that could not log in
    DeviceFailure eFailure = DeviceFailure::None; // of the last Login()
    // Set when discovery saw the device move to another address while it held credentials the
    // user typed: they go to the new address only once the user confirms (a manual login).
    bool bMoveUnconfirmed = false;
    DEVICE_IDENTITY identity; // of the last successful Login()

    static constexpr int kImportOk = 0;
    static constexpr int kImportLoginFailed = 1;

    // Logs in (logging out a held handle first) and reads the channel layout. False when the
    // device refused the login, with eFailure saying why. A device whose move is unconfirmed is
    // not asked at all.
    bool Login();
    // Always true; nothing happens when not logged in.
    bool Logout();
    // Compression settings of channel number index + 1.
    bool GetCompressInfo(int index, NET_DVR_COMPRESS_BLOCK *block) const;
    // 0 = the query failed, 2 = IP camera, 1 = any other device.
    int GetDeviceKind() const;

    enum DeviceKind { KindUnknown = 0, KindRecorder = 1, KindIPCamera = 2 };
};
Q_DECLARE_METATYPE(STRU_DEVICE)

// Connected IP channels among the stream-source entries of an IP-channel configuration.
int CountConnectedIPChannels(const NET_DVR_IPCHAN_CONFIG &config);
