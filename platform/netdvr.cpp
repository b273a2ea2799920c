#include "platform/netdvr.h"
#include "platform/dvrbackend.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<bool> g_initialised{false};
std::mutex g_backendMutex;
std::shared_ptr<CDvrBackend> g_backend;

thread_local uint32_t t_lastError = NET_DVR_NOERROR;

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
    case NET_DVR_GET_COMPRESSCFG: return sizeof(NET_DVR_COMPRESS_CONFIG);
    case NET_DVR_GET_IPCHANCFG: return sizeof(NET_DVR_IPCHAN_CONFIG);
    case NET_DVR_GET_DEVICECFG: return sizeof(NET_DVR_DEVICE_CONFIG);
    default: return 0;
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
    uint32_t error = NET_DVR_NOERROR;
    const int userID = backend->Login(address, port, userName, password, answer, &error);
    if (userID < 0) {
        t_lastError = error == NET_DVR_NOERROR ? NET_DVR_CONNECT_FAILED : error;
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
