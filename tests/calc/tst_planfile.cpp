// Plan files: every field survives a save and an open, a file written by hand opens, a failed
// save leaves the earlier file whole, and no damaged or hostile file is half applied.
#include "calc/bitratecalculator.h"
#include "calc/planfile.h"
#include "tests/support/camerafixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The documented format, written by hand: other cases and spellings, numbers where texts are
// expected, optional keys left out, keys of a later version.
const char kHandWritten[] = R"json({
  "format": "NORDA plan", "version": 1, "standard": "ntsc",
  "calculateTime": {"diskTB": "2", "diskGB": "2000", "hoursPerDay": "24"},
  "calculateDisk": {"months": "1", "weeks": "4", "days": 30, "hoursPerDay": "12"},
  "cameras": [
    {"name": "Cam 1", "deviceType": "DVR", "resolution": "4CIF", "quality": "Level 1(best)", "framerate": "30", "bitrate": 2048, "recommendedBitrate": 1},
    {"name": "Lobby 2", "deviceType": "ipc", "resolution": "1080p", "quality": "level3", "framerate": 12.5, "bitrate": 4096, "deviceIP": "192.168.1.64", "port": 8000, "channel": 33},
    {"name": "大厅 3", "deviceType": "DVR", "resolution": "QCIF", "quality": "Level6", "framerate": "1/16", "bitrate": 32, "later": true, "codec": "H.265", "width": 2560, "height": 1440, "group": "v2 only"}
  ],
  "comment": "ignored"
})json";

QByteArray Edited(const char *from, const char *to, QByteArray text = kHandWritten)
{
    Q_ASSERT(text.contains(from));
    return text.replace(from, to);
}

// The hand-written plan as version 2, with a storage block, edited.
QByteArray Edited2(const char *from, const char *to)
{
    const QByteArray v2 =
        Edited("\"comment\"", R"("storage": {"overheadPercent": 20, "codecPercent": {"h265": 70, "AV2": 5},
        "groups": [{"name": "Gate", "hours": "----CCCCEEEEEEEE--------", "nightFactorPercent": 60}]}, "comment")",
               Edited("\"version\": 1", "\"version\": 2"));
    return Edited(from, to, v2);
}

bool SamePlan(const STRU_PLAN &a, const STRU_PLAN &b)
{
    if (a.vecCamera.size() != b.vecCamera.size())
        return false;
    for (int i = 0; i < a.vecCamera.size(); ++i) {
        if (!Same(a.vecCamera.at(i), b.vecCamera.at(i)))
            return false;
    }
    return a.iStandard == b.iStandard && a.strDiskTB == b.strDiskTB && a.strDiskGB == b.strDiskGB
        && a.strHoursPerDay == b.strHoursPerDay && a.strMonths == b.strMonths && a.strWeeks == b.strWeeks
        && a.strDays == b.strDays && a.strHoursPerDay2 == b.strHoursPerDay2 && a.storage == b.storage;
}

STRU_PLAN Sentinel()
{
    STRU_PLAN plan;
    plan.vecCamera << MakeCamera("Sentinel", 0, 3, 2, 6, 777, 1);
    plan.iStandard = 1;
    plan.strDays = QStringLiteral("sentinel");
    return plan;
}

