#include "calc/calculatewidget.h"
#include "measure/measuredialog.h"
#include "measure/measuredrate.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "tests/support/modaldriver.h"
#include "tests/support/privatenetwork.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

#include <cmath>

namespace {
QString g_strNoNetwork;
} // namespace

// The dialog against the fake devices' streams: one camera that streams, one whose stream refuses
// the device's password, one added by hand (not measurable).
class TestMeasureDialog : public QObject
{
    Q_OBJECT

    CFakeOnvifServer m_server;

private slots:
    void initTestCase()
    {
        if (!g_strNoNetwork.isEmpty())
            QSKIP(qPrintable("no private network namespace: " + g_strNoNetwork));
        QVector<FAKE_ONVIF_DEVICE> devices(2);
        for (int i = 0; i < devices.size(); ++i) {
            devices[i].strAddress = QStringLiteral("127.0.0.%1").arg(i + 1);
            devices[i].bRtsp = true;
            devices[i].streams[0].strEncoding = QStringLiteral("H264");
        }
        devices[1].strStreamPassword = QStringLiteral("not 12345");
        QVERIFY2(m_server.StartInThread(devices), qPrintable(m_server.Error()));
        NetDvr_SetBackend(std::make_shared<COnvifBackend>());
    }
    void cleanupTestCase()
    {
        NetDvr_SetBackend(nullptr);
        m_server.Stop();
    }

    // The night factor from a day and a night measurement, by the group's night hours (18-6).
    void nightFactor_data()
    {
        QTest::addColumn<QVector<int>>("hours"); // of each measurement, 1,000 kbit/s by day, 400 at night
        QTest::addColumn<int>("percent");
        QTest::newRow("day, then night") << QVector<int>{14, 22} << 40;
        QTest::newRow("after midnight") << QVector<int>{3, 12} << 40;
        QTest::newRow("day only") << QVector<int>{9, 17} << -1;
    }
    void nightFactor()
    {
        QFETCH(QVector<int>, hours);
        NordaStorage::STRU_RECORDING_GROUP group;
        STRU_CAMERA camera;
        for (const int hour : hours) {
            const bool night = group.IsNight(hour);
            camera.vecMeasured.append(
                {QDateTime(QDate(2026, 12, 7), QTime(hour, 0)), 60, night ? 400.0 : 1000.0, 1200, 1100});
        }
        QTEST(CMeasuredRate::NightFactorPercent(camera, group), "percent");
    }

    void measureUseUndo_data()
    {
        QTest::addColumn<int>("use");
        QTest::newRow("average share") << int(CMeasuredRate::UseAverageShare);
        QTest::newRow("bitrate") << int(CMeasuredRate::UseBitrate);
    }
    void measureUseUndo()
    {
        QFETCH(int, use);
        CCalculateWidget panel;
        QVector<STRU_CAMERA> cameras(3);
        for (int i = 0; i < 2; ++i) {
            cameras[i].strName = QByteArray("127.0.0.") + QByteArray::number(i + 1) + "_1";
            cameras[i].strDeviceIP = QByteArray("127.0.0.") + QByteArray::number(i + 1);
            cameras[i].iPort = 8000;
            cameras[i].iChannel = COnvifBackend::kFirstChannel;
            cameras[i].iBitrate = 4096;
            STRU_DEVICE device;
            device.strIP = cameras[i].strDeviceIP;
            device.iPort = 8000;
            device.strUserName = "admin";
            device.strPassword = "12345";
            panel.RememberLogin(device);
        }
        cameras[2].strName = "By hand";
        panel.MergeImportedCameras(cameras);
        const QVector<STRU_CAMERA> before = panel.Cameras();

        QStringList states;
        int rows = 0;
        const auto seen = ExpectModal([&](QWidget *widget) {
            auto *dialog = qobject_cast<CMeasureDialog *>(widget);
            QVERIFY(dialog);
            auto *table = dialog->findChild<QTableWidget *>("m_pTableMeasure");
            rows = table->rowCount();
            dialog->findChild<QSpinBox *>("m_pSpinDuration")->setValue(CMeasureDialog::kMinSeconds);
            dialog->findChild<QPushButton *>("m_pBtnStart")->click();
            QVERIFY(dialog->IsRunning());
            QVERIFY(QTest::qWaitFor([dialog] { return !dialog->IsRunning(); }, 60000));
            for (int row = 0; row < rows; ++row)
                states << table->item(row, CMeasureDialog::CState)->text();
            auto *combo = dialog->findChild<QComboBox *>("m_pComboUse");
            combo->setCurrentIndex(combo->findData(use));
            dialog->findChild<QPushButton *>("m_pBtnUse")->click();
        });
        panel.MeasureCameras({0, 1, 2});
        QVERIFY(seen->seen);
        QCOMPARE(rows, 2);
        QCOMPARE(states,
                 QStringList({CMeasureDialog::tr("Measured"), CMeasuredRate::tr("Wrong user name or password")}));

        // The streaming camera keeps its measurement and takes the chosen field from it; the
        // failed one is left as it was, never given a bitrate of 0.
        const STRU_CAMERA measured = panel.Cameras().at(0);
        QCOMPARE(measured.vecMeasured.size(), 1);
        const STRU_MEASURED &figures = measured.vecMeasured.first();
        QVERIFY(figures.dAverageKbps > 0 && figures.dPeakKbps >= figures.dAverageKbps && figures.started.isValid());
        QCOMPARE(figures.dSeconds, double(CMeasureDialog::kMinSeconds));
        if (use == CMeasuredRate::UseBitrate) {
            QCOMPARE(measured.iBitrate, int(std::ceil(figures.dAverageKbps)));
        } else {
            QCOMPARE(measured.iBitrate, before.at(0).iBitrate);
            QCOMPARE(measured.iAverageShare, int(std::ceil(figures.dAverageKbps * 100 / before.at(0).iBitrate)));
        }
        QCOMPARE(panel.Cameras().at(1).vecMeasured.size(), 0);
        QCOMPARE(panel.Cameras().at(1).iBitrate, before.at(1).iBitrate);

        // Saved and opened again, the plan keeps the measurement with its time.
        STRU_PLAN reopened;
        QCOMPARE(CPlanFile::Read(CPlanFile::Write(panel.Plan()), &reopened, nullptr), CPlanFile::Result::Opened);
        QCOMPARE(reopened.vecCamera.at(0).vecMeasured, measured.vecMeasured);

        panel.UndoStack()->undo();
        QCOMPARE(panel.Cameras().at(0).iBitrate, before.at(0).iBitrate);
        QCOMPARE(panel.Cameras().at(0).iAverageShare, before.at(0).iAverageShare);
        QVERIFY(panel.Cameras().at(0).vecMeasured.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int exitCode = 0;
    if (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork) == PrivateNetwork::Outcome::ChildFinished)
        return exitCode;
    TestMeasureDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_measuredialog.moc"
