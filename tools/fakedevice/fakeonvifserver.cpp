#include "tools/fakedevice/fakeonvifserver.h"

#include "tools/fakedevice/fakediscovery.h"
#include "tools/fakedevice/fakeonvifconnection.h"
#include "tools/fakedevice/fakeonvifengine.h"
#include "tools/fakedevice/fakeonviftls.h"
#include "tools/fakedevice/fakertspserver.h"

#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QSslServer>

#include <condition_variable>
#include <mutex>

// --- the engine, in the serving thread ---

CFakeOnvifEngine::CFakeOnvifEngine(bool verbose) : m_bVerbose(verbose)
{
}

CFakeOnvifEngine::~CFakeOnvifEngine() = default;

QTcpServer *CFakeOnvifEngine::Listen(int index, const FAKE_ONVIF_DEVICE &device, QString *error)
{
    QTcpServer *server = nullptr;
    if (device.bTls) {
        const QString name = device.strTlsHost.isEmpty() ? device.strAddress : device.strTlsHost;
        const FAKE_TLS_IDENTITY identity = FakeOnvifTls::MakeIdentity(name, device.bTlsExpired, error);
        if (!identity.IsValid())
            return nullptr;
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(identity.certificate);
        configuration.setPrivateKey(identity.key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        auto *tls = new QSslServer(this);
        tls->setSslConfiguration(configuration);
        server = tls;
    } else {
        server = new QTcpServer(this);
    }
    if (!server->listen(QHostAddress(device.strAddress), device.iPort)) {
        *error = QStringLiteral("%1:%2: %3").arg(device.strAddress).arg(device.iPort).arg(server->errorString());
        delete server;
        return nullptr;
    }
    // An HTTPS connection is pending only once its handshake is done.
    const auto take = [this, server, index] {
        while (QTcpSocket *socket = server->nextPendingConnection())
            new CFakeOnvifConnection(this, index, socket, server);
    };
    connect(server, &QTcpServer::newConnection, this, take);
    connect(server, &QTcpServer::pendingConnectionAvailable, this, take);
    return server;
}

bool CFakeOnvifEngine::Start(const QVector<FAKE_ONVIF_DEVICE> &devices, bool discovery, int probeMatchDelayMs,
                             QString *error)
{
    for (const FAKE_ONVIF_DEVICE &device : devices) {
        SERVED served;
        served.config = device;
        served.pServer = Listen(m_devices.size(), device, error);
        if (!served.pServer) {
            Shutdown();
            return false;
        }
        served.config.iPort = served.pServer->serverPort();
        // The identity is settled once the port is known; a device that moves later keeps it.
        served.config.strSerial = served.config.Serial();
        served.config.strEndpoint = served.config.Endpoint();
        if (served.config.bRtsp) {
            if (!m_pRtsp)
                m_pRtsp = std::make_unique<CFakeRtspServer>();
            if (!m_pRtsp->Add(&served.config, error)) {
                delete served.pServer;
                Shutdown();
                return false;
            }
        }
        m_devices.append(served);
    }
    if (discovery) {
        m_pDiscovery = new CFakeDiscovery(this, probeMatchDelayMs);
        if (!m_pDiscovery->Open(error)) {
            Shutdown();
            return false;
        }
        for (int i = 0; i < m_devices.size(); ++i)
            m_pDiscovery->Hello(i);
    }
    return true;
}

void CFakeOnvifEngine::Shutdown()
{
    for (int i = 0; i < m_devices.size(); ++i)
        Remove(i, true);
    delete m_pDiscovery;
    m_pDiscovery = nullptr;
    m_pRtsp.reset();
}

bool CFakeOnvifEngine::Update(int index, const FAKE_ONVIF_DEVICE &device, QString *error)
{
    SERVED &served = m_devices[index];
    if (!served.pServer) {
        *error = QStringLiteral("device %1 was removed").arg(index);
        return false;
    }
    FAKE_ONVIF_DEVICE next = device;
    if (next.strSerial.isEmpty())
        next.strSerial = served.config.strSerial;
    if (next.strEndpoint.isEmpty())
        next.strEndpoint = served.config.strEndpoint;
    // The streams keep being served where they were.
    next.bRtsp = served.config.bRtsp;
    next.iRtspPort = served.config.iRtspPort;
    if (next.strAddress != served.config.strAddress || next.iPort != served.config.iPort) {
        QTcpServer *server = Listen(index, next, error);
        if (!server)
            return false;
        delete served.pServer;
        served.pServer = server;
        next.iPort = server->serverPort();
    }
    next.iMetadataVersion = qMax(next.iMetadataVersion, served.config.iMetadataVersion + 1);
    served.config = next;
    if (m_pDiscovery)
        m_pDiscovery->Hello(index);
    return true;
}

void CFakeOnvifEngine::Remove(int index, bool bye)
{
    SERVED &served = m_devices[index];
    if (!served.pServer)
        return;
    if (bye && m_pDiscovery)
        m_pDiscovery->Bye(index);
    delete served.pServer; // and its connections
    served.pServer = nullptr;
}

void CFakeOnvifEngine::SetSilent(int index, bool silent)
{
    m_devices[index].bSilent = silent;
}

QVector<int> CFakeOnvifEngine::Discoverable() const
{
    QVector<int> devices;
    for (int i = 0; i < m_devices.size(); ++i)
        if (m_devices[i].pServer && !m_devices[i].bSilent)
            devices.append(i);
    return devices;
}

QByteArray CFakeOnvifEngine::NewDigestNonce()
{
    QByteArray nonce(16, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(nonce.data()), 4);
    nonce = nonce.toHex();
    m_digestNonces.insert(nonce);
    m_nonceOrder.enqueue(nonce);
    if (m_nonceOrder.size() > 1024)
        m_digestNonces.remove(m_nonceOrder.dequeue());
    return nonce;
}

// --- the facade, callable from any thread ---

CFakeOnvifServer::CFakeOnvifServer(QObject *parent) : QObject(parent)
{
}

CFakeOnvifServer::~CFakeOnvifServer()
{
    Stop();
}

void CFakeOnvifServer::Call(const std::function<void()> &work) const
{
    if (!m_pEngine)
        return;
    if (m_pEngine->thread() == QThread::currentThread()) {
        work();
        return;
    }
    // The hand-over goes through a standard mutex rather than a blocking queued call, so that
    // the thread sanitizer sees it (Debian's Qt is not built for it).
    bool done = false;
    std::unique_lock<std::mutex> lock(m_callMutex);
    QMetaObject::invokeMethod(
        m_pEngine,
        [&] {
            std::lock_guard<std::mutex> engineLock(m_callMutex);
            work();
            done = true;
            // Several callers may wait at once; each checks its own flag.
            m_callDone.notify_all();
        },
        Qt::QueuedConnection);
    m_callDone.wait(lock, [&] { return done; });
}

bool CFakeOnvifServer::EnableDiscovery()
{
    if (!FakeOnvifNetwork::IsPrivate(&m_strError)) {
        m_strError = QStringLiteral("discovery refused: %1; multicast must not leave this machine, so run "
                                    "inside a private network namespace (unshare -n)")
                         .arg(m_strError);
        return false;
    }
    m_bDiscovery = true;
    return true;
}

void CFakeOnvifServer::SetProbeMatchDelay(int maxMilliseconds)
{
    m_iProbeMatchDelayMs = qMax(0, maxMilliseconds);
}

void CFakeOnvifServer::SetVerbose(bool verbose)
{
    m_bVerbose = verbose;
}

bool CFakeOnvifServer::Start(const QVector<FAKE_ONVIF_DEVICE> &devices)
{
    if (m_pEngine) {
        m_strError = QStringLiteral("already started");
        return false;
    }
    m_pEngine = new CFakeOnvifEngine(m_bVerbose);
    if (m_pEngine->Start(devices, m_bDiscovery, m_iProbeMatchDelayMs, &m_strError))
        return true;
    delete m_pEngine;
    m_pEngine = nullptr;
    return false;
}

bool CFakeOnvifServer::StartInThread(const QVector<FAKE_ONVIF_DEVICE> &devices)
{
    if (m_pEngine) {
        m_strError = QStringLiteral("already started");
        return false;
    }
    m_pThread = new QThread;
    m_pThread->setObjectName(QStringLiteral("fake ONVIF devices"));
    m_pEngine = new CFakeOnvifEngine(m_bVerbose);
    m_pEngine->moveToThread(m_pThread);
    m_pThread->start();
    bool started = false;
    QString error;
    Call([&] { started = m_pEngine->Start(devices, m_bDiscovery, m_iProbeMatchDelayMs, &error); });
    if (!started) {
        m_strError = error;
        Stop();
    }
    return started;
}

void CFakeOnvifServer::Stop()
{
    if (!m_pEngine)
        return;
    Call([this] { m_pEngine->Shutdown(); });
    if (m_pThread) {
        m_pThread->quit();
        m_pThread->wait();
        delete m_pThread;
        m_pThread = nullptr;
    }
    delete m_pEngine;
    m_pEngine = nullptr;
}

int CFakeOnvifServer::DeviceCount() const
{
    int count = 0;
    Call([&] { count = m_pEngine->Count(); });
    return count;
}

FAKE_ONVIF_DEVICE CFakeOnvifServer::Device(int index) const
{
    FAKE_ONVIF_DEVICE device;
    Call([&] {
        if (index >= 0 && index < m_pEngine->Count())
            device = m_pEngine->Device(index);
    });
    return device;
}

bool CFakeOnvifServer::UpdateDevice(int index, const FAKE_ONVIF_DEVICE &device)
{
    bool updated = false;
    QString error = QStringLiteral("not started");
    Call([&] {
        if (index >= 0 && index < m_pEngine->Count())
            updated = m_pEngine->Update(index, device, &error);
        else
            error = QStringLiteral("no device %1").arg(index);
    });
    if (!updated)
        m_strError = error;
    return updated;
}

void CFakeOnvifServer::RemoveDevice(int index, bool bye)
{
    Call([&] {
        if (index >= 0 && index < m_pEngine->Count())
            m_pEngine->Remove(index, bye);
    });
}

void CFakeOnvifServer::SetDiscoverySilent(int index, bool silent)
{
    Call([&] {
        if (index >= 0 && index < m_pEngine->Count())
            m_pEngine->SetSilent(index, silent);
    });
}

FAKE_ONVIF_STATS CFakeOnvifServer::Stats() const
{
    FAKE_ONVIF_STATS stats;
    Call([&] { stats = m_pEngine->Stats(); });
    return stats;
}

void CFakeOnvifServer::ResetStats()
{
    Call([&] {
        FAKE_ONVIF_STATS fresh;
        fresh.iOpenConnections = m_pEngine->Stats().iOpenConnections; // a state, not a count
        m_pEngine->Stats() = fresh;
    });
}

QString CFakeOnvifServer::Error() const
{
    return m_strError;
}

bool FakeOnvifNetwork::IsPrivate(QString *why)
{
    for (const QNetworkInterface &netInterface : QNetworkInterface::allInterfaces()) {
        const auto flags = netInterface.flags();
        if ((flags & QNetworkInterface::IsUp) && !(flags & QNetworkInterface::IsLoopBack)) {
            if (why)
                *why = QStringLiteral("network interface %1 is up").arg(netInterface.name());
            return false;
        }
    }
    return true;
}
