// The storage model: the recommendation beyond the table, codec factors, recording profiles and
// the arithmetic per group, with worked examples checked by hand.
#include "calc/bitratecalculator.h"
#include "calc/storageplan.h"
#include "storage/recorderplan.h"
#include "storage/storagemodel.h"

#include <QTest>

#include <cmath>

using namespace NordaStorage;

Q_DECLARE_METATYPE(NordaStorage::STRU_RECORDING_GROUP)

namespace {

STRU_CAMERA Ipc(int resolution, double rate, int bitrate, int width = 0, int height = 0, int codec = H264)
{
    STRU_CAMERA camera;
    camera.iType = NordaVocab::TypeIPC;
    camera.iResolution = resolution;
    camera.dFramerate = rate;
    camera.iBitrate = bitrate;
    camera.iWidth = width;
    camera.iHeight = height;
    camera.iCodec = codec;
    return camera;
}

// "8-18 E, 18-8 C": hours 8..17 event, the others continuous.
STRU_RECORDING_GROUP Profile(const QString &strip, int activity, int nightStart, int nightEnd, int nightFactor,
                             int days)
{
    STRU_RECORDING_GROUP group;
    group.strName = QStringLiteral("G");
    for (const QString &span : strip.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = span.trimmed().split(QLatin1Char(' '));
        const int from = parts.at(0).section(QLatin1Char('-'), 0, 0).toInt();
        const int to = parts.at(0).section(QLatin1Char('-'), 1, 1).toInt();
        const HourMode mode = parts.at(1) == QLatin1String("E") ? HourMode::Event
            : parts.at(1) == QLatin1String("C")                 ? HourMode::Continuous
                                                                : HourMode::Off;
        for (int h = from; h != to; h = (h + 1) % kHoursPerDay)
            group.hours[h] = mode;
    }
    group.iActivityPercent = activity;
    group.iNightStart = nightStart;
    group.iNightEnd = nightEnd;
    group.iNightFactorPercent = nightFactor;
    group.iDaysToKeep = days;
    return group;
}

const double kFitBitrate20 = CFittedTable::Instance().Kbps(2560.0 * 1440, 2);

} // namespace

class TestStorageModel : public QObject
{
    Q_OBJECT

private slots:
    void tableRowsUnchanged();
    void fitOnTableRows_data();
    void fitOnTableRows();
    void fitMonotonic_data();
    void fitMonotonic();
    void recommendation_data();
    void recommendation();
    void groupArithmetic_data();
    void groupArithmetic();
    void defaultGroupIsCalculateDisk_data();
    void defaultGroupIsCalculateDisk();
    void groupsOfCameras_data();
    void groupsOfCameras();
    void recordersOfGroups_data();
    void recordersOfGroups();
    void recordersShareTheirArrays();
};

void TestStorageModel::tableRowsUnchanged()
{
    // Every cell of both tables, at the defaults and at a true size equal to the row's size.
    const STRU_CODEC_FACTORS factors;
    for (const int standard : {0, 1}) {
        CBitrateCalculator table;
        table.SetStandard(standard);
        for (const int type : {0, 1}) {
            for (int resolution = 0; resolution < NordaVocab::kResolutionCount; ++resolution) {
                for (const double rate : NordaVocab::FramerateChoices(type, 2, standard)) {
                    STRU_CAMERA camera = Ipc(resolution, rate, 0);
                    camera.iType = type;
                    camera.iLevel = resolution % 6;
                    const int expected = int(table.RecommendedBitrate(type, resolution, rate, camera.iLevel));
                    QCOMPARE(RecommendedKbps(camera, standard, factors), expected);
                    NordaVocab::NominalSize(resolution, &camera.iWidth, &camera.iHeight);
                    QCOMPARE(RecommendedKbps(camera, standard, factors), expected);
                }
            }
        }
    }
}

void TestStorageModel::fitOnTableRows_data()
{
    // The errors the fit's comment states, per column (full rate first), rounded up.
    QTest::addColumn<int>("column");
    QTest::addColumn<double>("maxError");
    const double stated[16] = {0.23, 0.18, 0.27, 0.32, 0.26,  0.27,  0.26,  0.24,
                               0.34, 0.26, 0.36, 0.19, 0.004, 0.006, 0.004, 0.0001};
    for (int column = 0; column < 16; ++column)
        QTest::addRow("column %d", column) << column << stated[column];
}

