// The initial login: once per discovered device, with the credentials discovery gave it, so the
// online device dialog can show which devices answer ("Online") and which refuse ("Login
// failed") before the user does anything.
//
// The dialog's timer hands a copy of its device list over once a second, but only while no pass
// is requested (IsWorkRequested() false); the thread clears the request after its pass. So the
// thread never works on a copy that is being replaced. Results go back as queued signals; the
// dialog ties each to its device by the serial number (the index refers to the thread's copy,
// which may no longer match the dialog's list by the time the result arrives).
#pragma once

#include "import/device.h"

#include <QThread>
#include <QVector>

#include <atomic>
#include <condition_variable>
#include <mutex>

class CInitThread : public QThread
{
    Q_OBJECT

public:
    explicit CInitThread(QObject *parent = nullptr);
    // Requests the stop and waits (see RequestStop).
    ~CInitThread() override;

    // QThread::wait(), and then everything the run did is visible to the caller.
    void WaitForEnd();

    // GUI thread: hands over a copy of the device list and requests a pass; false, with nothing
    // changed, while a pass is still requested.
    bool SetDevices(const QVector<STRU_DEVICE> &devices);
    bool IsWorkRequested() const { return m_cWorkRequested.load(std::memory_order_acquire) != 0; }
    // Any thread: ends the loop. A login in progress gives up within a moment; its result is
    // dropped.
    void RequestStop();

    static constexpr int kSleepMs = 1000;

    // GUI thread, on SignalIdentity: the identity the login found.
    DEVICE_IDENTITY TakeIdentity(const QByteArray &serial) { return m_identities.Take(serial); }

signals:
    void SignalSendLogin(int index, bool succeeded);
    // The same result with the serial number of the device it belongs to and, for a failure,
    // its reason (a DeviceFailure).
    void SignalLoginResult(const QByteArray &serial, bool succeeded, int failure);
    // Before the result of a successful login: what the device says it is waits in TakeIdentity.
    void SignalIdentity(const QByteArray &serial);

protected:
    void run() override;

private:
    CIdentityBox m_identities;
    bool StopRequested() const { return m_bStop.load(std::memory_order_acquire); }

    QVector<STRU_DEVICE> m_vecDevice; // the GUI thread's while the flag is 0, ours while 1
    std::atomic<char> m_cWorkRequested{0};
    std::atomic<bool> m_bStop{false};
    // Set last by run(): QThread::wait() synchronises through Qt's own locks, which the thread
    // sanitizer cannot see, so the end of a run is published here as well.
    std::atomic<bool> m_bRunEnded{false};
    std::mutex m_sleepMutex;
    std::condition_variable m_sleep;
};
