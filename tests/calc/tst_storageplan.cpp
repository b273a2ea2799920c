// The storage calculations on field texts: worked examples, refusals in their order, and the
// inputs that would divide by zero, go negative or overflow.
#include "calc/storageplan.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace StoragePlan;

namespace {
QVector<STRU_CAMERA> Cameras(std::initializer_list<int> bitrates)
{
    QVector<STRU_CAMERA> cameras;
    for (int bitrate : bitrates) {
        STRU_CAMERA camera;
        camera.iBitrate = bitrate;
        cameras << camera;
    }
    return cameras;
}
} // namespace

Q_DECLARE_METATYPE(StoragePlan::Refusal)
Q_DECLARE_METATYPE(StoragePlan::HoursProblem)

class TestStoragePlan : public QObject
{
    Q_OBJECT

private slots:
    void recordTime_data();
    void recordTime();
    void recordTimeBeyondInt();
    void diskSpace_data();
    void diskSpace();
    void diskLinks_data();
    void diskLinks();
    void timeLinks();
    void hoursOutOfRange_data();
    void hoursOutOfRange();
};

void TestStoragePlan::recordTime_data()
{
    QTest::addColumn<QVector<STRU_CAMERA>>("cameras");
    QTest::addColumn<QString>("gb");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<qint64>("months");
    QTest::addColumn<qint64>("weeks");
    QTest::addColumn<qint64>("days");
    const auto one = Cameras({2048});
    QTest::newRow("1000 GB, 24 h") << one << "1000"
                                   << "24" << Refusal::None << qint64(1) << qint64(5) << qint64(39);
    QTest::newRow("25 h is used") << one << "1000"
                                  << "25" << Refusal::None << qint64(1) << qint64(5) << qint64(37);
    QTest::newRow("2 GB is enough") << one << "2"
                                    << "24" << Refusal::None << qint64(0) << qint64(0) << qint64(0);
    QTest::newRow("no cameras first") << QVector<STRU_CAMERA>() << "0"
                                      << "0" << Refusal::NoCameras << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("above limit") << one << "76056154"
                                 << "24" << Refusal::DiskTooLarge << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("too many digits") << one << "99999999999999999999999"
                                     << "24" << Refusal::DiskTooLarge << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("1 GB") << one << "1"
                          << "24" << Refusal::DiskTooSmall << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("empty GB") << one << ""
                              << "24" << Refusal::DiskTooSmall << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("0 hours") << one << "1000"
                             << "0" << Refusal::NoHoursPerDay << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("hours not a number") << one << "1000"
                                        << "abc" << Refusal::NoHoursPerDay << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("negative hours") << one << "1000"
                                    << "-3" << Refusal::NoHoursPerDay << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("bitrates add up to 0") << Cameras({0, 0}) << "1000"
                                          << "24" << Refusal::NoBitrate << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("negative bitrate records nothing") << Cameras({2048, -100}) << "1000"
                                                      << "24" << Refusal::None << qint64(1) << qint64(5) << qint64(39);
    QTest::newRow("INT_MIN bitrate does not cancel") << Cameras({std::numeric_limits<int>::min(), 2048}) << "1000"
                                                     << "24" << Refusal::None << qint64(1) << qint64(5) << qint64(39);
    QTest::newRow("-5 GB") << one << "-5"
                           << "24" << Refusal::DiskTooSmall << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("30 negative digits GB") << one << "-999999999999999999999999999999"
                                           << "24" << Refusal::DiskTooSmall << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("30 digits with a sign") << one << "+999999999999999999999999999999"
                                           << "24" << Refusal::DiskTooLarge << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("hours 24.5") << one << "1000"
                                << "24.5" << Refusal::NoHoursPerDay << qint64(-1) << qint64(-1) << qint64(-1);
    QTest::newRow("hours beyond int") << one << "1000"
                                      << "99999999999" << Refusal::NoHoursPerDay << qint64(-1) << qint64(-1)
                                      << qint64(-1);
}

void TestStoragePlan::recordTime()
{
    QFETCH(QVector<STRU_CAMERA>, cameras);
    QFETCH(QString, gb);
    QFETCH(QString, hours);
    QFETCH(Refusal, refusal);
    QFETCH(qint64, months);
    QFETCH(qint64, weeks);
    QFETCH(qint64, days);
    RecordTime result;
    result.months = result.weeks = result.days = -1; // untouched on refusal
    QCOMPARE(CalculateRecordTime(cameras, gb, hours, &result), refusal);
    QCOMPARE(result.months, months);
    QCOMPARE(result.weeks, weeks);
    QCOMPARE(result.days, days);
}

