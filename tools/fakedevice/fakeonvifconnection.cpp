#include "tools/fakedevice/fakeonvifconnection.h"

#include "tools/fakedevice/fakeonvifengine.h"
#include "tools/fakedevice/onvifanswers.h"

#include <QDateTime>
#include <QSslSocket>
#include <QTimer>

#include <cstdio>

namespace {
const int kMaxHeaderBytes = 64 * 1024;
const int kMaxBodyBytes = 1024 * 1024;
const int kHugeChunk = 64 * 1024;
const qint64 kHugeBuffered = 256 * 1024; // refill the send buffer only below this
const int kSlowTickMs = 100;

QByteArray Reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 405:
        return "Method Not Allowed";
    case 411:
        return "Length Required";
    case 413:
        return "Payload Too Large";
    case 431:
        return "Request Header Fields Too Large";
    default:
        return "Internal Server Error";
    }
}
} // namespace

CFakeOnvifConnection::CFakeOnvifConnection(CFakeOnvifEngine *engine, int device, QTcpSocket *socket, QObject *parent)
    : QObject(parent), m_pEngine(engine), m_iDevice(device), m_pSocket(socket)
{
    ++engine->Stats().iOpenConnections;
    ++engine->Stats().iConnections;
    ++engine->Stats().connections[device];
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &CFakeOnvifConnection::OnReadyRead);
    connect(socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_iHugeLeft > 0 || !m_hugeTail.isEmpty())
            PumpHuge();
    });
    connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    OnReadyRead();
}

CFakeOnvifConnection::~CFakeOnvifConnection()
{
    if (m_bCounted)
        m_pEngine->RequestEnded(m_iDevice);
    --m_pEngine->Stats().iOpenConnections;
}

void CFakeOnvifConnection::OnReadyRead()
{
    m_buffer += m_pSocket->readAll();
    ProcessBuffer();
}

void CFakeOnvifConnection::ProcessBuffer()
{
    if (m_bBusy || m_bCloseAfter)
        return;
    const int headerEnd = m_buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        if (m_buffer.size() > kMaxHeaderBytes) {
            m_bCloseAfter = true;
            Send(431, {});
        }
        return;
    }
    HTTP_REQUEST request;
    const QList<QByteArray> lines = m_buffer.left(headerEnd).split('\n');
    const QList<QByteArray> first = lines.first().trimmed().split(' ');
    if (first.size() == 3) {
        request.method = first[0];
        request.path = first[1];
        request.version = first[2];
    }
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    bool lengthOk = true;
    const qint64 length = request.headers.value("content-length", "0").toLongLong(&lengthOk);
    if (request.method.isEmpty() || !lengthOk || length < 0 || request.headers.contains("transfer-encoding")) {
        m_bCloseAfter = true;
        Send(request.headers.contains("transfer-encoding") ? 411 : 400, {});
        return;
    }
    if (length > kMaxBodyBytes) {
        m_bCloseAfter = true;
        Send(413, {});
        return;
    }
    if (m_buffer.size() < headerEnd + 4 + length)
        return;
    request.body = m_buffer.mid(headerEnd + 4, int(length));
    m_buffer.remove(0, headerEnd + 4 + int(length));
    const QByteArray connection = request.headers.value("connection").toLower();
    m_bCloseAfter = connection == "close" || (request.version == "HTTP/1.0" && connection != "keep-alive");
    m_bBusy = true;
    Handle(request);
}

void CFakeOnvifConnection::Handle(const HTTP_REQUEST &request)
{
    FAKE_ONVIF_STATS &stats = m_pEngine->Stats();
    ++stats.iRequests;
    m_pEngine->RequestStarted(m_iDevice);
    m_bCounted = true;
    if (request.method != "POST") {
        Log(QStringLiteral("%1 %2: only POST is served")
                .arg(QString::fromLatin1(request.method), QString::fromLatin1(request.path)));
        SendLater(405, {}, {"Allow: POST"});
        return;
    }
    const SOAP_REQUEST soap = ParseSoapRequest(request.body);
    if (!soap.bWellFormed) {
        Log(QStringLiteral("request is not a SOAP envelope"));
        const SOAP_ANSWER fault = SoapFault(OnvifNs::kSoap12, true, {"ter:WellFormed"}, "Well-formed Error");
        SendLater(fault.iHttpStatus, fault.body);
        return;
    }
    ++stats.operations[soap.strOperation];
    const FAKE_ONVIF_DEVICE &device = m_pEngine->Device(m_iDevice);
    if (device.FaultApplies(soap.strOperation)) {
        Misbehave(soap);
        return;
    }
    if (!Authenticate(request, soap))
        return;
    ANSWER_CONTEXT context;
    context.pDevice = &device;
    const QByteArray host = request.headers.value("host");
    context.strBaseUrl = Scheme()
        + (host.isEmpty()
               ? QStringLiteral("%1:%2").arg(m_pSocket->localAddress().toString()).arg(m_pSocket->localPort())
               : QString::fromLatin1(host));
    context.now = QDateTime::currentDateTimeUtc().addSecs(device.iClockOffsetSec);
    const SOAP_ANSWER answer = AnswerOnvif(soap, context);
    Log(QStringLiteral("%1 -> %2").arg(soap.strOperation).arg(answer.iHttpStatus));
    SendLater(answer.iHttpStatus, answer.body);
}

