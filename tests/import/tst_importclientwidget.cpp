// The client database dialog on its own: what a read lists from odd, broken and hostile databases,
// stopping a read, the client's folder left as it was, the numeric address order, and the
// refusals of "Import" and "Add>>".
#include "import/importclientwidget.h"
#include "import/ipstandarditem.h"
#include "tests/support/modaldriver.h"
#include "toolkit/tooltip.h"
#include "tools/sampledb/sampledbwriter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sqlite3.h>

#include <sys/stat.h>

using Rows = QList<QVariantList>;
Q_DECLARE_METATYPE(Rows)

namespace {
const QStringList kColumns = SampleDb::DeviceColumns();

QTreeView *Table(QWidget *dlg)
{
    return dlg->findChild<QTreeView *>(QStringLiteral("m_pTableDevice"));
}

// Column 0..3 texts of every row, "name|address|port|state".
QStringList RowTexts(QWidget *dlg)
{
    QStringList rows;
    const QAbstractItemModel *model = Table(dlg)->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 4; ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QPushButton *ReadButton(QWidget *dlg)
{
    return dlg->findChild<QPushButton *>(QStringLiteral("m_pBtnRead"));
}

// Reads 'path' through the dialog's path field and "Import" button, until the read has ended;
// the messages it showed.
QStringList Read(CImportClientWidget &dlg, const QString &path)
{
    dlg.findChild<QLineEdit *>(QStringLiteral("m_pEditPath"))->setText(path);
    return AnsweredDuring([&dlg] {
        ReadButton(&dlg)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsReading(), 30000);
    });
}

// Runs SQL on a new database file; false with SQLite's message in error.
bool MakeDatabase(const QString &path, const QByteArray &sql, QString *error)
{
    sqlite3 *db = nullptr;
    char *message = nullptr;
    const bool made = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK;
    *error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    return made;
}

// A device table of count rows, one device each.
QByteArray DeviceRows(int count)
{
    return "create table TInfo_Device (Address TEXT, Name TEXT, UserName TEXT, UserPwd TEXT, Port INTEGER);"
           "insert into TInfo_Device with recursive c(x) as (select 1 union all select x + 1 from c limit "
        + QByteArray::number(count)
        + ") select '10.0.' || (x / 256) || '.' || (x % 256), 'Cam ' || x, 'a', '', 80 from c;";
}

// A VIEW named like the device table whose rows never end; port: the column's expression.
QByteArray EndlessView(const QByteArray &port, const QByteArray &where = {})
{
    return "create view TInfo_Device as with recursive c(x) as (select 1 union all select x + 1 from c) "
           "select '10.0.0.1' as Address, 'Cam' as Name, 'a' as UserName, '' as UserPwd, "
        + port + " as Port from c " + where + ';';
}

QStringList Files(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

class TestImportClientWidget : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void readingAgainAddsOnlyNewDevices();
    void brokenFileKeepsTheTable();
    void addressOrder_data();
    void addressOrder();
    void refusals();
    void hostileDatabase_data();
    void hostileDatabase();
    void stoppingARead_data();
    void stoppingARead();
    void clientFolderUntouched_data();
    void clientFolderUntouched();

private:
    QTemporaryDir m_dir;
};

void TestImportClientWidget::reading_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("refused");

    const QString notImported = QStringLiteral("Not Imported");
    QTest::newRow("two devices at one address")
        << kColumns << Rows{{"10.0.0.1", "Gate", "admin", "1", 8000}, {"10.0.0.1", "Hall", "admin", "1", 8001}}
        << QStringList{"Gate|10.0.0.1| 8000|" + notImported, "Hall|10.0.0.1| 8001|" + notImported} << false;
    QTest::newRow("one device twice") << kColumns
                                      << Rows{{"10.0.0.1", "Gate", "admin", "1", 8000},
                                              {"10.0.0.1", "Again", "x", "2", 8000}}
                                      << QStringList{"Gate|10.0.0.1| 8000|" + notImported} << false;
    QTest::newRow("NULL name, number name, text port")
        << kColumns << Rows{{"10.0.0.1", QVariant(), "admin", "", 8000}, {"10.0.0.2", 42, "admin", "", "http"}}
        << QStringList{"|10.0.0.1| 8000|" + notImported, "42|10.0.0.2|    0|" + notImported} << false;
    QTest::newRow("extra columns, other order")
        << QStringList{"Id INTEGER", "Port INTEGER", "UserPwd TEXT", "UserName TEXT", "Name TEXT", "Address TEXT"}
        << Rows{{1, 37777, "pw", "user", "Dome", "192.168.1.64"}}
        << QStringList{"Dome|192.168.1.64|37777|" + notImported} << false;
    QTest::newRow("no rows") << kColumns << Rows{} << QStringList{} << false;
    QTest::newRow("column names differ in case")
        << QStringList{"address TEXT", "Name TEXT", "UserName TEXT", "UserPwd TEXT", "Port INTEGER"}
        << Rows{{"10.0.0.1", "Gate", "admin", "1", 8000}} << QStringList{} << true;
    QTest::newRow("password column missing")
        << QStringList{"Address TEXT", "Name TEXT", "UserName TEXT", "Port INTEGER"}
        << Rows{{"10.0.0.1", "Gate", "admin", 8000}} << QStringList{} << true;
}