void TestStorageModel::fitOnTableRows()
{
    QFETCH(int, column);
    QFETCH(double, maxError);
    QVERIFY2(CFittedTable::Instance().MaxRowError(column) <= maxError,
             qPrintable(QString::number(CFittedTable::Instance().MaxRowError(column))));
}

void TestStorageModel::fitMonotonic_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("smallerWidth");
    QTest::addColumn<int>("smallerHeight");
    // Sizes without a row against the next smaller one without a row (a table row may sit above
    // the fit: the fit is up to 30 % off single rows).
    QTest::newRow("4 MP above 3 MP") << 2560 << 1440 << 2304 << 1296;
    QTest::newRow("6 MP above 4 MP") << 3072 << 2048 << 2560 << 1440;
    QTest::newRow("8 MP above 6 MP") << 3840 << 2160 << 3072 << 2048;
    QTest::newRow("12 MP above 8 MP") << 4000 << 3000 << 3840 << 2160;
}

void TestStorageModel::fitMonotonic()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, smallerWidth);
    QFETCH(int, smallerHeight);
    const STRU_CODEC_FACTORS factors;
    // Rates from 1/16 up to the full rate (25); each a column of its own.
    const QVector<double> rates{0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8, 10, 12.5, 15, 18, 20, 22, 25};
    int previous = 0;
    for (const double rate : rates) {
        const int kbps = RecommendedKbps(Ipc(1, rate, 0, width, height), 0, factors);
        QVERIFY2(kbps >= previous, qPrintable(QString::number(rate)));
        QVERIFY(kbps >= RecommendedKbps(Ipc(1, rate, 0, smallerWidth, smallerHeight), 0, factors));
        previous = kbps;
    }
}

void TestStorageModel::recommendation_data()
{
    QTest::addColumn<STRU_CAMERA>("camera");
    QTest::addColumn<int>("codecPercent"); // 0: the default factors
    QTest::addColumn<int>("expected");
    // 1080P at the full rate: 10240 in the table; H.265 at 60 %: 6144; Smart H.265 at 30 %: 3072.
    QTest::newRow("1080P H.265") << Ipc(2, 25, 0, 0, 0, H265) << 0 << 6144;
    QTest::newRow("1080P Smart H.265") << Ipc(2, 25, 0, 0, 0, SmartH265) << 0 << 3072;
    // MJPEG at 500 %: 7475 x 5 = 37375.
    QTest::newRow("1080P 20 fps MJPEG") << Ipc(2, 20, 0, 0, 0, MJPEG) << 0 << 37375;
    // A user's factor: H.265 at 75 %: 10240 x 0.75 = 7680.
    QTest::newRow("1080P H.265 at 75 %") << Ipc(2, 25, 0, 0, 0, H265) << 75 << 7680;
    // 4 MP (2560x1440) at 20 fps has no row: fitted a x 3686400^k of the 20 fps column, H.265 60 %.
    QTest::newRow("4 MP fitted H.265") << Ipc(1, 20, 0, 2560, 1440, H265) << 0 << int(kFitBitrate20 * 60 / 100);
    // A DVR channel keeps the DVR table whatever size it reports: 4CIF level 0 at 25 = 3072.
    STRU_CAMERA dvr = Ipc(8, 25, 0, 960, 576);
    dvr.iType = NordaVocab::TypeDVR;
    QTest::newRow("DVR 960H keeps its table") << dvr << 0 << 3072;
}

void TestStorageModel::recommendation()
{
    QFETCH(STRU_CAMERA, camera);
    QFETCH(int, codecPercent);
    QFETCH(int, expected);
    STRU_CODEC_FACTORS factors;
    if (codecPercent > 0)
        factors.iPercent[camera.iCodec] = codecPercent;
    QCOMPARE(RecommendedKbps(camera, 0, factors), expected);
}

