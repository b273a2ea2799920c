// Fake ONVIF devices for tests and for trying NORDA without cameras.
//
// CFakeOnvifServer serves any number of FAKE_ONVIF_DEVICEs, each on its own loopback address and
// port, over HTTP/SOAP: the device, media, media2 and (for recorders) recording services, with
// WS-Security or HTTP digest authentication and the misbehaviours a device is configured with.
// It runs in the calling thread's event loop (Start) or in a thread of its own (StartInThread),
// so a test can call a blocking client while the fake answers. Every public call may come from
// any thread.
//
// With discovery enabled it also answers WS-Discovery probes and announces Hello and Bye on
// 239.255.255.250:3702. Multicast must never leave the machine, so discovery is refused while any
// network interface other than loopback is up: run it inside a private network namespace
// (unshare -n; ip link set lo up; ip route add 224.0.0.0/4 dev lo).
//
// Pieces: CFakeOnvifEngine (servers, devices, counters; lives in the serving thread),
// CFakeOnvifConnection (one HTTP connection: requests, authentication, faults), the SOAP answers
// (onvifanswers.h), CFakeDiscovery (the WS-Discovery side).
#pragma once

#include "tools/fakedevice/fakeonvifdevice.h"

#include <QMap>
#include <QObject>
#include <QThread>

#include <condition_variable>
#include <functional>
#include <mutex>

class CFakeOnvifEngine;

struct FAKE_ONVIF_STATS
{
    int iRequests = 0;
    int iRounds = 0;               // of all devices: see CFakeOnvifEngine::RequestStarted
    QMap<QString, int> operations; // well-formed SOAP requests by operation name
    int iAuthRejected = 0;         // answered 401 or NotAuthorized
    qint64 iHugeBytesSent = 0;     // bytes of "huge" bodies handed to the network
    qint64 iPeakPendingBytes = 0;  // most bytes ever waiting in one connection's send buffer
    int iProbesAnswered = 0;       // WS-Discovery probe matches sent
    int iOpenConnections = 0;
    int iConnections = 0;       // connections accepted
    QMap<int, int> connections; // connections accepted, by device index
};

class CFakeOnvifServer : public QObject
{
    Q_OBJECT

public:
    explicit CFakeOnvifServer(QObject *parent = nullptr);
    ~CFakeOnvifServer() override;

    // Before starting: answer WS-Discovery too. Refused (false, Error()) while the network is
    // not private to this process.
    bool EnableDiscovery();
    // Longest random wait before a probe match (WS-Discovery's APP_MAX_DELAY, 500 ms).
    void SetProbeMatchDelay(int maxMilliseconds);
    // Every request and outcome to stderr.
    void SetVerbose(bool verbose);

    // Opens every device's port; false with Error() if one cannot be opened (nothing is served
    // then). A port of 0 takes a free one: Device(i).iPort tells which.
    bool Start(const QVector<FAKE_ONVIF_DEVICE> &devices);
    bool StartInThread(const QVector<FAKE_ONVIF_DEVICE> &devices);
    // Bye for every device (with discovery), then everything closes. The destructor does it too.
    void Stop();

    int DeviceCount() const;
    FAKE_ONVIF_DEVICE Device(int index) const;
    // Serves the device with new data (a new address or port is opened first), raises its
    // metadata version and announces it with Hello.
    bool UpdateDevice(int index, const FAKE_ONVIF_DEVICE &device);
    // Stops serving the device; with bye it says so to discovery first.
    void RemoveDevice(int index, bool bye);
    // The device stops (or starts again) answering probes, without a word: as if unplugged.
    void SetDiscoverySilent(int index, bool silent);

    FAKE_ONVIF_STATS Stats() const;
    void ResetStats();
    QString Error() const;

private:
    void Call(const std::function<void()> &work) const;

    CFakeOnvifEngine *m_pEngine = nullptr;
    // The hand-over of Call(): built with the server, before its thread starts, so that the
    // thread sanitizer sees both threads use the same, fully constructed lock.
    mutable std::mutex m_callMutex;
    mutable std::condition_variable m_callDone;
    QThread *m_pThread = nullptr;
    bool m_bDiscovery = false;
    int m_iProbeMatchDelayMs = 500;
    bool m_bVerbose = false;
    QString m_strError;
};

namespace FakeOnvifNetwork {
// True when no network interface but loopback is up, as in a fresh private network namespace.
bool IsPrivate(QString *why = nullptr);
} // namespace FakeOnvifNetwork
