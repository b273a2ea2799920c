#include "platform/netdvr.h"

#include "platform/dvrbackend.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>

namespace {

std::atomic<bool> g_initialised{false};
std::mutex g_backendMutex;
std::shared_ptr<CDvrBackend> g_backend;

thread_local uint32_t t_lastError = NET_DVR_NOERROR;
thread_local std::chrono::steady_clock::time_point t_deadline = std::chrono::steady_clock::time_point::max();
thread_local const std::atomic<bool> *t_pCancel = nullptr;

// False, with the error set, when the calling thread's limit leaves no time for a call.
bool WithinLimit()
{
    if (NetDvr_RemainingMs() > 0)
        return true;
    t_lastError = NET_DVR_TIMEOUT;
    return false;
}

// The backend for one call, or nullptr with the error set.
std::shared_ptr<CDvrBackend> Acquire()
{
    std::shared_ptr<CDvrBackend> backend;
    if (g_initialised.load(std::memory_order_acquire)) {
        std::lock_guard<std::mutex> lock(g_backendMutex);
        backend = g_backend;
    }
    if (!backend)
        t_lastError = NET_DVR_NOT_INITIALISED;
    return backend;
}

} // namespace

CDvrBackend::~CDvrBackend() = default;

CDvrCallLimit::CDvrCallLimit(int timeoutMs, const std::atomic<bool> *cancel)
    : m_oldDeadline(t_deadline), m_pOldCancel(t_pCancel)
{
    if (timeoutMs >= 0)
        t_deadline = std::min(t_deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs));
    // An outer flag keeps counting: whoever cancels the whole run also ends this part of it.
    if (cancel && !t_pCancel)
        t_pCancel = cancel;
}

CDvrCallLimit::~CDvrCallLimit()
{
    t_deadline = m_oldDeadline;
    t_pCancel = m_pOldCancel;
}

const std::atomic<bool> *NetDvr_CancelFlag()
{
    return t_pCancel;
}

bool NetDvr_CallCancelled()
{
    return t_pCancel && t_pCancel->load(std::memory_order_acquire);
}

int NetDvr_RemainingMs()
{
    if (NetDvr_CallCancelled())
        return 0;
    if (t_deadline == std::chrono::steady_clock::time_point::max())
        return INT_MAX;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(t_deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, INT_MAX));
}

void NetDvr_SetBackend(std::shared_ptr<CDvrBackend> backend)
{
    std::lock_guard<std::mutex> lock(g_backendMutex);
    g_backend = std::move(backend);
}

std::shared_ptr<CDvrBackend> NetDvr_Backend()
{
    std::lock_guard<std::mutex> lock(g_backendMutex);
    return g_backend;
}

uint32_t NetDvr_RecordSize(uint32_t command)
{
    switch (command) {
    case NET_DVR_GET_COMPRESSCFG:
        return sizeof(NET_DVR_COMPRESS_CONFIG);
    case NET_DVR_GET_IPCHANCFG:
        return sizeof(NET_DVR_IPCHAN_CONFIG);
    case NET_DVR_GET_DEVICECFG:
        return sizeof(NET_DVR_DEVICE_CONFIG);
    case NET_DVR_GET_IDENTITY:
        return sizeof(NET_DVR_DEVICE_IDENTITY);
    default:
        return 0;
    }
}

extern "C" {

int NET_DVR_Init(void)
{
    g_initialised.store(true, std::memory_order_release);
    t_lastError = NET_DVR_NOERROR;
    return 1;
}

int NET_DVR_Login_V30(const char *address, uint16_t port, const char *userName, const char *password,
                      NET_DVR_LOGIN_ANSWER *answer)
{
    const std::shared_ptr<CDvrBackend> backend = Acquire();
    if (!backend)
        return -1;
    if (!address || !userName || !password || !answer) {
        t_lastError = NET_DVR_BAD_PARAMETER;
        return -1;
    }
    if (!WithinLimit())
        return -1;
    uint32_t error = NET_DVR_NOERROR;
    const int userID = backend->Login(address, port, userName, password, answer, &error);
    if (userID < 0) {
        t_lastError = error == NET_DVR_NOERROR ? NET_DVR_CONNECT_FAILED : error;
        // Whatever the backend saw, a call that ran out of its limit ended because of it.
        if (NetDvr_RemainingMs() == 0 && t_lastError != NET_DVR_BAD_CREDENTIALS)
            t_lastError = NET_DVR_TIMEOUT;
        return -1;
    }
    t_lastError = NET_DVR_NOERROR;
    return userID;
}

int NET_DVR_GetDVRConfig(int userID, uint32_t command, int channel, void *buffer, uint32_t bufferSize,
                         uint32_t *bytesReturned)
{
    const std::shared_ptr<CDvrBackend> backend = Acquire();
    if (!backend)
        return 0;
    const uint32_t recordSize = NetDvr_RecordSize(command);
    if (recordSize == 0) {
        t_lastError = NET_DVR_BAD_COMMAND;
        return 0;
    }
    if (!buffer || bufferSize < recordSize) {
        t_lastError = NET_DVR_BAD_PARAMETER;
        return 0;
    }
    if (!WithinLimit())
        return 0;
    uint32_t error = NET_DVR_NOERROR;
    if (!backend->GetConfig(userID, command, channel, buffer, bufferSize, &error)) {
        t_lastError = error == NET_DVR_NOERROR ? NET_DVR_READ_FAILED : error;
        return 0;
    }
    if (bytesReturned)
        *bytesReturned = recordSize;
    t_lastError = NET_DVR_NOERROR;
    return 1;
}

uint32_t NET_DVR_GetLastError(void)
{
    return t_lastError;
}

int NET_DVR_Logout(int userID)
{
    const std::shared_ptr<CDvrBackend> backend = Acquire();
    if (!backend)
        return 0;
    uint32_t error = NET_DVR_NOERROR;
    if (!backend->Logout(userID, &error)) {
        t_lastError = error == NET_DVR_NOERROR ? NET_DVR_BAD_USERID : error;
        return 0;
    }
    t_lastError = NET_DVR_NOERROR;
    return 1;
}

} // extern "C"
