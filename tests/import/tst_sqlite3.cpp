#include "import/sqlite3connection.h"
#include "import/sqlite3recordset.h"
#include "tools/sampledb/sampledbwriter.h"

#include <QtTest>

#include <sqlite3.h>

#include <climits>
#include <functional>
#include <stdexcept>

namespace {

const QStringList kTypelessDeviceColumns = {"Address", "Name", "UserName", "UserPwd", "Port"};

QStringList g_messages;
void CollectMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages << message;
}

} // namespace

class TestSQLite3 : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_iFiles = 0;

    QString NewPath() { return m_dir.filePath(QString("db%1.db").arg(++m_iFiles)); }

    QString WriteTable(const QStringList &columns, const QList<QVariantList> &rows, const QString &table = "T")
    {
        const QString path = NewPath();
        QString error;
        if (!SampleDb::WriteTable(path, table, columns, rows, &error))
            qFatal("%s", qPrintable(error));
        return path;
    }

    QString WriteDevices(const SampleDb::DeviceOptions &options = {})
    {
        QList<QVariantList> rows;
        QString error;
        if (!SampleDb::MakeDeviceRows(options, &rows, &error))
            qFatal("%s", qPrintable(error));
        return WriteTable(SampleDb::DeviceColumns(), rows, SampleDb::kDeviceTable);
    }

    // The read of the client import: every device row, as "address:port user/password name".
    static QStringList ReadDevices(CSQLite3Connection *connection)
    {
        CSQLite3Recordset recordset;
        connection->Query("select * from TInfo_Device", recordset);
        QStringList devices;
        for (; !recordset.IsEOF(); recordset.MoveNext())
            devices << QString("%1:%2 %3/%4 %5")
                           .arg(QString(recordset.GetString("Address")))
                           .arg(recordset.GetInt("Port"))
                           .arg(QString(recordset.GetString("UserName")), QString(recordset.GetString("UserPwd")),
                                QString(recordset.GetString("Name")));
        return devices;
    }

    static QByteArray ReadAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A fixed zone east of UTC: local-time conversions must not pass for UTC ones.
        qputenv("TZ", "NRD-3");
    }

    void dateAndTime_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<qint64>("dateTime");
        QTest::addColumn<qint64>("time");
        QTest::newRow("19 bytes") << QVariant("2012-03-05 07:08:09") << 1330920489LL << 320400LL;
        QTest::newRow("15 bytes") << QVariant("2012-3-5 7:8:9") << 0LL << 320400LL;
        QTest::newRow("time of day") << QVariant("07:08:09") << 0LL << 274089LL;
        QTest::newRow("short time, text after") << QVariant("7:8:9 and more") << 0LL << 274089LL;
        QTest::newRow("NULL") << QVariant() << 0LL << 248400LL;
        // 19 digits: read without overflowing an int.
        QTest::newRow("19-digit number") << QVariant(1234567890123456789LL) << -1LL << 291600LL;
    }

    void dateAndTime()
    {
        QFETCH(QVariant, text);
        QFETCH(qint64, dateTime);
        QFETCH(qint64, time);
        CSQLite3Connection connection;
        connection.Open(WriteTable({"v"}, {{text}}).toUtf8());
        CSQLite3Recordset recordset;
        QVERIFY(connection.Query("select v, v as w from T", recordset));
        if (dateTime >= 0)
            QCOMPARE(recordset.GetDateTime(0), dateTime);
        QCOMPARE(recordset.GetDateTime("w"), recordset.GetDateTime(0));
        QCOMPARE(recordset.GetTime(0), time);
        QCOMPARE(recordset.GetTime("w"), time);
    }

    void otherTypes_data()
    {
        QTest::addColumn<QVariant>("name");
        QTest::addColumn<QVariant>("port");
        QTest::addColumn<QByteArray>("nameText");
        QTest::addColumn<int>("portNumber");
        QTest::newRow("text, integer") << QVariant("Gate") << QVariant(8000) << QByteArray("Gate") << 8000;
        QTest::newRow("NULL, NULL") << QVariant() << QVariant() << QByteArray("") << 0;
        QTest::newRow("number in Name") << QVariant(42) << QVariant("8001") << QByteArray("42") << 8001;
        QTest::newRow("real in Name") << QVariant(2.5) << QVariant(8002.9) << QByteArray("2.5") << 8002;
        QTest::newRow("text in Port") << QVariant("Gate") << QVariant("eight") << QByteArray("Gate") << 0;
        QTest::newRow("blob") << QVariant(QByteArray("a\0b", 3)) << QVariant(QByteArray("\x01\x02"))
                              << QByteArray("a\0b", 3) << 0;
        QTest::newRow("UTF-8") << QVariant(QString::fromUtf8("门口 Ø")) << QVariant(1) << QByteArray("门口 Ø") << 1;
        const QString huge(1 << 20, 'n');
        QTest::newRow("1 MB name") << QVariant(huge) << QVariant(huge) << huge.toUtf8() << 0;
    }

    void otherTypes()
    {
        QFETCH(QVariant, name);
        QFETCH(QVariant, port);
        QFETCH(QByteArray, nameText);
        QFETCH(int, portNumber);
        const QString path =
            WriteTable(kTypelessDeviceColumns, {{"10.0.0.1", name, "u", "p", port}}, SampleDb::kDeviceTable);
        CSQLite3Connection connection;
        connection.Open(path.toUtf8());
        CSQLite3Recordset recordset;
        QVERIFY(connection.Query("select * from TInfo_Device", recordset));
        QVERIFY(!recordset.IsEOF());
        QCOMPARE(recordset.GetString("Name"), nameText);
        QCOMPARE(recordset.GetInt("Port"), portNumber);
        QCOMPARE(recordset.GetInt64("Port"), qint64(portNumber));
        QCOMPARE(int(recordset.GetDouble("Port")), portNumber);
        // Reading a field again after another conversion gives the same value.
        QCOMPARE(recordset.GetString("Port").isEmpty(), !port.isValid());
        QCOMPARE(recordset.GetInt(4), portNumber);
        QCOMPARE(recordset.GetString(1), nameText);
    }

    void fieldNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("Name") << QByteArray("Name") << 1;
        QTest::newRow("port") << QByteArray("port") << 2;
        QTest::newRow("first of two equal names") << QByteArray("Twice") << 3;
        QTest::newRow("name in other case") << QByteArray("name") << -1;
        QTest::newRow("Port") << QByteArray("Port") << -1;
        QTest::newRow("prefix") << QByteArray("Nam") << -1;
        QTest::newRow("empty") << QByteArray() << -1;
    }

    void fieldNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, index);
        CSQLite3Connection connection;
        const QString path = WriteTable({"Address", "Name", "port", "Twice"}, {{"a", 7, 8, 9}});
        connection.Open(path.toUtf8());
        CSQLite3Recordset recordset;
        QVERIFY(connection.Query("select Address, Name, port, Twice, Address as Twice from T", recordset));
        QCOMPARE(recordset.GetFieldIndex(name), index);
        if (index >= 0) {
            QCOMPARE(recordset.GetInt(name), index + 6);
            QCOMPARE(recordset.GetColumnName(index), name);
            return;
        }
        try {
            recordset.GetInt(name);
            QFAIL("no exception");
        } catch (const std::invalid_argument &error) {
            QCOMPARE(QByteArray(error.what()), QByteArray("Invalid filed name"));
        }
    }

    void indexOutOfRange_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("detached");
        QTest::newRow("-1") << -1 << false;
        QTest::newRow("column count") << 3 << false;
        QTest::newRow("INT_MIN") << INT_MIN << false;
        QTest::newRow("0 when detached") << 0 << true;
    }

    void indexOutOfRange()
    {
        QFETCH(int, index);
        QFETCH(bool, detached);
        CSQLite3Connection connection;
        connection.Open(WriteTable({"a", "b", "c"}, {{1, 2, 3}}).toUtf8());
        CSQLite3Recordset recordset;
        QVERIFY(connection.Query("select * from T", recordset));
        if (detached)
            recordset.Finalize();
        const QList<std::function<void()>> getters = {
            [&] { recordset.GetColumnName(index); }, [&] { recordset.GetFieldType(index); },
            [&] { recordset.GetString(index); },     [&] { recordset.GetDouble(index); },
            [&] { recordset.GetInt(index); },        [&] { recordset.GetInt64(index); },
            [&] { recordset.GetDateTime(index); },   [&] { recordset.GetTime(index); }};
        for (int i = 0; i < getters.size(); ++i) {
            try {
                getters[i]();
                QFAIL(qPrintable(QString("getter %1 did not throw").arg(i)));
            } catch (const std::out_of_range &error) {
                QCOMPARE(QByteArray(error.what()), QByteArray("CSQLite3Recordset, iIndex out of range"));
            }
        }
    }

    void noRows()
    {
        CSQLite3Connection connection;
        connection.Open(WriteTable({"a", "b"}, {}).toUtf8());
        CSQLite3Recordset recordset;
        QVERIFY(connection.Query("select * from T", recordset));
        QVERIFY(recordset.IsEOF());
        QVERIFY(!recordset.MoveNext());
        QVERIFY(!recordset.Requery());
        QList<QByteArray> names;
        QVERIFY(recordset.GetColumnNames(names));
        QCOMPARE(names, QList<QByteArray>({"a", "b"}));
        QCOMPARE(recordset.GetString(1), QByteArray(""));
    }

    void readingTwice_data()
    {
        QTest::addColumn<bool>("sameAddress");
        QTest::addColumn<QStringList>("devices");
        QTest::newRow("consecutive addresses")
            << false
            << QStringList{"127.0.0.254:8000 admin/12345 Device 1", "127.0.0.255:8000 admin/12345 Device 2",
                           "127.0.1.0:8000 admin/12345 Device 3"};
        QTest::newRow("one address, consecutive ports")
            << true
            << QStringList{"127.0.0.254:8000 admin/12345 Device 1", "127.0.0.254:8001 admin/12345 Device 2",
                           "127.0.0.254:8002 admin/12345 Device 3"};
    }

    void readingTwice()
    {
        QFETCH(bool, sameAddress);
        QFETCH(QStringList, devices);
        SampleDb::DeviceOptions options;
        options.iCount = 3;
        options.strAddressBase = "127.0.0.254";
        options.bSameAddress = sameAddress;
        const QString path = WriteDevices(options);
        QCOMPARE(ReadDevices(OpenClientDatabase(path)), devices);
        // A second read replaces the shared connection and reads the same rows.
        CSQLite3Connection *connection = OpenClientDatabase(path);
        QCOMPARE(ReadDevices(connection), devices);
        CSQLite3Recordset recordset;
        QVERIFY(connection->Query("select Name from TInfo_Device", recordset));
        QVERIFY(recordset.MoveNext() && recordset.MoveNext() && !recordset.MoveNext());
        QVERIFY(recordset.Requery());
        QCOMPARE(recordset.GetString(0), QByteArray("Device 1"));
    }

    void clientFileUntouched_data()
    {
        QTest::addColumn<QByteArray>("journalMode");
        QTest::newRow("rollback journal") << QByteArray("delete");
        QTest::newRow("write-ahead log") << QByteArray("wal");
    }

    void clientFileUntouched()
    {
        QFETCH(QByteArray, journalMode);
        SampleDb::DeviceOptions options;
        options.strPassword = "S3cret-pw";
        const QString path = WriteDevices(options);
        sqlite3 *writer = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &writer), SQLITE_OK);
        const QByteArray pragma = "pragma journal_mode=" + journalMode;
        QCOMPARE(sqlite3_exec(writer, pragma.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_close(writer), SQLITE_OK);
        QFile file(path);
        const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        file.close();
        const QByteArray bytes = ReadAll(path);
        const QStringList filesBefore = QDir(m_dir.path()).entryList(QDir::Files);

        g_messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(CollectMessage);
        CSQLite3Connection *connection = OpenClientDatabase(path);
        const QStringList devices = ReadDevices(connection);
        bool refused = false;
        try {
            connection->Exec("create table Extra (a)");
        } catch (const CSQlite3Error &error) {
            refused = (error.Code() & 0xff) == SQLITE_READONLY;
        }
        try {
            ReadDevices(OpenClientDatabase(m_dir.filePath("missing.db")));
        } catch (const CSQlite3Error &) {
        }
        qInstallMessageHandler(previous);

        QCOMPARE(devices.size(), 4);
        QVERIFY(refused);
        QCOMPARE(ReadAll(path), bytes);
        QCOMPARE(QFileInfo(path).lastModified(), old);
        if (journalMode == "delete")
            QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), filesBefore);
        // SQLite's errors are logged; the stored password never is.
        QVERIFY(g_messages.filter("sqlite error, code[8").size() == 1);
        QVERIFY(g_messages.filter("sqlite error, code[14").size() >= 1);
        QVERIFY(g_messages.filter("S3cret-pw").isEmpty());
    }

    void notADatabase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // "-" for no file
        QTest::newRow("missing file") << "missing.db" << QByteArray("-");
        QTest::newRow("text file") << "text.db" << QByteArray("Address,Port\n10.0.0.1,8000\n");
        QTest::newRow("empty file") << "empty.db" << QByteArray();
        QTest::newRow("folder") << "" << QByteArray("-");
    }

    void notADatabase()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        if (content != "-") {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        CSQLite3Connection *connection = OpenClientDatabase(name.isEmpty() ? dir.path() : name);
        QVERIFY_THROWS_EXCEPTION(CSQlite3Error, ReadDevices(connection));
        QVERIFY(QDir::setCurrent(current));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), content == "-" ? QStringList() : QStringList{name});
        if (content != "-")
            QCOMPARE(QFileInfo(dir.filePath(name)).size(), content.size());
    }

    void lockedByClient_data()
    {
        QTest::addColumn<bool>("schemaRead");
        QTest::newRow("fresh connection") << false;
        QTest::newRow("tables read before the lock") << true;
    }

    void lockedByClient()
    {
        QFETCH(bool, schemaRead);
        const QString path = WriteDevices();
        CSQLite3Connection *connection = OpenClientDatabase(path);
        if (schemaRead)
            QCOMPARE(ReadDevices(connection).size(), 4);
        sqlite3 *client = nullptr;
        QCOMPARE(sqlite3_open(path.toUtf8().constData(), &client), SQLITE_OK);
        QCOMPARE(sqlite3_exec(client, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
        int code = 0;
        try {
            ReadDevices(connection);
        } catch (const CSQlite3Error &error) {
            code = error.Code();
        }
        sqlite3_exec(client, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(client);
        QCOMPARE(code & 0xff, SQLITE_BUSY);
        QCOMPARE(ReadDevices(connection).size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestSQLite3)
#include "tst_sqlite3.moc"