void TestStoragePlan::recordTimeBeyondInt()
{
    // The largest disk at 32 kbit/s and 1 hour a day lasts more days than an int holds.
    RecordTime result;
    QCOMPARE(CalculateRecordTime(Cameras({32}), "76056153", "1", &result), Refusal::None);
    const double expected = 76056153.0 / (32.0 * 3600 / 8000000 * 1.15);
    QVERIFY(result.days > std::numeric_limits<int>::max());
    QVERIFY(std::fabs(result.days - expected) / expected < 1e-6);
    QCOMPARE(result.months, static_cast<qint64>(static_cast<float>(expected) / 30));
    QCOMPARE(result.weeks, static_cast<qint64>(static_cast<float>(expected) / 7));
    // Bitrates whose int sum would wrap still add up.
    QCOMPARE(CalculateRecordTime(Cameras({2000000000, 2000000000}), "76056153", "24", &result), Refusal::None);
    QVERIFY(result.days >= 0);
}

void TestStoragePlan::diskSpace_data()
{
    QTest::addColumn<QVector<STRU_CAMERA>>("cameras");
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("gb");
    QTest::addColumn<QString>("tb");
    const auto one = Cameras({2048});
    QTest::newRow("30 days, 24 h") << one << "30"
                                   << "24" << Refusal::None << "764"
                                   << "1";
    QTest::newRow("365 days accepted") << one << "365"
                                       << "24" << Refusal::None << "9285"
                                       << "10";
    QTest::newRow("1024 at 16384 for a year: exponent form")
        << QVector<STRU_CAMERA>(1024, Cameras({16384}).first()) << "365"
        << "24" << Refusal::None << "7.60562e+07"
        << "76057";
    QTest::newRow("empty day before cameras") << QVector<STRU_CAMERA>() << ""
                                              << "24" << Refusal::NoTime << ""
                                              << "";
    QTest::newRow("day 0 before cameras") << QVector<STRU_CAMERA>() << "0"
                                          << "24" << Refusal::NoTime << ""
                                          << "";
    QTest::newRow("no cameras") << QVector<STRU_CAMERA>() << "30"
                                << "24" << Refusal::NoCameras << ""
                                << "";
    QTest::newRow("366 days") << one << "366"
                              << "24" << Refusal::TimeTooLong << ""
                              << "";
    QTest::newRow("0 hours need no disk") << one << "30"
                                          << "0" << Refusal::None << "0"
                                          << "0";
    QTest::newRow("empty hours need no disk") << one << "30"
                                              << "" << Refusal::None << "0"
                                              << "0";
    QTest::newRow("blank hours need no disk") << one << "30"
                                              << "  " << Refusal::None << "0"
                                              << "0";
    QTest::newRow("0 hours, too long") << one << "366"
                                       << "0" << Refusal::TimeTooLong << ""
                                       << "";
    QTest::newRow("hours abc") << one << "30"
                               << "abc" << Refusal::NoHoursPerDay << ""
                               << "";
    QTest::newRow("negative hours") << one << "30"
                                    << "-1" << Refusal::NoHoursPerDay << ""
                                    << "";
    QTest::newRow("huge hours do not wrap") << one << "365"
                                            << "2000000000" << Refusal::None << "7.73683e+11"
                                            << "7.73683e+08";
    QTest::newRow("-5 days") << one << "-5"
                             << "24" << Refusal::NoTime << ""
                             << "";
    QTest::newRow("30 digits of days") << one << "999999999999999999999999999999"
                                       << "24" << Refusal::TimeTooLong << ""
                                       << "";
    QTest::newRow("30 digits of days, no cameras") << QVector<STRU_CAMERA>() << "999999999999999999999999999999"
                                                   << "24" << Refusal::NoCameras << ""
                                                   << "";
    QTest::newRow("hours 0x10") << one << "30"
                                << "0x10" << Refusal::NoHoursPerDay << ""
                                << "";
    QTest::newRow("negative bitrate needs no disk") << Cameras({2048, -100}) << "30"
                                                    << "24" << Refusal::None << "764"
                                                    << "1";
    QTest::newRow("only a negative bitrate") << Cameras({-100}) << "30"
                                             << "24" << Refusal::None << "0"
                                             << "0";
}

void TestStoragePlan::diskSpace()
{
    QFETCH(QVector<STRU_CAMERA>, cameras);
    QFETCH(QString, days);
    QFETCH(QString, hours);
    QFETCH(Refusal, refusal);
    QFETCH(QString, gb);
    QFETCH(QString, tb);
    DiskSpace result;
    QCOMPARE(CalculateDiskSpace(cameras, days, hours, &result), refusal);
    QCOMPARE(result.gb, gb);
    QCOMPARE(result.tb, tb);
}

