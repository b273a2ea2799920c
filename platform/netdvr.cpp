#include "platform/netdvr.h"

extern "C" {

int NET_DVR_Init(void)
{
    return 1;
}

} // extern "C"
