// The manual login: logs in to the devices the user selected in the online device dialog with
// the user name and password typed into the login dialog, one device after the other.
//
// Works on its own copy of the dialog's device list (the devices with the login-requested
// flag); each result goes back as a queued signal, and SignalLogover() ends every run.
#pragma once

#include "import/device.h"

#include <QString>
#include <QThread>
#include <QVector>

#include <atomic>

class CLoginThread : public QThread
{
    Q_OBJECT

public:
    explicit CLoginThread(QObject *parent = nullptr);
    // Requests the stop and waits (see RequestStop).
    ~CLoginThread() override;

    // QThread::wait(), and then everything the run did is visible to the caller.
    void WaitForEnd();

    // GUI thread, while the thread is not running: the device list and the credentials, copied.
    void SetLoginInfo(const QVector<STRU_DEVICE> &devices, const QString &userName, const QString &password);
    // Any thread: no further device is tried, and a login in progress gives up within a moment
    // (its result is dropped).
    void RequestStop() { m_bStop.store(true, std::memory_order_release); }

    // GUI thread, on SignalIdentity: the identity the login found.
    DEVICE_IDENTITY TakeIdentity(const QByteArray &serial) { return m_identities.Take(serial); }

signals:
    void SignalSendLogin(int index, bool succeeded);
    // The same result with the serial number of the device it belongs to and, for a failure,
    // its reason (a DeviceFailure).
    void SignalLoginResult(const QByteArray &serial, bool succeeded, int failure);
    // Before the result of a successful login: what the device says it is waits in TakeIdentity.
    void SignalIdentity(const QByteArray &serial);
    void SignalLogover();

protected:
    void run() override;

private:
    CIdentityBox m_identities;
    QVector<STRU_DEVICE> m_vecDevice;
    QString m_strUserName;
    QString m_strPassword;
    std::atomic<bool> m_bStop{false};
    // Set last by run(): QThread::wait() synchronises through Qt's own locks, which the thread
    // sanitizer cannot see, so the end of a run is published here as well.
    std::atomic<bool> m_bRunEnded{false};
};
