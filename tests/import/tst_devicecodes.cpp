#include "calc/bitratecalculator.h"
#include "import/device.h"
#include "import/devicecodes.h"

#include <QtTest>

#include <cstring>

class TestDeviceCodes : public QObject
{
    Q_OBJECT
private slots:
    void resolutionCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text"); // empty: unsupported
        const QList<QPair<int, QString>> table = {{1, "CIF"},
                                                  {2, "QCIF"},
                                                  {3, "4CIF"},
                                                  {4, "2CIF"},
                                                  {16, "VGA(640*480)"},
                                                  {17, "UXGA(1600*1200)"},
                                                  {19, "720P(1280*760)"},
                                                  {20, "1280*960"},
                                                  {21, "1600*912"},
                                                  {27, "1080P(1920*1080)"},
                                                  {28, "2560*1920"},
                                                  {30, "QXGA(2048*1536)"},
                                                  {0, ""},
                                                  {5, ""},
                                                  {15, ""},
                                                  {18, ""},
                                                  {22, ""},
                                                  {29, ""},
                                                  {31, ""},
                                                  {255, ""}};
        for (const auto &entry : table)
            QTest::newRow(qPrintable(QString::number(entry.first))) << entry.first << entry.second;
    }

    void resolutionCodes()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        const int index = DeviceCodes::ResolutionIndex(code);
        if (text.isEmpty())
            QCOMPARE(index, -1);
        else
            QCOMPARE(NordaVocab::ResolutionText(index), text);
    }

    void frameRateCodes_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<int>("standard");
        QTest::addColumn<double>("rate");
        const double rates[] = {0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8, 10, 12, 16, 20, 15, 18, 22};
        for (uint code = 1; code <= 16; ++code)
            QTest::newRow(qPrintable(QString("code %1").arg(code))) << code << 1 << rates[code - 1];
        QTest::newRow("0 NTSC") << 0u << 1 << 30.0;
        QTest::newRow("0 PAL") << 0u << 0 << 25.0;
        QTest::newRow("17 PAL") << 17u << 0 << 25.0;
        QTest::newRow("17 NTSC") << 17u << 1 << 30.0;
        QTest::newRow("huge PAL") << 0xFFFFFFFFu << 0 << 25.0;
    }

    void frameRateCodes()
    {
        QFETCH(uint, code);
        QFETCH(int, standard);
        QFETCH(double, rate);
        QCOMPARE(DeviceCodes::FrameRate(code, standard), rate);
    }

    void bitrateCodes_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<int>("kbps");
        const int table[] = {32,  48,  64,  80,  96,   128,  160,  192,  224,  256,  320,  384,  448,
                             512, 640, 768, 896, 1024, 1280, 1536, 1792, 2048, 3072, 4096, 8192, 16384};
        for (uint code = 2; code <= 27; ++code)
            QTest::newRow(qPrintable(QString("code %1").arg(code))) << code << table[code - 2];
        QTest::newRow("0 recommended") << 0u << 777;
        QTest::newRow("1 recommended") << 1u << 777;
        QTest::newRow("28 recommended") << 28u << 777;
        QTest::newRow("bit 31, 2097152 bit/s") << (0x80000000u | 2097152u) << 2048;
        QTest::newRow("bit 31, divides by 1024") << (0x80000000u | 1000000u) << 976;
        QTest::newRow("bit 31, below 1024") << (0x80000000u | 1023u) << 0;
        QTest::newRow("bit 31, largest") << 0xFFFFFFFFu << 2097151;
    }

    void bitrateCodes()
    {
        QFETCH(uint, code);
        QFETCH(int, kbps);
        QCOMPARE(DeviceCodes::Bitrate(code, 777), kbps);
    }

    void qualityIsClampedToTheLevels_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<int>("level");
        for (int q = 0; q <= 5; ++q)
            QTest::newRow(qPrintable(QString::number(q))) << q << q;
        QTest::newRow("6") << 6 << 5;
        QTest::newRow("255") << 255 << 5;
    }

    void qualityIsClampedToTheLevels()
    {
        QFETCH(int, quality);
        QFETCH(int, level);
        QCOMPARE(DeviceCodes::Level(quality), level);
    }

    void pictureSizeAndCodec_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("resolutionCell");
        QTest::addColumn<int>("codec");
        QTest::newRow("4 MP H.265 beside QXGA") << 2560 << 1440 << 2 << "2560*1440" << 1;
        QTest::newRow("1080P H.264 is its row") << 1920 << 1080 << 1 << "1080P(1920*1080)" << 0;
        QTest::newRow("unknown") << 0 << 0 << 0 << "1080P(1920*1080)" << 0;
        QTest::newRow("half a size, encoding 9") << 2560 << 0 << 9 << "1080P(1920*1080)" << 0;
        QTest::newRow("smart H.265") << 3840 << 2160 << 5 << "3840*2160" << 4;
    }

    void pictureSizeAndCodec()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, encoding);
        QFETCH(QString, resolutionCell);
        QFETCH(int, codec);
        NET_DVR_COMPRESS_BLOCK block;
        std::memset(&block, 0, sizeof(block));
        block.byResolution = 27; // 1080P
        block.wWidth = uint16_t(width);
        block.wHeight = uint16_t(height);
        block.byVideoEncType = uint8_t(encoding);
        CBitrateCalculator calculator;
        STRU_CAMERA camera;
        QVERIFY(DeviceCodes::BuildCamera(block, QStringLiteral("c"), STRU_DEVICE(), 1, NordaVocab::TypeIPC,
                                         NordaVocab::PAL, calculator, &camera));
        QCOMPARE(NordaVocab::CameraRowTexts(camera).at(3), resolutionCell);
        QCOMPARE(camera.iCodec, codec);
    }

    void dvrQualityBeyondTheLevelsRecommendsFromTheLastLevel()
    {
        STRU_DEVICE device;
        NET_DVR_COMPRESS_BLOCK block;
        std::memset(&block, 0, sizeof(block));
        block.byResolution = 2; // QCIF
        block.byPicQuality = 9;
        CBitrateCalculator calculator;
        STRU_CAMERA camera;
        QVERIFY(DeviceCodes::BuildCamera(block, QStringLiteral("q"), device, 1, NordaVocab::TypeDVR, NordaVocab::PAL,
                                         calculator, &camera));
        QCOMPARE(camera.iLevel, 5);
        QCOMPARE(camera.iRecommendedBitrate, 96); // "Level6" QCIF at the full rate
        QCOMPARE(NordaVocab::LevelText(camera.iLevel), QStringLiteral("Level6"));
    }
};

QTEST_GUILESS_MAIN(TestDeviceCodes)
#include "tst_devicecodes.moc"