// Every type, resolution, level and offered frame rate, odd names, imported cameras.
STRU_PLAN FullPlan(int standard)
{
    STRU_PLAN plan;
    plan.iStandard = standard;
    CBitrateCalculator calculator;
    calculator.SetStandard(standard);
    const char *names[] = {"Quote \" and \\ slash", "Tab\tand\nnewline", "大厅 1", "", "  spaced  ", "Cam 7"};
    int n = 0;
    for (int type : {0, 1}) {
        for (int resolution = 0; resolution < NordaVocab::kResolutionCount; ++resolution) {
            for (double rate : NordaVocab::FramerateChoices(type, resolution, standard)) {
                const QByteArray name = n < 6 ? QByteArray(names[n]) : "Camera " + QByteArray::number(n);
                STRU_CAMERA camera = MakeCamera(name, type, resolution, n % 6, rate, 32 + n * 97);
                if (n % 3 == 0) {
                    camera.strDeviceIP = "10.0.0." + QByteArray::number(n % 250);
                    camera.iPort = n % 2 ? 0 : 65535;
                    camera.iChannel = n;
                    // What an imported camera's device said it is, some of it only.
                    camera.strMaker = n % 2 ? "Maker \"M\"" : "";
                    camera.strModel = "型号 " + QByteArray::number(n);
                    camera.strFirmware = n % 2 ? "" : "V5.4.0 build 200\t1";
                    camera.strSerial = "SN" + QByteArray::number(n);
                }
                plan.vecCamera << camera;
                ++n;
            }
        }
    }
    plan.vecCamera[1].dFramerate = 1.0 / 3; // not a rate of the lists, kept to the last digit
    plan.vecCamera[2].iBitrate = CPlanFile::kMaxBitrate;
    // Every codec, true sizes, shares and groups of the Storage page.
    for (int i = 0; i < plan.vecCamera.size(); i += 7) {
        STRU_CAMERA &camera = plan.vecCamera[i];
        camera.iCodec = i % NordaVocab::kCodecCount;
        camera.iWidth = i % 2 ? 2560 : 65535;
        camera.iHeight = i % 2 ? 1440 : 1;
        camera.iAverageShare = i % 1001;
        camera.strGroup = i % 3 ? QByteArray("大门 \"Gate\"") : QByteArray("Default");
    }
    NordaStorage::STRU_RECORDING_GROUP gate;
    gate.strName = QStringLiteral("大门 \"Gate\"");
    gate.hours[0] = NordaStorage::HourMode::Off;
    gate.hours[23] = NordaStorage::HourMode::Event;
    gate.iActivityPercent = 0;
    gate.iNightStart = 23;
    gate.iNightEnd = 0;
    gate.iNightFactorPercent = 1000;
    gate.iDaysToKeep = 3650;
    gate.strRecorder = QStringLiteral("录像机 \"NVR\"");
    plan.storage.vecGroups << gate;
    NordaStorage::EnsureGroups(plan.storage, plan.vecCamera);
    // Recorders with every level, a disk size finer than the page shows, and an array the page
    // refuses (RAID 6 of 3 disks): all kept as they are.
    for (int level = 0; level < NordaArrays::kRaidLevels; ++level) {
        NordaArrays::STRU_DISK_ARRAY array;
        array.eRaid = NordaArrays::RaidLevelAt(level);
        array.iBays = 1 + level * 40;
        array.iDisks = level == 3 ? 3 : level;
        array.dDiskTB = level == 1 ? 0.01 : 1000.0 / (level + 1);
        array.iGroupSize = 2 + level;
        array.iSpares = level;
        array.dReservePercent = level * 15;
        array.dFillLimitPercent = 90 - level;
        array.dWorkloadTBPerYear = level == 6 ? 100000 : 1 + level;
        array.dRebuildMBps = 100 + level;
        plan.storage.vecRecorders << NordaArrays::STRU_RECORDER{
            level ? gate.strRecorder + QString::number(level) : gate.strRecorder, array};
    }
    plan.storage.codecFactors.iPercent = {1, 2, 1000, 4, 5};
    plan.storage.iOverheadPercent = 0;
    for (STRU_CAMERA &camera : plan.vecCamera)
        camera.iRecommendedBitrate = static_cast<int>(
            calculator.RecommendedBitrate(camera.iType, camera.iResolution, camera.dFramerate, camera.iLevel));
    plan.strDiskTB = QStringLiteral("76056");
    plan.strDiskGB = QStringLiteral("76056153");
    plan.strHoursPerDay = QStringLiteral("-3x");
    plan.strMonths = QStringLiteral("12");
    plan.strWeeks = QStringLiteral("0");
    plan.strDays = QStringLiteral("365");
    plan.strHoursPerDay2 = QString();
    return plan;
}