void TestStorageModel::groupArithmetic_data()
{
    QTest::addColumn<QVector<int>>("bitrates");
    QTest::addColumn<STRU_RECORDING_GROUP>("group");
    QTest::addColumn<int>("overhead");
    QTest::addColumn<double>("hours");
    QTest::addColumn<double>("mbps");
    QTest::addColumn<double>("gbPerDay");
    QTest::addColumn<double>("tb");
    QTest::addColumn<double>("tib");

    // 4 MP H.265 at 20 fps, recording at its recommendation: 12208.4 x 60 % = 7325 kbit/s
    // (12208.4 = 0.00967263 x 3686400^0.92908). Events on 30 % of the 10 daytime hours 8-18, nights
    // 18-8 (14 hours) continuous at factor 0.6: 10 x 0.3 + 14 x 0.6 = 3 + 8.4 = 11.4 hours a day.
    // GB a day = 11.4 x 7325 x 3600 / 8,000,000 = 37.57725; kept 30 days with 15 %:
    // 342 x 26,370,000 x 1.15 / 8,000,000 = 1296.415125 GB = 1.296415125 TB = 1.17909 TiB.
    const int kbps4mp = int(kFitBitrate20 * 60 / 100);
    QTest::newRow("4 MP H.265, events by day, nights at 0.6, 30 days")
        << QVector<int>{kbps4mp} << Profile(QStringLiteral("8-18 E, 18-8 C"), 30, 18, 8, 60, 30) << 15 << 11.4 << 7.325
        << 37.57725 << 1.296415125 << 1.296415125e12 / std::pow(2.0, 40);
    // 16 cameras at 4096 kbit/s around the clock for 90 days: 65.536 Mbit/s;
    // 65536 x 86400 / 8,000,000 = 707.7888 GB a day; 90 x 707.7888 x 1.15 = 73256.1408 GB
    // = 73.2561408 TB = 66.62607 TiB.
    QTest::newRow("16 cameras, 90 days") << QVector<int>(16, 4096) << Profile(QString(), 100, 18, 6, 100, 90) << 15
                                         << 24.0 << 65.536 << 707.7888 << 73.2561408
                                         << 73256.1408e9 / std::pow(2.0, 40);
    // The same without overhead: 90 x 707.7888 = 63701.0 GB.
    QTest::newRow("16 cameras, 90 days, no overhead")
        << QVector<int>(16, 4096) << Profile(QString(), 100, 18, 6, 100, 90) << 0 << 24.0 << 65.536 << 707.7888
        << 63.700992 << 63700.992e9 / std::pow(2.0, 40);
    // Off 0-6, events 6-22 at 50 %, off 22-0: 8 hours; 2048 kbit/s: 8 x 2048 x 0.00045 = 7.3728 GB a
    // day; 7 days with 20 %: 7 x 7.3728 x 1.2 = 61.93152 GB.
    QTest::newRow("office hours, a week")
        << QVector<int>{2048} << Profile(QStringLiteral("0-6 O, 6-22 E, 22-0 O"), 50, 0, 0, 100, 7) << 20 << 8.0
        << 2.048 << 7.3728 << 0.06193152 << 61.93152e9 / std::pow(2.0, 40);
}

void TestStorageModel::groupArithmetic()
{
    QFETCH(QVector<int>, bitrates);
    QFETCH(STRU_RECORDING_GROUP, group);
    QFETCH(int, overhead);
    STRU_STORAGE_SETTINGS settings;
    settings.iOverheadPercent = overhead;
    settings.vecGroups << group;
    QVector<STRU_CAMERA> cameras;
    for (const int kbps : bitrates) {
        cameras << Ipc(2, 25, kbps);
        cameras.last().strGroup = "G";
    }
    CStorageCalculator calculator;
    calculator.SetCameras(cameras, settings);
    calculator.Compute(settings, STRU_PAGE_TIME());
    const STRU_GROUP_RESULT &result = calculator.Groups().at(0);
    QFETCH(double, hours);
    QFETCH(double, mbps);
    QFETCH(double, gbPerDay);
    QFETCH(double, tb);
    QFETCH(double, tib);
    const auto near = [](double a, double b) { return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b)); };
    QCOMPARE(result.iCameras, bitrates.size());
    QVERIFY(near(result.dEffectiveHours, hours));
    QVERIFY(near(result.Mbps(), mbps));
    QVERIFY(near(result.dGBPerDay, gbPerDay));
    QVERIFY(near(result.TB(), tb));
    QVERIFY(near(result.TiB(), tib));
    QVERIFY(near(calculator.Total().dStorageGB, result.dStorageGB));
}

void TestStorageModel::defaultGroupIsCalculateDisk_data()
{
    QTest::addColumn<QVector<int>>("bitrates");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("hours");
    // One camera at 2048 kbit/s, 30 days of 24 hours: 720 x 2048 x 3600 x 1.15 / 8,000,000 = 763.08 GB.
    QTest::newRow("one camera, 30 days") << QVector<int>{2048} << QStringLiteral("30") << QStringLiteral("24");
    QTest::newRow("three cameras, a year")
        << QVector<int>{4096, 2048, 531} << QStringLiteral("365") << QStringLiteral("24");
    QTest::newRow("25 hours as typed") << QVector<int>{16384, 32, 777} << QStringLiteral("7") << QStringLiteral("25");
    QVector<int> many;
    for (int i = 0; i < 1024; ++i)
        many << 32 + (i * 7919) % 16353;
    QTest::newRow("1024 cameras, 12 hours") << many << QStringLiteral("90") << QStringLiteral("12");
}

