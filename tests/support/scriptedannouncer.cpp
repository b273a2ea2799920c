#include "tests/support/scriptedannouncer.h"

#include <algorithm>
#include <cstring>

namespace {
template <size_t N>
void CopyText(char (&field)[N], const QByteArray &text)
{
    const size_t length = std::min(N - 1, static_cast<size_t>(text.size()));
    std::memcpy(field, text.constData(), length);
    field[length] = '\0';
}
} // namespace

void CScriptedAnnouncer::Schedule(const SCRIPTED_ANNOUNCEMENT &announcement)
{
    Schedule(QVector<SCRIPTED_ANNOUNCEMENT>{announcement});
}

void CScriptedAnnouncer::Schedule(const QVector<SCRIPTED_ANNOUNCEMENT> &announcements)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Clock::time_point now = Clock::now();
    for (const SCRIPTED_ANNOUNCEMENT &announcement : announcements)
        m_queue.push_back({announcement, now});
    if (m_pSession)
        m_pSession->Wake();
}

void CScriptedAnnouncer::Appear(const QByteArray &serial, const QByteArray &address, int port,
                                const QByteArray &version, int delayMs)
{
    Schedule({VIGIL_EVENT_APPEARED, serial, address, port, version, delayMs});
}

void CScriptedAnnouncer::Change(const QByteArray &serial, const QByteArray &address, int port,
                                const QByteArray &version, int delayMs)
{
    Schedule({VIGIL_EVENT_CHANGED, serial, address, port, version, delayMs});
}

void CScriptedAnnouncer::Vanish(const QByteArray &serial, int delayMs)
{
    Schedule({VIGIL_EVENT_VANISHED, serial, QByteArray(), 0, QByteArray(), delayMs});
}

int CScriptedAnnouncer::Queued() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_queue.size());
}

VIGIL_DEVICE_INFO CScriptedAnnouncer::Record(const SCRIPTED_ANNOUNCEMENT &announcement)
{
    VIGIL_DEVICE_INFO info;
    std::memset(&info, 0, sizeof(info));
    info.dwSize = sizeof(info);
    CopyText(info.sSerialNumber, announcement.strSerialNo);
    CopyText(info.sIPv4Address, announcement.strAddress);
    CopyText(info.sIPv4SubnetMask, "255.255.255.0");
    CopyText(info.sMAC, "00:11:22:33:44:55");
    info.iPort = announcement.iPort;
    CopyText(info.sSoftwareVersion, announcement.strVersion);
    CopyText(info.sDSPVersion, "DSP V1.0");
    info.iEvent = announcement.iEvent;
    return info;
}

void CScriptedAnnouncer::Run(CVigilSession &session)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_pSession = &session;
    m_lastDelivery = Clock::now();
    while (!session.StopRequested()) {
        if (m_queue.empty()) {
            lock.unlock();
            session.WaitFor(-1);
            lock.lock();
            continue;
        }
        const ENTRY &next = m_queue.front();
        const Clock::time_point due =
            std::max(m_lastDelivery, next.queuedAt) + std::chrono::milliseconds(next.announcement.iDelayMs);
        const Clock::time_point now = Clock::now();
        if (now < due) {
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count() + 1;
            lock.unlock();
            session.WaitFor(static_cast<int>(wait));
            lock.lock();
            continue;
        }
        const VIGIL_DEVICE_INFO info = Record(next.announcement);
        m_queue.pop_front();
        lock.unlock();
        const bool delivered = session.Announce(info);
        lock.lock();
        if (delivered)
            m_iDelivered.fetch_add(1);
        m_lastDelivery = Clock::now();
    }
    if (m_pSession == &session)
        m_pSession = nullptr;
}
