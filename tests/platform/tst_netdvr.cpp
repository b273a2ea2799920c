#include "platform/netdvr.h"
#include "tests/support/scriptedbackend.h"

#include <QtTest>

#include <cstring>
#include <future>
#include <thread>
#include <vector>

namespace {

SCRIPTED_DEVICE Device(const QByteArray &address, int analog, int latencyMs = 0)
{
    SCRIPTED_DEVICE device;
    device.strAddress = address;
    device.iLatencyMs = latencyMs;
    for (int i = 0; i < analog; ++i) {
        SCRIPTED_CHANNEL channel;
        channel.iResolutionCode = 3 + i;
        channel.uBitrateCode = 20u + static_cast<uint32_t>(i);
        channel.iFrameRateCode = i;
        channel.iQuality = i;
        device.analogChannels << channel;
    }
    return device;
}

std::shared_ptr<CScriptedBackend> Install(const QVector<SCRIPTED_DEVICE> &devices, int latencyMs = 0)
{
    auto backend = std::make_shared<CScriptedBackend>(latencyMs);
    for (const SCRIPTED_DEVICE &device : devices)
        backend->AddDevice(device);
    NetDvr_SetBackend(backend);
    return backend;
}

int Login(const char *address, const char *password = "50817", uint16_t port = 8000,
          NET_DVR_LOGIN_ANSWER *answer = nullptr)
{
    NET_DVR_LOGIN_ANSWER scratch;
    return NET_DVR_Login_V30(address, port, "admin", password, answer ? answer : &scratch);
}

template <typename T>
uint32_t ReadU32(const T &record, size_t offset)
{
    uint32_t value = 0;
    std::memcpy(&value, reinterpret_cast<const uint8_t *>(&record) + offset, sizeof(value));
    return value;
}

template <typename T>
uint8_t ReadU8(const T &record, size_t offset)
{
    return reinterpret_cast<const uint8_t *>(&record)[offset];
}

} // namespace

