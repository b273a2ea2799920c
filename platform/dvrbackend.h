// The object behind the device SDK's C interface.
//
// NET_DVR_* validate their arguments, hand the call to the installed backend and keep the
// error code per thread. A backend serves calls from several threads at once and must not hold
// a lock while it waits for a device.
#pragma once

#include "platform/netdvr.h"

#include <atomic>
#include <chrono>
#include <memory>

class CDvrBackend
{
public:
    virtual ~CDvrBackend();

    // Returns a user ID of 0 or more, or -1 with *error set.
    virtual int Login(const char *address, uint16_t port, const char *userName, const char *password,
                      NET_DVR_LOGIN_ANSWER *answer, uint32_t *error) = 0;
    // Fills buffer (at least the command's record size, already checked) and returns true,
    // or returns false with *error set.
    virtual bool GetConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                           uint32_t *error) = 0;
    virtual bool Logout(int userID, uint32_t *error) = 0;
};

// The limit a thread puts on its device calls while the object lives: a deadline and a flag that
// another thread sets to give up. Calls made under an expired or cancelled limit fail at once
// with NET_DVR_TIMEOUT; a backend bounds its waits by NetDvr_RemainingMs() and looks at
// NetDvr_CallCancelled() at least every NetDvr_kCancelPollMs while it waits. Limits nest: an
// inner one cannot extend an outer one.
class CDvrCallLimit
{
public:
    // timeoutMs < 0: no deadline of its own. cancel may be null.
    CDvrCallLimit(int timeoutMs, const std::atomic<bool> *cancel);
    ~CDvrCallLimit();
    CDvrCallLimit(const CDvrCallLimit &) = delete;
    CDvrCallLimit &operator=(const CDvrCallLimit &) = delete;

private:
    std::chrono::steady_clock::time_point m_oldDeadline;
    const std::atomic<bool> *m_pOldCancel;
};

// Milliseconds left under the calling thread's limit: INT_MAX without one, 0 once it expired or
// was cancelled.
int NetDvr_RemainingMs();
bool NetDvr_CallCancelled();
// The flag of the calling thread's limit (nullptr without one), for a helper thread that works
// for it under the same limit.
const std::atomic<bool> *NetDvr_CancelFlag();
constexpr int NetDvr_kCancelPollMs = 100;

// Installs the backend that serves every later call (nullptr uninstalls). Calls already running
// finish on the backend they started with.
void NetDvr_SetBackend(std::shared_ptr<CDvrBackend> backend);
std::shared_ptr<CDvrBackend> NetDvr_Backend();

// Record size of a configuration command, 0 for an unknown command.
uint32_t NetDvr_RecordSize(uint32_t command);
