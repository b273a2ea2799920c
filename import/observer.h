// Discovery observers: whoever wants to hear of devices appearing, changing and going away on
// the network implements CObserver and attaches itself to the discovery's subject (VigilSearch).
#pragma once

#include "import/device.h"

namespace NORDA {

class CObserver
{
public:
    virtual ~CObserver() = default;
    // A device as announced, and the announcement's event code (VIGIL_EVENT_...). Called on the
    // thread that notifies: for discovery, the discovery library's thread.
    virtual void Update(STRU_DEVICE device, int event) = 0;
};

} // namespace NORDA