QByteArray PlanOfNames(const QStringList &names)
{
    STRU_PLAN plan;
    for (const QString &name : names)
        plan.vecCamera << MakeCamera(name.toLocal8Bit().constData(), 1, 8, 0, 25, 1024);
    return CPlanFile::Write(plan);
}

} // namespace

class TestPlanFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void handWrittenOpens();
    void refused_data();
    void refused();
    void warnings_data();
    void warnings();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void openRefusesFiles_data();
    void openRefusesFiles();
    void fuzz();
};

void TestPlanFile::roundTrip_data()
{
    QTest::addColumn<int>("standard");
    QTest::newRow("PAL") << 0;
    QTest::newRow("NTSC") << 1;
}

void TestPlanFile::roundTrip()
{
    QFETCH(int, standard);
    const STRU_PLAN plan = FullPlan(standard);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.norda"));
    QString error;
    QVERIFY2(CPlanFile::Save(path, plan, &error), qPrintable(error));
    STRU_PLAN opened;
    QStringList messages;
    QCOMPARE(CPlanFile::Open(path, &opened, &messages), CPlanFile::Result::Opened);
    QVERIFY(messages.isEmpty());
    QVERIFY(SamePlan(opened, plan));
    QCOMPARE(CPlanFile::Write(opened), CPlanFile::Write(plan));
    // Stored as texts people read, not as indexes.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char *word : {"\"QXGA(2048*1536)\"", "\"Level 6\"", "\"1/16\"", "\"IPC\"", "\"DVR\""})
        QVERIFY2(text.contains(word), word);
    QVERIFY(text.contains(standard ? "\"NTSC\"" : "\"PAL\""));
}

void TestPlanFile::handWrittenOpens()
{
    STRU_PLAN plan;
    QStringList messages;
    QCOMPARE(CPlanFile::Read(kHandWritten, &plan, &messages), CPlanFile::Result::Opened);
    QCOMPARE(plan.iStandard, 1);
    QCOMPARE(QStringList({plan.strDiskTB, plan.strDiskGB, plan.strHoursPerDay, plan.strMonths, plan.strWeeks,
                          plan.strDays, plan.strHoursPerDay2}),
             QStringList({"2", "2000", "24", "1", "4", "30", "12"}));
    QCOMPARE(plan.vecCamera.size(), 3);
    // Recommended bitrates are those of NTSC, whatever the file says.
    QVERIFY(Same(plan.vecCamera.at(0), MakeCamera("Cam 1", 1, 8, 0, 30, 2048, 3072)));
    STRU_CAMERA lobby = MakeCamera("Lobby 2", 0, 2, 2, 12.5, 4096, 5120);
    lobby.strDeviceIP = "192.168.1.64";
    lobby.iPort = 8000;
    lobby.iChannel = 33;
    QVERIFY(Same(plan.vecCamera.at(1), lobby));
    QVERIFY(Same(plan.vecCamera.at(2), MakeCamera("大厅 3", 1, 11, 5, 0.0625, 32, 19))); // 96/5 + 0.0625*4*96/150
    // Version 1 knows no storage keys: the camera's codec, size and group stay at their defaults.
    QVERIFY(plan.storage == NordaStorage::STRU_STORAGE_SETTINGS());

    // The same as version 2 reads them, and its storage block.
    QCOMPARE(CPlanFile::Read(Edited2("\"later\"", "\"later\""), &plan, &messages), CPlanFile::Result::Opened);
    STRU_CAMERA hall = MakeCamera("大厅 3", 1, 11, 5, 0.0625, 32, 19);
    hall.iCodec = NordaStorage::H265;
    hall.iWidth = 2560;
    hall.iHeight = 1440;
    hall.strGroup = "v2 only";
    QVERIFY(Same(plan.vecCamera.at(2), hall));
    NordaStorage::STRU_STORAGE_SETTINGS storage;
    storage.iOverheadPercent = 20;
    storage.codecFactors.iPercent[NordaStorage::H265] = 70;
    NordaStorage::STRU_RECORDING_GROUP gate;
    gate.strName = QStringLiteral("Gate");
    for (int h = 0; h < 24; ++h)
        gate.hours[h] = h < 4 || h >= 16 ? NordaStorage::HourMode::Off
            : h < 8                      ? NordaStorage::HourMode::Continuous
                                         : NordaStorage::HourMode::Event;
    gate.iNightFactorPercent = 60;
    storage.vecGroups << gate;
    QVERIFY(plan.storage == storage);

    // Its recorders, written by hand: defaults for what is left out, levels by any spelling.
    QCOMPARE(CPlanFile::Read(Edited2("\"nightFactorPercent\": 60",
                                     "\"nightFactorPercent\": 60, \"recorder\": \"NVR\"}], \"recorders\": [{\"name\": "
                                     "\"NVR\", \"raid\": \"raid60\", \"disks\": 12, \"bays\": 12, \"diskTB\": 18.5"),
                             &plan, &messages),
             CPlanFile::Result::Opened);
    storage.vecGroups.first().strRecorder = QStringLiteral("NVR");
    NordaArrays::STRU_DISK_ARRAY raid60;
    raid60.eRaid = NordaArrays::RaidLevel::Raid60;
    raid60.iBays = raid60.iDisks = 12;
    raid60.dDiskTB = 18.5;
    storage.vecRecorders << NordaArrays::STRU_RECORDER{QStringLiteral("NVR"), raid60};
    QVERIFY(plan.storage == storage);
}