void TestImportClientWidget::reading()
{
    QFETCH(QStringList, columns);
    QFETCH(Rows, rows);
    QFETCH(QStringList, listed);
    QFETCH(bool, refused);

    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".db");
    QString error;
    QVERIFY2(SampleDb::WriteTable(path, SampleDb::kDeviceTable, columns, rows, &error), qPrintable(error));
    CImportClientWidget dlg(nullptr);
    const QStringList messages = Read(dlg, path);
    QCOMPARE(messages, refused ? QStringList("Info|Can not recognize database file.") : QStringList());
    QCOMPARE(RowTexts(&dlg), listed);
    QCOMPARE(dlg.Devices().size(), listed.size());
}

void TestImportClientWidget::readingAgainAddsOnlyNewDevices()
{
    const QString first = m_dir.filePath("first.db");
    const QString second = m_dir.filePath("second.db");
    QVERIFY(SampleDb::WriteTable(first, SampleDb::kDeviceTable, kColumns, {{"10.0.0.1", "Gate", "admin", "", 8000}},
                                 nullptr));
    QVERIFY(SampleDb::WriteTable(second, SampleDb::kDeviceTable, kColumns,
                                 {{"10.0.0.1", "Gate", "admin", "", 8000}, {"10.0.0.3", "Yard", "root", "pw", 8000}},
                                 nullptr));
    CImportClientWidget dlg(nullptr);
    QVERIFY(Read(dlg, first).isEmpty());
    QVERIFY(Read(dlg, first).isEmpty());
    QVERIFY(Read(dlg, second).isEmpty());
    QCOMPARE(RowTexts(&dlg).size(), 2);
    // An empty stored password reaches the login as an empty text; a stored one as it is.
    QCOMPARE(dlg.Devices().at(0).strPassword, QByteArray());
    QCOMPARE(dlg.Devices().at(1).strUserName, QByteArray("root"));
    QCOMPARE(dlg.Devices().at(1).strPassword, QByteArray("pw"));
}

void TestImportClientWidget::brokenFileKeepsTheTable()
{
    const QString good = m_dir.filePath("good.db");
    QVERIFY(
        SampleDb::WriteTable(good, SampleDb::kDeviceTable, kColumns, {{"10.0.0.1", "Gate", "a", "", 8000}}, nullptr));
    const QString text = m_dir.filePath("notes.db");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("these are notes, not a database\n");
    file.close();
    const QString otherTable = m_dir.filePath("other.db");
    QVERIFY(SampleDb::WriteTable(otherTable, "TInfo_Camera", kColumns, {}, nullptr));

    CImportClientWidget dlg(nullptr);
    QVERIFY(Read(dlg, good).isEmpty());
    for (const QString &path : {text, otherTable, m_dir.filePath("missing.db"), m_dir.path()})
        QCOMPARE(Read(dlg, path), QStringList("Info|Can not recognize database file."));
    QCOMPARE(RowTexts(&dlg).size(), 1);
    QVERIFY(!QFile::exists(m_dir.filePath("missing.db")));
}

void TestImportClientWidget::addressOrder_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("higher");
    QTest::newRow("last part") << "192.168.1.3"
                               << "192.168.1.20";
    QTest::newRow("first part") << "9.1.1.1"
                                << "10.1.1.1";
    QTest::newRow("fewer parts") << "10.0"
                                 << "10.0.0.1";
    QTest::newRow("huge and negative pieces") << "-5.0.0.0"
                                              << "99999999999999999999.1.1.1";
}

