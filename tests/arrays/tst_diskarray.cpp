// Disk arrays of recorders: capacities and loads worked out by hand, refusals with their messages,
// the days two groups keep on a shared array, and Fit against trying every disk count.
#include "arrays/arrayload.h"

#include <QRandomGenerator>
#include <QTest>

using namespace NordaArrays;

Q_DECLARE_METATYPE(NordaArrays::STRU_DISK_ARRAY)
Q_DECLARE_METATYPE(NordaArrays::ArrayProblem)
Q_DECLARE_METATYPE(QVector<NordaArrays::STRU_GROUP_DEMAND>)

namespace {

STRU_DISK_ARRAY Array(int bays, int disks, double tb, RaidLevel raid, int spares = 0, double reserve = 0,
                      double fill = 0, int groupSize = 4)
{
    STRU_DISK_ARRAY array;
    array.iBays = bays;
    array.iDisks = disks;
    array.dDiskTB = tb;
    array.eRaid = raid;
    array.iSpares = spares;
    array.dReservePercent = reserve;
    array.dFillLimitPercent = fill;
    array.iGroupSize = groupSize;
    return array;
}

// 64 cameras at 4 Mbit/s: 4e6 / 8 x 86400 x 64 = 2.7648e12 bytes a day.
const double kBusyDay = 2.7648e12;

} // namespace

class TestDiskArray : public QObject
{
    Q_OBJECT

private slots:
    void capacity_data();
    void capacity();
    void refusals_data();
    void refusals();
    void load_data();
    void load();
    void sharing_data();
    void sharing();
    void fit_data();
    void fit();
    void fitAgainstEveryCount();
    void levelNames();
};

void TestDiskArray::capacity_data()
{
    QTest::addColumn<STRU_DISK_ARRAY>("array");
    QTest::addColumn<int>("dataDisks");
    QTest::addColumn<double>("rawTB");
    QTest::addColumn<double>("usableTB");
    QTest::addColumn<double>("usableTiB");
    QTest::addColumn<double>("recordingTB");
    // 8 x 8 TB RAID 6 and 1 spare: raw 9 x 8 = 72 TB; data 8 - 2 = 6 disks; usable 6 x 8 x 0.95 =
    // 45.6 TB = 45.6e12 / 2^40 = 41.47296 TiB; recording 45.6 x 0.9 = 41.04 TB.
    QTest::newRow("8 x 8 TB RAID 6 + spare")
        << Array(12, 8, 8, RaidLevel::Raid6, 1, 5, 10) << 6 << 72.0 << 45.6 << 41.47295840 << 41.04;
    // 12 x 18 TB RAID 60 in 2 groups of 6: data 12 - 2 x 2 = 8; 8 x 18 = 144 TB = 130.96724 TiB.
    QTest::newRow("12 x 18 TB RAID 60") << Array(12, 12, 18, RaidLevel::Raid60, 0, 0, 0, 6) << 8 << 216.0 << 144.0
                                        << 130.96723706 << 144.0;
    // The same with 5 % reserve and 10 % fill limit: 144 x 0.95 = 136.8; x 0.9 = 123.12 TB.
    QTest::newRow("RAID 60, reserve, limit")
        << Array(16, 12, 18, RaidLevel::Raid60, 2, 5, 10, 6) << 8 << 252.0 << 136.8 << 124.41887520 << 123.12;
    // 12 x 4 TB RAID 50 in 3 groups of 4: 12 - 3 = 9 data disks, 36 TB = 32.74181 TiB.
    QTest::newRow("RAID 50, 3 groups") << Array(12, 12, 4, RaidLevel::Raid50) << 9 << 48.0 << 36.0 << 32.74180926
                                       << 36.0;
    // RAID 10: 6 / 2 = 3 x 10 TB; RAID 5: 4 - 1 = 3 x 10 TB.
    QTest::newRow("RAID 10") << Array(6, 6, 10, RaidLevel::Raid10) << 3 << 60.0 << 30.0 << 27.28484105 << 30.0;
    QTest::newRow("RAID 5") << Array(4, 4, 10, RaidLevel::Raid5) << 3 << 40.0 << 30.0 << 27.28484105 << 30.0;
    // A mirror holds one disk however many copies it keeps.
    QTest::newRow("RAID 1 of 3") << Array(3, 3, 4, RaidLevel::Raid1) << 1 << 12.0 << 4.0 << 3.63797881 << 4.0;
    // JBOD: every disk holds data; 4 x 6 = 24 TB, 20 % fill limit leaves 19.2 TB.
    QTest::newRow("JBOD") << Array(4, 4, 6, RaidLevel::None, 0, 0, 20) << 4 << 24.0 << 24.0 << 21.82787284 << 19.2;
}