bool CFakeOnvifConnection::Authenticate(const HTTP_REQUEST &request, const SOAP_REQUEST &soap)
{
    const FAKE_ONVIF_DEVICE &device = m_pEngine->Device(m_iDevice);
    if (device.auth == FakeOnvifAuth::None || IsPreAuthOperation(soap, device.bStrictAuth))
        return true;
    const QByteArray user = device.strUser.toUtf8();
    const QByteArray password = device.strPassword.toUtf8();
    if (device.auth == FakeOnvifAuth::HttpDigest) {
        const auto fields = OnvifAuth::ParseDigestFields(request.headers.value("authorization"));
        const QByteArray expected = OnvifAuth::DigestResponse(fields, request.method, password);
        if (!fields.isEmpty() && fields.value("username") == user && fields.value("realm") == "ONVIF"
            && m_pEngine->IsDigestNonce(fields.value("nonce")) && !expected.isEmpty()
            && fields.value("response").toLower() == expected)
            return true;
        ++m_pEngine->Stats().iAuthRejected;
        Log(QStringLiteral("%1: HTTP digest %2").arg(soap.strOperation, fields.isEmpty() ? "missing" : "refused"));
        QList<QByteArray> challenges;
        const QByteArray nonce = m_pEngine->NewDigestNonce();
        for (const QString &algorithm : device.digestAlgorithms)
            challenges.append("WWW-Authenticate: " + OnvifAuth::DigestChallenge("ONVIF", nonce, algorithm.toLatin1()));
        SendLater(401, {}, challenges);
        return false;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc().addSecs(device.iClockOffsetSec);
    const OnvifAuth::TokenCheck check =
        OnvifAuth::CheckUsernameToken(soap.token, user, password, now, device.iCreatedToleranceSec);
    if (check == OnvifAuth::TokenCheck::Accepted)
        return true;
    ++m_pEngine->Stats().iAuthRejected;
    static const char *const kWhy[] = {"accepted", "missing", "wrong credentials", "Created too far from the clock"};
    Log(QStringLiteral("%1: UsernameToken %2").arg(soap.strOperation, kWhy[int(check)]));
    const SOAP_ANSWER fault = SoapFault(soap.strEnvelopeNs, true, {"ter:NotAuthorized"}, "Sender not Authorized");
    SendLater(fault.iHttpStatus, fault.body);
    return false;
}

void CFakeOnvifConnection::Misbehave(const SOAP_REQUEST &soap)
{
    const FAKE_ONVIF_DEVICE &device = m_pEngine->Device(m_iDevice);
    // The answer the device would have given (authentication aside), to spoil.
    auto properAnswer = [&] {
        ANSWER_CONTEXT context;
        context.pDevice = &device;
        context.strBaseUrl = Scheme() + QStringLiteral("%1:%2").arg(device.strAddress).arg(device.iPort);
        context.now = QDateTime::currentDateTimeUtc().addSecs(device.iClockOffsetSec);
        return AnswerOnvif(soap, context).body;
    };
    Log(QStringLiteral("%1: misbehaving on purpose").arg(soap.strOperation));
    switch (device.fault) {
    case FakeOnvifFault::Silent:
        return; // busy for ever: nothing more is read from this connection
    case FakeOnvifFault::Malformed: {
        const QByteArray whole = properAnswer();
        SendLater(200, whole.left(whole.size() / 2) + "<tt:Broken attr=\"1><</env:Body>");
        return;
    }
    case FakeOnvifFault::Slow: {
        const QByteArray body = properAnswer();
        m_slowLeft = "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml; charset=utf-8\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        TrickleSlow();
        return;
    }
    case FakeOnvifFault::Huge:
    case FakeOnvifFault::HugeUnsized: {
        // A well-formed answer whose one text field fills the given size.
        const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><env:Envelope xmlns:env=\""
            + soap.strEnvelopeNs.toLatin1() + "\" xmlns:tds=\"" + OnvifNs::kDevice.toLatin1()
            + "\"><env:Body><tds:GetDeviceInformationResponse><tds:Manufacturer>";
        m_hugeTail = "</tds:Manufacturer></tds:GetDeviceInformationResponse></env:Body></env:Envelope>";
        m_iHugeLeft = qMax<qint64>(0, device.iHugeBytes - head.size() - m_hugeTail.size());
        m_bHugeCloses = device.fault == FakeOnvifFault::HugeUnsized;
        QByteArray header = "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml; charset=utf-8\r\n";
        header += m_bHugeCloses
            ? QByteArray("Connection: close\r\n")
            : "Content-Length: " + QByteArray::number(head.size() + m_iHugeLeft + m_hugeTail.size()) + "\r\n";
        m_pSocket->write(header + "\r\n" + head);
        m_pEngine->Stats().iHugeBytesSent += head.size();
        PumpHuge();
        return;
    }
    case FakeOnvifFault::None:
        break;
    }
}

QString CFakeOnvifConnection::Scheme() const
{
    return qobject_cast<QSslSocket *>(m_pSocket) ? QStringLiteral("https://") : QStringLiteral("http://");
}

void CFakeOnvifConnection::PumpHuge()
{
    static const QByteArray kFiller(kHugeChunk, 'A');
    while (m_pSocket->state() == QAbstractSocket::ConnectedState && m_pSocket->bytesToWrite() < kHugeBuffered
           && (m_iHugeLeft > 0 || !m_hugeTail.isEmpty())) {
        QByteArray piece;
        if (m_iHugeLeft > 0) {
            piece = m_iHugeLeft >= kHugeChunk ? kFiller : kFiller.left(int(m_iHugeLeft));
            m_iHugeLeft -= piece.size();
        } else {
            piece = m_hugeTail;
            m_hugeTail.clear();
        }
        m_pSocket->write(piece);
        m_pEngine->Stats().iHugeBytesSent += piece.size();
        NotePending();
    }
    if (m_iHugeLeft == 0 && m_hugeTail.isEmpty()) {
        if (m_bHugeCloses)
            m_bCloseAfter = true;
        Finish();
    }
}

void CFakeOnvifConnection::TrickleSlow()
{
    if (m_pSocket->state() != QAbstractSocket::ConnectedState)
        return;
    const FAKE_ONVIF_DEVICE &device = m_pEngine->Device(m_iDevice);
    const int perTick = qMax(1, device.iSlowBytesPerSecond * kSlowTickMs / 1000);
    m_pSocket->write(m_slowLeft.left(perTick));
    m_slowLeft.remove(0, perTick);
    if (m_slowLeft.isEmpty())
        Finish();
    else
        QTimer::singleShot(kSlowTickMs, this, &CFakeOnvifConnection::TrickleSlow);
}

void CFakeOnvifConnection::Send(int status, const QByteArray &body, const QList<QByteArray> &extraHeaders)
{
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + ' ' + Reason(status) + "\r\n";
    if (!body.isEmpty())
        response += "Content-Type: application/soap+xml; charset=utf-8\r\n";
    response += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const QByteArray &header : extraHeaders)
        response += header + "\r\n";
    if (m_bCloseAfter)
        response += "Connection: close\r\n";
    m_pSocket->write(response + "\r\n" + body);
    NotePending();
    Finish();
}

