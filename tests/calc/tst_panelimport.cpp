// The whole road of a client database import through the panel: a client database, the "Read
// from Database" dialog, "Add>>", the import thread behind "Writing..." against scripted devices,
// and the merge into the panel's list with its limits and messages.
#include "calc/calculatewidget.h"
#include "import/importclientwidget.h"
#include "import/vigilwidget.h"
#include "platform/vigilbackend.h"
#include "tests/import/devicefixture.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "tests/support/scriptedannouncer.h"
#include "tools/sampledb/sampledbwriter.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class TestPanelImport : public QObject
{
    Q_OBJECT

private slots:
    void importRuns_data();
    void importRuns();
    void onlineImport();

private:
    // Opens the client dialog from the panel, reads the database, selects every row and presses
    // "Add>>" ('dismiss': presses Return in "Writing..." at once). Returns the messages shown
    // and the first row's state text.
    QStringList ClientImport(CCalculateWidget &panel, const QString &database, const QString &writing, QString *state);

    QTemporaryDir m_dir;
};

void TestPanelImport::importRuns_data()
{
    QTest::addColumn<int>("handCameras");
    QTest::addColumn<bool>("ntsc");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QByteArray>("storedPassword");
    QTest::addColumn<int>("imports");
    QTest::addColumn<QString>("writing"); // what the user does in "Writing...": nothing, "return", "cancel"
    QTest::addColumn<int>("added");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("messages");

    const QString ok = QStringLiteral("Import Succeed");
    const QStringList none;
    QTest::newRow("four channels") << 0 << false << 4 << QByteArray("12345") << 1 << QString() << 4 << ok << none;
    QTest::newRow("imported twice updates")
        << 0 << false << 4 << QByteArray("12345") << 2 << QString() << 4 << ok << none;
    QTest::newRow("NTSC") << 0 << true << 4 << QByteArray("12345") << 1 << QString() << 4 << ok << none;
    QTest::newRow("login refused") << 0 << false << 4 << QByteArray("wrong") << 1 << QString() << 0
                                   << QStringLiteral("Log in failed") << none;
    QTest::newRow("1020 + 10 stops at 1023")
        << 1020 << false << 10 << QByteArray("12345") << 1 << QString() << 3 << ok << none;
    QTest::newRow("1024 by hand") << 1024 << false << 2 << QByteArray("12345") << 1 << QString() << 0 << ok
                                  << QStringList("Warn|Device number can be more than 1024.");
    QTest::newRow("Writing... dismissed early")
        << 0 << false << 4 << QByteArray("12345") << 1 << QStringLiteral("return") << 4 << ok << none;
    // Devices that never answer in time: Cancel ends the run at once, and nothing is imported.
    QTest::newRow("Writing... cancelled") << 0 << false << 4 << QByteArray("12345") << 1 << QStringLiteral("cancel")
                                          << 0 << QStringLiteral("Not Imported") << none;
}

void TestPanelImport::importRuns()
{
    QFETCH(int, handCameras);
    QFETCH(bool, ntsc);
    QFETCH(int, channels);
    QFETCH(QByteArray, storedPassword);
    QFETCH(int, imports);
    QFETCH(QString, writing);
    QFETCH(int, added);
    QFETCH(QString, state);
    QFETCH(QStringList, messages);

    const int latencyMs = writing == QLatin1String("cancel") ? 3600 * 1000 : writing.isEmpty() ? -1 : 150;
    SCRIPTED_DEVICE device = Fixture::Device("127.0.0.1", channels, 0, latencyMs);
    device.strPassword = "12345";
    auto backend = Fixture::Install({device});
    const QString database = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".db");
    QVERIFY(SampleDb::WriteTable(database, SampleDb::kDeviceTable, SampleDb::DeviceColumns(),
                                 {{"127.0.0.1", "Gate", "admin", storedPassword, 8000}}, nullptr));

    CCalculateWidget panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    AnsweredDuring(
        [&] { panel.OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 3072), QStringLiteral("Cam"), handCameras); });
    if (ntsc)
        panel.findChild<QRadioButton *>(QStringLiteral("m_pRadioNTSC"))->click();

    QStringList shown;
    QString rowState;
    for (int i = 0; i < imports; ++i)
        shown += ClientImport(panel, database, writing, &rowState);

    QCOMPARE(shown, messages);
    QCOMPARE(rowState, state);
    QCOMPARE(panel.CameraCount(), handCameras + added);
    const auto *model = panel.findChild<QTreeView *>(QStringLiteral("m_pTableCamera"))->model();
    QCOMPARE(model->rowCount(), handCameras + added);
    for (int i = handCameras; i < handCameras + added; ++i) {
        const STRU_CAMERA &camera = panel.Cameras().at(i);
        QCOMPARE(camera.strName, "127.0.0.1_" + QByteArray::number(i - handCameras + 1));
        QCOMPARE(camera.strDeviceIP, QByteArray("127.0.0.1"));
        QCOMPARE(camera.dFramerate, ntsc ? 30.0 : 25.0);
        QCOMPARE(model->index(i, 1).data().toString(), QString::fromLatin1(camera.strName));
    }
    NetDvr_SetBackend(nullptr);
}

