// Bursts of 1,000 announcements through the scripted announcer into a shown online device
// dialog: 1,000 devices appear, then all change their address, then all go away. For each burst
// it prints the time until the table is current, the cost of filling the same 1,000 rows into a
// QStandardItemModel shown in a tree view, the time the GUI thread worked meanwhile and its ratio
// to that fill, and the longest time the GUI thread did not come back to its event loop. The
// discovery thread works beside the GUI thread; on a loaded machine the time until the table is
// current also holds the time that thread waited for a core.
#include "bench/benchfigures.h"
#include "import/vigilwidget.h"
#include "tests/support/scriptedannouncer.h"

#include <QAbstractEventDispatcher>
#include <QCommandLineParser>
#include <QStandardItemModel>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {
const int kDevices = 1000;

QByteArray Serial(int i)
{
    return "SN" + QByteArray::number(100000 + i);
}

QByteArray Address(int i, int net)
{
    return "10." + QByteArray::number(net) + '.' + QByteArray::number(i / 250) + '.' + QByteArray::number(i % 250 + 1);
}

QVector<SCRIPTED_ANNOUNCEMENT> Burst(int event, int net)
{
    QVector<SCRIPTED_ANNOUNCEMENT> burst;
    for (int i = 0; i < kDevices; ++i)
        burst.append({event, Serial(i), Address(i, net), 8000, "V1.0 build 150101", 0});
    return burst;
}

// The same rows, straight into a model shown in a tree view.
double BareFill()
{
    QStandardItemModel model(0, 5);
    QTreeView view;
    view.setModel(&model);
    view.resize(680, 500);
    view.show();
    QApplication::processEvents();
    return TimeMs([&] {
        for (int i = 0; i < kDevices; ++i)
            model.appendRow({new QStandardItem(QString::fromLatin1(Address(i, 1))),
                             new QStandardItem(QString::asprintf("%5d", 8000)),
                             new QStandardItem(QString::fromLatin1(Serial(i))),
                             new QStandardItem(QStringLiteral("V1.0 build 150101")),
                             new QStandardItem(QStringLiteral("Waiting..."))});
    });
}

struct PHASE
{
    double dMs = 0;             // until the table is current
    double dBusyMs = 0;         // of which the GUI thread was working (not waiting for events)
    double dLongestStallMs = 0; // longest time the event loop did not come round
};

// Schedules the burst and runs the event loop until 'done' holds. The dispatcher's
// awake/aboutToBlock signals give the time the GUI thread worked; a 1 ms timer that should fire
// on every round of the event loop gives the longest stall.
PHASE RunBurst(CScriptedAnnouncer &announcer, const QVector<SCRIPTED_ANNOUNCEMENT> &burst,
               const std::function<bool()> &done)
{
    PHASE phase;
    QEventLoop loop;
    QElapsedTimer clock, sinceTick, busySince;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    const QMetaObject::Connection awake =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { busySince.restart(); });
    const QMetaObject::Connection blocking = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock,
                                                              [&] { phase.dBusyMs += busySince.nsecsElapsed() / 1e6; });
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        phase.dLongestStallMs = std::max(phase.dLongestStallMs, sinceTick.nsecsElapsed() / 1e6 - 1);
        sinceTick.restart();
        if (done() && loop.isRunning()) {
            phase.dMs = clock.nsecsElapsed() / 1e6;
            phase.dBusyMs += busySince.nsecsElapsed() / 1e6;
            QObject::disconnect(awake);
            QObject::disconnect(blocking);
            loop.quit();
        }
    });
    clock.start();
    sinceTick.start();
    busySince.start();
    ticker.start();
    announcer.Schedule(burst);
    loop.exec();
    return phase;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    QCommandLineOption runsOption("runs", "Runs per figure.", "n", "9");
    parser.addOption(runsOption);
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    // The dialog's threads write a line per login; they are not what is measured.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg)
            fprintf(stderr, "%s\n", qPrintable(message));
    });

    std::vector<double> bare;
    std::vector<double> current[3], busy[3];
    std::vector<double> stalls; // the longest of each run
    for (int run = 0; run < runs; ++run) {
        bare.push_back(BareFill());

        auto announcer = std::make_shared<CScriptedAnnouncer>();
        Vigil_SetBackend(announcer);
        CVigilWidget dlg(nullptr);
        dlg.setFixedSize(700, 600);
        dlg.show();
        QApplication::processEvents();
        const QAbstractItemModel *model = dlg.findChild<QTreeView *>()->model();
        const QString lastSerial = QString::fromLatin1(Serial(kDevices - 1));
        const QString lastChanged = QString::fromLatin1(Address(kDevices - 1, 2));

        const PHASE phases[3] = {
            RunBurst(*announcer, Burst(VIGIL_EVENT_APPEARED, 1),
                     [&] {
                         return model->rowCount() == kDevices
                             && model->index(kDevices - 1, 2).data().toString() == lastSerial;
                     }),
            // Announcements are applied in order: the last row's new address means all are in.
            RunBurst(*announcer, Burst(VIGIL_EVENT_CHANGED, 2),
                     [&] { return model->index(kDevices - 1, 0).data().toString() == lastChanged; }),
            RunBurst(*announcer, Burst(VIGIL_EVENT_VANISHED, 2), [&] { return model->rowCount() == 0; }),
        };
        stalls.push_back(0);
        for (int p = 0; p < 3; ++p) {
            current[p].push_back(phases[p].dMs);
            busy[p].push_back(phases[p].dBusyMs);
            stalls.back() = std::max(stalls.back(), phases[p].dLongestStallMs);
        }
        Vigil_SetBackend(nullptr);
    }

    QTextStream out(stdout);
    const double base = Median(bare);
    out << "online device dialog, bursts of 1,000 announcements, median of " << runs << " runs (ms)\n";
    out << QString("  filling 1,000 rows into a shown QStandardItemModel: %1\n").arg(base, 0, 'f', 1);
    const char *names[3] = {"appear", "change", "vanish"};
    for (int p = 0; p < 3; ++p)
        out << QString("  %1: table current after %2, GUI thread busy %3, ratio to the fill %4\n")
                   .arg(QLatin1String(names[p]))
                   .arg(Median(current[p]), 0, 'f', 1)
                   .arg(Median(busy[p]), 0, 'f', 1)
                   .arg(Median(busy[p]) / base, 0, 'f', 2);
    // The longest over all runs can hold time the machine gave to other processes.
    out << QString("  longest GUI stall: %1 (median of the runs' longest: %2)\n")
               .arg(*std::max_element(stalls.begin(), stalls.end()), 0, 'f', 1)
               .arg(Median(stalls), 0, 'f', 1);
    return 0;
}
