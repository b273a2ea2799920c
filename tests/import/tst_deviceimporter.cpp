#include "calc/bitratecalculator.h"
#include "import/deviceimporter.h"
#include "import/devicesurvey.h"
#include "tests/import/devicefixture.h"
#include "tests/support/camerafixture.h"

#include <QtTest>

using namespace Fixture;

namespace {

struct RUN
{
    QVector<STRU_CAMERA> cameras;
    QVector<STRU_DEVICE> surveyed;
    std::unique_ptr<QStandardItemModel> model;
};

// The whole run for every listed device, every row selected in table order.
RUN FullRun(const QVector<STRU_DEVICE> &devices, int standard = 0, int maxParallel = kDeviceParallelism)
{
    RUN run;
    run.model = OnlineTable(devices);
    QList<int> rows;
    for (int i = 0; i < devices.size(); ++i)
        rows << i;
    CDeviceSurvey survey(OnlineSettings());
    survey.Prepare(run.model.get(), Rows(*run.model, rows), devices);
    CBitrateCalculator calculator;
    run.surveyed = survey.CheckSelectedDevices(maxParallel);
    run.cameras = CDeviceImporter(maxParallel).ImportDevices(run.surveyed, standard, calculator);
    QCoreApplication::sendPostedEvents(); // the status texts
    return run;
}

// The whole run for one device, the only one the backend knows.
RUN RunAlone(const SCRIPTED_DEVICE &scripted, int standard = 0)
{
    Install({scripted});
    return FullRun({Record(scripted)}, standard);
}

QStringList Names(const QVector<STRU_CAMERA> &cameras)
{
    QStringList names;
    for (const STRU_CAMERA &camera : cameras)
        names << QString::fromLocal8Bit(camera.strName);
    return names;
}

} // namespace

