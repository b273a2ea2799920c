// The recommended bitrates and storage formulas against the published worked examples.
#include "calc/bitratecalculator.h"
#include "calc/camera.h"

#include <QTest>

#include <limits>

class TestBitrateCalculator : public QObject
{
    Q_OBJECT

private slots:
    void recommended_data();
    void recommended();
    void dvrLevelsWithoutTable();
    void ipcIgnoresLevel();
    void framerateColumn_data();
    void framerateColumn();
    void everyChoiceHasItsOwnColumn();
    void standardDefaultsToPal();
    void recordHoursOneCamera();
    void diskSizeOneCamera();
    void diskSizeLargeHours();
    void diskLimitIsThousandCamerasForAYear();
    void nonsenseNeedsNoStorage_data();
    void nonsenseNeedsNoStorage();
};

void TestBitrateCalculator::recommended_data()
{
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<double>("framerate");
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("truncated");

    QTest::newRow("DVR 4CIF L1 full PAL") << 0 << 1 << 8 << 25.0 << 0 << 3072.0 << 3072;
    QTest::newRow("DVR 4CIF L1 full NTSC") << 1 << 1 << 8 << 30.0 << 0 << 3072.0 << 3072;
    QTest::newRow("DVR 4CIF L1 10fps PAL") << 0 << 1 << 8 << 10.0 << 0 << 1597.44 << 1597;
    QTest::newRow("DVR QCIF L6 1fps NTSC") << 1 << 1 << 11 << 1.0 << 5 << 21.76 << 21;
    QTest::newRow("DVR 1280*960 L1 full") << 0 << 1 << 5 << 25.0 << 0 << 6144.0 << 6144;
    QTest::newRow("IPC 1080P full PAL") << 0 << 0 << 2 << 25.0 << 0 << 10240.0 << 10240;
    QTest::newRow("IPC 1080P full NTSC") << 1 << 0 << 2 << 30.0 << 0 << 10240.0 << 10240;
    QTest::newRow("IPC 1080P 12.5") << 0 << 0 << 2 << 12.5 << 0 << 5120.0 << 5120;
    QTest::newRow("IPC 1080P 20") << 0 << 0 << 2 << 20.0 << 0 << 7475.0 << 7475;
    QTest::newRow("IPC 1080P 12 is full column") << 0 << 0 << 2 << 12.0 << 0 << 10240.0 << 10240;
    QTest::newRow("IPC 1080P 16 is full column") << 1 << 0 << 2 << 16.0 << 0 << 10240.0 << 10240;
    QTest::newRow("IPC 2560*1920 8") << 0 << 0 << 0 << 8.0 << 0 << 9216.0 << 9216;
    QTest::newRow("IPC QXGA 8") << 0 << 0 << 1 << 8.0 << 0 << 5529.0 << 5529;
    QTest::newRow("IPC QCIF 1/16") << 0 << 0 << 11 << 0.0625 << 0 << 32.0 << 32;
    QTest::newRow("type 2 counts as IPC") << 0 << 2 << 2 << 25.0 << 3 << 10240.0 << 10240;
    // Rates no dialog offers: NaN and negative count as 0, huge ones as 1000 frames per second,
    // so the result always fits the int that callers truncate it to.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("DVR NaN fps") << 0 << 1 << 8 << nan << 0 << 614.4 << 614;
    QTest::newRow("DVR negative fps") << 0 << 1 << 8 << -25.0 << 0 << 614.4 << 614;
    QTest::newRow("DVR infinite fps") << 0 << 1 << 8 << inf << 0 << 98918.4 << 98918;
    QTest::newRow("DVR 1e300 fps") << 0 << 1 << 8 << 1e300 << 0 << 98918.4 << 98918;
    QTest::newRow("IPC NaN fps is full column") << 0 << 0 << 2 << nan << 0 << 10240.0 << 10240;
}

void TestBitrateCalculator::recommended()
{
    QFETCH(int, standard);
    QFETCH(int, type);
    QFETCH(int, resolution);
    QFETCH(double, framerate);
    QFETCH(int, level);
    QFETCH(double, expected);
    QFETCH(int, truncated);

    CBitrateCalculator calculator;
    calculator.SetStandard(standard);
    const double value = calculator.RecommendedBitrate(type, resolution, framerate, level);
    QCOMPARE(value, expected);
    QCOMPARE(static_cast<int>(value), truncated);
}

void TestBitrateCalculator::dvrLevelsWithoutTable()
{
    // "1280*960" has DVR entries for the best level only.
    CBitrateCalculator calculator;
    for (int standard : {0, 1}) {
        calculator.SetStandard(standard);
        for (int level = 1; level <= 5; ++level) {
            for (double rate : NordaVocab::FramerateChoices(1, 5, standard))
                QCOMPARE(calculator.RecommendedBitrate(1, 5, rate, level), 0.0);
        }
    }
}

void TestBitrateCalculator::ipcIgnoresLevel()
{
    CBitrateCalculator calculator;
    for (double rate : {25.0, 12.5, 20.0, 0.5}) {
        const double best = calculator.RecommendedBitrate(0, 2, rate, 0);
        for (int level = 1; level <= 5; ++level)
            QCOMPARE(calculator.RecommendedBitrate(0, 2, rate, level), best);
    }
}