void TestPlanFile::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // a part of the one message
    const QByteArray full = CPlanFile::Write(FullPlan(0));
    QTest::newRow("empty") << QByteArray() << "empty";
    QTest::newRow("blanks") << QByteArray(" \n\t ") << "empty";
    QTest::newRow("not JSON") << QByteArray("<plan/>") << "not JSON";
    QTest::newRow("truncated") << full.left(full.size() / 2) << "cut short";
    QTest::newRow("larger than the cap") << QByteArray(CPlanFile::kMaxFileBytes + 1, ' ') << "never larger";
    QTest::newRow("a list") << QByteArray("[1, 2]") << "not a NORDA plan";
    QTest::newRow("other format") << Edited("NORDA plan", "CAD drawing") << "not a NORDA plan";
    QTest::newRow("newer version") << Edited("\"version\": 1", "\"version\": 3") << "newer NORDA";
    QTest::newRow("v2 unknown codec") << Edited2("\"H.265\"", "\"VP9\"")
                                      << "codec is \"VP9\", which is not one of: H.264";
    QTest::newRow("v2 width only") << Edited2("\"height\": 1440", "\"height\": 0") << "both width and height";
    QTest::newRow("v2 share above") << Edited2("\"later\"", "\"averageShare\": 1001, \"x\"")
                                    << "averageShare must be a whole number from 0 to 1000";
    QTest::newRow("v2 bad hours") << Edited2("----CCCC", "----XCCC") << "Recording group 1, hours must be 24 letters";
    QTest::newRow("v2 night 24") << Edited2("\"nightFactorPercent\": 60", "\"nightStart\": 24")
                                 << "Recording group 1, nightStart must be";
    QTest::newRow("v2 group twice") << Edited2("\"nightFactorPercent\": 60}",
                                               "\"nightFactorPercent\": 60}, {\"name\": \"Gate\"}")
                                    << "used twice";
    QTest::newRow("v2 overhead 101") << Edited2("\"overheadPercent\": 20", "\"overheadPercent\": 101")
                                     << "overheadPercent";
    QTest::newRow("v2 factor 0") << Edited2("\"h265\": 70", "\"h265\": 0") << "h265 must be a whole number from 1";
    const auto recorders = [](const char *recorder) {
        return Edited2(
            "\"groups\"",
            QByteArray("\"recorders\": [{\"name\": \"NVR\"}, " + QByteArray(recorder) + "], \"groups\"").constData());
    };
    QTest::newRow("v2 recorder disks") << recorders(R"({"name": "B", "disks": 300})")
                                       << "Recorder 2, disks must be a whole number from 0 to 256, not 300";
    QTest::newRow("v2 recorder RAID") << recorders(R"({"name": "B", "raid": "RAID 7"})")
                                      << "Recorder 2, raid is \"RAID 7\", which is not one of: JBOD, RAID 1";
    QTest::newRow("v2 recorder disk size")
        << recorders(R"({"name": "B", "diskTB": 0})") << "diskTB must be a number from 0.01 to 1000, not 0";
    QTest::newRow("v2 recorder reserve") << recorders(R"({"name": "B", "reservePercent": 5.5})")
                                         << "reservePercent must be a whole number from 0 to 90, not 5.5";
    QTest::newRow("v2 recorder twice") << recorders(R"({"name": "NVR"})") << "Recorder 2: the name \"NVR\" is used";
    QTest::newRow("v2 recorder nameless") << recorders("7") << "Recorder 2 must be an object, not 7";
    QTest::newRow("v2 group's recorder") << Edited2("\"nightFactorPercent\": 60", "\"recorder\": 5")
                                         << "Recording group 1, recorder must be the name of a recorder";
    QTest::newRow("version 0") << Edited("\"version\": 1", "\"version\": 0") << "version 0 is not valid";
    QTest::newRow("version as text") << Edited("\"version\": 1", "\"version\": \"1\"") << "not valid";
    QTest::newRow("unknown standard") << Edited("\"ntsc\"", "\"SECAM\"")
                                      << "standard is \"SECAM\", which is not one of: PAL, NTSC";
    QTest::newRow("no standard") << Edited("\"standard\"", "\"standardx\"") << "standard is missing";
    QTest::newRow("unknown type") << Edited("\"ipc\"", "\"NVR\"") << "Camera 2 (\"Lobby 2\"), deviceType is \"NVR\"";
    QTest::newRow("unknown resolution") << Edited("\"QCIF\"", "\"8K\"") << "resolution is \"8K\"";
    QTest::newRow("unknown quality") << Edited("\"level3\"", "\"Level 7\"") << "quality is \"Level 7\"";
    QTest::newRow("rate text") << Edited("\"1/16\"", "\"fast\"") << "frame rate from 0 to 1000";
    QTest::newRow("rate NaN") << Edited("\"1/16\"", "\"nan\"") << "not \"nan\"";
    QTest::newRow("rate infinite") << Edited("\"1/16\"", "\"inf\"") << "frame rate";
    QTest::newRow("rate negative") << Edited("12.5", "-12.5") << "not -12.5";
    QTest::newRow("rate huge") << Edited("12.5", "1e308") << "frame rate";
    QTest::newRow("bitrate negative") << Edited("\"bitrate\": 2048", "\"bitrate\": -5") << "from 0 to 4194304, not -5";
    QTest::newRow("bitrate huge") << Edited("\"bitrate\": 2048", "\"bitrate\": 1e300") << "whole number";
    QTest::newRow("bitrate fraction") << Edited("\"bitrate\": 2048", "\"bitrate\": 20.5") << "not 20.5";
    QTest::newRow("bitrate as text") << Edited("\"bitrate\": 2048", "\"bitrate\": \"2048\"") << "not \"2048\"";
    QTest::newRow("port out of range") << Edited("8000", "70000") << "port must be a whole number from -1 to 65535";
    QTest::newRow("channel negative") << Edited("33", "-2") << "channel";
    QTest::newRow("no name") << Edited("\"name\": \"Cam 1\", ", "") << "Camera 1, name is missing";
    QTest::newRow("name a number") << Edited("\"Cam 1\"", "17") << "must be a text, not 17";
    QTest::newRow("name too long") << Edited("Cam 1", QByteArray(300, 'x').constData()) << "longer than 256";
    QTest::newRow("camera a number") << Edited("\"cameras\": [", "\"cameras\": [5, ") << "Camera 1 must be an object";
    QTest::newRow("cameras an object") << QByteArray(
        R"({"format": "NORDA plan", "version": 1, "standard": "PAL", "cameras": {}})")
                                       << "must be a list of cameras";
    QTest::newRow("no cameras") << QByteArray(R"({"format": "NORDA plan", "version": 1, "standard": "PAL"})")
                                << "cameras is missing";
    QTest::newRow("tab a list") << Edited("{\"months\"", "[{\"months\"").replace("\"12\"}", "\"12\"}]")
                                << "calculateDisk must be an object";
    QTest::newRow("GB leading zero") << Edited("\"2000\"", "\"02000\"") << "calculateTime.diskGB must be empty, 0 or";
    QTest::newRow("GB above the limit") << Edited("\"2000\"", "\"76056154\"") << "above the largest value 76056153";
    QTest::newRow("TB negative") << Edited("\"diskTB\": \"2\"", "\"diskTB\": -2") << "diskTB must be a text";
    QTest::newRow("days 366") << Edited("\"days\": 30", "\"days\": 366") << "days is 366, above the largest value 365";
    QTest::newRow("months 13") << Edited("\"1\", \"weeks\"", "\"13\", \"weeks\"") << "months is 13";
    QTest::newRow("weeks 53") << Edited("\"4\"", "\"53\"") << "weeks is 53";
    QTest::newRow("hours too long") << Edited("\"12\"", "\"12345\"") << "hoursPerDay is longer than 4";
}

