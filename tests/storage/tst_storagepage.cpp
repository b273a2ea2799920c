// The Storage page on a calculation page's plan: groups per source device, live results while
// typing, hours clicked on the chart, cameras moved between groups, and the plan keeping it all.
#include "calc/calculatewidget.h"
#include "calc/storageplan.h"
#include "storage/hourchart.h"
#include "storage/storagepage.h"
#include "tests/support/camerafixture.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

#include <cmath>

using namespace NordaStorage;

namespace {
STRU_PLAN SitePlan()
{
    STRU_PLAN plan;
    plan.strDays = QStringLiteral("30");
    for (int i = 0; i < 9; ++i) {
        STRU_CAMERA camera =
            MakeCamera(QByteArray("Cam " + QByteArray::number(i + 1)).constData(), 0, 2, 0, 25, 1024 * (i + 1));
        if (i >= 3)
            camera.strDeviceIP = i < 7 ? "10.0.0.5" : "10.0.0.6";
        plan.vecCamera << camera;
    }
    return plan;
}
} // namespace

class TestStoragePage : public QObject
{
    Q_OBJECT

private slots:
    void groupsPerDevice();
    void editsRecomputeLive_data();
    void editsRecomputeLive();
    void movedCamerasStayInThePlan();
    void groupsRecordOnRecorders();
};

void TestStoragePage::groupsPerDevice()
{
    CCalculateWidget panel;
    panel.SetPlan(SitePlan());
    CStoragePage page(&panel);
    page.show();
    const auto table = page.findChild<QTreeWidget *>(QStringLiteral("m_pGroupTable"));
    QCOMPARE(page.Settings().vecGroups.size(), 3);
    QCOMPARE(table->topLevelItemCount(), 4); // and the total
    QCOMPARE(table->topLevelItem(0)->text(0), QStringLiteral("Default"));
    QCOMPARE(table->topLevelItem(1)->text(0), QStringLiteral("10.0.0.5"));
    QCOMPARE(table->topLevelItem(1)->text(1), QStringLiteral("4"));
    // Every group at its defaults records as "Calculate Disk": the same total.
    StoragePlan::DiskSpace disk;
    StoragePlan::CalculateDiskSpace(panel.Cameras(), QStringLiteral("30"), QStringLiteral("24"), &disk);
    QCOMPARE(QString::number(std::ceil(page.Calculator().Total().dStorageGB), 'g', 6), disk.gb);
    QCOMPARE(table->topLevelItem(3)->text(5), QString::number(page.Calculator().Total().TB(), 'f', 2));
    QCOMPARE(table->topLevelItem(3)->textAlignment(5) & Qt::AlignRight, int(Qt::AlignRight));
}

void TestStoragePage::editsRecomputeLive_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("clickedHour"); // -1: none
    QTest::addColumn<double>("hours");
    QTest::addColumn<int>("days");
    QTest::newRow("days to keep") << "m_pSpinDays"
                                  << "90" << -1 << 24.0 << 90;
    QTest::newRow("an hour to events, half active") << "m_pSpinActivity"
                                                    << "50" << 3 << 23.5 << 30;
    // Night 18-6 (12 hours) at 60 %: 12 + 12 x 0.6 = 19.2.
    QTest::newRow("night at 60 %") << "m_pSpinNightFactor"
                                   << "60" << -1 << 19.2 << 30;
}

