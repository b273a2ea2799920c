// Where each camera's live stream is: the camera's device is logged in to with the credentials it
// was imported with, asked for the channel's stream address (ONVIF GetStreamUri) and logged out.
// The credentials travel beside the address, never in it, and nothing here logs them.
#pragma once

#include "measure/streamreader.h"

#include <QByteArray>
#include <QHash>
#include <QVector>

#include <atomic>

// A device login as an import used it, kept for the run of the program (never in a plan file).
struct DEVICE_LOGIN
{
    QByteArray strUser;
    QByteArray strPassword;
};
// Logins by device, keyed by LoginKey().
using DeviceLogins = QHash<QString, DEVICE_LOGIN>;
QString LoginKey(const QByteArray &address, int port);

struct STREAM_TARGET
{
    QByteArray strIP;
    int iPort = -1;
    int iChannel = -1;
};

enum class LocateState { Found, NoLogin, LoginFailed, CredentialsRefused, NoStream, Cancelled };

struct LOCATED_STREAM
{
    LocateState state = LocateState::NoStream;
    STREAM_SOURCE source; // when Found
};

namespace StreamLocator {
// Time one device may take to log in and tell its address.
constexpr int kBudgetMs = 20000;

// Blocks; devices are asked at the same time, each within kBudgetMs. Targets without a login
// are NoLogin; once *cancel is set the rest end as Cancelled within moments.
QVector<LOCATED_STREAM> Locate(const QVector<STREAM_TARGET> &targets, const DeviceLogins &logins,
                               const std::atomic<bool> *cancel);
} // namespace StreamLocator
