// The online device dialog against scripted announcements and scripted devices: rows from
// announcements, the initial and the manual login, results tied to devices by serial number,
// the survey, the refusals, and a clean exit while discovery and both login threads are busy.
#include "import/initthread.h"
#include "import/vigilwidget.h"
#include "platform/certificatepins.h"
#include "tests/import/devicefixture.h"
#include "tests/support/modaldriver.h"
#include "tests/support/scriptedannouncer.h"
#include "tests/support/widgetdriver.h"
#include "toolkit/tooltip.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using Announcements = QVector<SCRIPTED_ANNOUNCEMENT>;
Q_DECLARE_METATYPE(Announcements)

namespace {
const int kLoginWaitMs = 10000; // the initial login starts within two seconds of a discovery

QTreeView *Table(QWidget *dlg)
{
    return dlg->findChild<QTreeView *>(QStringLiteral("m_pTableVigil"));
}

QPushButton *Button(QWidget *dlg, const char *name)
{
    return dlg->findChild<QPushButton *>(QString::fromLatin1(name));
}

QString Cell(QWidget *dlg, int row, int column, int role = Qt::DisplayRole)
{
    return Table(dlg)->model()->index(row, column).data(role).toString();
}

QList<int> RowsOf(QWidget *dlg, const QString &serial)
{
    QList<int> rows;
    for (int row = 0; row < Table(dlg)->model()->rowCount(); ++row)
        if (Cell(dlg, row, CVigilWidget::ColSerialNo) == serial)
            rows << row;
    return rows;
}

int RowOf(QWidget *dlg, const QString &serial)
{
    return RowsOf(dlg, serial).value(0, -1);
}

// "text:value" of the "LogState" cell of every row of the serial number, joined by blanks.
QString StateOf(QWidget *dlg, const QString &serial)
{
    QStringList states;
    for (int row : RowsOf(dlg, serial))
        states << Cell(dlg, row, CVigilWidget::ColLogState) + ':'
                + Cell(dlg, row, CVigilWidget::ColLogState, Qt::UserRole);
    return states.join(' ');
}

// Columns 0 to 3 of every row, "address|port|serial|version".
QStringList RowTexts(QWidget *dlg)
{
    QStringList rows;
    for (int row = 0; row < Table(dlg)->model()->rowCount(); ++row)
        rows << QStringList{Cell(dlg, row, 0), Cell(dlg, row, 1), Cell(dlg, row, 2), Cell(dlg, row, 3)}.join('|');
    return rows;
}

// Announcements are applied in order: once a new marker's row is there, so is everything
// queued before it. Returns the marker's row texts.
QString WaitForAnnouncements(CScriptedAnnouncer &announcer, QWidget *dlg)
{
    static int markers = 0;
    const QByteArray marker = "MARKER" + QByteArray::number(++markers);
    announcer.Appear(marker, "255.255.255.255"); // last in the table's address order
    if (!QTest::qWaitFor([&] { return RowOf(dlg, marker) >= 0; }))
        return QString();
    return "255.255.255.255| 8000|" + marker + "|V1.0";
}

QString Label(QWidget *dlg, const char *name)
{
    const QLabel *label = dlg->findChild<QLabel *>(QString::fromLatin1(name));
    return label && !label->isHidden() ? label->text() : QString();
}

// Clicks "Login Deivce" and fills in the login dialog as a user does; deviceLine gets the line
// that names the device.
bool LoginThroughDialog(CVigilWidget &dlg, const QString &user, const QString &password, QString *deviceLine = nullptr)
{
    auto seen = ExpectModal(
        [=](QWidget *login) {
            if (deviceLine)
                *deviceLine = Label(login, "m_pLabelDevice");
            Retype(Edit(login, "m_pEditUser"), user);
            Retype(Edit(login, "m_pEditPwd"), password);
            ClickChild(login, "pOkBtn");
        },
        &dlg);
    Button(&dlg, "m_pBtnLogin")->click();
    return seen->seen && seen->title == QStringLiteral("Login");
}

void SelectRows(QWidget *dlg, const QStringList &serials)
{
    Table(dlg)->clearSelection();
    for (const QString &serial : serials)
        Table(dlg)->selectionModel()->select(Table(dlg)->model()->index(RowOf(dlg, serial), 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

// Counts the initial login's results once the dialog has handled them: both connections are
// queued to the GUI thread, the dialog's first.
std::shared_ptr<int> CountInitResults(CVigilWidget &dlg, QObject *context)
{
    auto count = std::make_shared<int>(0);
    QObject::connect(
        dlg.findChild<CInitThread *>(), &CInitThread::SignalSendLogin, context, [count] { ++*count; },
        Qt::QueuedConnection);
    return count;
}

SCRIPTED_DEVICE Device(const QByteArray &address, const QByteArray &user = "admin", int latencyMs = 0)
{
    SCRIPTED_DEVICE device = Fixture::Device(address, 1, 0, latencyMs);
    device.strUserName = user;
    return device;
}
} // namespace

class TestVigilWidget : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_announcer = std::make_shared<CScriptedAnnouncer>();
        Vigil_SetBackend(m_announcer);
    }
    void cleanup()
    {
        Vigil_SetBackend(nullptr);
        NetDvr_SetBackend(nullptr);
    }

    void announcements_data()
    {
        QTest::addColumn<Announcements>("announcements");
        QTest::addColumn<QStringList>("rows");
        const SCRIPTED_ANNOUNCEMENT a1{VIGIL_EVENT_APPEARED, "SN1", "192.168.1.3", 8000, "V1", 0};
        const SCRIPTED_ANNOUNCEMENT a2{VIGIL_EVENT_APPEARED, "SN2", "192.168.1.4", 80, "V2", 0};
        const SCRIPTED_ANNOUNCEMENT gone{VIGIL_EVENT_VANISHED, "SN1", "", 0, "", 0};
        QTest::newRow("appear twice") << Announcements{a1, a1}
                                      << QStringList{"192.168.1.3| 8000|SN1|V1", "192.168.1.3| 8000|SN1|V1"};
        QTest::newRow("appear twice then vanish")
            << Announcements{a1, a2, a1, gone} << QStringList{"192.168.1.4|   80|SN2|V2"};
        QTest::newRow("change in place") << Announcements{a1,
                                                          a2,
                                                          {VIGIL_EVENT_CHANGED, "SN1", "10.0.0.9", 37777, "V1.1", 0}}
                                         << QStringList{"10.0.0.9|37777|SN1|V1.1", "192.168.1.4|   80|SN2|V2"};
        QTest::newRow("change or vanish of an unknown serial")
            << Announcements{a2, {VIGIL_EVENT_CHANGED, "SN9", "10.0.0.9", 1, "V9", 0}, gone}
            << QStringList{"192.168.1.4|   80|SN2|V2"};
        QTest::newRow("answer counts as appearing, event 5 is ignored")
            << Announcements{{VIGIL_EVENT_ANSWERED, "SN1", "192.168.1.3", 8000, "V1", 0},
                             {5, "SN1", "10.0.0.9", 1, "V9", 0},
                             {5, "SN3", "10.0.0.3", 1, "V3", 0}}
            << QStringList{"192.168.1.3| 8000|SN1|V1"};
        QTest::newRow("ports in five places")
            << Announcements{{1, "SN1", "10.0.0.1", 0, "", 0}, {1, "SN2", "10.0.0.2", 123456, "", 0}}
            << QStringList{"10.0.0.1|    0|SN1|", "10.0.0.2|123456|SN2|"};
    }

    void announcements()
    {
        QFETCH(Announcements, announcements);
        QFETCH(QStringList, rows);
        CVigilWidget dlg(nullptr);
        m_announcer->Schedule(announcements);
        rows << WaitForAnnouncements(*m_announcer, &dlg);
        QCOMPARE(RowTexts(&dlg), rows);
        // The list holds one entry per row, with the default credentials.
        const QVector<STRU_DEVICE> devices = dlg.Devices();
        QCOMPARE(devices.size(), rows.size());
        for (const STRU_DEVICE &device : devices)
            QVERIFY(device.strUserName == "admin" && device.strPassword == "50817");
    }

    void initialLoginWhileHidden()
    {
        auto backend = Fixture::Install({Device("10.0.0.1"), Device("10.0.0.2", "root")});
        CVigilWidget dlg(nullptr); // never shown
        const auto results = CountInitResults(dlg, this);
        m_announcer->Appear("SN1", "10.0.0.1");
        m_announcer->Appear("SN2", "10.0.0.2");
        // The same serial again at an address where nothing answers: its failure comes second
        // and must not overwrite the "Online" of the first.
        m_announcer->Appear("SN1", "10.0.0.77");
        QTRY_COMPARE_WITH_TIMEOUT(*results, 3, kLoginWaitMs);
        QCOMPARE(StateOf(&dlg, "SN2"), QStringLiteral("Login failed:0"));
        QCOMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Online:1 Online:1"));
        // Every device is tried once, however many passes follow.
        QTest::qWait(2 * CInitThread::kSleepMs + 500);
        QCOMPARE(backend->LoginAttempts("10.0.0.1", 8000), 1);
        QCOMPARE(backend->LoginAttempts("10.0.0.2", 8000), 1);
        QCOMPARE(backend->LoginAttempts("10.0.0.77", 8000), 1);
        QCOMPARE(*results, 3);
        QCOMPARE(backend->OpenSessions(), 0);
        // A result by index into the dialog's list follows the entry's serial number.
        dlg.OnInitSignal(1, true);
        QCOMPARE(StateOf(&dlg, "SN2"), QStringLiteral("Online:1"));
    }

    void resultsFollowSerialNumbers()
    {
        auto backend = Fixture::Install({Device("10.0.0.30"), Device("10.0.0.4", "root"), Device("192.168.1.20"),
                                         Device("192.168.1.3", "admin", 600)});
        CVigilWidget dlg(nullptr);
        dlg.show();
        m_announcer->Appear("SN-slow", "192.168.1.3");
        m_announcer->Appear("SN-B", "192.168.1.20");
        m_announcer->Appear("SN-C", "10.0.0.30");
        m_announcer->Appear("SN-A", "10.0.0.4");
        const QString marker = WaitForAnnouncements(*m_announcer, &dlg).section('|', 2, 2);
        Table(&dlg)->sortByColumn(CVigilWidget::ColIP, Qt::AscendingOrder);
        QCOMPARE(QList<int>({RowOf(&dlg, "SN-A"), RowOf(&dlg, "SN-C"), RowOf(&dlg, "SN-slow"), RowOf(&dlg, "SN-B"),
                             RowOf(&dlg, marker)}),
                 QList<int>({0, 1, 2, 3, 4}));

        // The first device of the pass vanishes while its login waits: its result belongs to
        // nobody, and the devices after it move up in the list but keep their own results.
        const auto results = CountInitResults(dlg, this);
        QTRY_COMPARE_WITH_TIMEOUT(backend->LoginAttempts("192.168.1.3", 8000), 1, kLoginWaitMs);
        m_announcer->Vanish("SN-slow");
        QTRY_COMPARE_WITH_TIMEOUT(*results, 5, kLoginWaitMs);
        QCOMPARE(RowOf(&dlg, "SN-slow"), -1);
        QCOMPARE(StateOf(&dlg, "SN-A"), QStringLiteral("Login failed:0"));
        QCOMPARE(StateOf(&dlg, "SN-B"), QStringLiteral("Online:1"));
        QCOMPARE(StateOf(&dlg, "SN-C"), QStringLiteral("Online:1"));
    }

    void manualLoginWithWrongPassword()
    {
        Fixture::Install({Device("10.0.0.1"), Device("10.0.0.2"), Device("10.0.0.3")});
        CVigilWidget dlg(nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        for (const char *serial : {"SN1", "SN2", "SN3"})
            m_announcer->Appear(serial, QByteArray("10.0.0.") + serial[2]);
        QTRY_COMPARE_WITH_TIMEOUT(StateOf(&dlg, "SN3"), QStringLiteral("Online:1"), kLoginWaitMs);
        QTRY_COMPARE(StateOf(&dlg, "SN1") + StateOf(&dlg, "SN2"), QStringLiteral("Online:1Online:1"));

        Fixture::CMessageCollector log;
        SelectRows(&dlg, {"SN1", "SN2"});
        QString deviceLine;
        QVERIFY(LoginThroughDialog(dlg, "admin", "wrongpass", &deviceLine));
        QCOMPARE(deviceLine, QStringLiteral("Devices: 10.0.0.1:8000 and 1 more"));
        QCOMPARE(StateOf(&dlg, "SN1") + StateOf(&dlg, "SN2"), QStringLiteral("Waiting...:1Waiting...:1"));
        QVERIFY(!Button(&dlg, "m_pBtnLogin")->isEnabled() && !Button(&dlg, "m_pBtnAdd")->isEnabled());
        QTRY_VERIFY(Button(&dlg, "m_pBtnLogin")->isEnabled());
        QVERIFY(Button(&dlg, "m_pBtnAdd")->isEnabled());
        QTRY_COMPARE(StateOf(&dlg, "SN1") + StateOf(&dlg, "SN2"), QStringLiteral("Login failed:0Login failed:0"));
        QCOMPARE(StateOf(&dlg, "SN3"), QStringLiteral("Online:1"));
        QCOMPARE(Cell(&dlg, RowOf(&dlg, "SN2"), CVigilWidget::ColLogState, Qt::ToolTipRole),
                 QStringLiteral("The device refused the user name or password."));
        QCOMPARE(Cell(&dlg, RowOf(&dlg, "SN3"), CVigilWidget::ColLogState, Qt::ToolTipRole), QString());
        // Another try starts from what was typed, for the one device now selected.
        SelectRows(&dlg, {"SN2"});
        QStringList fields;
        auto again = ExpectModal(
            [&](QWidget *login) {
                fields << Label(login, "m_pLabelDevice") << Edit(login, "m_pEditUser")->text()
                       << Edit(login, "m_pEditPwd")->text();
                ClickChild(login, "pCancelBtn");
            },
            &dlg);
        Button(&dlg, "m_pBtnLogin")->click();
        QVERIFY(again->seen);
        QCOMPARE(fields, QStringList({"Device: 10.0.0.2:8000", "admin", "wrongpass"}));
        const QString lines = log.Lines().join('\n');
        QVERIFY(lines.contains("[ktag] Login Thread Pwd: ******"));
        QVERIFY2(!lines.contains("wrongpass"), qPrintable(lines));
        // The typed credentials stay with the selected devices only.
        for (const STRU_DEVICE &device : dlg.Devices())
            QCOMPARE(device.strPassword, QByteArray(device.strSerialNo == "SN3" ? "50817" : "wrongpass"));
    }

    // A device typed in by hand is listed like a found one, logged in with what was typed, and
    // its row tells what the device said it is.
    void addByAddress()
    {
        SCRIPTED_DEVICE typed = Device("10.0.0.9", "operator");
        typed.strModel = "SD-9";
        Fixture::Install({typed});
        CVigilWidget dlg(nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto seen = ExpectModal(
            [](QWidget *add) {
                Retype(Edit(add, "m_pEditAddress"), "10.0.0.9");
                Retype(Edit(add, "m_pEditPort"), "8000");
                Retype(Edit(add, "m_pEditUser"), "operator");
                Retype(Edit(add, "m_pEditPwd"), "50817");
                ClickChild(add, "pOkBtn");
            },
            &dlg);
        Button(&dlg, "m_pBtnAddAddress")->click();
        QVERIFY(seen->seen);
        QCOMPARE(seen->title, QStringLiteral("Add by Address"));
        QTRY_COMPARE(StateOf(&dlg, "10.0.0.9:8000"), QStringLiteral("Online:1"));
        QCOMPARE(RowTexts(&dlg), QStringList{"10.0.0.9| 8000|10.0.0.9:8000|"});
        const QString identity = QStringLiteral("Maker: Scripted\nModel: SD-9\nSerial number: SN-10.0.0.9");
        QCOMPARE(Cell(&dlg, 0, CVigilWidget::ColIP, Qt::ToolTipRole), identity);
        QCOMPARE(Cell(&dlg, 0, CVigilWidget::ColLogState, Qt::ToolTipRole), identity);
        QCOMPARE(dlg.Devices().value(0).identity.strModel, QByteArray("SD-9"));
    }

    void changeKeepsStateCredentialsAndSurvey()
    {
        SCRIPTED_DEVICE moved = Device("10.0.0.2", "root");
        moved.strPassword = "pw";
        Fixture::Install({moved});
        CVigilWidget dlg(nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        m_announcer->Appear("SN1", "10.0.0.1"); // nothing answers there yet
        QTRY_COMPARE_WITH_TIMEOUT(StateOf(&dlg, "SN1"), QStringLiteral("Login failed:0"), kLoginWaitMs);
        m_announcer->Change("SN1", "10.0.0.2", 8000, "V2");
        WaitForAnnouncements(*m_announcer, &dlg);
        QCOMPARE(RowTexts(&dlg).first(), QStringLiteral("10.0.0.2| 8000|SN1|V2"));
        QCOMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Login failed:0"));

        SelectRows(&dlg, {"SN1"});
        QVERIFY(LoginThroughDialog(dlg, "root", "pw"));
        QTRY_COMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Online:1"));
        m_announcer->Change("SN1", "10.0.0.2", 8000, "V3");
        WaitForAnnouncements(*m_announcer, &dlg);
        QCOMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Online:1"));
        const STRU_DEVICE device = dlg.Devices().first();
        QVERIFY(device.strUserName == "root" && device.strPassword == "pw" && device.bLoginAttempted);
        QCOMPARE(device.strVersion, QByteArray("V3"));

        // The import's survey logs in with what the user typed, and marks the row surveyed.
        SelectRows(&dlg, {"SN1"});
        dlg.PrepareSurvey();
        const QVector<STRU_DEVICE> surveyed = dlg.CheckSelectedDevices();
        QCOMPARE(surveyed.size(), 1);
        QCOMPARE(surveyed.first().iImportStatus, STRU_DEVICE::kImportOk);
        QTRY_COMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Import Succeed:3"));
    }

    void refusals()
    {
        CVigilWidget dlg(nullptr);
        dlg.setFixedSize(700, 600);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QSignalSpy added(&dlg, &CVigilWidget::OnAddClicked);
        const QStringList refused{"Info|Please select device."};
        QCOMPARE(AnsweredDuring([&] { Button(&dlg, "m_pBtnLogin")->click(); }), refused);
        QCOMPARE(AnsweredDuring([&] { Button(&dlg, "m_pBtnAdd")->click(); }), refused);
        QCOMPARE(AnsweredDuring([&] { QTest::keyClick(Table(&dlg), Qt::Key_Return); }), refused);
        QCOMPARE(added.count(), 0);

        m_announcer->Appear("SN1", "10.0.0.1");
        WaitForAnnouncements(*m_announcer, &dlg);
        Table(&dlg)->selectAll();
        QVERIFY(AnsweredDuring([&] { QTest::keyClick(Table(&dlg), Qt::Key_Enter, Qt::KeypadModifier); }).isEmpty());
        QCOMPARE(added.count(), 1);
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());

        // The login dialog: empty fields are shown at the field, the apostrophe cannot be typed,
        // and Cancel changes nothing.
        QStringList tips;
        QString typedPassword;
        auto seen = ExpectModal(
            [&](QWidget *login) {
                ClickChild(login, "pOkBtn");
                tips << CToolTip::text();
                Retype(Edit(login, "m_pEditUser"), "admin");
                QTest::keyClick(login, Qt::Key_Return);
                tips << CToolTip::text();
                Retype(Edit(login, "m_pEditPwd"), "a'b");
                typedPassword = Edit(login, "m_pEditPwd")->text();
                tips << (login->isVisible() ? "open" : "closed");
                ClickChild(login, "pCancelBtn");
            },
            &dlg);
        Button(&dlg, "m_pBtnLogin")->click();
        QVERIFY(seen->seen);
        QCOMPARE(tips, QStringList({"User name cannot be empty.", "Password cannot be empty.", "open"}));
        QCOMPARE(typedPassword, QStringLiteral("ab"));
        QVERIFY(Button(&dlg, "m_pBtnLogin")->isEnabled());
        QCOMPARE(StateOf(&dlg, "SN1").section(':', 1), QStringLiteral("0"));
    }

    void cleanExitWhileEverythingIsBusy()
    {
        QVector<SCRIPTED_DEVICE> devices;
        for (int i = 1; i <= 20; ++i)
            devices << Device("10.0.1." + QByteArray::number(i), "admin", 3600 * 1000); // never answer in time
        auto backend = Fixture::Install(devices);
        auto dlg = std::make_unique<CVigilWidget>(nullptr);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        for (int i = 1; i <= 20; ++i)
            m_announcer->Appear("SN" + QByteArray::number(i), "10.0.1." + QByteArray::number(i));
        Announcements changes;
        for (int i = 0; i < 20000; ++i)
            changes.append({VIGIL_EVENT_CHANGED, "SN1", "10.0.1.1", 8000, "V" + QByteArray::number(i), 1});
        m_announcer->Schedule(changes);
        QTRY_VERIFY_WITH_TIMEOUT(backend->CallsInFlight() > 0, kLoginWaitMs);
        dlg->findChild<QTreeView *>()->selectAll();
        QVERIFY(LoginThroughDialog(*dlg, "admin", "50817"));
        QTRY_VERIFY(backend->CallsInFlight() > 1);

        dlg.reset();
        // Both threads gave up the device they were at; each login was logged out.
        const int delivered = m_announcer->Delivered();
        int attempts = 0;
        for (const SCRIPTED_DEVICE &device : devices)
            attempts += backend->LoginAttempts(device.strAddress, device.iPort);
        QVERIFY2(attempts < 20, qPrintable(QString::number(attempts)));
        QCOMPARE(backend->OpenSessions(), 0);
        QCOMPARE(backend->CallsInFlight(), 0);
        QTest::qWait(20);
        QCOMPARE(m_announcer->Delivered(), delivered);
    }

    // A device seen at another address keeps the credentials the user typed, but they go there
    // only once the user confirms it by logging in (the dialog comes prefilled).
    void movedDeviceWaitsForConfirmation()
    {
        SCRIPTED_DEVICE device = Device("10.0.0.1", "root");
        device.strPassword = "pw";
        SCRIPTED_DEVICE elsewhere = device;
        elsewhere.strAddress = "10.0.0.2";
        auto backend = Fixture::Install({device, elsewhere});
        CVigilWidget dlg(nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        m_announcer->Appear("SN1", "10.0.0.1");
        QTRY_COMPARE_WITH_TIMEOUT(StateOf(&dlg, "SN1"), QStringLiteral("Login failed:0"), kLoginWaitMs);
        SelectRows(&dlg, {"SN1"});
        QVERIFY(LoginThroughDialog(dlg, "root", "pw"));
        QTRY_COMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Online:1"));

        m_announcer->Change("SN1", "10.0.0.2");
        WaitForAnnouncements(*m_announcer, &dlg);
        QCOMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Address changed:0"));
        QVERIFY(!Cell(&dlg, RowOf(&dlg, "SN1"), CVigilWidget::ColLogState, Qt::ToolTipRole).isEmpty());
        // The import's survey does not send them there.
        SelectRows(&dlg, {"SN1"});
        dlg.PrepareSurvey();
        QCOMPARE(dlg.CheckSelectedDevices().first().eFailure, DeviceFailure::MoveUnconfirmed);
        QTRY_COMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Login failed:0"));
        QCOMPARE(backend->LoginAttempts("10.0.0.2", 8000), 0);

        QStringList prefilled;
        auto seen = ExpectModal(
            [&](QWidget *login) {
                prefilled << Label(login, "m_pLabelDevice") << Edit(login, "m_pEditUser")->text()
                          << Edit(login, "m_pEditPwd")->text();
                ClickChild(login, "pOkBtn");
            },
            &dlg);
        Button(&dlg, "m_pBtnLogin")->click();
        QVERIFY(seen->seen);
        QCOMPARE(prefilled, QStringList({"Device: 10.0.0.2:8000", "root", "pw"}));
        QTRY_COMPARE(StateOf(&dlg, "SN1"), QStringLiteral("Online:1"));
        QCOMPARE(backend->LoginAttempts("10.0.0.2", 8000), 1);
        QVERIFY(!dlg.Devices().first().bMoveUnconfirmed);
    }

    // A device whose HTTPS certificate changed fails with that reason until the user accepts the
    // new certificate in the login dialog; the box is offered only for such a device.
    void changedCertificateAcceptedAtLogin()
    {
        QTemporaryDir folder;
        CertificatePins::SetFile(folder.filePath(QStringLiteral("pins.txt")));
        SCRIPTED_DEVICE device = Device("10.0.0.1");
        device.certificate = QByteArray(32, 'n');
        CertificatePins::Check(QStringLiteral("10.0.0.1"), 8000, QByteArray(32, 'o'));
        auto backend = Fixture::Install({device, Device("10.0.0.2")});
        CVigilWidget dlg(nullptr);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        m_announcer->Appear("SN1", "10.0.0.1");
        m_announcer->Appear("SN2", "10.0.0.2");
        QTRY_COMPARE_WITH_TIMEOUT(StateOf(&dlg, "SN1") + StateOf(&dlg, "SN2"), QStringLiteral("Login failed:0Online:1"),
                                  kLoginWaitMs);
        QCOMPARE(Cell(&dlg, RowOf(&dlg, "SN1"), CVigilWidget::ColLogState, Qt::ToolTipRole),
                 QStringLiteral("The device's certificate has changed."));
        for (const bool accept : {false, true}) {
            SelectRows(&dlg, {"SN2"});
            bool offered = true;
            auto seen = ExpectModal(
                [&](QWidget *login) {
                    offered = login->findChild<QCheckBox *>(QStringLiteral("m_pCheckCertificate"))->isVisible();
                    ClickChild(login, "pCancelBtn");
                },
                &dlg);
            Button(&dlg, "m_pBtnLogin")->click();
            QVERIFY(seen->seen && !offered);
            SelectRows(&dlg, {"SN1"});
            seen = ExpectModal(
                [&](QWidget *login) {
                    auto *box = login->findChild<QCheckBox *>(QStringLiteral("m_pCheckCertificate"));
                    offered = box->isVisible() && !box->isChecked();
                    Retype(Edit(login, "m_pEditUser"), QStringLiteral("admin"));
                    Retype(Edit(login, "m_pEditPwd"), QStringLiteral("50817"));
                    if (accept)
                        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
                    ClickChild(login, "pOkBtn");
                },
                &dlg);
            Button(&dlg, "m_pBtnLogin")->click();
            QVERIFY(seen->seen && offered);
            QTRY_VERIFY(Button(&dlg, "m_pBtnLogin")->isEnabled());
            QTRY_COMPARE(StateOf(&dlg, "SN1"), accept ? QStringLiteral("Online:1") : QStringLiteral("Login failed:0"));
        }
        QCOMPARE(CertificatePins::Check(QStringLiteral("10.0.0.1"), 8000, QByteArray(32, 'n')),
                 CertificatePins::Verdict::Known);
    }

    // Sorted by address from the start; rows that arrive or change take their place in the order
    // the header shows, whichever column it is.
    void rowsTakeTheirPlace()
    {
        CVigilWidget dlg(nullptr);
        QHeaderView *header = Table(&dlg)->header();
        QCOMPARE(header->sortIndicatorSection(), int(CVigilWidget::ColIP));
        auto serials = [&] {
            QStringList order;
            for (int row = 0; row < Table(&dlg)->model()->rowCount(); ++row)
                order << Cell(&dlg, row, CVigilWidget::ColSerialNo);
            return order;
        };
        m_announcer->Appear("SN13", "127.0.0.13", 80);
        m_announcer->Appear("SN11", "127.0.0.11", 8000);
        m_announcer->Change("SN13", "127.0.0.2", 80);
        const QString marker = WaitForAnnouncements(*m_announcer, &dlg).section('|', 2, 2);
        QCOMPARE(serials(), QStringList({"SN13", "SN11", marker}));
        // Another column, as a click on its header does; equal cells keep their order.
        header->setSortIndicator(CVigilWidget::ColPort, Qt::DescendingOrder);
        m_announcer->Appear("SN3", "127.0.0.3", 443);
        const QString last = WaitForAnnouncements(*m_announcer, &dlg).section('|', 2, 2);
        QCOMPARE(serials(), QStringList({"SN11", marker, last, "SN3", "SN13"}));
    }

private:
    std::shared_ptr<CScriptedAnnouncer> m_announcer;
};

QTEST_MAIN(TestVigilWidget)
#include "tst_vigilwidget.moc"