void TestPlanFile::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    STRU_PLAN plan = Sentinel();
    QStringList messages{QStringLiteral("left over")};
    QCOMPARE(CPlanFile::Read(bytes, &plan, &messages), CPlanFile::Result::Refused);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(message), qPrintable(messages.first()));
    QVERIFY(SamePlan(plan, Sentinel()));
}

void TestPlanFile::warnings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names"); // of the opened plan, all when given; else its count
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("message");
    QStringList many;
    for (int i = 0; i < 1030; ++i)
        many << QStringLiteral("Cam %1").arg(i + 1);
    QTest::newRow("1030 cameras") << PlanOfNames(many) << QStringList() << 1024 << "holds 1030 cameras; the first 1024";
    QTest::newRow("1030 cameras, later ones broken")
        << PlanOfNames(many).replace("{\"name\": \"Cam 1030\"", "{\"nom\": \"Cam 1030\"") << QStringList() << 1024
        << "the first 1024";
    QTest::newRow("duplicates") << PlanOfNames({"Cam 1", "Cam 2", "Cam 1", "Gate", "Gate", "Cam 2"})
                                << QStringList({"Cam 1", "Cam 2", "Cam 3", "Gate", "Gate 4", "Cam 5"}) << 6
                                << "3 cameras with a name used before were renamed: \"Cam 1\" to \"Cam 3\"";
    QTest::newRow("a later name is not taken")
        << PlanOfNames({"A 1", "A 1", "A 2"}) << QStringList({"A 1", "A 3", "A 2"}) << 3 << "\"A 1\" to \"A 3\"";
    QTest::newRow("empty names") << PlanOfNames({"", "", "Lobby"}) << QStringList({"", "Camera 1", "Lobby"}) << 3
                                 << "renamed";
}

