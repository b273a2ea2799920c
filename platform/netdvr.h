// Device network SDK: the C interface the device import calls.
// NET_DVR_Init prepares the SDK once at start-up.
#pragma once

extern "C" {
int NET_DVR_Init(void);
}
