// Discovery of 256 fake ONVIF devices over WS-Discovery, all the way into the online device
// dialog's table, inside a private network namespace of its own (the program re-executes itself
// under unshare -n; multicast never leaves it). The devices answer each probe after a random
// wait of up to 500 ms, as real ones do; their Hello went out before discovery started, so only
// probes find them. Prints, per run, the time until all 256 rows are in the table and the probe
// rounds it took; the goal is two rounds at most.
#include "import/vigilwidget.h"
#include "platform/vigil.h"
#include "platform/wsdiscovery.h"
#include "tests/support/privatenetwork.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

namespace {
const int kDevices = 256;
const int kProbeIntervalMs = 2000;
const int kGiveUpMs = 30000;

struct RUN
{
    bool bComplete = false;
    double dMs = 0;
    int iRounds = 0;
    int iRows = 0;
};

RUN Discover()
{
    auto backend = std::make_shared<CWsDiscoveryBackend>([] {
        WSDISCOVERY_OPTIONS options;
        options.iProbeIntervalMs = kProbeIntervalMs;
        return options;
    }());
    Vigil_SetBackend(backend);
    RUN run;
    QElapsedTimer clock;
    clock.start();
    {
        CVigilWidget dlg(nullptr); // starts discovery
        dlg.show();
        const QAbstractItemModel *model = dlg.findChild<QTreeView *>()->model();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            run.iRows = model->rowCount();
            if (run.iRows >= kDevices || clock.elapsed() > kGiveUpMs) {
                run.bComplete = run.iRows >= kDevices;
                run.dMs = clock.nsecsElapsed() / 1e6;
                run.iRounds = backend->ProbesSent();
                loop.quit();
            }
        });
        poll.start(2);
        loop.exec();
    }
    VIGIL_Stop();
    Vigil_SetBackend(nullptr);
    return run;
}
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    QCommandLineOption runsOption("runs", "Runs.", "n", "5");
    parser.addOption(runsOption);
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());

    int exitCode = 0;
    QString why;
    switch (PrivateNetwork::Enter(argc, argv, &exitCode, &why)) {
    case PrivateNetwork::Outcome::ChildFinished:
        return exitCode;
    case PrivateNetwork::Outcome::Unavailable:
        std::fprintf(stderr, "bench_discovery: needs a private network namespace: %s\n", qPrintable(why));
        return 1;
    case PrivateNetwork::Outcome::Inside:
        break;
    }
    // The dialog's login threads write a line per device, the offscreen platform its limits;
    // neither is what is measured.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (type != QtDebugMsg && !QByteArray(context.category).startsWith("qt.qpa")
            && !message.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });

    FAKE_ONVIF_DEVICE model;
    model.strAddress = QStringLiteral("127.0.1.1");
    QVector<FAKE_ONVIF_DEVICE> devices;
    QString error;
    if (!FakeOnvifConfig::Expand(model, kDevices, false, &devices, &error))
        return std::fprintf(stderr, "%s\n", qPrintable(error)), 1;
    CFakeOnvifServer fakes;
    if (!fakes.EnableDiscovery() || !fakes.StartInThread(devices))
        return std::fprintf(stderr, "%s\n", qPrintable(fakes.Error())), 1;

    QTextStream out(stdout);
    out << QString("WS-Discovery of %1 fake devices into the online device dialog, probe every %2 ms, "
                   "answers up to 500 ms late\n")
               .arg(kDevices)
               .arg(kProbeIntervalMs);
    int worstRounds = 0;
    bool allComplete = true;
    for (int i = 0; i < runs; ++i) {
        const RUN run = Discover();
        out << QString("  run %1: %2 of %3 rows after %4 ms, %5 probe round(s)\n")
                   .arg(i + 1)
                   .arg(run.iRows)
                   .arg(kDevices)
                   .arg(run.dMs, 0, 'f', 1)
                   .arg(run.iRounds);
        out.flush();
        worstRounds = std::max(worstRounds, run.iRounds);
        allComplete = allComplete && run.bComplete;
    }
    out << QString("all rows present within 2 probe rounds: %1 (worst run: %2 round(s)%3)\n")
               .arg(allComplete && worstRounds <= 2 ? "yes" : "no")
               .arg(worstRounds)
               .arg(allComplete ? "" : ", some runs incomplete");
    return 0;
}
