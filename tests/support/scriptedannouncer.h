// A discovery backend that announces devices on a schedule, for tests and benchmarks.
//
// Announcements are queued with Appear/Change/Vanish/Schedule, before or while discovery runs,
// and delivered in queue order, each after its delay: counted from the previous delivery or from
// when it was queued, whichever is later. Install it with Vigil_SetBackend before the dialog
// starts discovery.
#pragma once

#include "platform/vigilbackend.h"

#include <QByteArray>
#include <QVector>

#include <chrono>
#include <deque>

struct SCRIPTED_ANNOUNCEMENT
{
    int iEvent = VIGIL_EVENT_APPEARED;
    QByteArray strSerialNo;
    QByteArray strAddress;
    int iPort = 8000;
    QByteArray strVersion = "V1.0";
    int iDelayMs = 0;
};

class CScriptedAnnouncer : public CVigilBackend
{
public:
    void Schedule(const SCRIPTED_ANNOUNCEMENT &announcement);
    void Schedule(const QVector<SCRIPTED_ANNOUNCEMENT> &announcements);
    void Appear(const QByteArray &serial, const QByteArray &address, int port = 8000,
                const QByteArray &version = "V1.0", int delayMs = 0);
    void Change(const QByteArray &serial, const QByteArray &address, int port = 8000,
                const QByteArray &version = "V1.0", int delayMs = 0);
    void Vanish(const QByteArray &serial, int delayMs = 0);

    // Announcements handed to the callback so far, and those still queued.
    int Delivered() const { return m_iDelivered.load(); }
    int Queued() const;

    // The record as the library delivers it.
    static VIGIL_DEVICE_INFO Record(const SCRIPTED_ANNOUNCEMENT &announcement);

    void Run(CVigilSession &session) override;

private:
    using Clock = std::chrono::steady_clock;
    struct ENTRY
    {
        SCRIPTED_ANNOUNCEMENT announcement;
        Clock::time_point queuedAt;
    };

    mutable std::mutex m_mutex; // guards the three below
    std::deque<ENTRY> m_queue;
    CVigilSession *m_pSession = nullptr; // while Run runs
    Clock::time_point m_lastDelivery;
    std::atomic<int> m_iDelivered{0};
};
