// The survey and import run against fake ONVIF recorders on loopback, through the program's own
// device SDK backend: one device alone, all devices at once, and a few one after the other; then
// the same devices read by the npm "onvif" client (onvifclient.js beside this file), when npm is
// there. Every request waits a fixed latency at the device, so the run is mostly waiting.
//   <build>/bench-bin/bench_onvifimport [--devices 64] [--channels 16] [--latency 20] [--serial 8]
// "--serial N" times N devices one after the other and scales the figure to all of them.
//
// The fake devices run in a child process (this program with --serve), so that the CPU time
// measured here is the client's alone. They count requests and rounds: requests that arrive
// while another of the same device is being answered share its round, and the connections.
#include "calc/bitratecalculator.h"
#include "import/deviceimporter.h"
#include "import/devicesurvey.h"
#include "import/parallelrun.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <iostream>
#include <string>
#include <sys/resource.h>

namespace {
struct RUN
{
    qint64 iMs = 0;
    int iCameras = 0;
    double dCpuMs = 0;
    int iRequests = 0;
    int iRounds = 0;
    int iConnections = 0;
};

double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The child that serves the devices: answers "reset" and "stats" on its standard input.
int Serve(const QVector<FAKE_ONVIF_DEVICE> &fakes)
{
    CFakeOnvifServer server;
    if (!server.StartInThread(fakes)) {
        std::cout << "failed " << qPrintable(server.Error()) << std::endl;
        return 1;
    }
    std::cout << "ready" << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
        if (line == "reset") {
            server.ResetStats();
            std::cout << "done" << std::endl;
        } else if (line == "stats") {
            const FAKE_ONVIF_STATS stats = server.Stats();
            std::cout << stats.iRequests << ' ' << stats.iRounds << ' ' << stats.iConnections << std::endl;
        }
    }
    return 0;
}

class CServed
{
public:
    bool Start(const QStringList &arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationFilePath(), arguments + QStringList{"--serve"});
        return Ask({}) == "ready";
    }
    ~CServed()
    {
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }
    QByteArray Ask(const QByteArray &command)
    {
        if (!command.isEmpty())
            m_process.write(command + '\n');
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(60000))
                return {};
        return m_process.readLine().trimmed();
    }

private:
    QProcess m_process;
};

// Survey of every device, then the import of those it could log in to, on a fresh backend.
RUN SurveyAndImport(CServed &served, QVector<STRU_DEVICE> devices, int maxParallel)
{
    NetDvr_SetBackend(std::make_shared<COnvifBackend>());
    served.Ask("reset");
    const double cpu = CpuMs();
    QElapsedTimer clock;
    clock.start();
    // The copy still shares its data with the caller's: detached here, once, the workers only
    // write their own elements instead of each detaching it at the same time.
    STRU_DEVICE *const own = devices.data();
    RunParallel(devices.size(), maxParallel, [own](int i) { CDeviceSurvey::SurveyDevice(&own[i]); });
    CBitrateCalculator calculator;
    const QVector<STRU_CAMERA> cameras = CDeviceImporter(maxParallel).ImportDevices(devices, 0, calculator);
    RUN run{clock.elapsed(), int(cameras.size()), CpuMs() - cpu, 0, 0, 0};
    const QList<QByteArray> counts = served.Ask("stats").split(' ');
    run.iRequests = counts.value(0).toInt();
    run.iRounds = counts.value(1).toInt();
    run.iConnections = counts.value(2).toInt();
    return run;
}

QString PerDevice(const RUN &run, int devices)
{
    return QStringLiteral("%1 requests in %2 rounds on %3 connections, CPU %4 ms per device")
        .arg(double(run.iRequests) / devices, 0, 'f', 1)
        .arg(double(run.iRounds) / devices, 0, 'f', 1)
        .arg(double(run.iConnections) / devices, 0, 'f', 1)
        .arg(run.dCpuMs / devices, 0, 'f', 2);
}