void TestBitrateCalculator::framerateColumn_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("column");
    const struct
    {
        double rate;
        int column;
    } rows[] = {
        {25, 0}, {30, 0}, {0, 0}, {22, 1}, {20, 2}, {18, 3},   {15, 4},    {12.5, 5},   {10, 6},
        {8, 7},  {6, 8},  {4, 9}, {2, 10}, {1, 11}, {0.5, 12}, {0.25, 13}, {0.125, 14}, {0.0625, 15},
        {3, 0},  {5, 0},  {7, 0}, {9, 0},  {12, 0}, {16, 0},   {1.5, 11},  {0.3, 0},
    };
    for (const auto &row : rows)
        QTest::newRow(qPrintable(QString::number(row.rate))) << row.rate << row.column;
}

void TestBitrateCalculator::framerateColumn()
{
    QFETCH(double, rate);
    QFETCH(int, column);
    QCOMPARE(CBitrateCalculator::FramerateColumn(rate), column);
}

void TestBitrateCalculator::everyChoiceHasItsOwnColumn()
{
    // The sixteen IPC choices of resolutions 2..11 reach sixteen different table columns.
    const QVector<double> choices = NordaVocab::FramerateChoices(0, 2, 0);
    QList<int> columns;
    for (double rate : choices)
        columns << CBitrateCalculator::FramerateColumn(rate);
    std::sort(columns.begin(), columns.end());
    QCOMPARE(std::unique(columns.begin(), columns.end()) - columns.begin(), qsizetype(16));
}

void TestBitrateCalculator::standardDefaultsToPal()
{
    CBitrateCalculator calculator;
    QCOMPARE(calculator.Standard(), 0);
    // DVR at 25 is full rate only under PAL.
    QCOMPARE(calculator.RecommendedBitrate(1, 8, 25, 0), 3072.0);
    calculator.SetStandard(1);
    QVERIFY(calculator.RecommendedBitrate(1, 8, 25, 0) < 3072.0);
}

void TestBitrateCalculator::recordHoursOneCamera()
{
    // 1000 GB at 2048 kbit/s: 943.5... hours, 39.3... days of 24 hours.
    const double hours = CBitrateCalculator::RecordHours(2048, 1000);
    QVERIFY2(hours > 943.5 && hours < 943.6, qPrintable(QString::number(hours, 'g', 12)));
    QCOMPARE(static_cast<int>(hours / 24), 39);
}

void TestBitrateCalculator::diskSizeOneCamera()
{
    // 30 days of 24 hours at 2048 kbit/s: 763.08... GB.
    const double gb = CBitrateCalculator::DiskSize(2048, 720);
    QVERIFY2(gb > 763.08 && gb < 763.09, qPrintable(QString::number(gb, 'g', 12)));
    QCOMPARE(CBitrateCalculator::DiskSize(2048, 0), 0.0);
}

void TestBitrateCalculator::diskSizeLargeHours()
{
    // 365 days at an absurd number of hours a day does not fit an int and must not wrap.
    const qint64 hours = qint64(365) * 2000000000;
    const double gb = CBitrateCalculator::DiskSize(32, hours);
    QVERIFY(gb > 0);
    QVERIFY(qFuzzyCompare(gb, CBitrateCalculator::DiskSize(32, 1) * static_cast<double>(hours)));
}

void TestBitrateCalculator::diskLimitIsThousandCamerasForAYear()
{
    const double gb = CBitrateCalculator::DiskSize(1024.0 * 16384, 365 * 24);
    QVERIFY(qFuzzyCompare(gb, CBitrateCalculator::kMaxDiskGB));
    QVERIFY(76056153.0 <= CBitrateCalculator::kMaxDiskGB && 76056154.0 > CBitrateCalculator::kMaxDiskGB);
}

void TestBitrateCalculator::nonsenseNeedsNoStorage_data()
{
    // Bitrates and sizes no plan produces: never a negative or NaN size or time.
    QTest::addColumn<double>("kbps");
    QTest::addColumn<double>("diskGB");
    QTest::addColumn<qint64>("hours");
    QTest::addColumn<double>("recordHours");
    QTest::addColumn<double>("diskSize");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("0 kbps") << 0.0 << 1000.0 << qint64(720) << 0.0 << 0.0;
    QTest::newRow("-100 kbps") << -100.0 << 1000.0 << qint64(720) << 0.0 << 0.0;
    QTest::newRow("INT_MIN kbps") << double(std::numeric_limits<int>::min()) << 1000.0 << qint64(720) << 0.0 << 0.0;
    QTest::newRow("NaN kbps") << nan << 1000.0 << qint64(720) << 0.0 << 0.0;
    QTest::newRow("infinite kbps") << inf << 1000.0 << qint64(720) << 0.0 << 0.0;
    QTest::newRow("vanishing kbps, empty disk")
        << std::numeric_limits<double>::denorm_min() << 0.0 << qint64(0) << 0.0 << 0.0;
    QTest::newRow("huge kbps for 0 hours") << 1e308 << 0.0 << qint64(0) << 0.0 << 0.0;
    QTest::newRow("negative disk and hours") << 2048.0 << -5.0 << qint64(-24) << 0.0 << 0.0;
    QTest::newRow("NaN disk") << 2048.0 << nan << qint64(720) << 0.0 << 763.0848;
    QTest::newRow("infinite disk") << 2048.0 << inf << qint64(720) << 0.0 << 763.0848;
}

void TestBitrateCalculator::nonsenseNeedsNoStorage()
{
    QFETCH(double, kbps);
    QFETCH(double, diskGB);
    QFETCH(qint64, hours);
    QFETCH(double, recordHours);
    QFETCH(double, diskSize);
    QCOMPARE(CBitrateCalculator::RecordHours(kbps, diskGB), recordHours);
    QCOMPARE(CBitrateCalculator::DiskSize(kbps, hours), diskSize);
}

QTEST_APPLESS_MAIN(TestBitrateCalculator)
#include "tst_bitratecalculator.moc"