class TestDeviceImporter : public QObject
{
    Q_OBJECT
private slots:
    void camerasOfOneDevice()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1");
        scripted.iPort = 8100;
        scripted.analogChannels = {Channel(3, 0, 0, 0), Channel(1, 7, 10, 2)};
        scripted.uStartIPChanField = 33;
        scripted.AddConnectedIPChannel(Channel(27, 23, 13, 4));
        scripted.AddConnectedIPChannel(Channel(30, 0x80000000u | 4096000u, 0, 0));
        const RUN run = RunAlone(scripted);
        QCOMPARE(Names(run.cameras),
                 QStringList({"10.0.0.1_1", "10.0.0.1_2", "10.0.0.1_IPCamera1", "10.0.0.1_IPCamera2"}));
        const STRU_CAMERA &first = run.cameras.at(0);
        QCOMPARE(first.strDeviceIP, QByteArray("10.0.0.1"));
        QCOMPARE(first.iPort, 8100);
        QCOMPARE(first.iChannel, 1);
        QCOMPARE(first.iType, 1);
        QCOMPARE(first.iResolution, 8);
        QCOMPARE(first.dFramerate, 25.0);
        QCOMPARE(first.iRecommendedBitrate, 3072);
        QCOMPARE(first.iBitrate, 3072); // code 0: the recommendation
        const STRU_CAMERA &second = run.cameras.at(1);
        QCOMPARE(second.iChannel, 2);
        QCOMPARE(second.iResolution, 10);
        QCOMPARE(second.iLevel, 2);
        QCOMPARE(second.dFramerate, 10.0);
        QCOMPARE(second.iBitrate, 128);
        QCOMPARE(second.iRecommendedBitrate, 266); // 512 / 5 + 10 * 4 * 512 / 125 = 266.24
        const STRU_CAMERA &ip1 = run.cameras.at(2);
        QCOMPARE(ip1.iChannel, 33);
        QCOMPARE(ip1.iType, 0);
        QCOMPARE(ip1.iResolution, 2);
        QCOMPARE(ip1.dFramerate, 20.0);
        QCOMPARE(ip1.iLevel, 4);
        QCOMPARE(ip1.iRecommendedBitrate, 7475);
        QCOMPARE(ip1.iBitrate, 2048);
        const STRU_CAMERA &ip2 = run.cameras.at(3);
        QCOMPARE(ip2.iChannel, 34);
        QCOMPARE(ip2.iResolution, 1);
        QCOMPARE(ip2.iBitrate, 4000);
    }

    void deviceWithoutChannels()
    {
        const SCRIPTED_DEVICE scripted = Device("10.0.0.1");
        const RUN run = RunAlone(scripted);
        QCOMPARE(run.model->item(0, 4)->text(), QStringLiteral("Import Succeed"));
        QVERIFY(run.cameras.isEmpty());
    }

    void customBitrate()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1");
        scripted.analogChannels = {Channel(1, 0x80000000u | 2097152u)};
        const RUN run = RunAlone(scripted);
        QCOMPARE(run.cameras.size(), 1);
        QCOMPARE(run.cameras.at(0).iBitrate, 2048);
    }

    void fullRateFollowsTheStandard_data()
    {
        QTest::addColumn<int>("standard");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("recommended");
        QTest::newRow("NTSC") << 1 << 30.0 << 1024;
        QTest::newRow("PAL") << 0 << 25.0 << 1024;
    }

    void fullRateFollowsTheStandard()
    {
        QFETCH(int, standard);
        QFETCH(double, rate);
        QFETCH(int, recommended);
        SCRIPTED_DEVICE scripted = Device("10.0.0.1");
        scripted.analogChannels = {Channel(1, 0, 0, 0)};
        const RUN run = RunAlone(scripted, standard);
        QCOMPARE(run.cameras.size(), 1);
        QCOMPARE(run.cameras.at(0).dFramerate, rate);
        QCOMPARE(run.cameras.at(0).iRecommendedBitrate, recommended);
    }

    void unsupportedChannelBetweenSupportedOnes()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1");
        scripted.analogChannels = {Channel(1), Channel(18), Channel(1)};
        const RUN run = RunAlone(scripted);
        QCOMPARE(run.model->item(0, 4)->text(), QStringLiteral("Some Channels Not Support Resolution"));
        QCOMPARE(Names(run.cameras), QStringList({"10.0.0.1_1", "10.0.0.1_3"}));
    }

    void failingReadEndsOnlyItsChannelLoop()
    {
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 4, 2);
        scripted.analogChannels[1].bReadFails = true;
        auto backend = Install({scripted});
        RUN run;
        QStringList lines;
        {
            CMessageCollector collector;
            run = FullRun({Record(scripted)});
            lines = collector.Lines().filter("[ktag] Import from client");
        }
        QCOMPARE(lines.size(), 6); // the survey reads all four analogue and both IP channels
        QCOMPARE(run.model->item(0, 4)->text(), QStringLiteral("Some Channels Can not get compress info"));
        QCOMPARE(Names(run.cameras), QStringList({"10.0.0.1_1", "10.0.0.1_IPCamera1", "10.0.0.1_IPCamera2"}));

        // A failing IP channel ends the IP loop the same way.
        SCRIPTED_DEVICE ipFails = Device("10.0.0.2", 1, 3);
        ipFails.ipChannels[1].bReadFails = true;
        QCOMPARE(Names(RunAlone(ipFails).cameras), QStringList({"10.0.0.2_1", "10.0.0.2_IPCamera1"}));
    }

    void deviceThatFailedTheSurveyIsNotLoggedInAgain()
    {
        const SCRIPTED_DEVICE good = Device("10.0.0.1", 1);
        const SCRIPTED_DEVICE bad = Device("10.0.0.2", 2);
        auto backend = Install({good, bad});
        STRU_DEVICE badRecord = Record(bad);
        badRecord.strPassword = "wrong";
        const RUN run = FullRun({badRecord, Record(good)});
        QCOMPARE(run.surveyed.size(), 2);
        QCOMPARE(run.surveyed.at(0).iImportStatus, 1);
        QCOMPARE(run.model->item(0, 4)->text(), QStringLiteral("Login failed"));
        QCOMPARE(backend->LoginAttempts("10.0.0.2", 8000), 1);
        QCOMPARE(backend->LoginAttempts("10.0.0.1", 8000), 2);
        QCOMPARE(Names(run.cameras), QStringList({"10.0.0.1_1"}));
    }

    void loginRefusedAtImportTime()
    {
        // Surveyed fine, then refused: skipped without a camera, nothing left open.
        auto backend = Install({Device("10.0.0.1", 2)});
        STRU_DEVICE device = Record(Device("10.0.0.1"));
        device.strPassword = "changed";
        CBitrateCalculator calculator;
        QVERIFY(CDeviceImporter().ImportDevices({device}, 0, calculator).isEmpty());
        QCOMPARE(backend->LoginAttempts("10.0.0.1", 8000), 1);
        QCOMPARE(backend->OpenSessions(), 0);
    }

    void deviceKindDecidesTheAnalogueType_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("kindFails");
        QTest::addColumn<int>("type");
        QTest::newRow("IP camera 40") << 40 << false << 0;
        QTest::newRow("recorder 0") << 0 << false << 1;
        QTest::newRow("query fails") << 40 << true << 1;
    }

    void deviceKindDecidesTheAnalogueType()
    {
        QFETCH(int, code);
        QFETCH(bool, kindFails);
        QFETCH(int, type);
        SCRIPTED_DEVICE scripted = Device("10.0.0.1", 2, 1);
        scripted.iDeviceTypeCode = code;
        scripted.bDeviceConfigFails = kindFails;
        const RUN run = RunAlone(scripted);
        QCOMPARE(run.cameras.size(), 3);
        QCOMPARE(run.cameras.at(0).iType, type);
        QCOMPARE(run.cameras.at(1).iType, type);
        QCOMPARE(run.cameras.at(2).iType, 0); // IP channels are always IPC
    }

    void orderWithThePoolAndUnevenLatencies()
    {
        QVector<SCRIPTED_DEVICE> scripted;
        QVector<STRU_DEVICE> devices;
        QStringList expected;
        for (int i = 0; i < 24; ++i) {
            const QByteArray address = "10.0.2." + QByteArray::number(i + 1);
            // Early devices are the slow ones, so they finish last.
            SCRIPTED_DEVICE device = Device(address, 1 + i % 3, i % 4, (24 - i) % 7 * 3);
            device.iDeviceTypeCode = i % 5 == 0 ? 40 : 0;
            if (i % 6 == 1)
                device.analogChannels[0].iResolutionCode = 18; // unsupported, skipped
            scripted << device;
            devices << Record(device);
            for (int c = 1; c <= device.analogChannels.size(); ++c)
                if (!(c == 1 && i % 6 == 1))
                    expected << QString("%1_%2").arg(QString(address)).arg(c);
            for (int k = 1; k <= device.ipChannels.size(); ++k)
                expected << QString("%1_IPCamera%2").arg(QString(address)).arg(k);
        }
        devices[5].strPassword = "wrong";
        expected = expected.filter(QRegularExpression("^(?!10\\.0\\.2\\.6_)"));
        auto backend = Install(scripted);

        const RUN pooled = FullRun(devices, 1);
        QVERIFY(backend->PeakConcurrentCalls() > 1);
        QVERIFY(backend->PeakConcurrentCalls() <= kDeviceParallelism);
        QCOMPARE(backend->OpenSessions(), 0);
        backend->ResetStatistics();
        const RUN single = FullRun(devices, 1, 1);
        QCOMPARE(backend->PeakConcurrentCalls(), 1);

        QCOMPARE(Names(pooled.cameras), expected);
        QCOMPARE(pooled.cameras.size(), single.cameras.size());
        for (int i = 0; i < single.cameras.size(); ++i)
            QVERIFY2(Same(pooled.cameras.at(i), single.cameras.at(i)),
                     qPrintable(Names({single.cameras.at(i)}).first()));
        QCOMPARE(pooled.surveyed.size(), single.surveyed.size());
        for (int i = 0; i < single.surveyed.size(); ++i) {
            QCOMPARE(pooled.surveyed.at(i).strIP, single.surveyed.at(i).strIP);
            QCOMPARE(pooled.surveyed.at(i).iImportStatus, single.surveyed.at(i).iImportStatus);
        }
        for (int row = 0; row < devices.size(); ++row)
            QCOMPARE(pooled.model->item(row, 4)->text(), single.model->item(row, 4)->text());
    }

    void surveyedCopiesHoldNoHandle()
    {
        // Handles are reused after a logout; a copy still holding one would log out another
        // device's session when it logs in again.
        QVector<SCRIPTED_DEVICE> scripted;
        QVector<STRU_DEVICE> devices;
        for (int i = 0; i < 16; ++i) {
            scripted << Device("10.0.3." + QByteArray::number(i + 1), 3, 0, 2 + i % 3);
            devices << Record(scripted.last());
        }
        Install(scripted);
        const RUN run = FullRun(devices);
        for (const STRU_DEVICE &device : run.surveyed)
            QCOMPARE(device.iUserID, -1);
        QCOMPARE(run.cameras.size(), 48);
    }

    void noPasswordInAnyDiagnostic()
    {
        QVector<SCRIPTED_DEVICE> scripted;
        QVector<STRU_DEVICE> devices;
        QList<QByteArray> passwords;
        for (int i = 0; i < 6; ++i) {
            SCRIPTED_DEVICE device = Device("10.0.4." + QByteArray::number(i + 1), 2, 1);
            device.strUserName = "user" + QByteArray::number(i);
            device.strPassword = "Pw-" + QByteArray::number(7310 + i) + "!x";
            scripted << device;
            devices << Record(device);
            passwords << device.strPassword;
        }
        devices[2].strPassword = "Typo-Pw-99";
        passwords << devices[2].strPassword;
        Install(scripted);
        QStringList lines;
        {
            CMessageCollector collector;
            const RUN run = FullRun(devices);
            QCOMPARE(run.cameras.size(), 15);
            lines = collector.Lines();
        }
        QVERIFY(lines.contains("User: user2"));
        QVERIFY(lines.contains("Password: ******"));
        const QString all = lines.join('\n');
        for (const QByteArray &password : passwords)
            QVERIFY2(!all.contains(QString::fromLatin1(password)), password.constData());
    }

    void cleanupTestCase() { NetDvr_SetBackend(nullptr); }
};

QTEST_GUILESS_MAIN(TestDeviceImporter)
#include "tst_deviceimporter.moc"
