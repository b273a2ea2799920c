// Device discovery library: the C interface the online device dialog calls.
//
// VIGIL_Start_V20 starts discovery on a thread of the library's own; from then on the callback
// receives one announcement per device that appears, changes or goes away, on that thread, one
// at a time. VIGIL_Stop (ours) ends the delivery: when it returns the thread has ended and no
// callback runs any more, so the caller can destroy what the callback reaches.
//
// Announcements come from the installed backend (platform/vigilbackend.h): the scripted
// announcer for tests and benchmarks, a network backend for real devices. Without a backend
// starting succeeds and nothing is announced.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Event codes (iEvent).
#define VIGIL_EVENT_APPEARED 1 // a device appeared
#define VIGIL_EVENT_CHANGED 2  // a known device changed its data (address, port, version)
#define VIGIL_EVENT_VANISHED 3 // a device went away
#define VIGIL_EVENT_ANSWERED 4 // a device answered a search; treated as appearing

#ifdef __cplusplus
extern "C" {
#endif

// One announcement, 280 bytes. Texts are NUL-terminated 8-bit strings within their field.
typedef struct
{
    uint32_t dwSize;       // 0: record size
    uint32_t dwDeviceType; // 4
    uint8_t byRes1[4];
    char sSerialNumber[48];   // 12
    char sMAC[20];            // 60: "aa:bb:cc:dd:ee:ff"
    char sIPv4Address[16];    // 80: dotted
    char sIPv4SubnetMask[16]; // 96
    uint8_t byRes2[4];
    int32_t iPort;           // 116: device port of the device SDK
    uint32_t dwChannelCount; // 120
    uint8_t byRes3[4];
    char sSoftwareVersion[48]; // 128
    char sDSPVersion[48];      // 176
    char sBootTime[48];        // 224
    int32_t iEvent;            // 272: VIGIL_EVENT_...
    uint8_t byRes4[4];
} VIGIL_DEVICE_INFO;

// Receives one announcement; the record is valid only during the call.
typedef void (*VIGIL_CALLBACK)(const VIGIL_DEVICE_INFO *info, void *userData);

// Asked on the library's thread before a device is forgotten to make room for a new one;
// nonzero keeps it (the caller still needs it: logged in, selected, being imported).
typedef int (*VIGIL_KEEP_CALLBACK)(const char *serialNumber, void *userData);

// Ours: the keep callback that the next VIGIL_Start_V20 hands to the library (null: any device
// may be forgotten). The user data is the one given to VIGIL_Start_V20.
void VIGIL_SetKeepCallback(VIGIL_KEEP_CALLBACK keep);

// Starts discovery. Returns 1, or 0 when the callback is null or discovery already runs.
int VIGIL_Start_V20(VIGIL_CALLBACK callback, void *userData);

// Ends discovery and waits for the library's thread. Returns 1, or 0 when it was not running.
// Called from within the callback it only ends the delivery (the thread cannot wait for itself);
// the thread then ends when the callback returns.
int VIGIL_Stop(void);

#ifdef __cplusplus
} // extern "C"

static_assert(sizeof(VIGIL_DEVICE_INFO) == 280, "announcement record");
static_assert(offsetof(VIGIL_DEVICE_INFO, sSerialNumber) == 12, "serial number");
static_assert(offsetof(VIGIL_DEVICE_INFO, sIPv4Address) == 80, "IPv4 address");
static_assert(offsetof(VIGIL_DEVICE_INFO, iPort) == 116, "port");
static_assert(offsetof(VIGIL_DEVICE_INFO, sSoftwareVersion) == 128, "software version");
static_assert(offsetof(VIGIL_DEVICE_INFO, iEvent) == 272, "event code");
#endif
