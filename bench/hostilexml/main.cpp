// CPU and time one hostile answer costs the program, end to end: each document is served once by
// a peer on 127.0.0.1 as the answer to one SOAP call (connect, send, receive, parse), and the
// datagram-sized ones are also parsed as WS-Discovery announcements. CPU is the calling thread's.
//   <build>/bench-bin/bench_hostilexml
#include "platform/onvif/onvifsoap.h"
#include "platform/wsdiscoverymessage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <arpa/inet.h>
#include <ctime>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

const QByteArray kHead = QByteArray("<s:Envelope xmlns:s=\"") + OnvifUri::kSoap + "\"><s:Body>";
const QByteArray kTail = "</s:Body></s:Envelope>";

QByteArray Attributes(int first, int count, const QByteArray &prefix = "a")
{
    QByteArray text;
    for (int i = first; i < first + count; ++i)
        text += ' ' + prefix + QByteArray::number(i) + "=\"1\"";
    return text;
}

// Filled up to about size bytes with copies of unit.
QByteArray Fill(const QByteArray &open, const std::function<QByteArray(int)> &unit, const QByteArray &close, int size)
{
    QByteArray xml = open;
    for (int i = 0; xml.size() + close.size() < size; ++i)
        xml += unit(i);
    return xml + close;
}

QByteArray OneElement(int size)
{
    QByteArray open = kHead + "<m:GetScopesResponse xmlns:m=\"" + OnvifUri::kDevice + "\"";
    QByteArray xml = open;
    for (int i = 0; xml.size() < size - 100; i += 1000)
        xml += Attributes(i, 1000);
    return xml + "/>" + kTail;
}

QByteArray ManyElements(int size)
{
    return Fill(
        kHead, [](int) { return "<x" + Attributes(0, 64) + "/>"; }, kTail, size);
}

QByteArray DeepNamespaces(int size)
{
    QByteArray open = kHead;
    QByteArray close;
    for (int depth = 0; depth < 40; ++depth) {
        open += "<d" + QByteArray::number(depth);
        for (int i = 0; i < 64; ++i)
            open += " xmlns:p" + QByteArray::number(depth * 64 + i) + "=\"urn:" + QByteArray::number(i) + '"';
        open += '>';
        close.prepend("</d" + QByteArray::number(depth) + '>');
    }
    return Fill(
        open, [](int) { return "<x" + Attributes(0, 64, "p0:a") + "/>"; }, close + kTail, size);
}

// At the limits (the envelope's declaration counts too): 64 attributes on each of 255 elements,
// then text.
QByteArray AttributesAtLimit(int size)
{
    QByteArray xml = kHead;
    for (int i = 0; i < 255; ++i)
        xml += "<x" + Attributes(0, 64) + "/>";
    xml += "<x" + Attributes(0, 63) + "/>";
    return Fill(
        xml, [](int) { return QByteArray(1000, 't'); }, kTail, size);
}

// At the limits: 128 prefixes in scope, and prefixed attributes of the outermost one.
QByteArray NamespacesAtLimit(int size)
{
    QByteArray open = kHead;
    QByteArray close;
    for (int depth = 0; depth < 2; ++depth) {
        open += "<d" + QByteArray::number(depth);
        for (int i = 0; i < 64 - depth; ++i)
            open += " xmlns:p" + QByteArray::number(depth * 64 + i) + "=\"urn:" + QByteArray::number(i) + '"';
        open += '>';
        close.prepend("</d" + QByteArray::number(depth) + '>');
    }
    for (int i = 0; i < 250; ++i)
        open += "<x" + Attributes(0, 64, "p0:a") + "/>";
    return Fill(
        open, [](int) { return QByteArray(1000, 't'); }, close + kTail, size);
}

QByteArray LongValues(int size)
{
    return Fill(
        kHead, [](int) { return "<x v=\"" + QByteArray(65000, 'v') + "\"/>"; }, kTail, size);
}

// Answers one HTTP request on 127.0.0.1 with body; returns the port.
quint16 ServeOnce(const QByteArray &body, std::thread *thread)
{
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    listen(listener, 1);
    *thread = std::thread([listener, body] {
        const int connection = accept(listener, nullptr, nullptr);
        char buffer[65536];
        QByteArray request;
        while (!request.contains("</s:Envelope>")) {
            const ssize_t got = read(connection, buffer, sizeof(buffer));
            if (got <= 0)
                break;
            request.append(buffer, static_cast<int>(got));
        }
        const QByteArray answer = "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        for (qsizetype sent = 0; sent < answer.size();) {
            const ssize_t wrote =
                write(connection, answer.constData() + sent, static_cast<size_t>(answer.size() - sent));
            if (wrote <= 0)
                break;
            sent += wrote;
        }
        close(connection);
        close(listener);
    });
    return ntohs(address.sin_port);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int answerSize = 1000 * 1000; // under the 1 MB cap on an answer
    const struct
    {
        const char *name;
        std::function<QByteArray(int)> build;
    } cases[] = {{"attributes on one element", OneElement},
                 {"64 attributes on every element", ManyElements},
                 {"64 prefixes declared at 40 levels", DeepNamespaces},
                 {"attribute values of 65,000 bytes", LongValues},
                 {"16,384 attributes (the limit)", AttributesAtLimit},
                 {"128 prefixes in scope (the limit)", NamespacesAtLimit}};

    out << "case                                  size        SOAP call: wall / CPU ms   outcome"
           "  WS-Discovery datagram: CPU ms\n";
    for (const auto &hostile : cases) {
        const QByteArray answer = hostile.build(answerSize);
        std::thread server;
        ONVIF_ENDPOINT endpoint{QStringLiteral("127.0.0.1"), ServeOnce(answer, &server), "/onvif/device_service"};
        QElapsedTimer clock;
        clock.start();
        double cpu = ThreadCpuMs();
        const ONVIF_RESULT result = OnvifCall(endpoint, OnvifUri::kDevice, "GetScopes", {}, nullptr, ONVIF_LIMITS());
        cpu = ThreadCpuMs() - cpu;
        const qint64 wall = clock.elapsed();
        server.join();

        QString datagrams;
        for (int size : {32000, 65000}) {
            const QByteArray datagram = hostile.build(size);
            double datagramCpu = ThreadCpuMs();
            WsDiscovery::Parse(datagram);
            datagramCpu = ThreadCpuMs() - datagramCpu;
            datagrams += QString::asprintf("  %dB: %.1f", size, datagramCpu);
        }
        out << QString::asprintf("%-36s %8lld   %10lld / %8.1f     %-16s", hostile.name,
                                 static_cast<long long>(answer.size()), static_cast<long long>(wall), cpu,
                                 OnvifOutcomeText(result.eOutcome))
            << " " << result.strDetail.left(40) << datagrams << '\n';
        out.flush();
    }
    return 0;
}