void TestStoragePlan::diskLinks_data()
{
    QTest::addColumn<QString>("tb");
    QTest::addColumn<QString>("gb");
    QTest::addColumn<QString>("tbFromGb");
    QTest::addColumn<bool>("aboveLimit");
    QTest::newRow("empty") << ""
                           << "0"
                           << "0" << false;
    QTest::newRow("1 TB") << "1"
                          << "1000"
                          << "1" << false;
    QTest::newRow("76056 TB") << "76056"
                              << "76056000"
                              << "76056" << false;
    QTest::newRow("76057 TB") << "76057"
                              << "76057000"
                              << "76057" << true;
    QTest::newRow("largest 32-bit TB") << "4294967295"
                                       << "4294967295000"
                                       << "0" << true;
    QTest::newRow("TB beyond 32 bits") << "99999999999999999"
                                       << "0"
                                       << "0" << false;
    QTest::newRow("negative TB") << "-5"
                                 << "0"
                                 << "0" << false;
}

void TestStoragePlan::diskLinks()
{
    QFETCH(QString, tb);
    QFETCH(QString, gb);
    QFETCH(QString, tbFromGb);
    QFETCH(bool, aboveLimit);
    QCOMPARE(GBFromTB(tb), gb);
    QCOMPARE(TBFromGB(gb), tbFromGb);
    QCOMPARE(DiskAboveLimit(gb), aboveLimit);
}

void TestStoragePlan::timeLinks()
{
    QCOMPARE(FromMonths("13").weeks, QString("55"));
    QCOMPARE(FromMonths("13").days, QString("390"));
    QCOMPARE(FromWeeks("52").days, QString("364"));
    QCOMPARE(FromWeeks("52").months, QString("12"));
    QCOMPARE(FromDays("364").months, QString("12"));
    QCOMPARE(FromDays("364").weeks, QString("52"));
    QCOMPARE(FromDays("").months, QString("0"));
    QVERIFY(!DaysAboveLimit("365"));
    QVERIFY(DaysAboveLimit("366"));
    QVERIFY(DaysAboveLimit("99999999999999999999999"));
    QVERIFY(!DaysAboveLimit(""));
    QVERIFY(DaysAboveLimit("+99999999999999999999"));
    QVERIFY(!DaysAboveLimit("-99999999999999999999"));
    // Unreadable, negative or overlong texts read as 0 instead of overflowing or going negative.
    QCOMPARE(FromMonths("99999999999999999").days, QString("0"));
    QCOMPARE(FromMonths("-1").weeks, QString("0"));
    QCOMPARE(FromWeeks("9999999999999999999").months, QString("0"));
    QCOMPARE(FromWeeks("-5").days, QString("0"));
    QCOMPARE(FromDays("-14").weeks, QString("0"));
}

void TestStoragePlan::hoursOutOfRange_data()
{
    QTest::addColumn<QString>("hours");
    QTest::addColumn<bool>("outOfRange");
    QTest::addColumn<HoursProblem>("problem");
    QTest::newRow("0") << "0" << false << HoursProblem::Zero;
    QTest::newRow("1") << "1" << false << HoursProblem::None;
    QTest::newRow("24") << "24" << false << HoursProblem::None;
    QTest::newRow("25") << "25" << true << HoursProblem::AboveDay;
    QTest::newRow("-1") << "-1" << true << HoursProblem::Negative;
    QTest::newRow("empty") << "" << false << HoursProblem::Empty;
    QTest::newRow("blanks") << "  " << false << HoursProblem::Empty;
    QTest::newRow("text") << "abc" << false << HoursProblem::NotWholeNumber;
    QTest::newRow("fraction") << "24.5" << false << HoursProblem::NotWholeNumber;
    QTest::newRow("exponent") << "1E5" << false << HoursProblem::NotWholeNumber;
    QTest::newRow("hexadecimal") << "0x10" << false << HoursProblem::NotWholeNumber;
    QTest::newRow("blanks around") << " 7 " << false << HoursProblem::None;
    QTest::newRow("plus sign") << "+24" << false << HoursProblem::None;
    QTest::newRow("too long") << "99999999999999999999" << true << HoursProblem::AboveDay;
    QTest::newRow("too long with plus") << "+99999999999999999999" << true << HoursProblem::AboveDay;
    QTest::newRow("too long negative") << "-99999999999999999999" << true << HoursProblem::Negative;
}

void TestStoragePlan::hoursOutOfRange()
{
    QFETCH(QString, hours);
    QFETCH(bool, outOfRange);
    QFETCH(HoursProblem, problem);
    QCOMPARE(HoursPerDayOutOfRange(hours), outOfRange);
    QCOMPARE(HoursPerDayProblem(hours), problem);
}

QTEST_APPLESS_MAIN(TestStoragePlan)
#include "tst_storageplan.moc"
