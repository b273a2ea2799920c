// The discovery library's network backend: WS-Discovery (the protocol ONVIF devices answer).
//
// Install it with Vigil_SetBackend(std::make_shared<CWsDiscoveryBackend>()) before the online
// device dialog starts discovery. On the library's thread it then probes for network video
// transmitters on 239.255.255.250:3702 at once and every probe interval, out of every interface
// that is up, multicast-capable and has an IPv4 address (looked at again each round), and listens
// there for Hello and Bye. Each device is one endpoint reference address:
//   event 1 (appeared)  the first Hello or probe match of an endpoint;
//   event 2 (changed)   its address, port, hardware or metadata version differs from before;
//   event 3 (vanished)  its Bye, or no answer for the given number of probe rounds.
// The announcement's serial number is the endpoint address, IP address and port come from the
// transport address (XAddr) that matches the sender, the software version is the hardware scope.
// Needs a QCoreApplication: the thread runs an event loop of its own.
#pragma once

#include "platform/vigilbackend.h"

#include <atomic>

struct WSDISCOVERY_OPTIONS
{
    int iProbeIntervalMs = 30000;
    int iVanishRounds = 3;    // probe rounds without an answer before a device counts as gone
    int iAnswerWaitMs = 1000; // added to those rounds: devices answer up to 500 ms late
    int iProbeRepeatMs = 200; // a probe goes out twice, as UDP may lose one
    int iMulticastTtl = 1;
};

class CWsDiscoveryBackend : public CVigilBackend
{
public:
    explicit CWsDiscoveryBackend(const WSDISCOVERY_OPTIONS &options = WSDISCOVERY_OPTIONS());

    void Run(CVigilSession &session) override;

    int ProbesSent() const { return m_iProbesSent.load(); }
    // Datagrams read that were not an announcement this backend uses.
    int DatagramsIgnored() const { return m_iIgnored.load(); }

private:
    const WSDISCOVERY_OPTIONS m_options;
    std::atomic<int> m_iProbesSent{0};
    std::atomic<int> m_iIgnored{0};
};