void TestStoragePage::editsRecomputeLive()
{
    QFETCH(QString, spin);
    QFETCH(QString, typed);
    QFETCH(int, clickedHour);
    QFETCH(double, hours);
    QFETCH(int, days);
    CCalculateWidget panel;
    panel.SetPlan(SitePlan());
    CStoragePage page(&panel);
    page.resize(1000, 680);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.SelectGroup(1);
    QSignalSpy changed(&panel, &CCalculateWidget::SignalPlanChanged);
    if (clickedHour >= 0) {
        const auto chart = page.findChild<CHourChart *>();
        QPoint point(0, chart->height() / 2);
        while (chart->HourAt(point) != clickedHour)
            point.rx() += 2;
        QTest::mouseClick(chart, Qt::LeftButton, {}, point);
    }
    const auto field = page.findChild<QSpinBox *>(spin);
    field->selectAll();
    QTest::keyClicks(field, typed);
    const STRU_GROUP_RESULT &result = page.Calculator().Groups().at(1);
    QVERIFY(std::abs(result.dEffectiveHours - hours) < 1e-9);
    QCOMPARE(result.iDays, qint64(days));
    // 4 cameras of 4096..7168 kbit/s: 22528 kbit/s.
    QVERIFY(std::abs(result.dStorageGB - days * hours * (22528.0 * 3600) * 1.15 / 8e6) < 1e-6);
    QVERIFY(!changed.isEmpty());
    QVERIFY(panel.Plan().storage.vecGroups.at(1) == page.Settings().vecGroups.at(1));
}

void TestStoragePage::movedCamerasStayInThePlan()
{
    CCalculateWidget panel;
    panel.SetPlan(SitePlan());
    CStoragePage page(&panel);
    page.show();
    page.MoveCameras({0, 8}, QStringLiteral("Gate"));
    QCOMPARE(panel.Cameras().at(0).strGroup, QByteArray("Gate"));
    QCOMPARE(panel.Cameras().at(8).strGroup, QByteArray("Gate"));
    const int gate = page.Settings().IndexOfGroup(QStringLiteral("Gate"));
    QVERIFY(gate >= 0);
    QCOMPARE(page.Calculator().Groups().at(gate).iCameras, 2);
    QCOMPARE(page.Calculator().Groups().at(0).iCameras, 2); // Default keeps Cam 2 and Cam 3
    QCOMPARE(panel.Plan().storage.IndexOfGroup(QStringLiteral("Gate")), gate);
    // One step on the undo stack, and the page follows it back.
    panel.UndoStack()->undo();
    QVERIFY(panel.Cameras().at(0).strGroup.isEmpty());
    QCOMPARE(page.Calculator().Groups().at(0).iCameras, 3);
}

void TestStoragePage::groupsRecordOnRecorders()
{
    CCalculateWidget panel;
    panel.SetPlan(SitePlan());
    CStoragePage page(&panel);
    page.resize(1000, 680);
    page.show();
    // Hand-added cameras on Recorder 1; 10.0.0.5 and 10.0.0.6 gave several cameras: recorders.
    QStringList names;
    for (const NordaArrays::STRU_RECORDER &recorder : page.Settings().vecRecorders)
        names << recorder.strName;
    QCOMPARE(names, QStringList({"Recorder 1", "10.0.0.5", "10.0.0.6"}));
    const auto recorders = page.findChild<QTreeWidget *>(QStringLiteral("m_pRecorderTable"));
    QCOMPARE(recorders->topLevelItemCount(), 3);

    // Group 10.0.0.5 moved onto Recorder 1, then asked for ten years: Recorder 1 misses it at once.
    page.SelectGroup(1);
    const auto combo = page.findChild<QComboBox *>(QStringLiteral("m_pComboRecorder"));
    QTest::keyClick(combo, Qt::Key_Home);
    QCOMPARE(panel.Plan().storage.vecGroups.at(1).strRecorder, QStringLiteral("Recorder 1"));
    QCOMPARE(recorders->topLevelItem(0)->text(8), QStringLiteral("Every group kept"));
    const auto days = page.findChild<QSpinBox *>(QStringLiteral("m_pSpinDays"));
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("3650"));
    QCOMPARE(recorders->topLevelItem(0)->text(8), QStringLiteral("Missed: 10.0.0.5"));
    QCOMPARE(recorders->topLevelItem(0)->foreground(8).color(), QColor(0xD2, 0x4A, 0x43));
    QCOMPARE(recorders->topLevelItem(1)->text(8), QStringLiteral("Every group kept"));
}

QTEST_MAIN(TestStoragePage)
#include "tst_storagepage.moc"