void TestDiskArray::capacity()
{
    QFETCH(STRU_DISK_ARRAY, array);
    QFETCH(int, dataDisks);
    QFETCH(double, rawTB);
    QFETCH(double, usableTB);
    QFETCH(double, usableTiB);
    QFETCH(double, recordingTB);
    QCOMPARE(CheckArray(array), ArrayProblem::None);
    QCOMPARE(DataDisks(array), dataDisks);
    const STRU_CAPACITY capacity = Capacity(array);
    QCOMPARE(ToTB(capacity.dRawBytes), rawTB);
    QCOMPARE(ToTB(capacity.dUsableBytes), usableTB);
    QVERIFY(qAbs(ToTiB(capacity.dUsableBytes) - usableTiB) < 1e-8);
    QCOMPARE(ToTB(capacity.dRecordingBytes), recordingTB);
}

void TestDiskArray::refusals_data()
{
    QTest::addColumn<STRU_DISK_ARRAY>("array");
    QTest::addColumn<ArrayProblem>("problem");
    QTest::addColumn<QString>("message");
    QTest::newRow("RAID 5, 2 disks") << Array(8, 2, 8, RaidLevel::Raid5) << ArrayProblem::TooFewDisks
                                     << "RAID 5 needs at least 3 disks; the array has 2.";
    QTest::newRow("RAID 6, 3 disks") << Array(8, 3, 8, RaidLevel::Raid6) << ArrayProblem::TooFewDisks
                                     << "RAID 6 needs at least 4 disks; the array has 3.";
    QTest::newRow("RAID 10, odd") << Array(8, 5, 8, RaidLevel::Raid10) << ArrayProblem::OddDisks
                                  << "RAID 10 needs an even number of disks; the array has 5.";
    QTest::newRow("RAID 10, 2 disks") << Array(8, 2, 8, RaidLevel::Raid10) << ArrayProblem::TooFewDisks
                                      << "RAID 10 needs at least 4 disks; the array has 2.";
    QTest::newRow("RAID 1, 1 disk") << Array(8, 1, 8, RaidLevel::Raid1) << ArrayProblem::TooFewDisks
                                    << "RAID 1 needs at least 2 disks; the array has 1.";
    QTest::newRow("spares above bays") << Array(8, 4, 8, RaidLevel::Raid5, 9) << ArrayProblem::SparesAboveBays
                                       << "9 hot spares do not fit in 8 bays.";
    QTest::newRow("disks and spare") << Array(8, 8, 8, RaidLevel::Raid6, 1) << ArrayProblem::DisksAboveBays
                                     << "Disks and hot spares need 9 bays (8 + 1); the recorder has 8.";
    QTest::newRow("JBOD spare") << Array(8, 4, 8, RaidLevel::None, 1) << ArrayProblem::SpareWithoutCopy
                                << "JBOD keeps no second copy, so a hot spare has nothing to rebuild.";
    QTest::newRow("RAID 50, groups of 2") << Array(8, 8, 8, RaidLevel::Raid50, 0, 0, 0, 2)
                                          << ArrayProblem::GroupTooSmall << "RAID 50 needs groups of at least 3 disks.";
    QTest::newRow("RAID 60, uneven") << Array(16, 12, 8, RaidLevel::Raid60, 0, 0, 0, 5) << ArrayProblem::GroupsUneven
                                     << "12 disks do not make whole groups of 5.";
    QTest::newRow("RAID 60, one group") << Array(8, 6, 8, RaidLevel::Raid60, 0, 0, 0, 6) << ArrayProblem::TooFewGroups
                                        << "RAID 60 needs at least 2 groups of 6 disks, 12 disks.";
    QTest::newRow("no bays") << Array(0, 0, 8, RaidLevel::Raid5) << ArrayProblem::NoBays
                             << "A recorder has 1 to 256 bays.";
    QTest::newRow("no disk size") << Array(8, 4, 0, RaidLevel::Raid5) << ArrayProblem::NoDiskSize
                                  << "Enter the size of one disk, above 0 and at most 1000 TB.";
    QTest::newRow("no disks") << Array(8, 0, 8, RaidLevel::None) << ArrayProblem::NoDisks
                              << "The array needs at least 1 disk.";
    QTest::newRow("reserve 95 %") << Array(8, 4, 8, RaidLevel::Raid5, 0, 95) << ArrayProblem::BadReserve
                                  << "The file-system reserve is 0 to 90 %.";
    QTest::newRow("fill limit below 0") << Array(8, 4, 8, RaidLevel::Raid5, 0, 0, -1) << ArrayProblem::BadFillLimit
                                        << "The fill limit is 0 to 90 %.";
    STRU_DISK_ARRAY noRating = Array(8, 4, 8, RaidLevel::Raid5);
    noRating.dWorkloadTBPerYear = 0;
    QTest::newRow("no rating") << noRating << ArrayProblem::BadWorkload
                               << "Enter the disk's workload rating, above 0 TB/year.";
    STRU_DISK_ARRAY noRate = Array(8, 4, 8, RaidLevel::Raid5);
    noRate.dRebuildMBps = -100;
    QTest::newRow("no rebuild rate") << noRate << ArrayProblem::BadRebuildRate
                                     << "Enter the rebuild rate, above 0 MB/s.";
}

