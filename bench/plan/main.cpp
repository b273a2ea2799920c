// Plan files and reports with 1024 cameras, each against its bare equivalent in the same run:
//   opening a plan (reading the file's text into a plan and handing its cameras to a camera list)
//   vs. appending the same 1024 cameras to a fresh camera list one by one, as the add dialog does,
//   both also with the seven-column table model the panel fills for them;
//   the report as a PDF vs. the same table printed from a plain QTextDocument to a PDF.
// Each figure is the median of several runs; both sides of a pair run alternately.
#include "calc/calculatewidget.h"
#include "calc/cameralist.h"
#include "calc/planfile.h"
#include "calc/planreport.h"
#include "toolkit/warndlg.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QStandardItemModel>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextStream>
#include <QTextTable>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const int kCameras = 1024;

STRU_PLAN BigPlan()
{
    STRU_PLAN plan;
    plan.strDiskGB = QStringLiteral("20000");
    plan.strDays = QStringLiteral("30");
    for (int i = 0; i < kCameras; ++i) {
        STRU_CAMERA camera;
        camera.strName = "Camera " + QByteArray::number(i + 1);
        camera.iType = i % 2;
        camera.iResolution = camera.iType == 1 ? 8 + i % 4 : i % 12;
        camera.iLevel = i % 6;
        camera.dFramerate = i % 3 == 0 ? 25 : (i % 3 == 1 ? 12.5 : 0.5);
        camera.iBitrate = 512 + 32 * (i % 100);
        if (i % 4 == 0) {
            camera.strDeviceIP = "192.168.1." + QByteArray::number(i % 250);
            camera.iPort = 8000;
            camera.iChannel = 33 + i % 32;
        }
        plan.vecCamera << camera;
    }
    return plan;
}

