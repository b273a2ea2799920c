// The camera record, its row texts, the frame-rate text rule and the frame-rate choice lists.
#include "calc/bitratecalculator.h"
#include "calc/camera.h"
#include "tests/support/camerafixture.h"

#include <QTest>

#include <limits>

class TestCamera : public QObject
{
    Q_OBJECT

private slots:
    void framerateText_data();
    void framerateText();
    void choiceLists_data();
    void choiceLists();
    void choiceListsClimbFromSixteenth();
    void rowTexts_data();
    void rowTexts();
    void handAddedCopyKeepsSource();
    void headers();
    void sanitize_data();
    void sanitize();
};

void TestCamera::framerateText_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("text");
    QTest::newRow("half") << 0.5 << "1/2";
    QTest::newRow("quarter") << 0.25 << "1/4";
    QTest::newRow("eighth") << 0.125 << "1/8";
    QTest::newRow("sixteenth") << 0.0625 << "1/16";
    QTest::newRow("12.5") << 12.5 << "12.5";
    QTest::newRow("25") << 25.0 << "25";
    QTest::newRow("30") << 30.0 << "30";
    QTest::newRow("not produced 0.3") << 0.3 << "0.3";
    QTest::newRow("six digits") << 1.0 / 3 << "0.333333";
}

void TestCamera::framerateText()
{
    QFETCH(double, rate);
    QFETCH(QString, text);
    QCOMPARE(NordaVocab::FramerateText(rate), text);
}

void TestCamera::choiceLists_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("DVR PAL") << 1 << 8 << 0 << 21 << "25"
                             << "22";
    QTest::newRow("DVR NTSC") << 1 << 11 << 1 << 21 << "30"
                              << "22";
    QTest::newRow("IPC 2560*1920 PAL") << 0 << 0 << 0 << 10 << "8"
                                       << "8";
    QTest::newRow("IPC 2560*1920 NTSC") << 0 << 0 << 1 << 10 << "8"
                                        << "8";
    QTest::newRow("IPC QXGA PAL") << 0 << 1 << 0 << 15 << "20"
                                  << "20";
    QTest::newRow("IPC QXGA NTSC") << 0 << 1 << 1 << 15 << "20"
                                   << "20";
    QTest::newRow("IPC 1080P PAL") << 0 << 2 << 0 << 16 << "25"
                                   << "22";
    QTest::newRow("IPC QCIF NTSC") << 0 << 11 << 1 << 16 << "30"
                                   << "22";
}

void TestCamera::choiceLists()
{
    QFETCH(int, type);
    QFETCH(int, resolution);
    QFETCH(int, standard);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const QVector<double> choices = NordaVocab::FramerateChoices(type, resolution, standard);
    QCOMPARE(choices.size(), count);
    QCOMPARE(NordaVocab::FramerateText(choices.first()), first);
    QCOMPARE(NordaVocab::FramerateText(choices.last()), last);
}

void TestCamera::choiceListsClimbFromSixteenth()
{
    const QStringList dvr = {"25", "1/16", "1/8", "1/4", "1/2", "1",  "2",  "3",  "4",  "5", "6",
                             "7",  "8",    "9",   "10",  "12",  "15", "16", "18", "20", "22"};
    const QStringList ipc = {"30", "1/16", "1/8", "1/4",  "1/2", "1",  "2",  "4",
                             "6",  "8",    "10",  "12.5", "15",  "18", "20", "22"};
    QStringList texts;
    for (double rate : NordaVocab::FramerateChoices(1, 9, 0))
        texts << NordaVocab::FramerateText(rate);
    QCOMPARE(texts, dvr);
    texts.clear();
    for (double rate : NordaVocab::FramerateChoices(0, 7, 1))
        texts << NordaVocab::FramerateText(rate);
    QCOMPARE(texts, ipc);
    // After the first entry every list climbs strictly.
    for (int resolution = 0; resolution < 12; ++resolution) {
        for (int type : {0, 1}) {
            const QVector<double> choices = NordaVocab::FramerateChoices(type, resolution, 0);
            QVERIFY(std::is_sorted(choices.begin() + 1, choices.end()));
            QVERIFY(std::adjacent_find(choices.begin() + 1, choices.end()) == choices.end());
        }
    }
}

