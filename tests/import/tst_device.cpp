#include "import/device.h"
#include "tests/import/devicefixture.h"

#include <QtTest>

using namespace Fixture;

class TestDevice : public QObject
{
    Q_OBJECT
private slots:
    void loginReadsTheChannelLayout()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 4, 3);
        scripted.iFirstAnalogChannel = 2;
        scripted.uStartIPChanField = 40;
        auto backend = Install({scripted});
        STRU_DEVICE device = Record(scripted);
        QVERIFY(device.Login());
        QVERIFY(device.iUserID >= 0);
        QCOMPARE(device.iChannelCount, 4);
        QCOMPARE(device.iStartChannel, 2);
        QCOMPARE(device.iIPChannelCount, 3);
        QCOMPARE(device.iStartIPChannel, 40);
        QCOMPARE(backend->OpenSessions(), 1);
        QVERIFY(device.Logout());
        QCOMPARE(device.iUserID, -1);
        QCOMPARE(backend->OpenSessions(), 0);
        QVERIFY(device.Logout());           // nothing to do, still true
        QCOMPARE(backend->TotalCalls(), 4); // login, IP channels, identity, logout
    }

    void loginLogsOutAHeldHandleFirst()
    {
        auto backend = Install({Device("10.0.0.1", 1)});
        STRU_DEVICE device = Record(Device("10.0.0.1"));
        QVERIFY(device.Login());
        QVERIFY(device.Login());
        QCOMPARE(backend->OpenSessions(), 1);
        device.Logout();
        QCOMPARE(backend->OpenSessions(), 0);
    }

    void firstIPChannelIsTheLow16BitsSigned_data()
    {
        QTest::addColumn<uint>("field");
        QTest::addColumn<int>("first");
        QTest::newRow("33") << 33u << 33;
        QTest::newRow("high bits ignored") << 0x00070021u << 33;
        QTest::newRow("signed") << 0x0000FFFFu << -1;
    }

    void firstIPChannelIsTheLow16BitsSigned()
    {
        QFETCH(uint, field);
        QFETCH(int, first);
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 0, 1);
        scripted.uStartIPChanField = field;
        Install({scripted});
        STRU_DEVICE device = Record(scripted);
        QVERIFY(device.Login());
        QCOMPARE(device.iStartIPChannel, first);
        device.Logout();
    }

    void streamSourceRules_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("ipDevice");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("counted");
        // IP-device entries: 1 enabled, 2 disabled, 64 enabled.
        QTest::newRow("kind 0, enabled device 1") << 0 << 1 << true << 1;
        QTest::newRow("kind 0, device 64") << 0 << 64 << true << 1;
        QTest::newRow("kind 0, disabled device 2") << 0 << 2 << true << 0;
        QTest::newRow("kind 0, device 0") << 0 << 0 << true << 0;
        QTest::newRow("kind 0, device 65") << 0 << 65 << true << 0;
        QTest::newRow("kind 0, device 255") << 0 << 255 << true << 0;
        QTest::newRow("kind 1 enabled") << 1 << 0 << true << 1;
        QTest::newRow("kind 1 disabled") << 1 << 0 << false << 0;
        QTest::newRow("kind 2 enabled") << 2 << 0 << true << 1;
        QTest::newRow("kind 2 disabled") << 2 << 0 << false << 0;
        QTest::newRow("kind 3") << 3 << 0 << true << 0;
        QTest::newRow("kind 200") << 200 << 0 << true << 0;
    }

    void streamSourceRules()
    {
        QFETCH(int, kind);
        QFETCH(int, ipDevice);
        QFETCH(bool, enabled);
        QFETCH(int, counted);
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 1);
        scripted.ipDevices.fill(false, 64);
        scripted.ipDevices[0] = true;
        scripted.ipDevices[63] = true;
        // The rule under test sits between two entries that always count.
        scripted.sources = {{2, 0, true}, {kind, ipDevice, enabled}, {1, 0, true}};
        Install({scripted});
        STRU_DEVICE device = Record(scripted);
        QVERIFY(device.Login());
        QCOMPARE(device.iIPChannelCount, 2 + counted);
        device.Logout();
    }

    void countingReadsOnlyTheDocumentedBytes()
    {
        // Kind 0 looks at byte 5 only, kind 1 at byte 8 only, kind 2 at byte 4 only.
        auto config = std::make_unique<NET_DVR_IPCHAN_CONFIG>();
        std::memset(config.get(), 0, sizeof(*config));
        config->struIPDevice[4].byEnable = 1;
        config->struSource[0].byKind = 0;
        config->struSource[0].source.byRaw[0] = 5; // byte 4 is not the device number
        config->struSource[1].byKind = 1;
        config->struSource[1].source.byRaw[0] = 1; // byte 4 is not kind 1's flag
        config->struSource[2].byKind = 2;
        config->struSource[2].source.byRaw[4] = 1; // byte 8 is not kind 2's flag
        QCOMPARE(CountConnectedIPChannels(*config), 0);
        config->struSource[0].source.byRaw[1] = 5;
        config->struSource[1].source.byRaw[4] = 1;
        config->struSource[2].source.byRaw[0] = 1;
        QCOMPARE(CountConnectedIPChannels(*config), 3);
    }

    void failedIPChannelReadLeavesAnalogueChannels()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 2, 5);
        scripted.bIPChanConfigFails = true;
        Install({scripted});
        STRU_DEVICE device = Record(scripted);
        QVERIFY(device.Login());
        QCOMPARE(device.iChannelCount, 2);
        QCOMPARE(device.iIPChannelCount, 0);
        device.Logout();
    }

    void failedLogin()
    {
        auto backend = Install({Device("10.0.0.1", 2)});
        STRU_DEVICE device = Record(Device("10.0.0.1"));
        device.strPassword = "wrong";
        QVERIFY(!device.Login());
        QVERIFY(device.iUserID < 0);
        QCOMPARE(device.iChannelCount, -1);
        QVERIFY(device.Logout());
        QCOMPARE(backend->TotalCalls(), 1); // no logout call for a handle never given
    }

    void compressInfoAsksForIndexPlusOne()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 0);
        scripted.analogChannels = {Channel(1), Channel(3, 0x80000400u, 7, 4), Channel(0, 19, 0, 0, true)};
        Install({scripted});
        STRU_DEVICE device = Record(scripted);
        QVERIFY(device.Login());
        NET_DVR_COMPRESS_BLOCK block;
        QVERIFY(device.GetCompressInfo(1, &block)); // channel 2
        QCOMPARE(int(block.byResolution), 3);
        QCOMPARE(int(block.byPicQuality), 4);
        QCOMPARE(block.dwVideoBitrate, 0x80000400u);
        QCOMPARE(block.dwFrameRate, 7u);
        QVERIFY(!device.GetCompressInfo(2, &block)); // channel 3 fails
        QVERIFY(!device.GetCompressInfo(3, &block)); // no channel 4
        device.Logout();
        QVERIFY(!device.GetCompressInfo(0, &block)); // logged out
    }

    void deviceKind_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("kind");
        for (int code : {30, 31, 32, 35, 38, 40, 41, 42, 50})
            QTest::newRow(qPrintable(QString("code %1").arg(code))) << code << false << 2;
        for (int code : {0, 1, 29, 33, 34, 36, 37, 39, 43, 49, 51, 255})
            QTest::newRow(qPrintable(QString("code %1").arg(code))) << code << false << 1;
        QTest::newRow("read fails") << 40 << true << 0;
    }

    void deviceKind()
    {
        QFETCH(int, code);
        QFETCH(bool, fails);
        QFETCH(int, kind);
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 1);
        scripted.iDeviceTypeCode = code;
        scripted.bDeviceConfigFails = fails;
        Install({scripted});
        STRU_DEVICE device = Record(scripted);
        QVERIFY(device.Login());
        QCOMPARE(device.GetDeviceKind(), kind);
        device.Logout();
    }

    void diagnosticsOfALoginMaskThePassword_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QString>("shown");
        QTest::newRow("typed") << QByteArray("Secret#771") << QStringLiteral("Password: ******");
        QTest::newRow("one letter") << QByteArray("q") << QStringLiteral("Password: ******");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Password: ******");
    }

    void diagnosticsOfALoginMaskThePassword()
    {
        QFETCH(QByteArray, password);
        QFETCH(QString, shown);
        Install({Device("10.0.0.7", 1)});
        STRU_DEVICE device = Record(Device("10.0.0.7"));
        device.strUserName = "operator";
        device.strPassword = password;
        QStringList lines;
        {
            CMessageCollector collector;
            QVERIFY(!device.Login());
            device.Logout();
            lines = collector.Lines();
        }
        const QStringList expected = {"login start-------",
                                      QString("Login failed[10.0.0.7]! error: %1").arg(NET_DVR_BAD_CREDENTIALS),
                                      "User: operator", shown, "enter logout-------"};
        QCOMPARE(lines, expected);
    }

    void diagnosticsOfASession()
    {
        Install({Device("10.0.0.7", 1)});
        STRU_DEVICE device = Record(Device("10.0.0.7"));
        device.strPassword = "50817";
        QStringList lines;
        {
            CMessageCollector collector;
            QVERIFY(device.Login());
            device.Logout();
            lines = collector.Lines();
        }
        const QStringList expected = {"login start-------", "login succeed-------", "enter logout-------",
                                      "logout start-------", "logout end-------"};
        QCOMPARE(lines, expected);
        QVERIFY(!lines.join('\n').contains("50817"));
    }

    void cleanupTestCase() { NetDvr_SetBackend(nullptr); }
};

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
