// The serving side of CFakeOnvifServer, living in the thread that serves: one TCP server per
// device, the discovery responder, the counters and the digest nonces handed out.
#pragma once

#include "tools/fakedevice/fakeonvifserver.h"

#include <QByteArray>
#include <QQueue>
#include <QSet>
#include <QTcpServer>

#include <memory>

class CFakeDiscovery;
class CFakeRtspServer;

class CFakeOnvifEngine : public QObject
{
    Q_OBJECT

public:
    explicit CFakeOnvifEngine(bool verbose);
    ~CFakeOnvifEngine() override;

    bool Start(const QVector<FAKE_ONVIF_DEVICE> &devices, bool discovery, int probeMatchDelayMs, QString *error);
    void Shutdown();
    bool Update(int index, const FAKE_ONVIF_DEVICE &device, QString *error);
    void Remove(int index, bool bye);
    void SetSilent(int index, bool silent);

    int Count() const { return m_devices.size(); }
    const FAKE_ONVIF_DEVICE &Device(int index) const { return m_devices[index].config; }
    // Devices that answer probes now.
    QVector<int> Discoverable() const;
    bool Verbose() const { return m_bVerbose; }
    FAKE_ONVIF_STATS &Stats() { return m_stats; }

    // A request to the device is being answered, then was. One that finds none of its device's in
    // progress opens a round: the requests a client sent without waiting for each other share one.
    void RequestStarted(int index)
    {
        if (index >= 0 && index < m_devices.size() && m_devices[index].iInProgress++ == 0)
            ++m_stats.iRounds;
    }
    void RequestEnded(int index)
    {
        if (index >= 0 && index < m_devices.size())
            --m_devices[index].iInProgress;
    }

    QByteArray NewDigestNonce();
    bool IsDigestNonce(const QByteArray &nonce) const { return m_digestNonces.contains(nonce); }

private:
    struct SERVED
    {
        FAKE_ONVIF_DEVICE config;
        QTcpServer *pServer = nullptr; // null once removed
        bool bSilent = false;
        int iInProgress = 0; // requests received and not yet answered
    };
    QTcpServer *Listen(int index, const FAKE_ONVIF_DEVICE &device, QString *error);

    const bool m_bVerbose;
    QVector<SERVED> m_devices;
    CFakeDiscovery *m_pDiscovery = nullptr;
    std::unique_ptr<CFakeRtspServer> m_pRtsp; // made when a device streams
    FAKE_ONVIF_STATS m_stats;
    QSet<QByteArray> m_digestNonces;
    QQueue<QByteArray> m_nonceOrder; // the oldest are forgotten first
};
