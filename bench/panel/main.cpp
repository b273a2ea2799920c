// Times the panel's list operations with 1024 cameras against the cost of filling a fresh
// 1024-row, 7-column model shown in the same table view. Each figure is the median of several
// runs, each on a fresh panel, including the layout the view does afterwards.
//
// With "--grab <file.png>" it instead saves a picture of the skinned panel holding a few
// cameras, for looking at the form.
#include "calc/calculatewidget.h"
#include "toolkit/programlook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <map>

namespace {

const int kRuns = 15;
const int kCameras = 1024;

STRU_CAMERA Template()
{
    STRU_CAMERA camera;
    camera.iType = 1;
    camera.iResolution = 8;
    camera.iLevel = 0;
    camera.dFramerate = 25;
    camera.iBitrate = 2048;
    camera.iRecommendedBitrate = 3072;
    return camera;
}

// Closes the limit message as soon as it shows; the figures should not wait for a user.
void CloseMessages()
{
    auto timer = new QTimer(qApp);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    timer->start();
}

double Time(const std::function<void()> &operation)
{
    QElapsedTimer clock;
    clock.start();
    operation();
    QApplication::processEvents(); // delayed layouts of the view
    return clock.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Grab(const QString &path)
{
    ApplyProgramLook();
    CCalculateWidget panel;
    STRU_CAMERA camera = Template();
    panel.OnAddDeviceImport(camera, "Channel", 3);
    camera.iType = 0;
    camera.iResolution = 2;
    camera.dFramerate = 12.5;
    camera.iBitrate = 4096;
    camera.iRecommendedBitrate = 5120;
    panel.OnAddDeviceImport(camera, "Lobby", 2);
    camera.iResolution = 1;
    camera.dFramerate = 0.0625;
    camera.iBitrate = 16384;
    panel.OnAddDeviceImport(camera, "QuiteALongCameraName", 1);
    panel.show();
    QApplication::processEvents();
    if (!panel.grab().save(path))
        return 1;
    // The second tab beside it: "<name>-disk.png".
    panel.findChild<QTabWidget *>("m_pTabCalculate")->setCurrentIndex(1);
    QApplication::processEvents();
    QString second = path;
    second.insert(second.lastIndexOf(QLatin1Char('.')), QLatin1String("-disk"));
    return panel.grab().save(second) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--grab"))
        return Grab(QString::fromLocal8Bit(argv[2]));
    CloseMessages();
    std::map<QString, std::vector<double>> figures;
    const QStringList order = {"baseline: fresh 1024x7 model in the view",
                               "add 1024 in one batch (limit message)",
                               "add 1023 in one batch",
                               "switch PAL to NTSC",
                               "switch NTSC to PAL",
                               "RefreshRows",
                               "delete all 1024 selected rows"};

    for (int run = 0; run < kRuns; ++run) {
        {
            CCalculateWidget panel;
            panel.show();
            QApplication::processEvents();
            figures[order[2]].push_back(Time([&] { panel.OnAddDeviceImport(Template(), "Cam", kCameras - 1); }));
        }
        CCalculateWidget panel;
        panel.show();
        QApplication::processEvents();
        auto table = panel.findChild<QTreeView *>("m_pTableCamera");
        figures[order[1]].push_back(Time([&] { panel.OnAddDeviceImport(Template(), "Cam", kCameras); }));
        figures[order[3]].push_back(Time([&] { panel.findChild<QRadioButton *>("m_pRadioNTSC")->click(); }));
        figures[order[4]].push_back(Time([&] { panel.findChild<QRadioButton *>("m_pRadioPAL")->click(); }));
        figures[order[5]].push_back(Time([&] { panel.RefreshRows(); }));
        table->selectAll();
        QApplication::processEvents();
        figures[order[6]].push_back(Time([&] { panel.findChild<QAbstractButton *>("m_pBtnDel")->click(); }));
        if (panel.CameraCount() != 0 || table->model()->rowCount() != 0)
            qFatal("deleting did not empty the list");

        // The baseline: the cheapest way to show 1024 rows of seven texts in this view.
        figures[order[0]].push_back(Time([&] {
            auto model = new QStandardItemModel(kCameras, 7, &panel);
            for (int row = 0; row < kCameras; ++row) {
                const QStringList texts = NordaVocab::CameraRowTexts(Template());
                for (int column = 0; column < 7; ++column)
                    model->setItem(row, column, new QStandardItem(texts.at(column)));
            }
            table->setModel(model);
        }));
    }

    QTextStream out(stdout);
    const double baseline = Median(figures[order[0]]);
    out << "Calculation panel, 1024 cameras, median of " << kRuns << " runs\n";
    for (const QString &name : order) {
        const double ms = Median(figures[name]);
        out << QString("  %1 %2 ms  %3 x baseline\n").arg(name, -44).arg(ms, 8, 'f', 2).arg(ms / baseline, 5, 'f', 2);
    }
    return 0;
}