void TestDiskArray::refusals()
{
    QFETCH(STRU_DISK_ARRAY, array);
    QFETCH(ArrayProblem, problem);
    QFETCH(QString, message);
    QCOMPARE(CheckArray(array), problem);
    QCOMPARE(ProblemText(problem, array), message);
    // Refused, never computed.
    const STRU_ARRAY_RESULT result = ComputeArray(array, {{kBusyDay, 30}});
    QCOMPARE(result.eProblem, problem);
    QCOMPARE(result.capacity.dUsableBytes, 0.0);
    QVERIFY(result.groups.isEmpty());
}

void TestDiskArray::load_data()
{
    QTest::addColumn<STRU_DISK_ARRAY>("array");
    QTest::addColumn<QVector<STRU_GROUP_DEMAND>>("groups");
    QTest::addColumn<double>("margin");
    QTest::addColumn<double>("neededTB");
    QTest::addColumn<bool>("meets");
    QTest::addColumn<double>("daysKept");
    QTest::addColumn<double>("writeTB");
    QTest::addColumn<bool>("withinRating");
    QTest::addColumn<double>("mbps");
    QTest::addColumn<double>("rebuildHours");
    const STRU_DISK_ARRAY raid6 = Array(12, 8, 8, RaidLevel::Raid6, 1, 5, 10);
    // 2.7648 TB a day x 14 = 38.7072 TB, within the 41.04 TB the recorder fills. Each of the 6 data
    // disks writes 2.7648 x 365 / 6 = 168.192 TB a year, within 180. 64 x 4 = 256 Mbit/s. One 8 TB
    // disk at 100 MB/s: 8e12 / 1e8 = 80000 s = 22.2222 h.
    QTest::newRow("RAID 6, 14 days") << raid6 << QVector<STRU_GROUP_DEMAND>{{kBusyDay, 14}} << 0.0 << 38.7072 << true
                                     << 14.0 << 168.192 << true << 256.0 << 80000.0 / 3600;
    // With a 15 % margin: 38.7072 x 1.15 = 44.51328 TB, too much; 41.04 / (2.7648 x 1.15) =
    // 12.907609 days. The margin is stored, never written: load and ingress stay.
    QTest::newRow("RAID 6, 15 % margin") << raid6 << QVector<STRU_GROUP_DEMAND>{{kBusyDay, 14}} << 15.0 << 44.51328
                                         << false << 12.907608696 << 168.192 << true << 256.0 << 80000.0 / 3600;
    // 128 cameras (5.5296 TB a day) for 30 days = 165.888 TB on RAID 60's 123.12 TB: 123.12 / 5.5296
    // = 22.265625 days. 5.5296 x 365 / 8 = 252.288 TB a disk, above 180. 18e12 / 1e8 s = 50 h.
    QTest::newRow("RAID 60, 30 days") << Array(12, 12, 18, RaidLevel::Raid60, 0, 5, 10, 6)
                                      << QVector<STRU_GROUP_DEMAND>{{kBusyDay, 30}, {kBusyDay, 30}} << 0.0 << 165.888
                                      << false << 22.265625 << 252.288 << false << 512.0 << 50.0;
    // A mirror: every disk writes everything, 0.1 x 365 = 36.5 TB; 0.1e12 x 8 / 86400 / 1e6 =
    // 9.259259 Mbit/s.
    QTest::newRow("RAID 1") << Array(2, 2, 8, RaidLevel::Raid1) << QVector<STRU_GROUP_DEMAND>{{0.1e12, 30}} << 0.0
                            << 3.0 << true << 30.0 << 36.5 << true << 9.259259259 << 80000.0 / 3600;
    // JBOD rebuilds nothing; 365 / 4 = 91.25 TB a disk.
    QTest::newRow("JBOD") << Array(4, 4, 6, RaidLevel::None, 0, 0, 20) << QVector<STRU_GROUP_DEMAND>{{1e12, 10}} << 0.0
                          << 10.0 << true << 10.0 << 91.25 << true << 92.592592593 << 0.0;
}

