#include "import/loginthread.h"

#include "platform/dvrbackend.h"

#include <QDebug>

namespace {
// The log tells nothing of the password, not even whether there is one.
const char *MaskedPassword(const QString &)
{
    return "******";
}
} // namespace

CLoginThread::CLoginThread(QObject *parent) : QThread(parent)
{
}

CLoginThread::~CLoginThread()
{
    RequestStop();
    WaitForEnd();
}

void CLoginThread::WaitForEnd()
{
    wait();
    m_bRunEnded.load(std::memory_order_acquire);
}

void CLoginThread::SetLoginInfo(const QVector<STRU_DEVICE> &devices, const QString &userName, const QString &password)
{
    m_vecDevice = devices;
    // Our own array: the run writes into its entries (see CInitThread::SetDevices).
    m_vecDevice.detach();
    m_strUserName = userName;
    m_strPassword = password;
}

void CLoginThread::run()
{
    qDebug("[ktag] Login Thread begin");
    for (int i = 0; i < m_vecDevice.size() && !m_bStop.load(std::memory_order_acquire); ++i) {
        STRU_DEVICE &device = m_vecDevice[i];
        if (!device.bLoginRequested)
            continue;
        device.strUserName = m_strUserName.toLocal8Bit();
        device.strPassword = m_strPassword.toLocal8Bit();
        qDebug("[ktag] Login Thread User: %s", m_strUserName.toLatin1().constData());
        qDebug("[ktag] Login Thread Pwd: %s", MaskedPassword(m_strPassword));
        qDebug("[ktag] Login Thread Device IP: %s", device.strIP.constData());
        // This login is the user's confirmation of where the device is now.
        device.bMoveUnconfirmed = false;
        bool succeeded;
        {
            const CDvrCallLimit limit(kDeviceBudgetMs, &m_bStop);
            succeeded = device.Login();
        }
        if (m_bStop.load(std::memory_order_acquire)) {
            device.Logout();
            break; // abandoned: its result would be the stop's, not the device's
        }
        qDebug("[ktag] Login Thread Send Signal, %s", succeeded ? "Login succeed" : "login failed");
        if (succeeded) {
            m_identities.Put(device.strSerialNo, device.identity);
            emit SignalIdentity(device.strSerialNo);
        }
        emit SignalSendLogin(i, succeeded);
        emit SignalLoginResult(device.strSerialNo, succeeded, static_cast<int>(device.eFailure));
        device.Logout();
    }
    emit SignalLogover();
    m_bRunEnded.store(true, std::memory_order_release);
}