void TestImportClientWidget::addressOrder()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    QVERIFY(CIpStandardItem(lower) < CIpStandardItem(higher));
    QVERIFY(!(CIpStandardItem(higher) < CIpStandardItem(lower)));
    QCOMPARE(CIpStandardItem::SortKey(higher).size(), 12);

    // The dialog's address column sorts the same way.
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".db");
    QVERIFY(SampleDb::WriteTable(path, SampleDb::kDeviceTable, kColumns,
                                 {{higher, "H", "", "", 1}, {lower, "L", "", "", 1}}, nullptr));
    CImportClientWidget dlg(nullptr);
    QVERIFY(Read(dlg, path).isEmpty());
    Table(&dlg)->sortByColumn(1, Qt::AscendingOrder);
    QCOMPARE(Table(&dlg)->model()->index(0, 0).data().toString(), QStringLiteral("L"));
}

void TestImportClientWidget::refusals()
{
    const QString path = m_dir.filePath("refusals.db");
    QVERIFY(
        SampleDb::WriteTable(path, SampleDb::kDeviceTable, kColumns, {{"10.0.0.1", "Gate", "a", "", 8000}}, nullptr));
    CImportClientWidget dlg(nullptr);
    dlg.setFixedSize(700, 600);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QSignalSpy added(&dlg, &CImportClientWidget::SignalAddClient);

    // An empty path is shown at the field, nothing is read.
    QVERIFY(Read(dlg, QString()).isEmpty());
    QVERIFY(CToolTip::isVisible());
    QCOMPARE(CToolTip::text(), QStringLiteral("Database path can not be empty."));
    CToolTip::hideText();

    QVERIFY(Read(dlg, path).isEmpty());
    QCOMPARE(AnsweredDuring([&] { QTest::keyClick(Table(&dlg), Qt::Key_Return); }),
             QStringList("Info|Please select device."));
    QCOMPARE(added.count(), 0);
    Table(&dlg)->selectAll();
    QVERIFY(AnsweredDuring([&] { QTest::keyClick(Table(&dlg), Qt::Key_Enter, Qt::KeypadModifier); }).isEmpty());
    QCOMPARE(added.count(), 1);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
}

void TestImportClientWidget::hostileDatabase_data()
{
    QTest::addColumn<QByteArray>("sql");  // "fifo": a FIFO named like a database
    QTest::addColumn<int>("corruptPage"); // > 0: that page overwritten after writing
    QTest::addColumn<int>("maxDevices");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("message");

    const QString tooMany = "Info|The list holds at most 100000 devices; the rest of the database was not read.";
    const QString tooLong =
        "Info|Reading the database took too long and was stopped; the devices read so far are listed.";
    const QString unrecognized = "Info|Can not recognize database file.";
    QTest::newRow("FIFO") << QByteArray("fifo") << 0 << 50 << 0 << unrecognized;
    QTest::newRow("as many devices as the list takes") << DeviceRows(50) << 0 << 50 << 50 << QString();
    QTest::newRow("more devices than the list takes") << DeviceRows(60) << 0 << 50 << 50 << tooMany;
    QTest::newRow("endless VIEW of new devices") << EndlessView("x") << 0 << 50 << 50 << tooMany;
    QTest::newRow("endless VIEW of one device") << EndlessView("80") << 0 << 50 << 1 << tooLong;
    QTest::newRow("recursive VIEW without rows") << EndlessView("x", "where x < 0") << 0 << 50 << 0 << tooLong;
    QTest::newRow("value over 1 MB") << QByteArray("create table TInfo_Device (Address, Name, UserName, UserPwd, Port);"
                                                   "insert into TInfo_Device values ('10.0.0.1', zeroblob(2000000), "
                                                   "'a', '', 80);")
                                     << 0 << 50 << 0 << unrecognized;
    // A leaf page two thirds in: the rows before it are read, then stepping fails.
    QTest::newRow("corrupt page half-way")
        << "pragma page_size=4096;" + DeviceRows(30000) << 200 << 100000 << 0 << unrecognized;
}