void TestDiskArray::load()
{
    QFETCH(STRU_DISK_ARRAY, array);
    QFETCH(QVector<STRU_GROUP_DEMAND>, groups);
    QFETCH(double, margin);
    QFETCH(double, neededTB);
    QFETCH(bool, meets);
    QFETCH(double, daysKept);
    QFETCH(double, writeTB);
    QFETCH(bool, withinRating);
    QFETCH(double, mbps);
    QFETCH(double, rebuildHours);
    const STRU_ARRAY_RESULT result = ComputeArray(array, groups, margin);
    QCOMPARE(result.eProblem, ArrayProblem::None);
    QCOMPARE(ToTB(result.dNeededBytes), neededTB);
    QCOMPARE(result.bAllMeet, meets);
    QCOMPARE(result.groups.size(), groups.size());
    for (const STRU_GROUP_OUTCOME &group : result.groups) {
        QCOMPARE(group.bMeets, meets);
        QVERIFY(qAbs(group.dDaysKept - daysKept) < 1e-8);
    }
    QCOMPARE(result.dWriteTBPerDiskYear, writeTB);
    QCOMPARE(result.bWithinWorkload, withinRating);
    QVERIFY(qAbs(result.dIngressMbps - mbps) < 1e-8);
    QCOMPARE(result.bRebuilds, rebuildHours > 0);
    QCOMPARE(result.dRebuildHours + 1, rebuildHours + 1);
}

void TestDiskArray::sharing_data()
{
    QTest::addColumn<QVector<STRU_GROUP_DEMAND>>("groups");
    QTest::addColumn<QVector<double>>("daysKept");
    QTest::addColumn<QVector<bool>>("meets");
    // All on 4 x 10 TB RAID 5 without reserve or limit: 30 TB.
    // 0.5 TB x 14 + 1 TB x 30 = 37 TB > 30. The common level L: with both at L, 1.5 L = 30 gives
    // L = 20 >= 14, so the first keeps its 14 days (7 TB) and the second the rest: 23 TB / 1 TB = 23.
    QTest::newRow("one keeps its days") << QVector<STRU_GROUP_DEMAND>{{0.5e12, 14}, {1e12, 30}}
                                        << QVector<double>{14, 23} << QVector<bool>{true, false};
    // Listed the other way round: the same days.
    QTest::newRow("order does not matter") << QVector<STRU_GROUP_DEMAND>{{1e12, 30}, {0.5e12, 14}}
                                           << QVector<double>{23, 14} << QVector<bool>{false, true};
    // 1 TB x 20 + 1 TB x 40 = 60 TB: 2 L = 30, L = 15 < 20, so both keep 15 days.
    QTest::newRow("both short") << QVector<STRU_GROUP_DEMAND>{{1e12, 20}, {1e12, 40}} << QVector<double>{15, 15}
                                << QVector<bool>{false, false};
    // 7 + 15 = 22 TB fit: each keeps its own days.
    QTest::newRow("both fit") << QVector<STRU_GROUP_DEMAND>{{0.5e12, 14}, {0.5e12, 30}} << QVector<double>{14, 30}
                              << QVector<bool>{true, true};
    // A group without cameras keeps its 90 days; the other has the 30 TB alone: 30 of its 40 days.
    QTest::newRow("empty group") << QVector<STRU_GROUP_DEMAND>{{0, 90}, {1e12, 40}} << QVector<double>{90, 30}
                                 << QVector<bool>{true, false};
}