// The npm client's figures ("one" and "all" in ms), or why there are none.
QString RunNpmClient(const QVector<FAKE_ONVIF_DEVICE> &fakes, double *oneMs, double *allMs)
{
    const QString npm = QStandardPaths::findExecutable(QStringLiteral("npm"));
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (npm.isEmpty() || node.isEmpty())
        return QStringLiteral("skipped: no npm");
    const QString folder = QStringLiteral(NORDA_BENCH_NPM_DIR);
    if (!QFileInfo::exists(folder + QStringLiteral("/node_modules/onvif/package.json"))) {
        QDir().mkpath(folder);
        QProcess install;
        install.start(npm, {"install", "--prefix", folder, "--no-audit", "--no-fund", "onvif@0.8.3"});
        if (!install.waitForFinished(300000) || install.exitCode() != 0)
            return QStringLiteral("skipped: npm install onvif@0.8.3 failed");
    }
    QStringList arguments{QStringLiteral(NORDA_BENCH_NPM_SCRIPT)};
    for (const FAKE_ONVIF_DEVICE &fake : fakes)
        arguments << QStringLiteral("%1:%2").arg(fake.strAddress).arg(fake.iPort);
    QProcess client;
    // The script lives with the sources, the package under the build folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NODE_PATH"), folder + QStringLiteral("/node_modules"));
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.start(node, arguments);
    if (!client.waitForFinished(600000) || client.exitCode() != 0)
        return QStringLiteral("failed");
    const QList<QByteArray> figures = client.readAllStandardOutput().trimmed().split(' ');
    *oneMs = figures.value(0).toDouble();
    *allMs = figures.value(1).toDouble();
    return figures.value(2) + QStringLiteral(" cameras");
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QCommandLineParser parser;
    const QCommandLineOption devicesOption("devices", "Recorders.", "N", "64");
    const QCommandLineOption channelsOption("channels", "Channels of each.", "N", "16");
    const QCommandLineOption latencyOption("latency", "Milliseconds before every answer.", "ms", "20");
    const QCommandLineOption serialOption("serial", "Devices timed one after the other.", "N", "8");
    const QCommandLineOption portOption("port", "Port of every device.", "port", "8000");
    const QCommandLineOption noNpmOption("no-npm", "Leave the npm client out.");
    const QCommandLineOption serveOption("serve", "Serve the devices (the child's part).");
    parser.addOptions(
        {devicesOption, channelsOption, latencyOption, serialOption, portOption, noNpmOption, serveOption});
    parser.process(app);
    const int count = parser.value(devicesOption).toInt();
    const int serial = std::min(count, parser.value(serialOption).toInt());

    QVector<FAKE_ONVIF_DEVICE> fakes;
    QVector<STRU_DEVICE> devices;
    for (int i = 0; i < count; ++i) {
        FAKE_ONVIF_DEVICE fake;
        fake.strAddress = QStringLiteral("127.0.%1.%2").arg(1 + i / 200).arg(2 + i % 200);
        fake.iPort = quint16(parser.value(portOption).toUInt());
        fake.bRecorder = true;
        fake.iChannels = parser.value(channelsOption).toInt();
        fake.iLatencyMs = parser.value(latencyOption).toInt();
        fakes << fake;
        STRU_DEVICE device;
        device.strIP = fake.strAddress.toLatin1();
        device.iPort = fake.iPort;
        device.strUserName = fake.strUser.toLatin1();
        device.strPassword = fake.strPassword.toLatin1();
        devices << device;
    }
    if (parser.isSet(serveOption))
        return Serve(fakes);

    QStringList childArguments;
    for (const QCommandLineOption &option : {devicesOption, channelsOption, latencyOption, portOption})
        childArguments << "--" + option.names().first() << parser.value(option);
    CServed served;
    if (!served.Start(childArguments)) {
        QTextStream(stderr) << "fake devices could not start\n";
        return 1;
    }
    NET_DVR_Init();

    const RUN one = SurveyAndImport(served, devices.mid(0, 1), kDeviceParallelism);
    const RUN all = SurveyAndImport(served, devices, kDeviceParallelism);
    const RUN serialRun = SurveyAndImport(served, devices.mid(0, serial), 1);
    const double serialAll = double(serialRun.iMs) * count / std::max(1, serial);
    NetDvr_SetBackend(nullptr);

    QTextStream out(stdout);
    out << count << " recorders x " << parser.value(channelsOption) << " channels, " << parser.value(latencyOption)
        << " ms per request, up to " << kDeviceParallelism << " at once\n";
    out << QStringLiteral("  one device alone:        %1 ms, %2 cameras, %3\n")
               .arg(one.iMs)
               .arg(one.iCameras)
               .arg(PerDevice(one, 1));
    out << QStringLiteral("  all devices at once:     %1 ms, %2 cameras = %3 x one device; %4\n")
               .arg(all.iMs)
               .arg(all.iCameras)
               .arg(double(all.iMs) / std::max<qint64>(1, one.iMs), 0, 'f', 2)
               .arg(PerDevice(all, count));
    out << QStringLiteral("  one at a time (%1 timed): %2 ms for all = %3 x slower than all at once\n")
               .arg(serial)
               .arg(serialAll, 0, 'f', 0)
               .arg(serialAll / std::max<qint64>(1, all.iMs), 0, 'f', 1);
    if (!parser.isSet(noNpmOption)) {
        double npmOne = 0, npmAll = 0;
        const QString note = RunNpmClient(fakes, &npmOne, &npmAll);
        if (npmAll > 0)
            out << QStringLiteral("  npm onvif 0.8.3:         one device %1 ms, all at once %2 ms, %3; NORDA takes "
                                  "%4 x its time for one, %5 x for all\n")
                       .arg(npmOne, 0, 'f', 0)
                       .arg(npmAll, 0, 'f', 0)
                       .arg(note)
                       .arg(one.iMs / npmOne, 0, 'f', 2)
                       .arg(all.iMs / npmAll, 0, 'f', 2);
        else
            out << "  npm onvif 0.8.3:         " << note << '\n';
    }
    return 0;
}