void TestCamera::rowTexts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("DVR 4CIF") << 1 << 8 << 2 << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "12.5", "2048", "1792"};
    // An IP camera's row shows its own level, as its plan and report do.
    QTest::newRow("IPC shows its level") << 0 << 2 << 4 << QStringList{"IPC",  "Cam 1", "Level5", "1080P(1920*1080)",
                                                                       "12.5", "2048",  "1792"};
    QTest::newRow("type 2 is IPC") << 2 << 0 << 5
                                   << QStringList{"IPC", "Cam 1", "Level6", "2560*1920", "12.5", "2048", "1792"};
    QTest::newRow("resolution 12, level 6")
        << 1 << 12 << 6 << QStringList{"DVR", "Cam 1", "", "", "12.5", "2048", "1792"};
    QTest::newRow("resolution -1") << 1 << -1 << 0
                                   << QStringList{"DVR", "Cam 1", "Level1(best)", "", "12.5", "2048", "1792"};
}

void TestCamera::rowTexts()
{
    QFETCH(int, type);
    QFETCH(int, resolution);
    QFETCH(int, level);
    QFETCH(QStringList, texts);
    STRU_CAMERA camera;
    camera.strName = QStringLiteral("Cam 1").toLocal8Bit();
    camera.iType = type;
    camera.iResolution = resolution;
    camera.iLevel = level;
    camera.dFramerate = 12.5;
    camera.iBitrate = 2048;
    camera.iRecommendedBitrate = 1792;
    QCOMPARE(NordaVocab::CameraRowTexts(camera), texts);
}

void TestCamera::handAddedCopyKeepsSource()
{
    STRU_CAMERA camera;
    QVERIFY(camera.strName.isEmpty());
    QVERIFY(camera.strDeviceIP.isEmpty());
    QCOMPARE(camera.iPort, -1);
    QCOMPARE(camera.iChannel, -1);
    camera.strName = "X 3";
    camera.dFramerate = 0.0625;
    const QVariant carried = QVariant::fromValue(camera); // as signals carry it
    const STRU_CAMERA copy = carried.value<STRU_CAMERA>();
    QCOMPARE(copy.strName, QByteArray("X 3"));
    QVERIFY(copy.strDeviceIP.isEmpty());
    QCOMPARE(copy.iPort, -1);
    QCOMPARE(copy.iChannel, -1);
    QCOMPARE(copy.dFramerate, 0.0625);
}

void TestCamera::headers()
{
    QCOMPARE(NordaVocab::ColumnHeaders(),
             (QStringList{"Device Type", "Camera Name", "Picture Quality", "Resolution", "Framerate", "Bitrate",
                          "Recommand Bitrate"}));
}

