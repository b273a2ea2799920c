// The survey and import run against fake ONVIF recorders on loopback, through the program's own
// device SDK backend: all devices at once against one device alone, and against one device at a
// time. Every request waits a fixed latency at the device, so the run is waiting, not computing.
//   <build>/bench-bin/bench_onvifimport [--devices 64] [--channels 16] [--latency 20] [--serial 8]
// "--serial N" times N devices one after the other and scales the figure to all of them (a full
// serial run of 64 recorders takes minutes).
#include "calc/bitratecalculator.h"
#include "import/deviceimporter.h"
#include "import/devicesurvey.h"
#include "import/parallelrun.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTextStream>

namespace {
struct RUN
{
    qint64 iMs = 0;
    int iCameras = 0;
};

// Survey of every device, then the import of those it could log in to.
RUN SurveyAndImport(QVector<STRU_DEVICE> devices, int maxParallel)
{
    QElapsedTimer clock;
    clock.start();
    // The copy still shares its data with the caller's: detached here, once, the workers only
    // write their own elements instead of each detaching it at the same time.
    STRU_DEVICE *const own = devices.data();
    RunParallel(devices.size(), maxParallel, [own](int i) { CDeviceSurvey::SurveyDevice(&own[i]); });
    CBitrateCalculator calculator;
    const QVector<STRU_CAMERA> cameras = CDeviceImporter(maxParallel).ImportDevices(devices, 0, calculator);
    return {clock.elapsed(), int(cameras.size())};
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
    parser.addOptions({devicesOption, channelsOption, latencyOption, serialOption});
    parser.process(app);
    const int count = parser.value(devicesOption).toInt();
    const int serial = std::min(count, parser.value(serialOption).toInt());

    QVector<FAKE_ONVIF_DEVICE> fakes;
    QVector<STRU_DEVICE> devices;
    for (int i = 0; i < count; ++i) {
        FAKE_ONVIF_DEVICE fake;
        fake.strAddress = QStringLiteral("127.0.%1.%2").arg(1 + i / 200).arg(2 + i % 200);
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
    CFakeOnvifServer server;
    if (!server.StartInThread(fakes)) {
        QTextStream(stderr) << "fake devices could not start\n";
        return 1;
    }
    NET_DVR_Init();
    NetDvr_SetBackend(std::make_shared<COnvifBackend>());

    const RUN one = SurveyAndImport(devices.mid(0, 1), kDeviceParallelism);
    const RUN all = SurveyAndImport(devices, kDeviceParallelism);
    const RUN serialRun = SurveyAndImport(devices.mid(0, serial), 1);
    const double serialAll = double(serialRun.iMs) * count / std::max(1, serial);

    QTextStream out(stdout);
    out << count << " recorders x " << parser.value(channelsOption) << " channels, " << parser.value(latencyOption)
        << " ms per request, up to " << kDeviceParallelism << " at once\n";
    out << QStringLiteral("  one device alone:        %1 ms, %2 cameras\n").arg(one.iMs).arg(one.iCameras);
    out << QStringLiteral("  all devices at once:     %1 ms, %2 cameras = %3 x one device (target 1.5)\n")
               .arg(all.iMs)
               .arg(all.iCameras)
               .arg(double(all.iMs) / std::max<qint64>(1, one.iMs), 0, 'f', 2);
    out << QStringLiteral("  one at a time (%1 timed): %2 ms for all = %3 x slower than all at once (target 30)\n")
               .arg(serial)
               .arg(serialAll, 0, 'f', 0)
               .arg(serialAll / std::max<qint64>(1, all.iMs), 0, 'f', 1);
    NetDvr_SetBackend(nullptr);
    return 0;
}