void TestStorageModel::defaultGroupIsCalculateDisk()
{
    QFETCH(QVector<int>, bitrates);
    QFETCH(QString, days);
    QFETCH(QString, hours);
    QVector<STRU_CAMERA> cameras;
    for (const int kbps : bitrates)
        cameras << Ipc(2, 25, kbps);
    STRU_STORAGE_SETTINGS settings;
    QVERIFY(EnsureGroups(settings, cameras));
    CStorageCalculator calculator;
    calculator.SetCameras(cameras, settings);
    calculator.Compute(settings, STRU_PAGE_TIME::FromTexts(days, hours));

    StoragePlan::DiskSpace page;
    QCOMPARE(StoragePlan::CalculateDiskSpace(cameras, days, hours, &page), StoragePlan::Refusal::None);
    double sum = 0; // the tab's own sum, camera by camera
    for (const STRU_CAMERA &camera : std::as_const(cameras))
        sum += CBitrateCalculator::DiskSize(camera.iBitrate, days.toLongLong() * hours.toLongLong());
    const double gb = calculator.Total().dStorageGB;
    QCOMPARE(std::llround(gb * 1e9), std::llround(sum * 1e9)); // to the byte
    QCOMPARE(QString::number(std::ceil(gb), 'g', 6), page.gb);
    QCOMPARE(QString::number(std::ceil(float(gb / 1000)), 'g', 6), page.tb);
}

void TestStorageModel::groupsOfCameras_data()
{
    QTest::addColumn<QByteArray>("deviceIP");
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("followsPage");
    QTest::newRow("hand-added") << QByteArray() << QByteArray() << QStringLiteral("Default") << true;
    QTest::newRow("imported") << QByteArrayLiteral("192.168.1.64") << QByteArray() << QStringLiteral("192.168.1.64")
                              << false;
    QTest::newRow("moved") << QByteArrayLiteral("192.168.1.64") << QByteArrayLiteral("Gate") << QStringLiteral("Gate")
                           << false;
}

void TestStorageModel::groupsOfCameras()
{
    QFETCH(QByteArray, deviceIP);
    QFETCH(QByteArray, group);
    QFETCH(QString, expected);
    QFETCH(bool, followsPage);
    STRU_CAMERA camera = Ipc(2, 25, 1024);
    camera.strDeviceIP = deviceIP;
    camera.strGroup = group;
    QCOMPARE(GroupOf(camera), expected);
    STRU_STORAGE_SETTINGS settings;
    QVERIFY(EnsureGroups(settings, {camera, camera}));
    QCOMPARE(settings.vecGroups.size(), 1);
    QCOMPARE(settings.vecGroups.at(0).bFollowPage, followsPage);
    QVERIFY(!EnsureGroups(settings, {camera}));
}

void TestStorageModel::recordersOfGroups_data()
{
    // Cameras as "address type [group]"; the recorder each camera's group starts on.
    QTest::addColumn<QStringList>("cameras");
    QTest::addColumn<QStringList>("recorders");
    QTest::addColumn<QStringList>("madeRecorders");
    const QString first = NordaArrays::FirstRecorderName();
    QTest::newRow("hand-added") << QStringList{" IPC"} << QStringList{first} << QStringList{first};
    QTest::newRow("an IP camera") << QStringList{"10.0.0.5 IPC"} << QStringList{first} << QStringList{first};
    QTest::newRow("a recorder's channel")
        << QStringList{"10.0.0.9 DVR", " DVR"} << QStringList{"10.0.0.9", first} << QStringList{first, "10.0.0.9"};
    QTest::newRow("IP channels of a recorder") << QStringList{"10.0.0.7 IPC", "10.0.0.7 IPC"}
                                               << QStringList{"10.0.0.7", "10.0.0.7"} << QStringList{"10.0.0.7"};
    QTest::newRow("moved into a group") << QStringList{"10.0.0.9 DVR Gate", "10.0.0.5 IPC Gate"}
                                        << QStringList{"10.0.0.9", "10.0.0.9"} << QStringList{"10.0.0.9"};
    QTest::newRow("first camera decides")
        << QStringList{"10.0.0.5 IPC Gate", "10.0.0.9 DVR Gate"} << QStringList{first, first} << QStringList{first};
}

