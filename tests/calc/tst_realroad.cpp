// The whole road with devices that speak ONVIF: fake cameras and a recorder announce themselves
// over WS-Discovery inside a private network namespace, the online device dialog logs in to them
// with the default credentials, and "Add>>" turns their encoders into camera rows of the panel.
#include "calc/calculatewidget.h"
#include "import/vigilwidget.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "platform/vigilbackend.h"
#include "platform/wsdiscovery.h"
#include "tests/support/modaldriver.h"
#include "tests/support/privatenetwork.h"
#include "tools/fakedevice/fakeonvifserver.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

namespace {
QString g_strNoNetwork;

FAKE_ONVIF_DEVICE Device(const QString &address, quint16 port, bool recorder, int channels, int kbps)
{
    FAKE_ONVIF_DEVICE device;
    device.strAddress = address;
    device.iPort = port;
    device.bRecorder = recorder;
    device.iChannels = channels;
    device.strPassword = QStringLiteral("50817"); // what the initial login tries
    device.streams.first().iBitrateLimit = kbps;
    return device;
}
} // namespace

class TestRealRoad : public QObject
{
    Q_OBJECT

private slots:
    void discoveredDevicesBecomeCameraRows()
    {
        if (!g_strNoNetwork.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no private network namespace: ") + g_strNoNetwork));
        CFakeOnvifServer devices;
        QVERIFY2(devices.EnableDiscovery(), "discovery refused outside a private network");
        QVERIFY(devices.StartInThread(
            {Device("127.0.0.2", 8000, false, 1, 4096), Device("127.0.0.3", 8100, true, 3, 2048)}));
        NET_DVR_Init();
        NetDvr_SetBackend(std::make_shared<COnvifBackend>());
        Vigil_SetBackend(std::make_shared<CWsDiscoveryBackend>());

        CCalculateWidget panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QStringList states;
        auto seen = ExpectModal([&](QWidget *modal) {
            auto *dlg = qobject_cast<CVigilWidget *>(modal);
            if (!dlg)
                return;
            auto *table = dlg->findChild<QTreeView *>(QStringLiteral("m_pTableVigil"));
            auto online = [table] {
                int count = 0;
                for (int row = 0; row < table->model()->rowCount(); ++row)
                    count += table->model()->index(row, 4).data().toString() == QStringLiteral("Online");
                return count;
            };
            if (QTest::qWaitFor([&] { return online() == 2; }, 30000)) {
                table->selectAll();
                AnsweredDuring([dlg] { dlg->findChild<QPushButton *>(QStringLiteral("m_pBtnAdd"))->click(); });
            }
            for (int row = 0; row < table->model()->rowCount(); ++row)
                states << table->model()->index(row, 4).data().toString();
            dlg->reject();
        });
        panel.findChild<QPushButton *>(QStringLiteral("m_pBtnVigil"))->click();
        QVERIFY(seen->seen);
        QCOMPARE(states, QStringList({"Import Succeed", "Import Succeed"}));

        // The camera's one channel and the recorder's three, each with its encoder's settings.
        QCOMPARE(panel.CameraCount(), 4);
        const auto *model = panel.findChild<QTreeView *>(QStringLiteral("m_pTableCamera"))->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column : {0, 1, 3, 4, 5})
                cells << model->index(row, column).data().toString();
            rows << cells.join(QLatin1Char('|'));
        }
        rows.sort();
        QCOMPARE(
            rows,
            QStringList({"IPC|127.0.0.2_1|1080P(1920*1080)|25|4096", "IPC|127.0.0.3_IPCamera1|1080P(1920*1080)|25|2048",
                         "IPC|127.0.0.3_IPCamera2|1080P(1920*1080)|25|2048",
                         "IPC|127.0.0.3_IPCamera3|1080P(1920*1080)|25|2048"}));
        Vigil_SetBackend(nullptr);
        NetDvr_SetBackend(nullptr);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int exitCode = 0;
    if (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork) == PrivateNetwork::Outcome::ChildFinished)
        return exitCode;
    TestRealRoad test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_realroad.moc"
