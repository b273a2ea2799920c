// The recorders' box as a user drives it: live verdicts in the warning colour, an array it cannot
// build refused with its message, and Fit applied with one click.
#include "arrays/recorderbox.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

using namespace NordaArrays;

class TestRecorderBox : public QObject
{
    Q_OBJECT

private slots:
    void missedRetentionAndFit();
};

void TestRecorderBox::missedRetentionAndFit()
{
    CRecorderBox box;
    STRU_DISK_ARRAY raid6; // 8 x 8 TB RAID 6 and a spare records 41.04 TB
    raid6.iBays = 12;
    raid6.eRaid = RaidLevel::Raid6;
    raid6.iSpares = 1;
    box.SetRecorders({{FirstRecorderName(), raid6}, {QStringLiteral("192.168.1.64"), STRU_DISK_ARRAY()}});
    // 2.7648 TB a day for 14 days with a 15 % margin: 44.51 TB, too much for Recorder 1.
    box.SetGroups({{QStringLiteral("Default"), 0, {2.7648e12, 14}}, {QStringLiteral("Gate"), 1, {0.1e12, 30}}}, 15);
    box.show();
    auto recorders = box.findChild<QTreeWidget *>(QStringLiteral("m_pRecorderTable"));
    QCOMPARE(recorders->topLevelItem(0)->text(8), QStringLiteral("Missed: Default"));
    QCOMPARE(recorders->topLevelItem(0)->foreground(8).color(), QColor(0xD2, 0x4A, 0x43));
    QCOMPARE(recorders->topLevelItem(1)->text(8), QStringLiteral("Every group kept"));
    // 41.04 / (2.7648 x 1.15) days
    QCOMPARE(recorders->topLevelItem(0)->child(0)->text(8), QStringLiteral("Keeps 12.9 of 14 days"));

    // Typing 3 disks into RAID 6 is refused, never computed.
    auto disks = box.findChild<QSpinBox *>(QStringLiteral("m_pSpinDisks"));
    auto result = box.findChild<QLabel *>(QStringLiteral("m_pLabelArrayResult"));
    disks->selectAll();
    QTest::keyClicks(disks, QStringLiteral("3"));
    QCOMPARE(result->text(), QStringLiteral("RAID 6 needs at least 4 disks; the array has 3."));
    QCOMPARE(recorders->topLevelItem(0)->text(2), QString());

    // Fit: 44.51 / 6.84 = 6.5, so 7 data disks and 9 in RAID 6; one click applies it.
    auto fit = box.findChild<QLabel *>(QStringLiteral("m_pLabelFit"));
    QCOMPARE(fit->text(), QStringLiteral("Fit: 9 disks of 8 TB in RAID 6 keep every group's days. Plus 1 hot spare."));
    QSignalSpy changed(&box, &CRecorderBox::SignalRecordersChanged);
    QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("m_pBtnApplyFit")), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.Recorders().at(0).array.iDisks, 9);
    QCOMPARE(disks->value(), 9);
    QCOMPARE(recorders->topLevelItem(0)->text(8), QStringLiteral("Every group kept"));

    // A disk size finer than the field shows stays while another field changes.
    raid6.dDiskTB = 7.681;
    box.SetRecorders({{FirstRecorderName(), raid6}});
    disks->selectAll();
    QTest::keyClicks(disks, QStringLiteral("6"));
    QCOMPARE(box.Recorders().at(0).array.iDisks, 6);
    QCOMPARE(box.Recorders().at(0).array.dDiskTB, 7.681);
}

QTEST_MAIN(TestRecorderBox)
#include "tst_recorderbox.moc"
