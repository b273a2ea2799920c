// bench_measure: many streams measured at once. Prints the wall time against the window, the CPU
// time of the measuring per stream (as a share of one core), and the memory each stream adds.
#include "measure/streammeasurer.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "tests/support/privatenetwork.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Resident memory in KiB.
qint64 RssKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    QString why;
    switch (PrivateNetwork::Enter(argc, argv, &exitCode, &why)) {
    case PrivateNetwork::Outcome::ChildFinished:
        return exitCode;
    case PrivateNetwork::Outcome::Unavailable:
        std::fprintf(stderr, "bench_measure: no private network namespace: %s\n", qPrintable(why));
        return 0;
    case PrivateNetwork::Outcome::Inside:
        break;
    }
    QCommandLineParser parser;
    QCommandLineOption streamsOption("streams", "Streams measured at once.", "N", "64");
    QCommandLineOption secondsOption("seconds", "Window.", "s", "10");
    QCommandLineOption codecOption("codec", "H264 or H265.", "codec", "H264");
    parser.addOptions({streamsOption, secondsOption, codecOption});
    parser.addHelpOption();
    parser.process(app);
    const int count = qBound(1, parser.value(streamsOption).toInt(), CStreamMeasurer::kMaxStreams);
    const double seconds = qMax(1.0, parser.value(secondsOption).toDouble());

    QProcess fake;
    fake.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    fake.start(QStringLiteral(NORDA_FAKEDEVICE),
               {"--count", QString::number(count), "--rtsp", "--stream",
                parser.value(codecOption) + QStringLiteral(":640x360:25:1024")});
    int listening = 0;
    while (listening < count && fake.waitForReadyRead(30000))
        while (fake.canReadLine())
            listening += fake.readLine().startsWith("listening");
    if (listening < count) {
        std::fprintf(stderr, "bench_measure: the fake devices did not start\n");
        return 1;
    }

    COnvifBackend backend;
    QVector<STREAM_SOURCE> sources;
    for (int i = 0; i < count; ++i) {
        const QByteArray address =
            QHostAddress(QHostAddress(QStringLiteral("127.0.0.1")).toIPv4Address() + quint32(i)).toString().toLatin1();
        NET_DVR_LOGIN_ANSWER answer{};
        uint32_t error = 0;
        const int user = backend.Login(address.constData(), 8000, "admin", "12345", &answer, &error);
        QString uri;
        if (user < 0 || !backend.GetStreamUri(user, COnvifBackend::kFirstChannel, &uri, &error)) {
            std::fprintf(stderr, "bench_measure: no stream address from %s (%u)\n", address.constData(), error);
            return 1;
        }
        sources.append({uri, QStringLiteral("admin"), QStringLiteral("12345")});
    }

    CStreamMeasurer measurer;
    qint64 rssBefore = RssKib();
    qint64 rssPeak = rssBefore;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] { rssPeak = qMax(rssPeak, RssKib()); });
    sample.start(250);
    QObject::connect(&measurer, &CStreamMeasurer::AllFinished, &app, &QCoreApplication::quit);
    const double cpuBefore = CpuSeconds();
    QElapsedTimer clock;
    clock.start();
    measurer.Start(sources, seconds);
    app.exec();
    const double wall = clock.nsecsElapsed() / 1e9;
    const double cpu = CpuSeconds() - cpuBefore;

    int measured = 0;
    double sumKbps = 0, minKbps = 1e12, maxKbps = 0;
    for (int i = 0; i < count; ++i) {
        const STREAM_MEASUREMENT &result = measurer.Result(i);
        if (!result.IsMeasured())
            continue;
        ++measured;
        sumKbps += result.dAverageKbps;
        minKbps = qMin(minKbps, result.dAverageKbps);
        maxKbps = qMax(maxKbps, result.dAverageKbps);
    }
    std::printf("%d streams (%s), window %.0f s: %d measured, average %.1f kbit/s (%.1f .. %.1f)\n", count,
                qPrintable(parser.value(codecOption)), seconds, measured, measured ? sumKbps / measured : 0.0,
                measured ? minKbps : 0.0, maxKbps);
    std::printf("wall %.2f s = %.2fx the window\n", wall, wall / seconds);
    std::printf("CPU %.3f s = %.2f %% of one core per stream\n", cpu, 100.0 * cpu / wall / count);
    std::printf("RSS %lld KiB before, %lld KiB at most: %.0f KiB per stream\n", rssBefore, rssPeak,
                double(rssPeak - rssBefore) / count);
    fake.terminate();
    fake.waitForFinished(10000);
    return measured == count ? 0 : 1;
}