void TestStorageModel::recordersOfGroups()
{
    QFETCH(QStringList, cameras);
    QFETCH(QStringList, recorders);
    QFETCH(QStringList, madeRecorders);
    QVector<STRU_CAMERA> list;
    for (const QString &text : std::as_const(cameras)) {
        const QStringList parts = text.split(QLatin1Char(' '));
        STRU_CAMERA camera = Ipc(2, 25, 1024);
        camera.strDeviceIP = parts.at(0).toLatin1();
        camera.iType = parts.at(1) == QLatin1String("DVR") ? NordaVocab::TypeDVR : NordaVocab::TypeIPC;
        camera.strGroup = parts.value(2).toUtf8();
        list << camera;
    }
    STRU_STORAGE_SETTINGS settings;
    EnsureGroups(settings, list);
    QVERIFY(EnsureRecorders(settings, list));
    for (int i = 0; i < list.size(); ++i) {
        const int group = settings.IndexOfGroup(GroupOf(list.at(i)));
        QCOMPARE(settings.vecGroups.at(group).strRecorder, recorders.at(i));
    }
    QStringList made;
    for (const NordaArrays::STRU_RECORDER &recorder : std::as_const(settings.vecRecorders))
        made << recorder.strName;
    QCOMPARE(made, madeRecorders);
    QVERIFY(!EnsureRecorders(settings, list));

    // A removed recorder's groups go to the first; a renamed one takes its groups along.
    const bool onFirst = settings.vecGroups.first().strRecorder == made.first();
    RenameRecorder(settings, made.first(), QStringLiteral("NVR"));
    QCOMPARE(settings.vecGroups.first().strRecorder == QLatin1String("NVR"), onFirst);
    ReplaceRecorders(settings, {{QStringLiteral("Spare"), NordaArrays::STRU_DISK_ARRAY()}});
    for (const STRU_RECORDING_GROUP &group : std::as_const(settings.vecGroups))
        QCOMPARE(group.strRecorder, QStringLiteral("Spare"));
}

void TestStorageModel::recordersShareTheirArrays()
{
    // Two groups on one recorder, one on another: 8 x 8 TB RAID 6 with a spare records
    // 6 x 8 x 0.95 x 0.9 = 41.04 TB. 1 TB and 0.5 TB a day (without the 15 % overhead) for 30 and
    // 14 days need 1.15 x (30 + 7) = 42.55 TB: the 14-day group keeps its days (8.05 TB), the other
    // keeps (41.04 - 8.05) / 1.15 = 28.69 days. The second recorder has nothing to keep.
    STRU_STORAGE_SETTINGS settings;
    NordaArrays::STRU_DISK_ARRAY raid6;
    raid6.iBays = 12;
    raid6.eRaid = NordaArrays::RaidLevel::Raid6;
    raid6.iSpares = 1;
    settings.vecRecorders = {{QStringLiteral("A"), raid6}, {QStringLiteral("B"), raid6}};
    settings.vecGroups.resize(3);
    const char *const assigned[] = {"A", "B", "A"};
    for (int g = 0; g < 3; ++g)
        settings.vecGroups[g].strRecorder = QLatin1String(assigned[g]);
    QVector<STRU_GROUP_RESULT> results(3);
    results[0].dGBPerDay = 1000;
    results[0].iDays = 30;
    results[2].dGBPerDay = 500;
    results[2].iDays = 14;
    const QVector<STRU_RECORDER_LOAD> loads = ComputeRecorders(settings, results);
    QCOMPARE(loads.size(), 2);
    QCOMPARE(loads.at(0).vecGroups, QVector<int>({0, 2}));
    QVERIFY(!loads.at(0).result.bAllMeet);
    QCOMPARE(loads.at(0).result.groups.at(1).dDaysKept, 14.0);
    QVERIFY(qAbs(loads.at(0).result.groups.at(0).dDaysKept - (41.04e12 - 8.05e12) / 1.15e12) < 1e-6);
    QCOMPARE(loads.at(1).vecGroups, QVector<int>({1}));
    QVERIFY(loads.at(1).result.bAllMeet);
}

QTEST_APPLESS_MAIN(TestStorageModel)
#include "tst_storagemodel.moc"