double TimeMs(const std::function<void()> &operation)
{
    QElapsedTimer clock;
    clock.start();
    operation();
    return clock.nsecsElapsed() / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The rows the panel's table shows for the cameras.
void FillModel(const QVector<STRU_CAMERA> &cameras)
{
    QStandardItemModel model(0, NordaVocab::kColumnCount);
    for (const STRU_CAMERA &camera : cameras) {
        QList<QStandardItem *> items;
        for (const QString &text : NordaVocab::CameraRowTexts(camera))
            items << new QStandardItem(text);
        model.appendRow(items);
    }
}

void BarePdf(const STRU_PLAN &plan, QIODevice *device)
{
    QPdfWriter writer(device);
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTable *table = cursor.insertTable(plan.vecCamera.size() + 1, 7);
    for (int column = 0; column < 7; ++column) {
        cursor.insertText(QStringLiteral("Column %1").arg(column));
        cursor.movePosition(QTextCursor::NextCell);
    }
    for (const STRU_CAMERA &camera : plan.vecCamera) {
        const QStringList cells{QString::fromLocal8Bit(camera.strName),
                                NordaVocab::DeviceTypeText(camera.iType),
                                NordaVocab::ResolutionText(camera.iResolution),
                                NordaVocab::FramerateText(camera.dFramerate),
                                NordaVocab::LevelText(camera.iLevel),
                                QString::number(camera.iBitrate),
                                QString::number(camera.iBitrate * 0.01242, 'f', 2)};
        for (const QString &cell : cells) {
            cursor.insertText(cell);
            cursor.movePosition(QTextCursor::NextCell);
        }
    }
    Q_UNUSED(table);
    document.print(&writer);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const STRU_PLAN plan = BigPlan();
    const QByteArray file = CPlanFile::Write(plan);

    std::vector<double> open, openList, append, openRows, appendRows;
    for (int run = 0; run < 31; ++run) {
        openRows.push_back(TimeMs([&] {
            STRU_PLAN read;
            CPlanFile::Read(file, &read, nullptr);
            CCameraList list;
            list.ReplaceAll(read.vecCamera);
            FillModel(list.Cameras());
        }));
        appendRows.push_back(TimeMs([&] {
            CCameraList list;
            for (const STRU_CAMERA &camera : plan.vecCamera)
                list.AddBatch(camera, QStringLiteral("Camera"), 1);
            FillModel(list.Cameras());
        }));
        open.push_back(TimeMs([&] {
            STRU_PLAN read;
            CPlanFile::Read(file, &read, nullptr);
        }));
        openList.push_back(TimeMs([&] {
            STRU_PLAN read;
            CPlanFile::Read(file, &read, nullptr);
            CCameraList list;
            list.ReplaceAll(read.vecCamera);
        }));
        append.push_back(TimeMs([&] {
            CCameraList list;
            for (const STRU_CAMERA &camera : plan.vecCamera)
                list.AddBatch(camera, QStringLiteral("Camera"), 1);
        }));
    }
    // Through the panel, as the user meets it: opening a plan file onto a shown page against
    // adding the same cameras by hand (the limit message answered at once).
    std::vector<double> panelOpen, panelAdd;
    for (int run = 0; run < 15; ++run) {
        CCalculateWidget opened;
        opened.show();
        QApplication::processEvents();
        panelOpen.push_back(TimeMs([&] {
            STRU_PLAN read;
            CPlanFile::Read(file, &read, nullptr);
            opened.SetPlan(read);
            QApplication::processEvents();
        }));
        CCalculateWidget added;
        added.show();
        QApplication::processEvents();
        CWarnDlg::SetNextAnswer(1);
        panelAdd.push_back(TimeMs([&] {
            added.OnAddDeviceImport(plan.vecCamera.first(), QStringLiteral("Camera"), kCameras);
            QApplication::processEvents();
        }));
        CWarnDlg::ClearNextAnswers();
    }
    std::vector<double> report, bare, csv;
    for (int run = 0; run < 7; ++run) {
        report.push_back(TimeMs([&] {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            CPlanReport(plan, QStringLiteral("Bench")).WritePdf(&buffer);
        }));
        bare.push_back(TimeMs([&] {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            BarePdf(plan, &buffer);
        }));
        csv.push_back(TimeMs([&] { CPlanReport(plan, QStringLiteral("Bench")).Csv(); }));
    }

    const double appendMs = Median(append);
    const double bareMs = Median(bare);
    out << "Plan of " << kCameras << " cameras, " << file.size() / 1024 << " KB\n";
    out << QStringLiteral("  open (Read):                    %1 ms  = %2 x appending\n")
               .arg(Median(open), 0, 'f', 2)
               .arg(Median(open) / appendMs, 0, 'f', 1);
    out << QStringLiteral("  open into a camera list:        %1 ms  = %2 x appending (target 1.5)\n")
               .arg(Median(openList), 0, 'f', 2)
               .arg(Median(openList) / appendMs, 0, 'f', 1);
    out << QStringLiteral("  append 1024 cameras one by one: %1 ms\n").arg(appendMs, 0, 'f', 2);
    out << QStringLiteral("  with table rows: open %1 ms, append %2 ms = %3 x\n")
               .arg(Median(openRows), 0, 'f', 2)
               .arg(Median(appendRows), 0, 'f', 2)
               .arg(Median(openRows) / Median(appendRows), 0, 'f', 2);
    out << QStringLiteral("  through the panel: open %1 ms, add by hand %2 ms = %3 x (target 1.5)\n")
               .arg(Median(panelOpen), 0, 'f', 2)
               .arg(Median(panelAdd), 0, 'f', 2)
               .arg(Median(panelOpen) / Median(panelAdd), 0, 'f', 2);
    out << QStringLiteral("  report PDF:                     %1 ms  = %2 x the bare table (target 2)\n")
               .arg(Median(report), 0, 'f', 1)
               .arg(Median(report) / bareMs, 0, 'f', 2);
    out << QStringLiteral("  bare table PDF:                 %1 ms\n").arg(bareMs, 0, 'f', 1);
    out << QStringLiteral("  report CSV:                     %1 ms\n").arg(Median(csv), 0, 'f', 2);
    return 0;
}