void TestPlanFile::warnings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(int, count);
    QFETCH(QString, message);
    STRU_PLAN plan;
    QStringList messages;
    QCOMPARE(CPlanFile::Read(bytes, &plan, &messages), CPlanFile::Result::OpenedWithWarnings);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(message), qPrintable(messages.first()));
    QCOMPARE(plan.vecCamera.size(), count);
    QStringList opened;
    for (const STRU_CAMERA &camera : std::as_const(plan.vecCamera))
        opened << QString::fromLocal8Bit(camera.strName);
    if (!names.isEmpty())
        QCOMPARE(opened, names);
    QCOMPARE(QSet<QString>(opened.begin(), opened.end()).size(), count);
}

void TestPlanFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder vanished") << "vanished";
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("parent is a file") << "file parent";
#ifdef Q_OS_UNIX
    QTest::newRow("disk full (file size limit)") << "full";
    if (geteuid() != 0) // the superuser writes into read-only folders
        QTest::newRow("read-only folder") << "read-only";
#endif
}

void TestPlanFile::failedSaveKeepsOldFile()
{
    QFETCH(QString, failure);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("plans"));
    QVERIFY(QDir().mkpath(folder));
    QString path = folder + QStringLiteral("/site.norda");
    const QByteArray old = "the earlier plan";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    }
    STRU_PLAN plan = FullPlan(0); // far more than the file size limit below
    QString error;
    bool saved = true;
    if (failure == QLatin1String("vanished")) {
        QVERIFY(QDir(folder).removeRecursively());
        saved = CPlanFile::Save(path, plan, &error);
    } else if (failure == QLatin1String("folder")) {
        saved = CPlanFile::Save(folder, plan, &error);
        path = folder; // still a folder, checked below
    } else if (failure == QLatin1String("file parent")) {
        saved = CPlanFile::Save(path + QStringLiteral("/x.norda"), plan, &error);
#ifdef Q_OS_UNIX
    } else if (failure == QLatin1String("full")) {
        // Writes beyond the limit fail as on a full disk, also for the superuser.
        rlimit before{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
        rlimit small = before;
        small.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        saved = CPlanFile::Save(path, plan, &error);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
    } else if (failure == QLatin1String("read-only")) {
        QVERIFY(chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        saved = CPlanFile::Save(path, plan, &error);
        chmod(QFile::encodeName(folder).constData(), 0755);
#endif
    }
    QVERIFY(!saved);
    QVERIFY2(error.contains(QStringLiteral("could not be saved")), qPrintable(error));
    if (failure == QLatin1String("folder")) {
        QVERIFY(QFileInfo(path).isDir());
    } else if (QFileInfo::exists(folder)) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("site.norda")}); // no leftovers
    }
}

