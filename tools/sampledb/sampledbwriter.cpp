#include "tools/sampledb/sampledbwriter.h"

#include <sqlite3.h>

#include <memory>

namespace SampleDb {

namespace {

bool ParseIPv4(const QByteArray &text, quint32 *address)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QByteArray &part : parts) {
        bool ok = false;
        const uint byte = part.toUInt(&ok);
        if (!ok || part.isEmpty() || part.size() > 3 || byte > 255)
            return false;
        value = (value << 8) | byte;
    }
    *address = value;
    return true;
}

QByteArray IPv4Text(quint32 address)
{
    return QByteArray::number(address >> 24) + '.' + QByteArray::number((address >> 16) & 255) + '.'
        + QByteArray::number((address >> 8) & 255) + '.' + QByteArray::number(address & 255);
}

int Bind(sqlite3_stmt *statement, int position, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return sqlite3_bind_null(statement, position);
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, position, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, position, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, position, value.toDouble());
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, position, text.constData(), static_cast<sqlite3_uint64>(text.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

struct CloseDatabase
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};

QString Quoted(const QString &name)
{
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

} // namespace

QStringList DeviceColumns()
{
    return {"Address TEXT", "Name TEXT", "UserName TEXT", "UserPwd TEXT", "Port INTEGER"};
}

bool MakeDeviceRows(const DeviceOptions &options, QList<QVariantList> *rows, QString *error)
{
    quint32 base = 0;
    if (!ParseIPv4(options.strAddressBase, &base)) {
        *error = QString("not an IPv4 address: %1").arg(QString::fromUtf8(options.strAddressBase));
        return false;
    }
    if (options.iCount < 0 || options.iPort < 0 || options.iPort > 65535) {
        *error = QString("bad count or port");
        return false;
    }
    const qint64 last =
        options.bSameAddress ? qint64(options.iPort) + options.iCount - 1 : qint64(base) + options.iCount - 1;
    if (options.iCount > 0 && last > (options.bSameAddress ? 65535 : qint64(0xFFFFFFFFu))) {
        *error = options.bSameAddress ? QString("ports run past 65535") : QString("addresses run past 255.255.255.255");
        return false;
    }
    rows->clear();
    for (int i = 0; i < options.iCount; ++i) {
        const quint32 address = options.bSameAddress ? base : base + quint32(i);
        const int port = options.bSameAddress ? options.iPort + i : options.iPort;
        rows->append({QString::fromLatin1(IPv4Text(address)), QString("Device %1").arg(i + 1),
                      QString::fromUtf8(options.strUserName), QString::fromUtf8(options.strPassword), port});
    }
    return true;
}

bool WriteTable(const QString &path, const QString &table, const QStringList &columns, const QList<QVariantList> &rows,
                QString *error)
{
    sqlite3 *handle = nullptr;
    const int opened =
        sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, CloseDatabase> db(handle);
    const auto fail = [&](const QString &what) {
        *error = QString("%1: %2").arg(
            what, db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QString::fromUtf8(sqlite3_errstr(opened)));
        return false;
    };
    if (opened != SQLITE_OK)
        return fail(path);

    QStringList placeholders;
    for (int i = 0; i < columns.size(); ++i)
        placeholders << "?";
    const QByteArray create = QString("create table %1 (%2)").arg(Quoted(table), columns.join(", ")).toUtf8();
    const QByteArray insert =
        QString("insert into %1 values (%2)").arg(Quoted(table), placeholders.join(", ")).toUtf8();

    if (sqlite3_exec(db.get(), "begin", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(db.get(), create.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail("create table");
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare_v2(db.get(), insert.constData(), -1, &prepared, nullptr) != SQLITE_OK)
        return fail("insert");
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(prepared);
    for (const QVariantList &row : rows) {
        if (row.size() != columns.size()) {
            *error = QString("a row has %1 values for %2 columns").arg(row.size()).arg(columns.size());
            return false;
        }
        for (int i = 0; i < row.size(); ++i)
            if (Bind(statement.get(), i + 1, row[i]) != SQLITE_OK)
                return fail("bind");
        if (sqlite3_step(statement.get()) != SQLITE_DONE)
            return fail("insert");
        sqlite3_reset(statement.get());
    }
    statement.reset();
    if (sqlite3_exec(db.get(), "commit", nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail("commit");
    return true;
}

} // namespace SampleDb
