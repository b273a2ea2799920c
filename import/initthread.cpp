#include "import/initthread.h"

#include "platform/dvrbackend.h"

#include <QDebug>

#include <chrono>

CInitThread::CInitThread(QObject *parent) : QThread(parent)
{
}

CInitThread::~CInitThread()
{
    RequestStop();
    WaitForEnd();
}

void CInitThread::WaitForEnd()
{
    wait();
    m_bRunEnded.load(std::memory_order_acquire);
}

bool CInitThread::SetDevices(const QVector<STRU_DEVICE> &devices)
{
    if (IsWorkRequested())
        return false;
    m_vecDevice = devices;
    // Our own array: the pass writes into its entries.
    m_vecDevice.detach();
    m_cWorkRequested.store(1, std::memory_order_release);
    return true;
}

void CInitThread::RequestStop()
{
    {
        std::lock_guard<std::mutex> lock(m_sleepMutex);
        m_bStop.store(true, std::memory_order_release);
    }
    m_sleep.notify_all();
}

void CInitThread::run()
{
    qDebug("[ktag] InitThread begin");
    while (!StopRequested()) {
        {
            std::unique_lock<std::mutex> lock(m_sleepMutex);
            m_sleep.wait_for(lock, std::chrono::milliseconds(kSleepMs), [this] { return StopRequested(); });
        }
        if (StopRequested() || !IsWorkRequested())
            continue;
        for (int i = 0; i < m_vecDevice.size() && !StopRequested(); ++i) {
            STRU_DEVICE &device = m_vecDevice[i];
            if (device.bLoginAttempted)
                continue;
            qDebug("[ktag] Login Thread Device IP: %s", device.strIP.constData());
            bool succeeded;
            {
                const CDvrCallLimit limit(kDeviceBudgetMs, &m_bStop);
                succeeded = device.Login();
            }
            if (StopRequested()) {
                device.Logout();
                break; // abandoned: its result would be the stop's, not the device's
            }
            qDebug("[ktag] InitThread Send Signal, %s", succeeded ? "login succeed" : "login failed");
            if (succeeded) {
                m_identities.Put(device.strSerialNo, device.identity);
                emit SignalIdentity(device.strSerialNo);
            }
            emit SignalSendLogin(i, succeeded);
            emit SignalLoginResult(device.strSerialNo, succeeded, static_cast<int>(device.eFailure));
            device.Logout();
        }
        m_cWorkRequested.store(0, std::memory_order_release);
    }
    m_bRunEnded.store(true, std::memory_order_release);
}