void CFakeOnvifConnection::SendLater(int status, const QByteArray &body, const QList<QByteArray> &extraHeaders)
{
    const int latency = m_pEngine->Device(m_iDevice).iLatencyMs;
    if (latency <= 0) {
        Send(status, body, extraHeaders);
        return;
    }
    QTimer::singleShot(latency, this, [this, status, body, extraHeaders] { Send(status, body, extraHeaders); });
}

void CFakeOnvifConnection::Finish()
{
    m_bBusy = false;
    if (m_bCounted)
        m_pEngine->RequestEnded(m_iDevice);
    m_bCounted = false;
    const int closeAfter = m_pEngine->Device(m_iDevice).iCloseAfterAnswers;
    if (m_bCloseAfter || (closeAfter > 0 && ++m_iAnswers >= closeAfter)) {
        m_pSocket->disconnectFromHost();
        return;
    }
    if (!m_buffer.isEmpty())
        QTimer::singleShot(0, this, &CFakeOnvifConnection::ProcessBuffer);
}

void CFakeOnvifConnection::NotePending()
{
    qint64 &peak = m_pEngine->Stats().iPeakPendingBytes;
    peak = qMax(peak, m_pSocket->bytesToWrite());
}

void CFakeOnvifConnection::Log(const QString &text) const
{
    if (m_pEngine->Verbose()) {
        const FAKE_ONVIF_DEVICE &device = m_pEngine->Device(m_iDevice);
        std::fprintf(stderr, "%s:%u %s\n", qPrintable(device.strAddress), unsigned(device.iPort), qPrintable(text));
    }
}
