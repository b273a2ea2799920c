// SQLite layer (norda_sqlite, QtCore only): a thin object layer over SQLite's C interface that
// reads the device table of the video-management client's database.
//   CSQlite3Error       a SQLite result code and message, logged when thrown;
//   CSQLite3Connection  one database handle;
//   CSQLite3Recordset   a forward-only result set with typed fields by index or column name;
//   OpenClientDatabase  the process-wide connection to the client's database;
//   CClientDatabaseReader  the import's read of the device table, on a thread of its own, from a
//                       private snapshot of the client's file.
// The client's file belongs to the running client: it is opened read-only, never created, and
// a lock held by the client makes a read fail after a bounded wait instead of hanging.
#pragma once

#include "import/sqlite3error.h"

#include <QByteArray>
#include <QString>

struct sqlite3;
class CSQLite3Recordset;

class CSQLite3Connection
{
public:
    // How long a statement waits for a lock held by another connection before failing.
    static constexpr int kBusyTimeoutMs = 2000;

    CSQLite3Connection() = default;
    ~CSQLite3Connection();
    CSQLite3Connection(const CSQLite3Connection &) = delete;
    CSQLite3Connection &operator=(const CSQLite3Connection &) = delete;

    enum OpenMode {
        ReadOnly,   // the client's own file
        PrivateCopy // a copy of ours: SQLite may recover its journal or log beside it
    };
    // Closes first, then opens the file (never creating it). Throws CSQlite3Error when it cannot
    // be opened; the failed handle stays stored, and Exec and Query then throw the same error.
    void Open(const QByteArray &path, OpenMode mode = ReadOnly);
    void Close();
    // False when no transaction was open (always so on a read-only connection).
    bool Commit();
    // False when not open; throws CSQlite3Error when SQLite refuses the statement.
    bool Exec(const QByteArray &sql);
    // False when not open; throws CSQlite3Error when the statement cannot be prepared or its
    // first row cannot be fetched (a locked database). The recordset then holds the first row.
    bool Query(const QByteArray &sql, CSQLite3Recordset &recordset);
    bool IsOpen() const { return m_pDB != nullptr; }
    // For settings this layer does not wrap (limits, progress handler); null when closed.
    sqlite3 *Handle() const { return m_pDB; }

private:
    [[noreturn]] void ThrowLastError() const;

    sqlite3 *m_pDB = nullptr;
    bool m_bOpenFailed = false;
};

// The shared connection, created anew and opened on the path on every call (the previous one is
// closed). Never null. A failed open is logged and shows up as CSQlite3Error at the first Query.
CSQLite3Connection *OpenClientDatabase(const QString &path);