void TestPlanFile::openRefusesFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing"
                             << "does not exist";
    QTest::newRow("folder") << "folder"
                            << "is a folder";
    QTest::newRow("1 GB file") << "huge"
                               << "is 1024.0 MB large";
#ifdef Q_OS_UNIX
    QTest::newRow("pipe") << "pipe"
                          << "is not a plan file";
    QTest::newRow("device") << "/dev/zero"
                            << "is not a plan file";
    if (geteuid() != 0)
        QTest::newRow("unreadable") << "unreadable"
                                    << "could not be read";
#endif
}

void TestPlanFile::openRefusesFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("x.norda"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("huge")) {
        QFile file(path); // sparse: nothing is written
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
#ifdef Q_OS_UNIX
    } else if (kind == QLatin1String("pipe")) {
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0); // opening it would block
    } else if (kind == QLatin1String("unreadable")) {
        QVERIFY(CPlanFile::Save(path, FullPlan(0), nullptr));
        QVERIFY(chmod(QFile::encodeName(path).constData(), 0) == 0);
#endif
    } else if (kind.startsWith(QLatin1Char('/'))) {
        path = kind;
    }
    STRU_PLAN plan = Sentinel();
    QStringList messages;
    QCOMPARE(CPlanFile::Open(path, &plan, &messages), CPlanFile::Result::Refused);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(message), qPrintable(messages.first()));
    QVERIFY(SamePlan(plan, Sentinel()));
}