void TestCamera::sanitize_data()
{
    // A record as a device or a plan file might bring it, the row it shows once made safe,
    // the type it ends with, and whether it was clean already.
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("framerate");
    QTest::addColumn<int>("bitrate");
    QTest::addColumn<int>("recommended");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("typeAfter");
    QTest::addColumn<bool>("clean");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const int intMin = std::numeric_limits<int>::min();
    QTest::newRow("clean") << 1 << 8 << 2 << 12.5 << 2048 << 1792
                           << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "12.5", "2048", "1792"} << 1 << true;
    QTest::newRow("clean 1/16, zero bitrates")
        << 0 << 11 << 5 << 0.0625 << 0 << 0 << QStringList{"IPC", "Cam 1", "Level6", "QCIF", "1/16", "0", "0"} << 0
        << true;
    QTest::newRow("NaN rate") << 1 << 8 << 2 << nan << 2048 << 1792
                              << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "0", "2048", "1792"} << 1 << false;
    QTest::newRow("infinite rate") << 1 << 8 << 2 << inf << 2048 << 1792
                                   << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "1000", "2048", "1792"} << 1
                                   << false;
    QTest::newRow("-infinite rate") << 1 << 8 << 2 << -inf << 2048 << 1792
                                    << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "0", "2048", "1792"} << 1 << false;
    QTest::newRow("1e300 rate") << 1 << 8 << 2 << 1e300 << 2048 << 1792
                                << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "1000", "2048", "1792"} << 1 << false;
    QTest::newRow("negative rate") << 1 << 8 << 2 << -5.0 << 2048 << 1792
                                   << QStringList{"DVR", "Cam 1", "Level3", "4CIF", "0", "2048", "1792"} << 1 << false;
    QTest::newRow("level 99") << 1 << 8 << 99 << 25.0 << 2048 << 1792
                              << QStringList{"DVR", "Cam 1", "Level6", "4CIF", "25", "2048", "1792"} << 1 << false;
    QTest::newRow("level -3") << 1 << 8 << -3 << 25.0 << 2048 << 1792
                              << QStringList{"DVR", "Cam 1", "Level1(best)", "4CIF", "25", "2048", "1792"} << 1
                              << false;
    QTest::newRow("resolution -1") << 1 << -1 << 0 << 25.0 << 2048 << 1792
                                   << QStringList{"DVR", "Cam 1", "Level1(best)", "2560*1920", "25", "2048", "1792"}
                                   << 1 << false;
    QTest::newRow("resolution 12") << 0 << 12 << 0 << 25.0 << 2048 << 1792
                                   << QStringList{"IPC", "Cam 1", "Level1(best)", "QCIF", "25", "2048", "1792"} << 0
                                   << false;
    QTest::newRow("bitrate INT_MIN") << 1 << 8 << 0 << 25.0 << intMin << 1792
                                     << QStringList{"DVR", "Cam 1", "Level1(best)", "4CIF", "25", "0", "1792"} << 1
                                     << false;
    QTest::newRow("recommended -100") << 1 << 8 << 0 << 25.0 << 2048 << -100
                                      << QStringList{"DVR", "Cam 1", "Level1(best)", "4CIF", "25", "2048", "0"} << 1
                                      << false;
    QTest::newRow("type 2 becomes IPC") << 2 << 2 << 4 << 25.0 << 2048 << 1792
                                        << QStringList{"IPC", "Cam 1", "Level5", "1080P(1920*1080)",
                                                       "25",  "2048",  "1792"}
                                        << 0 << false;
    QTest::newRow("everything at once") << -7 << 1000 << intMin << nan << -1 << intMin
                                        << QStringList{"IPC", "Cam 1", "Level1(best)", "QCIF", "0", "0", "0"} << 0
                                        << false;
}

void TestCamera::sanitize()
{
    QFETCH(int, type);
    QFETCH(int, resolution);
    QFETCH(int, level);
    QFETCH(double, framerate);
    QFETCH(int, bitrate);
    QFETCH(int, recommended);
    QFETCH(QStringList, texts);
    QFETCH(int, typeAfter);
    QFETCH(bool, clean);
    STRU_CAMERA camera = MakeCamera("Cam 1", type, resolution, level, framerate, bitrate, recommended);
    camera.strDeviceIP = "10.0.0.9";
    camera.iPort = 8000;
    camera.iChannel = 3;
    QCOMPARE(NordaVocab::SanitizeCamera(camera), clean);
    QCOMPARE(NordaVocab::CameraRowTexts(camera), texts);
    QCOMPARE(camera.iType, typeAfter);
    QCOMPARE(camera.strDeviceIP, QByteArray("10.0.0.9")); // where it came from stays
    QCOMPARE(camera.iPort, 8000);
    QCOMPARE(camera.iChannel, 3);
    QVERIFY(NordaVocab::SanitizeCamera(camera)); // mended once is clean
    // What the panel does with a row: a recommendation that fits an int, a size that is no NaN.
    CBitrateCalculator calculator;
    for (int standard : {0, 1}) {
        calculator.SetStandard(standard);
        const double value =
            calculator.RecommendedBitrate(camera.iType, camera.iResolution, camera.dFramerate, camera.iLevel);
        QVERIFY2(value >= 0 && value < std::numeric_limits<int>::max(), qPrintable(QString::number(value)));
    }
    QVERIFY(CBitrateCalculator::DiskSize(camera.iBitrate, 24) >= 0);
}

QTEST_GUILESS_MAIN(TestCamera)
#include "tst_camera.moc"