class TestNetDvr : public QObject
{
    Q_OBJECT
private slots:
    void callsBeforeInitFail()
    {
        // Runs first: the SDK is not initialised yet in this process.
        Install({Device("10.0.0.1", 1)});
        QCOMPARE(Login("10.0.0.1"), -1);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_NOT_INITIALISED));
        QCOMPARE(NET_DVR_Init(), 1);
        NetDvr_SetBackend(nullptr);
        QCOMPARE(Login("10.0.0.1"), -1);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_NOT_INITIALISED));
    }

    void recordLayouts()
    {
        // Values written through the field names sit at the documented byte offsets.
        NET_DVR_LOGIN_ANSWER answer;
        std::memset(&answer, 0, sizeof(answer));
        answer.byChanNum = 0xA4;
        answer.byStartChan = 0x5B;
        QCOMPARE(sizeof(answer), size_t(80));
        QCOMPARE(ReadU8(answer, 52), uint8_t(0xA4));
        QCOMPARE(ReadU8(answer, 53), uint8_t(0x5B));

        auto ip = std::make_unique<NET_DVR_IPCHAN_CONFIG>();
        std::memset(ip.get(), 0, sizeof(*ip));
        ip->dwSize = 50792;
        ip->dwStartIPChan = 0x12345678;
        ip->struIPDevice[0].byEnable = 0x11;
        ip->struIPDevice[63].byEnable = 0x22;
        ip->struSource[0].byKind = 0x33;
        ip->struSource[1].source.ipDevice.byIPDevice = 0x44;
        ip->struSource[2].source.streamServer.byEnable = 0x55;
        ip->struSource[63].source.url.byEnable = 0x66;
        QCOMPARE(sizeof(*ip), size_t(50792));
        QCOMPARE(ReadU32(*ip, 0), uint32_t(50792));
        QCOMPARE(ReadU32(*ip, 16), uint32_t(0x12345678));
        QCOMPARE(ReadU8(*ip, 84), uint8_t(0x11));
        QCOMPARE(ReadU8(*ip, 84 + 63 * 296), uint8_t(0x22));
        QCOMPARE(ReadU8(*ip, 19028), uint8_t(0x33));
        QCOMPARE(ReadU8(*ip, 19028 + 496 + 5), uint8_t(0x44));
        QCOMPARE(ReadU8(*ip, 19028 + 2 * 496 + 8), uint8_t(0x55));
        QCOMPARE(ReadU8(*ip, 19028 + 63 * 496 + 4), uint8_t(0x66));

        NET_DVR_COMPRESS_CONFIG compress;
        std::memset(&compress, 0, sizeof(compress));
        compress.struRecord.byResolution = 27;
        compress.struRecord.byPicQuality = 4;
        compress.struRecord.dwVideoBitrate = 0x80200000u;
        compress.struRecord.dwFrameRate = 14;
        QCOMPARE(sizeof(compress), size_t(116));
        QCOMPARE(sizeof(compress.struRecord), size_t(28));
        QCOMPARE(ReadU8(compress, 4 + 1), uint8_t(27));
        QCOMPARE(ReadU8(compress, 4 + 3), uint8_t(4));
        QCOMPARE(ReadU32(compress, 4 + 4), uint32_t(0x80200000u));
        QCOMPARE(ReadU32(compress, 4 + 8), uint32_t(14));

        NET_DVR_DEVICE_CONFIG device;
        std::memset(&device, 0, sizeof(device));
        device.byDeviceType = 40;
        QCOMPARE(sizeof(device), size_t(180));
        QCOMPARE(ReadU8(device, 123), uint8_t(40));
    }

    void loginOutcomes_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<int>("port");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<uint32_t>("error");
        QTest::newRow("accepted") << QByteArray("10.0.0.1") << 8000 << QByteArray("50817") << uint32_t(NET_DVR_NOERROR);
        QTest::newRow("wrong password") << QByteArray("10.0.0.1") << 8000 << QByteArray("x")
                                        << uint32_t(NET_DVR_BAD_CREDENTIALS);
        QTest::newRow("empty password") << QByteArray("10.0.0.1") << 8000 << QByteArray()
                                        << uint32_t(NET_DVR_BAD_CREDENTIALS);
        QTest::newRow("nobody there") << QByteArray("10.0.0.9") << 8000 << QByteArray("50817")
                                      << uint32_t(NET_DVR_CONNECT_FAILED);
        QTest::newRow("other port") << QByteArray("10.0.0.1") << 8001 << QByteArray("50817")
                                    << uint32_t(NET_DVR_CONNECT_FAILED);
    }

    void loginOutcomes()
    {
        QFETCH(QByteArray, address);
        QFETCH(int, port);
        QFETCH(QByteArray, password);
        QFETCH(uint32_t, error);
        auto backend = Install({Device("10.0.0.1", 3)});
        NET_DVR_LOGIN_ANSWER answer;
        std::memset(&answer, 0, sizeof(answer));
        const int user = Login(address.constData(), password.constData(), static_cast<uint16_t>(port), &answer);
        QCOMPARE(NET_DVR_GetLastError(), error);
        QCOMPARE(user >= 0, error == NET_DVR_NOERROR);
        QCOMPARE(backend->OpenSessions(), user >= 0 ? 1 : 0);
        QCOMPARE(int(answer.byChanNum), user >= 0 ? 3 : 0);
        QCOMPARE(backend->LoginAttempts(address, port), 1);
    }

    void nullArgumentsAreRefused()
    {
        Install({Device("10.0.0.1", 1)});
        NET_DVR_LOGIN_ANSWER answer;
        QCOMPARE(NET_DVR_Login_V30(nullptr, 8000, "admin", "50817", &answer), -1);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_BAD_PARAMETER));
        QCOMPARE(NET_DVR_Login_V30("10.0.0.1", 8000, "admin", "50817", nullptr), -1);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_BAD_PARAMETER));
        const int user = Login("10.0.0.1");
        QVERIFY(user >= 0);
        QCOMPARE(NET_DVR_GetDVRConfig(user, NET_DVR_GET_DEVICECFG, 0, nullptr, 180, nullptr), 0);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_BAD_PARAMETER));
    }

    void configReads_data()
    {
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<uint32_t>("command");
        QTest::addColumn<int>("channel");
        QTest::addColumn<uint32_t>("bufferSize");
        QTest::addColumn<bool>("setSize");
        QTest::addColumn<uint32_t>("error");
        QTest::newRow("compression ch1") << true << uint32_t(1040) << 1 << uint32_t(116) << false
                                         << uint32_t(NET_DVR_NOERROR);
        QTest::newRow("compression ch2 fails")
            << true << uint32_t(1040) << 2 << uint32_t(116) << false << uint32_t(NET_DVR_READ_FAILED);
        QTest::newRow("compression no ch4")
            << true << uint32_t(1040) << 4 << uint32_t(116) << false << uint32_t(NET_DVR_BAD_CHANNEL);
        QTest::newRow("compression ch0") << true << uint32_t(1040) << 0 << uint32_t(116) << false
                                         << uint32_t(NET_DVR_BAD_CHANNEL);
        QTest::newRow("compression small")
            << true << uint32_t(1040) << 1 << uint32_t(115) << false << uint32_t(NET_DVR_BAD_PARAMETER);
        QTest::newRow("ip channels") << true << uint32_t(1062) << 0 << uint32_t(50792) << true
                                     << uint32_t(NET_DVR_NOERROR);
        QTest::newRow("ip channels size unset")
            << true << uint32_t(1062) << 0 << uint32_t(50792) << false << uint32_t(NET_DVR_BAD_PARAMETER);
        QTest::newRow("ip channels ch1") << true << uint32_t(1062) << 1 << uint32_t(50792) << true
                                         << uint32_t(NET_DVR_BAD_CHANNEL);
        QTest::newRow("device") << true << uint32_t(1100) << 0 << uint32_t(180) << false << uint32_t(NET_DVR_NOERROR);
        QTest::newRow("unknown command") << true << uint32_t(1041) << 0 << uint32_t(50792) << false
                                         << uint32_t(NET_DVR_BAD_COMMAND);
        QTest::newRow("not logged in") << false << uint32_t(1100) << 0 << uint32_t(180) << false
                                       << uint32_t(NET_DVR_BAD_USERID);
    }

    void configReads()
    {
        QFETCH(bool, loggedIn);
        QFETCH(uint32_t, command);
        QFETCH(int, channel);
        QFETCH(uint32_t, bufferSize);
        QFETCH(bool, setSize);
        QFETCH(uint32_t, error);
        SCRIPTED_DEVICE device = Device("10.0.0.1", 3);
        device.analogChannels[1].bReadFails = true;
        device.iDeviceTypeCode = 40;
        Install({device});
        int user = Login("10.0.0.1");
        QVERIFY(user >= 0);
        if (!loggedIn) {
            NET_DVR_Logout(user);
        }
        std::vector<uint8_t> buffer(50792, 0);
        if (setSize) {
            const uint32_t size = 50792;
            std::memcpy(buffer.data(), &size, sizeof(size));
        }
        uint32_t returned = 12345;
        const int ok = NET_DVR_GetDVRConfig(user, command, channel, buffer.data(), bufferSize, &returned);
        QCOMPARE(NET_DVR_GetLastError(), error);
        QCOMPARE(ok != 0, error == NET_DVR_NOERROR);
        QCOMPARE(returned, ok ? NetDvr_RecordSize(command) : uint32_t(12345));
        if (ok && command == NET_DVR_GET_COMPRESSCFG) {
            const auto *config = reinterpret_cast<const NET_DVR_COMPRESS_CONFIG *>(buffer.data());
            QCOMPARE(int(config->struRecord.byResolution), 3);
            QCOMPARE(config->struRecord.dwVideoBitrate, uint32_t(20));
        }
        if (ok && command == NET_DVR_GET_DEVICECFG)
            QCOMPARE(int(buffer[123]), 40);
    }

    void streamSourcesAsScripted()
    {
        SCRIPTED_DEVICE device = Device("10.0.0.1", 0);
        device.uStartIPChanField = 0x00010021;
        device.ipDevices = {true, false};
        device.sources = {{NET_DVR_SOURCE_IP_DEVICE, 2, true},
                          {NET_DVR_SOURCE_STREAM_SERVER, 0, false},
                          {NET_DVR_SOURCE_URL, 0, true},
                          {9, 0, true}};
        Install({device});
        const int user = Login("10.0.0.1");
        auto config = std::make_unique<NET_DVR_IPCHAN_CONFIG>();
        std::memset(config.get(), 0xEE, sizeof(*config));
        config->dwSize = sizeof(*config);
        QVERIFY(NET_DVR_GetDVRConfig(user, 1062, 0, config.get(), sizeof(*config), nullptr));
        QCOMPARE(config->dwStartIPChan, uint32_t(0x00010021));
        QCOMPARE(int(config->struIPDevice[0].byEnable), 1);
        QCOMPARE(int(config->struIPDevice[1].byEnable), 0);
        QCOMPARE(int(config->struIPDevice[2].byEnable), 0);
        QCOMPARE(int(config->struSource[0].byKind), 0);
        QCOMPARE(int(config->struSource[0].source.ipDevice.byIPDevice), 2);
        QCOMPARE(int(config->struSource[1].byKind), 1);
        QCOMPARE(int(config->struSource[1].source.streamServer.byEnable), 0);
        QCOMPARE(int(config->struSource[2].byKind), 2);
        QCOMPARE(int(config->struSource[2].source.url.byEnable), 1);
        QCOMPARE(int(config->struSource[3].byKind), 9);
        QCOMPARE(int(config->struSource[4].byKind), 0); // unused entries are zero
        QCOMPARE(int(config->struSource[4].source.ipDevice.byIPDevice), 0);
    }

    void logoutEndsTheSessionAndHandlesAreReused()
    {
        auto backend = Install({Device("10.0.0.1", 1), Device("10.0.0.2", 1)});
        const int first = Login("10.0.0.1");
        const int second = Login("10.0.0.2");
        QVERIFY(first >= 0 && second >= 0 && first != second);
        QCOMPARE(backend->OpenSessions(), 2);
        QCOMPARE(NET_DVR_Logout(first), 1);
        QCOMPARE(NET_DVR_Logout(first), 0);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_BAD_USERID));
        QCOMPARE(backend->OpenSessions(), 1);
        // The freed handle goes to the next login, now for another device.
        QCOMPARE(Login("10.0.0.2"), first);
        NET_DVR_DEVICE_CONFIG config;
        QVERIFY(NET_DVR_GetDVRConfig(first, 1100, 0, &config, sizeof(config), nullptr));
        QVERIFY(QByteArray(reinterpret_cast<const char *>(config.sSerialNumber)).contains("10.0.0.2"));
    }

    void lastErrorIsPerThread()
    {
        Install({Device("10.0.0.1", 1)});
        std::promise<void> otherDone;
        std::future<void> otherDoneFuture = otherDone.get_future();
        uint32_t seenByFailingThread = 0;
        std::thread failing([&]() {
            Login("10.0.0.1", "wrong");
            otherDoneFuture.wait();
            seenByFailingThread = NET_DVR_GetLastError();
        });
        std::thread succeeding([&]() {
            const int user = Login("10.0.0.1");
            if (user >= 0)
                NET_DVR_Logout(user);
            otherDone.set_value();
        });
        succeeding.join();
        failing.join();
        QCOMPARE(seenByFailingThread, uint32_t(NET_DVR_BAD_CREDENTIALS));
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_NOERROR)); // this thread made no call since
    }

    void devicesAreServedInParallel()
    {
        QVector<SCRIPTED_DEVICE> devices;
        for (int i = 0; i < 8; ++i)
            devices << Device("10.0.1." + QByteArray::number(i + 1), 2, 20);
        auto backend = Install(devices);
        std::vector<std::thread> threads;
        std::vector<int> resolutions(8, -1);
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&, i]() {
                const QByteArray address = "10.0.1." + QByteArray::number(i + 1);
                const int user = Login(address.constData());
                NET_DVR_COMPRESS_CONFIG config;
                if (user >= 0 && NET_DVR_GetDVRConfig(user, 1040, 2, &config, sizeof(config), nullptr))
                    resolutions[static_cast<size_t>(i)] = config.struRecord.byResolution;
                NET_DVR_Logout(user);
            });
        for (std::thread &thread : threads)
            thread.join();
        for (int resolution : resolutions)
            QCOMPARE(resolution, 4);
        QCOMPARE(backend->OpenSessions(), 0);
        QCOMPARE(backend->TotalCalls(), 24);
        QVERIFY(backend->PeakConcurrentCalls() > 1);
    }

    void latencyIsWaitedOutsideTheLock()
    {
        // A slow device must not hold up a fast one.
        auto backend = Install({Device("10.0.0.1", 1, 2000), Device("10.0.0.2", 1, 0)});
        std::thread slow([]() { Login("10.0.0.1"); });
        QTRY_COMPARE(backend->CallsInFlight(), 1);
        const int user = Login("10.0.0.2");
        QVERIFY(user >= 0);
        QCOMPARE(backend->CallsInFlight(), 1); // the slow login is still waiting
        slow.join();
    }

    void jsonDescription()
    {
        const QByteArray json = R"({ "latencyMs": 1,
            "devices": [ { "address": "10.0.2.1", "port": 9000, "user": "op", "password": "pw",
                           "deviceTypeCode": 31, "firstAnalogChannel": 5,
                           "analogChannels": [ { "resolution": 19, "frameRate": 14, "bitrate": 2147485648,
                                                 "quality": 2 }, { "readFails": true } ],
                           "firstIpChannel": 65569, "ipChannels": [ { "resolution": 28 } ] } ] })";
        auto backend = std::make_shared<CScriptedBackend>();
        QString error;
        QVERIFY2(backend->LoadJson(json, &error), qPrintable(error));
        NetDvr_SetBackend(backend);
        NET_DVR_LOGIN_ANSWER answer;
        const int user = NET_DVR_Login_V30("10.0.2.1", 9000, "op", "pw", &answer);
        QVERIFY(user >= 0);
        QCOMPARE(int(answer.byChanNum), 2);
        QCOMPARE(int(answer.byStartChan), 5);
        NET_DVR_COMPRESS_CONFIG config;
        QVERIFY(NET_DVR_GetDVRConfig(user, 1040, 5, &config, sizeof(config), nullptr));
        QCOMPARE(int(config.struRecord.byResolution), 19);
        QCOMPARE(config.struRecord.dwFrameRate, uint32_t(14));
        QCOMPARE(config.struRecord.dwVideoBitrate, uint32_t(2147485648u));
        QCOMPARE(int(config.struRecord.byPicQuality), 2);
        QVERIFY(!NET_DVR_GetDVRConfig(user, 1040, 6, &config, sizeof(config), nullptr));
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_READ_FAILED));
        QVERIFY(NET_DVR_GetDVRConfig(user, 1040, 33, &config, sizeof(config), nullptr)); // 65569 & 0xFFFF
        QCOMPARE(int(config.struRecord.byResolution), 28);
        auto ip = std::make_unique<NET_DVR_IPCHAN_CONFIG>();
        std::memset(ip.get(), 0, sizeof(*ip));
        ip->dwSize = sizeof(*ip);
        QVERIFY(NET_DVR_GetDVRConfig(user, 1062, 0, ip.get(), sizeof(*ip), nullptr));
        QCOMPARE(int(ip->struSource[0].byKind), NET_DVR_SOURCE_URL);
        QCOMPARE(int(ip->struSource[0].source.url.byEnable), 1);
        QCOMPARE(int(ip->struSource[1].source.url.byEnable), 0);
    }

    void badJsonAddsNothing_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not json") << QByteArray("{ devices: ");
        QTest::newRow("no address") << QByteArray(R"({"devices":[{"address":"10.0.3.1"},{"port":1}]})");
        QTest::newRow("channels not a list")
            << QByteArray(R"({"devices":[{"address":"10.0.3.1","analogChannels":3}]})");
    }

    void badJsonAddsNothing()
    {
        QFETCH(QByteArray, json);
        auto backend = std::make_shared<CScriptedBackend>();
        QString error;
        QVERIFY(!backend->LoadJson(json, &error));
        QVERIFY(!error.isEmpty());
        NetDvr_SetBackend(backend);
        QCOMPARE(Login("10.0.3.1"), -1);
        QCOMPARE(NET_DVR_GetLastError(), uint32_t(NET_DVR_CONNECT_FAILED));
    }

    void cleanupTestCase() { NetDvr_SetBackend(nullptr); }
};

QTEST_GUILESS_MAIN(TestNetDvr)
#include "tst_netdvr.moc"