void TestDiskArray::sharing()
{
    QFETCH(QVector<STRU_GROUP_DEMAND>, groups);
    QFETCH(QVector<double>, daysKept);
    QFETCH(QVector<bool>, meets);
    const STRU_ARRAY_RESULT result = ComputeArray(Array(4, 4, 10, RaidLevel::Raid5), groups);
    QCOMPARE(result.bAllMeet, !meets.contains(false));
    for (int i = 0; i < groups.size(); ++i) {
        QCOMPARE(result.groups[i].dDaysKept, daysKept[i]);
        QCOMPARE(result.groups[i].bMeets, meets[i]);
    }
}

void TestDiskArray::fit_data()
{
    QTest::addColumn<STRU_DISK_ARRAY>("array");
    QTest::addColumn<QVector<STRU_GROUP_DEMAND>>("groups");
    QTest::addColumn<int>("disks");
    QTest::addColumn<int>("recorders");
    QTest::addColumn<QString>("sentence");
    // One 8 TB data disk records 8 x 0.95 x 0.9 = 6.84 TB. 38.7072 / 6.84 = 5.66, so 6 data disks,
    // 8 with RAID 6 (7 disks hold 5 x 6.84 = 34.2 TB, too little).
    const QVector<STRU_GROUP_DEMAND> busy{{kBusyDay, 14}};
    QTest::newRow("RAID 6, 12 bays") << Array(12, 4, 8, RaidLevel::Raid6, 1, 5, 10) << busy << 8 << 1
                                     << "8 disks of 8 TB in RAID 6 keep every group's days. Plus 1 hot spare.";
    // 8 bays and a spare leave 7 disks, 34.2 TB: two recorders, 19.3536 TB each, 3 data disks.
    QTest::newRow("RAID 6, 8 bays") << Array(8, 4, 8, RaidLevel::Raid6, 1, 5, 10) << busy << 5 << 2
                                    << "2 recorders of 8 bays, each with 5 disks of 8 TB in RAID 6, keep every group's "
                                       "days. Plus 1 hot spare in each.";
    // 18 TB records 18 x 0.855 = 15.39 TB a data disk; 3.25 x 40 = 130 TB needs 8.45, so 9 data
    // disks: 3 groups of 4 data and 2 parity, 18 disks (12 disks record 123.12 TB, too little).
    QTest::newRow("RAID 60") << Array(24, 12, 18, RaidLevel::Raid60, 0, 5, 10, 6)
                             << QVector<STRU_GROUP_DEMAND>{{3.25e12, 40}} << 18 << 1
                             << "18 disks of 18 TB in RAID 60 keep every group's days.";
    // A mirror records 6.84 TB however many disks: 10 TB needs two recorders.
    QTest::newRow("RAID 1") << Array(4, 2, 8, RaidLevel::Raid1, 0, 5, 10) << QVector<STRU_GROUP_DEMAND>{{1e12, 10}} << 2
                            << 2
                            << "2 recorders of 4 bays, each with 2 disks of 8 TB in RAID 1, keep every "
                               "group's days.";
    QTest::newRow("nothing to keep") << Array(8, 8, 8, RaidLevel::Raid5) << QVector<STRU_GROUP_DEMAND>() << 3 << 1
                                     << "3 disks of 8 TB in RAID 5 keep every group's days.";
    QTest::newRow("one disk") << Array(8, 8, 8, RaidLevel::None) << QVector<STRU_GROUP_DEMAND>{{1e12, 7}} << 1 << 1
                              << "1 disk of 8 TB in JBOD keeps every group's days.";
    QTest::newRow("RAID 6 in 3 bays") << Array(3, 3, 8, RaidLevel::Raid6) << busy << 4 << 1
                                      << "Disks and hot spares need 4 bays (4 + 0); the recorder has 3.";
    QTest::newRow("RAID 10 beside 2 spares") << Array(5, 4, 8, RaidLevel::Raid10, 2) << busy << 4 << 1
                                             << "Disks and hot spares need 6 bays (4 + 2); the recorder has 5.";
}

