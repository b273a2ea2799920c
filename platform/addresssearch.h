// The search for devices that multicast does not reach (other subnets, VLANs, routed networks):
// every address of a list is asked directly, with a unicast WS-Discovery Probe to its port 3702
// and an unauthenticated GetSystemDateAndTime on each of the given ports. What answers as an
// ONVIF device is reported as an announcement of the discovery library (VIGIL_EVENT_ANSWERED),
// once per address, after all of that address's checks have ended: the probe match when there is
// one (its endpoint address is the device's lasting identity, as with multicast), else the first
// port that answered, in the order given (the serial number is then "address:port").
//
// Everything runs on the calling thread's event loop, without blocking: at most iMaxInFlight
// checks at a time, at most iChecksPerSecond new ones (a probe datagram or a connection) per
// second, each given iAnswerWaitMs. A device answers a probe only from an address its XAddrs
// name, as with multicast: no host speaks for another.
#pragma once

#include "platform/vigil.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMetaType>
#include <QObject>
#include <QVector>

class QTcpSocket;
class QTimer;
class QUdpSocket;

struct ADDRESS_SEARCH_OPTIONS
{
    int iMaxInFlight = 64;
    int iChecksPerSecond = 200;
    int iAnswerWaitMs = 2000;
    quint16 iProbePort = 3702;
};

class CAddressSearch : public QObject
{
    Q_OBJECT

public:
    explicit CAddressSearch(const ADDRESS_SEARCH_OPTIONS &options = ADDRESS_SEARCH_OPTIONS(),
                            QObject *parent = nullptr);
    ~CAddressSearch() override;

    // Starts a search (ending one that runs, without its finished signal). Addresses in host order.
    void Start(const QVector<quint32> &addresses, const QVector<quint16> &ports);
    // Ends the search at once; SignalFinished(true) follows unless none ran.
    void Cancel();
    bool IsRunning() const { return m_bRunning; }

    int PeakInFlight() const { return m_iPeakInFlight; }
    int ChecksStarted() const { return m_iStarted; }

signals:
    void SignalFound(const VIGIL_DEVICE_INFO &info);
    // Addresses whose checks have all ended, of all addresses.
    void SignalProgress(int done, int total);
    void SignalFinished(bool cancelled);

private:
    struct ADDRESS
    {
        quint32 address = 0;
        int iOpenChecks = 0; // started and not ended
        int iUnstarted = 0;
        bool bProbeAnswered = false;
        VIGIL_DEVICE_INFO probeAnswer{};
        int iFirstAnsweringPort = -1; // index into m_ports
    };
    struct CONNECTION
    {
        QTcpSocket *socket = nullptr;
        int iAddress = 0;
        int iPort = 0; // index into m_ports
        qint64 iDeadline = 0;
        QByteArray answer;
    };

    void Pump();
    void StartProbe(int address);
    void StartConnection(int address, int port);
    void OnDatagrams();
    void OnConnectionData(QTcpSocket *socket);
    void EndConnection(QTcpSocket *socket, bool answered);
    void EndCheck(int address);
    void Stop();

    const ADDRESS_SEARCH_OPTIONS m_options;
    QVector<ADDRESS> m_addresses;
    QVector<quint16> m_ports;
    QHash<quint32, int> m_indexOfAddress;
    QHash<int, qint64> m_probeDeadlines; // by address index
    QHash<QTcpSocket *, CONNECTION> m_connections;
    QUdpSocket *m_pProber = nullptr;
    QTimer *m_pPump;
    QElapsedTimer m_clock;
    int m_iNextAddress = 0;
    int m_iInFlight = 0;
    int m_iStarted = 0;
    int m_iPeakInFlight = 0;
    int m_iDone = 0;
    bool m_bRunning = false;
};

Q_DECLARE_METATYPE(VIGIL_DEVICE_INFO)
