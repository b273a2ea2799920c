// The client database dialog on its own: what a read lists from odd and broken databases, the
// numeric address order, and the refusals of "Import" and "Add>>".
#include "import/importclientwidget.h"
#include "import/ipstandarditem.h"
#include "tests/support/modaldriver.h"
#include "tools/sampledb/sampledbwriter.h"
#include "toolkit/tooltip.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

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

// Reads 'path' through the dialog's path field and "Import" button; the messages it showed.
QStringList Read(CImportClientWidget &dlg, const QString &path)
{
    dlg.findChild<QLineEdit *>(QStringLiteral("m_pEditPath"))->setText(path);
    return AnsweredDuring([&dlg] { dlg.findChild<QPushButton *>(QStringLiteral("m_pBtnRead"))->click(); });
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
    QTest::newRow("one device twice")
        << kColumns << Rows{{"10.0.0.1", "Gate", "admin", "1", 8000}, {"10.0.0.1", "Again", "x", "2", 8000}}
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
    QVERIFY(SampleDb::WriteTable(first, SampleDb::kDeviceTable, kColumns,
                                 {{"10.0.0.1", "Gate", "admin", "", 8000}}, nullptr));
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
    QVERIFY(SampleDb::WriteTable(good, SampleDb::kDeviceTable, kColumns, {{"10.0.0.1", "Gate", "a", "", 8000}}, nullptr));
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
    QTest::newRow("last part") << "192.168.1.3" << "192.168.1.20";
    QTest::newRow("first part") << "9.1.1.1" << "10.1.1.1";
    QTest::newRow("fewer parts") << "10.0" << "10.0.0.1";
    QTest::newRow("huge and negative pieces") << "-5.0.0.0" << "99999999999999999999.1.1.1";
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
    QVERIFY(SampleDb::WriteTable(path, SampleDb::kDeviceTable, kColumns, {{"10.0.0.1", "Gate", "a", "", 8000}}, nullptr));
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

QTEST_MAIN(TestImportClientWidget)
#include "tst_importclientwidget.moc"