void TestImportClientWidget::hostileDatabase()
{
    QFETCH(QByteArray, sql);
    QFETCH(int, corruptPage);
    QFETCH(int, maxDevices);
    QFETCH(int, listed);
    QFETCH(QString, message);

    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".db");
    QString error;
    if (sql == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY2(MakeDatabase(path, sql, &error), qPrintable(error));
    if (corruptPage > 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.size() > qint64(corruptPage) * 4096);
        QVERIFY(file.seek(qint64(corruptPage - 1) * 4096));
        file.write(QByteArray(4096, '\xff'));
    }
    CImportClientWidget dlg(nullptr);
    CClientDatabaseReader::LIMITS limits;
    limits.iMaxDevices = maxDevices;
    limits.iBudgetMs = 1000;
    dlg.SetReadLimits(limits);
    QCOMPARE(Read(dlg, path), message.isEmpty() ? QStringList() : QStringList(message));
    QCOMPARE(RowTexts(&dlg).size(), listed);
    QCOMPARE(dlg.Devices().size(), listed);
}

void TestImportClientWidget::stoppingARead_data()
{
    QTest::addColumn<bool>("close"); // false: the "Stop" button
    QTest::newRow("Stop") << false;
    QTest::newRow("closing the dialog") << true;
}

void TestImportClientWidget::stoppingARead()
{
    QFETCH(bool, close);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".db");
    QString error;
    QVERIFY2(MakeDatabase(path, EndlessView("80"), &error), qPrintable(error));
    CImportClientWidget dlg(nullptr);
    CClientDatabaseReader::LIMITS limits;
    limits.iBudgetMs = 600000;
    dlg.SetReadLimits(limits);
    dlg.show();
    dlg.findChild<QLineEdit *>(QStringLiteral("m_pEditPath"))->setText(path);
    ReadButton(&dlg)->click();
    // The row read so far is listed while the read goes on.
    QTRY_COMPARE(RowTexts(&dlg).size(), 1);
    QVERIFY(dlg.IsReading());
    QCOMPARE(ReadButton(&dlg)->text(), QStringLiteral("Stop"));
    QVERIFY(!dlg.findChild<QLabel *>(QStringLiteral("m_pLabelProgress"))->text().isEmpty());
    const QStringList messages = AnsweredDuring([&] {
        if (close) {
            dlg.findChild<QPushButton *>(QStringLiteral("m_pBtnCancel"))->click();
            QVERIFY(!dlg.IsReading());
            QVERIFY(!dlg.isVisible());
        } else {
            ReadButton(&dlg)->click();
            QTRY_VERIFY(!dlg.IsReading());
        }
    });
    QCOMPARE(messages, QStringList());
    QCOMPARE(ReadButton(&dlg)->text(), QStringLiteral("Import"));
    QCOMPARE(RowTexts(&dlg).size(), 1);
}

void TestImportClientWidget::clientFolderUntouched_data()
{
    QTest::addColumn<QByteArray>("journalMode");
    QTest::addColumn<bool>("clientOpen"); // the client keeps unsaved rows in its log meanwhile
    QTest::newRow("rollback journal") << QByteArray("delete") << false;
    QTest::newRow("write-ahead log") << QByteArray("wal") << false;
    QTest::newRow("write-ahead log, client running") << QByteArray("wal") << true;
}

void TestImportClientWidget::clientFolderUntouched()
{
    QFETCH(QByteArray, journalMode);
    QFETCH(bool, clientOpen);
    QTemporaryDir folder;
    const QString path = folder.filePath("client.db");
    QString error;
    QVERIFY2(MakeDatabase(path, "pragma journal_mode=" + journalMode + ';' + DeviceRows(4), &error), qPrintable(error));
    sqlite3 *client = nullptr;
    if (clientOpen) {
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &client), SQLITE_OK);
        QCOMPARE(sqlite3_exec(
                     client,
                     "pragma wal_autocheckpoint=0; insert into TInfo_Device values ('10.9.9.9', 'New', 'a', '', 80);",
                     nullptr, nullptr, nullptr),
                 SQLITE_OK);
    }
    const QStringList before = Files(folder.path());
    CImportClientWidget dlg(nullptr);
    const QStringList messages = Read(dlg, path);
    const QStringList after = Files(folder.path());
    sqlite3_close(client);
    QCOMPARE(messages, QStringList());
    QCOMPARE(RowTexts(&dlg).size(), clientOpen ? 5 : 4);
    QCOMPARE(after, before);
}

QTEST_MAIN(TestImportClientWidget)
#include "tst_importclientwidget.moc"
