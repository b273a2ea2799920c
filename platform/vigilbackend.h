// The objects behind the discovery library's C interface.
//
// VIGIL_Start_V20 runs the installed backend's Run() on the library's thread with a session
// that carries the caller's callback. The backend announces through the session and waits only
// through it, so that VIGIL_Stop can end the run at once: every wait returns early and every
// announcement is refused once stop is requested. When Run() returns before that, the thread
// stays idle until the stop.
#pragma once

#include "platform/vigil.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class CVigilSession
{
public:
    CVigilSession(VIGIL_CALLBACK callback, void *userData, VIGIL_KEEP_CALLBACK keep = nullptr);
    CVigilSession(const CVigilSession &) = delete;
    CVigilSession &operator=(const CVigilSession &) = delete;

    // Hands the announcement to the callback and returns true; once stop is requested it
    // delivers nothing and returns false.
    bool Announce(const VIGIL_DEVICE_INFO &info);
    // Whether the caller still needs the device of this serial number (see VIGIL_KEEP_CALLBACK).
    bool Keeps(const char *serialNumber) const;
    // Waits until the time has passed (forever for a negative time), Wake() is called or stop is
    // requested; false once stop is requested.
    bool WaitFor(int milliseconds);
    // Any thread: ends the current or next wait early (the backend has something to announce).
    void Wake();
    bool StopRequested() const { return m_bStop.load(std::memory_order_acquire); }
    void RequestStop();

private:
    const VIGIL_CALLBACK m_callback;
    void *const m_pUserData;
    const VIGIL_KEEP_CALLBACK m_keep;
    std::atomic<bool> m_bStop{false};
    std::mutex m_mutex;
    std::condition_variable m_wakeup;
    bool m_bWoken = false; // under m_mutex
};

class CVigilBackend
{
public:
    virtual ~CVigilBackend();
    // Runs on the library's thread; returns when stop is requested or nothing is left to announce.
    // Must not block other than through the session's waits (or for a short, bounded time).
    virtual void Run(CVigilSession &session) = 0;
};

// Installs the backend that the next VIGIL_Start_V20 runs (nullptr uninstalls). A running
// discovery keeps the backend it started with.
void Vigil_SetBackend(std::shared_ptr<CVigilBackend> backend);
std::shared_ptr<CVigilBackend> Vigil_Backend();