// Mutated plans never crash the reader, never half apply, and what it opens is a plan the
// program can hold: within the vocabulary, names distinct, recommendations of its standard,
// and it saves and opens again unchanged.
void TestPlanFile::fuzz()
{
    STRU_PLAN base = FullPlan(1);
    base.vecCamera.resize(8);
    const QByteArray text = CPlanFile::Write(base);
    const QJsonObject root = QJsonDocument::fromJson(text).object();
    const QJsonValue odd[] = {
        1e300,     -1e9, -1,           0.5,           QStringLiteral("NaN"), QStringLiteral("1e999"),
        QString(), true, QJsonValue(), QJsonArray{1}, QJsonObject{},         2147483648.0};
    QRandomGenerator random(20240607);
    int opened = 0;
    for (int round = 0; round < 10000; ++round) {
        QByteArray bytes;
        const int kind = random.bounded(4);
        if (kind == 0) { // byte flips
            bytes = text;
            for (int i = random.bounded(1, 6); i > 0; --i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        } else if (kind == 1) { // truncation
            bytes = text.left(random.bounded(int(text.size())));
        } else { // fields removed, duplicated or replaced
            QJsonObject plan = root;
            QJsonArray cameras = plan.value(QLatin1String("cameras")).toArray();
            for (int i = random.bounded(1, 4); i > 0; --i) {
                const int at = random.bounded(int(cameras.size()));
                QJsonObject camera = cameras.at(at).toObject();
                const QString key = camera.keys().at(random.bounded(int(camera.size())));
                const int action = random.bounded(4);
                if (action == 0)
                    camera.remove(key);
                else if (action == 1)
                    cameras.append(camera); // a duplicate name
                else if (action == 2)
                    camera.insert(key, odd[random.bounded(int(std::size(odd)))]);
                else
                    plan.insert(plan.keys().at(random.bounded(int(plan.size()))),
                                odd[random.bounded(int(std::size(odd)))]);
                cameras[at] = camera;
            }
            plan.insert(QStringLiteral("cameras"), cameras);
            bytes = QJsonDocument(plan).toJson(kind == 2 ? QJsonDocument::Compact : QJsonDocument::Indented);
        }
        STRU_PLAN read = Sentinel();
        QStringList messages;
        const CPlanFile::Result result = CPlanFile::Read(bytes, &read, &messages);
        if (result == CPlanFile::Result::Refused) {
            QVERIFY(SamePlan(read, Sentinel()));
            QCOMPARE(messages.size(), 1);
            continue;
        }
        ++opened;
        QCOMPARE(result == CPlanFile::Result::Opened, messages.isEmpty());
        CBitrateCalculator calculator;
        calculator.SetStandard(read.iStandard);
        QSet<QByteArray> names;
        for (STRU_CAMERA camera : std::as_const(read.vecCamera)) {
            names.insert(camera.strName);
            QVERIFY(NordaVocab::SanitizeCamera(camera));
            QCOMPARE(
                camera.iRecommendedBitrate,
                int(calculator.RecommendedBitrate(camera.iType, camera.iResolution, camera.dFramerate, camera.iLevel)));
        }
        QCOMPARE(names.size(), read.vecCamera.size());
        STRU_PLAN again;
        QCOMPARE(CPlanFile::Read(CPlanFile::Write(read), &again, nullptr), CPlanFile::Result::Opened);
        QVERIFY(SamePlan(again, read));
    }
    qInfo("%d of 10000 mutated plans opened", opened);
    QVERIFY2(opened > 500 && opened < 9500, qPrintable(QString::number(opened))); // both paths were taken
}

QTEST_GUILESS_MAIN(TestPlanFile)
#include "tst_planfile.moc"