void TestDiskArray::fit()
{
    QFETCH(STRU_DISK_ARRAY, array);
    QFETCH(QVector<STRU_GROUP_DEMAND>, groups);
    QFETCH(int, disks);
    QFETCH(int, recorders);
    QFETCH(QString, sentence);
    const STRU_FIT fit = FitArray(array, groups);
    QCOMPARE(fit.iDisks, disks);
    QCOMPARE(fit.iRecorders, recorders);
    QCOMPARE(FitSentence(array, fit), sentence);
}

// Fit against trying every disk count of random plans: the fewest disks that ComputeArray says keep
// every group's days; where no count in the bays does, the fewest recorders of the fullest array,
// each with the fewest disks for its share.
void TestDiskArray::fitAgainstEveryCount()
{
    QRandomGenerator random(1907);
    const double sizes[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24};
    int inBays = 0, beyond = 0, refused = 0;
    for (int plan = 0; plan < 3000; ++plan) {
        const RaidLevel level = RaidLevelAt(random.bounded(kRaidLevels));
        STRU_DISK_ARRAY array = Array(random.bounded(1, 65), 1, sizes[random.bounded(13)], level);
        array.iSpares = level == RaidLevel::None ? 0 : random.bounded(4);
        array.dReservePercent = random.bounded(11);
        array.dFillLimitPercent = random.bounded(21);
        array.iGroupSize = random.bounded(3, 9);
        QVector<STRU_GROUP_DEMAND> groups(random.bounded(1, 5));
        for (STRU_GROUP_DEMAND &group : groups)
            group = {random.bounded(5e12), int(random.bounded(1, 121))};
        const double margin = random.bounded(2) * 15.0;
        const STRU_FIT fit = FitArray(array, groups, margin);

        int fewest = 0, most = 0;
        for (int n = 1; n <= array.iBays; ++n) {
            array.iDisks = n;
            const STRU_ARRAY_RESULT result = ComputeArray(array, groups, margin);
            if (result.eProblem == ArrayProblem::None) {
                most = n;
                if (!fewest && result.bAllMeet)
                    fewest = n;
            }
        }
        if (!most) {
            ++refused;
            QVERIFY2(fit.eProblem != ArrayProblem::None, qPrintable(QString::number(plan)));
            continue;
        }
        QCOMPARE(fit.eProblem, ArrayProblem::None);
        if (fewest) {
            ++inBays;
            QCOMPARE(fit.iRecorders, 1);
            QCOMPARE(fit.iDisks, fewest);
            continue;
        }
        ++beyond;
        const auto recording = [&](int n) {
            return Capacity(ApplyFit(array, {ArrayProblem::None, n, 1})).dRecordingBytes;
        };
        const double needed = NeededBytes(groups, margin);
        QVERIFY(fit.iRecorders > 1);
        QVERIFY(recording(most) * (fit.iRecorders - 1) < needed);
        QVERIFY(recording(fit.iDisks) >= needed / fit.iRecorders);
        for (int n = 1; n < fit.iDisks; ++n)
            QVERIFY(!ValidDiskCount(level, array.iGroupSize, n) || recording(n) < needed / fit.iRecorders);
    }
    // The random plans reach all three outcomes.
    QVERIFY(inBays > 100 && beyond > 100 && refused > 10);
}

// Plans store the names people know; any case and blanks read back.
void TestDiskArray::levelNames()
{
    RaidLevel read = RaidLevel::Raid1;
    for (int i = 0; i < kRaidLevels; ++i) {
        QVERIFY(RaidLevelFromName(RaidLevelName(RaidLevelAt(i)).toLower(), &read));
        QCOMPARE(read, RaidLevelAt(i));
    }
    QVERIFY(RaidLevelFromName(QStringLiteral(" raid60 "), &read) && read == RaidLevel::Raid60);
    QVERIFY(!RaidLevelFromName(QStringLiteral("RAID 7"), &read) && read == RaidLevel::Raid60);
}

QTEST_GUILESS_MAIN(TestDiskArray)
#include "tst_diskarray.moc"