void TestPanelImport::onlineImport()
{
    // One recorder announces itself; the initial login tries the default credentials.
    auto announcer = std::make_shared<CScriptedAnnouncer>();
    Vigil_SetBackend(announcer);
    auto backend = Fixture::Install({Fixture::Device("127.0.0.1", 2)});
    announcer->Appear("SN-1", "127.0.0.1", 8000);

    CCalculateWidget panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QString state;
    QStringList messages;
    for (int opening = 0; opening < 2; ++opening) {
        auto seen = ExpectModal([&](QWidget *modal) {
            auto *dlg = qobject_cast<CVigilWidget *>(modal);
            if (!dlg)
                return;
            auto *table = dlg->findChild<QTreeView *>(QStringLiteral("m_pTableVigil"));
            if (QTest::qWaitFor([table] { return table->model()->index(0, 4).data().toString() == "Online"; })) {
                table->selectAll();
                messages +=
                    AnsweredDuring([dlg] { dlg->findChild<QPushButton *>(QStringLiteral("m_pBtnAdd"))->click(); });
            }
            state = table->model()->index(0, 4).data().toString();
            dlg->reject();
        });
        panel.findChild<QPushButton *>(QStringLiteral("m_pBtnVigil"))->click();
        QVERIFY(seen->seen);
    }
    QCOMPARE(messages, QStringList());
    QCOMPARE(state, QStringLiteral("Import Succeed"));
    // The second import updated the first one's cameras.
    QCOMPARE(panel.CameraCount(), 2);
    QCOMPARE(panel.Cameras().at(1).strName, QByteArray("127.0.0.1_2"));
    Vigil_SetBackend(nullptr);
    NetDvr_SetBackend(nullptr);
}

QStringList TestPanelImport::ClientImport(CCalculateWidget &panel, const QString &database, const QString &writing,
                                          QString *state)
{
    QStringList messages;
    auto seen = ExpectModal([&](QWidget *modal) {
        auto *dlg = qobject_cast<CImportClientWidget *>(modal);
        if (!dlg)
            return;
        dlg->findChild<QLineEdit *>(QStringLiteral("m_pEditPath"))->setText(database);
        dlg->findChild<QPushButton *>(QStringLiteral("m_pBtnRead"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->IsReading(), 30000);
        auto *table = dlg->findChild<QTreeView *>(QStringLiteral("m_pTableDevice"));
        table->selectAll();
        std::shared_ptr<ModalSeen> chase;
        if (writing == QLatin1String("return"))
            chase = ExpectModal([](QWidget *box) { QTest::keyClick(box, Qt::Key_Return); }, dlg);
        else if (writing == QLatin1String("cancel"))
            chase = ExpectModal([](QWidget *box) { ClickChild(box, "pCancelBtn"); }, dlg);
        messages = AnsweredDuring([dlg] { dlg->findChild<QPushButton *>(QStringLiteral("m_pBtnAdd"))->click(); });
        if (chase && !(chase->seen && chase->title == QStringLiteral("Writing...")))
            messages << QStringLiteral("no Writing... box: ") + chase->title;
        *state = table->model()->index(0, 3).data().toString();
        dlg->reject();
    });
    panel.findChild<QPushButton *>(QStringLiteral("m_pBtnClient"))->click();
    if (!seen->seen)
        messages << QStringLiteral("no client dialog");
    return messages;
}

QTEST_MAIN(TestPanelImport)
#include "tst_panelimport.moc"
