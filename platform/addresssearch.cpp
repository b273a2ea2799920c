#include "platform/addresssearch.h"

#include "platform/wsdiscoverymessage.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QUuid>

#include <cstring>

namespace {
const int kPumpMs = 10;
const int kMaxAnswerBytes = 64 * 1024;
const char *const kDevicePath = "/onvif/device_service";

QByteArray ClockRequest(const QHostAddress &host, quint16 port)
{
    static const QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                   "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\"><s:Body>"
                                   "<GetSystemDateAndTime xmlns=\"http://www.onvif.org/ver10/device/wsdl\"/>"
                                   "</s:Body></s:Envelope>";
    return QByteArray("POST ") + kDevicePath + " HTTP/1.1\r\nHost: " + host.toString().toLatin1() + ':'
        + QByteArray::number(port) + "\r\nContent-Type: application/soap+xml; charset=utf-8\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// An ONVIF device answers the clock, or refuses it in a SOAP fault: either way a SOAP 1.2
// envelope over HTTP. A web server's page or a login form is neither.
bool IsDeviceAnswer(const QByteArray &answer)
{
    return answer.startsWith("HTTP/1.") && answer.contains("http://www.w3.org/2003/05/soap-envelope")
        && (answer.contains("GetSystemDateAndTimeResponse") || answer.contains("Fault>"));
}

void CopyText(char *field, size_t size, const QByteArray &text)
{
    const size_t length = qMin(size - 1, size_t(text.size()));
    std::memcpy(field, text.constData(), length);
    field[length] = '\0';
}

VIGIL_DEVICE_INFO Record(const QByteArray &serial, const QHostAddress &address, int port, const QByteArray &version)
{
    VIGIL_DEVICE_INFO info;
    std::memset(&info, 0, sizeof info);
    info.dwSize = sizeof info;
    CopyText(info.sSerialNumber, sizeof info.sSerialNumber, serial);
    CopyText(info.sIPv4Address, sizeof info.sIPv4Address, address.toString().toLatin1());
    info.iPort = port;
    CopyText(info.sSoftwareVersion, sizeof info.sSoftwareVersion, version);
    info.iEvent = VIGIL_EVENT_ANSWERED;
    return info;
}
} // namespace

CAddressSearch::CAddressSearch(const ADDRESS_SEARCH_OPTIONS &options, QObject *parent)
    : QObject(parent), m_options(options), m_pPump(new QTimer(this))
{
    qRegisterMetaType<VIGIL_DEVICE_INFO>("VIGIL_DEVICE_INFO");
    m_pPump->setInterval(kPumpMs);
    connect(m_pPump, &QTimer::timeout, this, &CAddressSearch::Pump);
}

CAddressSearch::~CAddressSearch()
{
    Stop();
}

void CAddressSearch::Start(const QVector<quint32> &addresses, const QVector<quint16> &ports)
{
    Stop();
    m_ports = ports;
    m_addresses.clear();
    m_indexOfAddress.clear();
    for (quint32 address : addresses) {
        ADDRESS state;
        state.address = address;
        state.iUnstarted = 1 + ports.size();
        m_indexOfAddress.insert(address, m_addresses.size());
        m_addresses.append(state);
    }
    m_iNextAddress = 0;
    m_iInFlight = 0;
    m_iStarted = 0;
    m_iPeakInFlight = 0;
    m_iDone = 0;
    m_bRunning = true;
    // Answers come back to the port the probes leave from: one of our own for all of them.
    m_pProber = new QUdpSocket(this);
    m_pProber->bind(QHostAddress::AnyIPv4, 0);
    connect(m_pProber, &QUdpSocket::readyRead, this, &CAddressSearch::OnDatagrams);
    m_clock.start();
    emit SignalProgress(0, m_addresses.size());
    if (m_addresses.isEmpty()) {
        Stop();
        emit SignalFinished(false);
        return;
    }
    m_pPump->start();
    Pump();
}

void CAddressSearch::Cancel()
{
    if (!m_bRunning)
        return;
    Stop();
    emit SignalFinished(true);
}

void CAddressSearch::Stop()
{
    m_bRunning = false;
    m_pPump->stop();
    const auto connections = m_connections;
    m_connections.clear();
    for (const CONNECTION &connection : connections) {
        connection.socket->disconnect(this);
        connection.socket->abort();
        connection.socket->deleteLater();
    }
    m_probeDeadlines.clear();
    if (m_pProber) {
        m_pProber->disconnect(this);
        m_pProber->deleteLater();
        m_pProber = nullptr;
    }
}

void CAddressSearch::Pump()
{
    if (!m_bRunning)
        return;
    const qint64 now = m_clock.elapsed();
    // Checks that waited their time end unanswered.
    for (auto it = m_probeDeadlines.begin(); it != m_probeDeadlines.end();) {
        if (now < it.value()) {
            ++it;
            continue;
        }
        const int address = it.key();
        it = m_probeDeadlines.erase(it);
        EndCheck(address);
        if (!m_bRunning)
            return;
    }
    QVector<QTcpSocket *> late;
    for (const CONNECTION &connection : qAsConst(m_connections))
        if (now >= connection.iDeadline)
            late << connection.socket;
    for (QTcpSocket *socket : late) {
        EndConnection(socket, false);
        if (!m_bRunning)
            return;
    }
    // New checks, within the limits of both kinds: the rate counts from the start, with one
    // check's worth of credit so that the first goes at once.
    const qint64 allowed = now * m_options.iChecksPerSecond / 1000 + 1;
    while (m_iNextAddress < m_addresses.size() && m_iInFlight < m_options.iMaxInFlight && m_iStarted < allowed) {
        ADDRESS &state = m_addresses[m_iNextAddress];
        const int check = 1 + m_ports.size() - state.iUnstarted;
        const int address = m_iNextAddress;
        if (--state.iUnstarted == 0)
            ++m_iNextAddress;
        ++state.iOpenChecks;
        ++m_iInFlight;
        ++m_iStarted;
        m_iPeakInFlight = qMax(m_iPeakInFlight, m_iInFlight);
        if (check == 0)
            StartProbe(address);
        else
            StartConnection(address, check - 1);
    }
}

void CAddressSearch::StartProbe(int address)
{
    const QByteArray probe =
        WsDiscovery::Probe(QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    m_pProber->writeDatagram(probe, QHostAddress(m_addresses.at(address).address), m_options.iProbePort);
    m_probeDeadlines.insert(address, m_clock.elapsed() + m_options.iAnswerWaitMs);
}

void CAddressSearch::StartConnection(int address, int port)
{
    auto *socket = new QTcpSocket(this);
    CONNECTION connection;
    connection.socket = socket;
    connection.iAddress = address;
    connection.iPort = port;
    connection.iDeadline = m_clock.elapsed() + m_options.iAnswerWaitMs;
    m_connections.insert(socket, connection);
    const QHostAddress host(m_addresses.at(address).address);
    const quint16 portNumber = m_ports.at(port);
    connect(socket, &QTcpSocket::connected, this,
            [socket, host, portNumber] { socket->write(ClockRequest(host, portNumber)); });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnConnectionData(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { EndConnection(socket, false); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] { EndConnection(socket, false); });
    socket->connectToHost(host, portNumber);
}

void CAddressSearch::OnDatagrams()
{
    while (m_pProber && m_pProber->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_pProber->receiveDatagram(WsDiscovery::kMaxDatagramBytes + 1);
        bool isV4 = false;
        const quint32 sender = datagram.senderAddress().toIPv4Address(&isV4);
        const auto index = m_indexOfAddress.constFind(sender);
        // Only an address still waiting for its probe's answer is heard.
        if (!isV4 || index == m_indexOfAddress.constEnd() || !m_probeDeadlines.contains(index.value()))
            continue;
        for (const WSD_ANNOUNCEMENT &announcement : WsDiscovery::Parse(datagram.data())) {
            QHostAddress address;
            int port = 0;
            const bool video = announcement.bVideoDevice || !announcement.bTypesGiven;
            if (announcement.kind != WSD_ANNOUNCEMENT::ProbeMatch || !video || announcement.strEndpoint.isEmpty()
                || !WsDiscovery::PickAddress(announcement.xaddrs, QHostAddress(sender), &address, &port)
                || address != QHostAddress(sender))
                continue;
            ADDRESS &state = m_addresses[index.value()];
            state.bProbeAnswered = true;
            state.probeAnswer = Record(announcement.strEndpoint.toUtf8(), address, port,
                                       WsDiscovery::Hardware(announcement.scopes).toUtf8());
            m_probeDeadlines.remove(index.value());
            EndCheck(index.value());
            break;
        }
        if (!m_bRunning)
            return;
    }
}

void CAddressSearch::OnConnectionData(QTcpSocket *socket)
{
    const auto connection = m_connections.find(socket);
    if (connection == m_connections.end())
        return;
    connection->answer += socket->read(kMaxAnswerBytes - connection->answer.size());
    if (IsDeviceAnswer(connection->answer))
        EndConnection(socket, true);
    else if (connection->answer.size() >= kMaxAnswerBytes)
        EndConnection(socket, false);
}

void CAddressSearch::EndConnection(QTcpSocket *socket, bool answered)
{
    const auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    const CONNECTION connection = found.value();
    m_connections.erase(found);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    ADDRESS &state = m_addresses[connection.iAddress];
    // The first port in the user's order, not the first to answer.
    if (answered && (state.iFirstAnsweringPort < 0 || connection.iPort < state.iFirstAnsweringPort))
        state.iFirstAnsweringPort = connection.iPort;
    EndCheck(connection.iAddress);
}

void CAddressSearch::EndCheck(int address)
{
    --m_iInFlight;
    ADDRESS &state = m_addresses[address];
    if (--state.iOpenChecks > 0 || state.iUnstarted > 0)
        return;
    if (state.bProbeAnswered) {
        emit SignalFound(state.probeAnswer);
    } else if (state.iFirstAnsweringPort >= 0) {
        const QHostAddress host(state.address);
        const quint16 port = m_ports.at(state.iFirstAnsweringPort);
        emit SignalFound(Record(host.toString().toLatin1() + ':' + QByteArray::number(port), host, port, {}));
    }
    if (!m_bRunning)
        return; // a receiver cancelled
    emit SignalProgress(++m_iDone, m_addresses.size());
    if (m_bRunning && m_iDone == m_addresses.size()) {
        Stop();
        emit SignalFinished(false);
    } else if (m_bRunning) {
        // A check's place is free: the next one need not wait for the timer.
        QTimer::singleShot(0, this, &CAddressSearch::Pump);
    }
}
