// One keystroke on the Storage page with 1024 cameras in 32 groups on 16 recorders (64 cameras
// each), against a bare loop that sums
// the same 1024 records' bytes per day:
//   model: the recomputation a keystroke in one group's field starts (that group's cameras, every
//          group's row and the total), on its own;
//   model, every group: a keystroke in "Overhead", which every group's storage depends on;
//   model from scratch: the cameras grouped again (a move between groups) and every group computed;
//   page:  the keystroke in a group's "Days to keep" field as the user types it, with the result
//          table and every recorder's array, verdict and Fit rewritten and the events it leaves
//          processed.
// Each figure is the median of many runs; the model and the bare loop run alternately.
#include "bench/benchfigures.h"
#include "calc/calculatewidget.h"
#include "storage/storagepage.h"

#include <QApplication>
#include <QSpinBox>
#include <QTest>
#include <QTextStream>

#include <vector>

using namespace NordaStorage;

namespace {

const int kCameras = 1024;
const int kGroups = 32;

STRU_PLAN BigPlan()
{
    STRU_PLAN plan;
    plan.strDays = QStringLiteral("30");
    for (int g = 0; g < kGroups; ++g) {
        STRU_RECORDING_GROUP group;
        group.strName = QStringLiteral("Group %1").arg(g + 1);
        for (int hour = 8; hour < 18; ++hour)
            group.hours[hour] = g % 2 ? HourMode::Event : HourMode::Continuous;
        group.iActivityPercent = 20 + g;
        group.iNightFactorPercent = 60 + g;
        group.iDaysToKeep = 7 + g * 3;
        group.strRecorder = QStringLiteral("NVR %1").arg(g / 2 + 1);
        plan.storage.vecGroups << group;
    }
    for (int r = 0; r < kGroups / 2; ++r) {
        NordaArrays::STRU_RECORDER recorder{QStringLiteral("NVR %1").arg(r + 1), NordaArrays::STRU_DISK_ARRAY()};
        recorder.array.iBays = 16;
        recorder.array.eRaid = NordaArrays::RaidLevelAt(r % NordaArrays::kRaidLevels);
        recorder.array.iDisks = recorder.array.eRaid == NordaArrays::RaidLevel::Raid1 ? 2 : 8;
        plan.storage.vecRecorders << recorder;
    }
    for (int i = 0; i < kCameras; ++i) {
        STRU_CAMERA camera;
        camera.strName = "Camera " + QByteArray::number(i + 1);
        camera.iType = 0;
        camera.iResolution = i % 12;
        camera.iBitrate = 512 + 32 * (i % 200);
        camera.iAverageShare = 40 + i % 61;
        camera.strGroup = "Group " + QByteArray::number(i % kGroups + 1);
        plan.vecCamera << camera;
    }
    return plan;
}

volatile double g_sink = 0;

double BareBytesPerDay(const QVector<STRU_CAMERA> &cameras)
{
    double bytes = 0;
    for (const STRU_CAMERA &camera : cameras)
        bytes += camera.iBitrate * 125.0 * 3600 * 24;
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const STRU_PLAN plan = BigPlan();

    // The model against the bare loop.
    STRU_STORAGE_SETTINGS settings = plan.storage;
    CStorageCalculator calculator;
    calculator.SetCameras(plan.vecCamera, settings);
    const STRU_PAGE_TIME time = STRU_PAGE_TIME::FromTexts(plan.strDays, plan.strHoursPerDay2);
    std::vector<double> model, every, bare;
    for (int run = 0; run < 4001; ++run) {
        settings.vecGroups[run % kGroups].iDaysToKeep = 7 + run % 90; // what one keystroke changes
        QElapsedTimer clock;
        clock.start();
        calculator.Compute(settings, time);
        model.push_back(clock.nsecsElapsed() / 1e3);
        g_sink = g_sink + calculator.Total().dStorageGB;
        settings.iOverheadPercent = 10 + run % 2 * 5;
        clock.restart();
        calculator.Compute(settings, time);
        every.push_back(clock.nsecsElapsed() / 1e3);
        g_sink = g_sink + calculator.Total().dStorageGB;
        clock.restart();
        g_sink = g_sink + BareBytesPerDay(plan.vecCamera);
        bare.push_back(clock.nsecsElapsed() / 1e3);
    }
    // From scratch: cameras grouped again (after a move between groups), every group computed.
    std::vector<double> scratch;
    for (int run = 0; run < 1001; ++run) {
        QElapsedTimer clock;
        clock.start();
        calculator.SetCameras(plan.vecCamera, settings);
        calculator.Compute(settings, time);
        scratch.push_back(clock.nsecsElapsed() / 1e3);
        g_sink = g_sink + calculator.Total().dStorageGB;
    }
    const double scratchUs = Median(scratch);
    const double modelUs = Median(model);
    const double everyUs = Median(every);
    const double bareUs = Median(bare);

    // The page: one keystroke in a group's days field.
    CCalculateWidget panel;
    panel.SetPlan(plan);
    CStoragePage page(&panel);
    page.resize(1000, 680);
    page.show();
    QApplication::processEvents();
    page.SelectGroup(5);
    auto days = page.findChild<QSpinBox *>(QStringLiteral("m_pSpinDays"));
    days->setFocus();
    std::vector<double> keystrokes;
    for (int run = 0; run < 301; ++run) {
        const Qt::Key key = run % 2 ? Qt::Key_Down : Qt::Key_Up;
        keystrokes.push_back(TimeMs([&] { QTest::keyClick(days, key); }));
    }
    const double pageMs = Median(keystrokes);

    out << "Storage page, " << kCameras << " cameras in " << kGroups << " groups on " << kGroups / 2
        << " recorders (medians):\n"
        << "  recomputation after a keystroke in a group's field: " << QString::number(modelUs, 'f', 2) << " us\n"
        << "  recomputation of every group (a keystroke in Overhead): " << QString::number(everyUs, 'f', 2) << " us\n"
        << "  cameras grouped again and every group computed: " << QString::number(scratchUs, 'f', 2) << " us\n"
        << "  bare loop, bytes per day of the same records: " << QString::number(bareUs, 'f', 2) << " us\n"
        << "  ratios: " << QString::number(modelUs / bareUs, 'f', 2) << "x, every group "
        << QString::number(everyUs / bareUs, 'f', 2) << "x\n"
        << "  keystroke on the page (recomputation, result table, events): " << QString::number(pageMs, 'f', 3)
        << " ms\n";
    return 0;
}
