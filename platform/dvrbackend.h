// The object behind the device SDK's C interface.
//
// NET_DVR_* validate their arguments, hand the call to the installed backend and keep the
// error code per thread. A backend serves calls from several threads at once and must not hold
// a lock while it waits for a device.
#pragma once

#include "platform/netdvr.h"

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

// Installs the backend that serves every later call (nullptr uninstalls). Calls already running
// finish on the backend they started with.
void NetDvr_SetBackend(std::shared_ptr<CDvrBackend> backend);
std::shared_ptr<CDvrBackend> NetDvr_Backend();

// Record size of a configuration command, 0 for an unknown command.
uint32_t NetDvr_RecordSize(uint32_t command);
