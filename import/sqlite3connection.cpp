#include "import/sqlite3connection.h"

#include "import/sqlite3recordset.h"
#include "platform/tuvo.h"

#include <sqlite3.h>

#include <memory>

CSQLite3Connection::~CSQLite3Connection()
{
    Close();
}

void CSQLite3Connection::Open(const QByteArray &path, OpenMode mode)
{
    Close();
    // Without SQLITE_OPEN_CREATE: a wrong path never leaves an empty database behind; read-only
    // on the client's file: nothing is ever journalled into it.
    const int flags = mode == PrivateCopy ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    const int result = sqlite3_open_v2(path.constData(), &m_pDB, flags, nullptr);
    if (result != SQLITE_OK) {
        if (!m_pDB)
            throw CSQlite3Error(result, sqlite3_errstr(result));
        m_bOpenFailed = true;
        ThrowLastError();
    }
    sqlite3_extended_result_codes(m_pDB, 1);
    sqlite3_busy_timeout(m_pDB, kBusyTimeoutMs);
}

void CSQLite3Connection::Close()
{
    if (!m_pDB)
        return;
    // No commit: the connection only reads. close_v2 defers the release until a recordset that
    // outlives this connection has finalized its statement.
    sqlite3_close_v2(m_pDB);
    m_pDB = nullptr;
    m_bOpenFailed = false;
}

bool CSQLite3Connection::Commit()
{
    if (!m_pDB || m_bOpenFailed)
        return false;
    return sqlite3_exec(m_pDB, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool CSQLite3Connection::Exec(const QByteArray &sql)
{
    if (!m_pDB)
        return false;
    if (m_bOpenFailed)
        ThrowLastError();
    char *error = nullptr;
    const int result = sqlite3_exec(m_pDB, sql.constData(), nullptr, nullptr, &error);
    if (result == SQLITE_OK)
        return true;
    const QByteArray text = error ? QByteArray(error) : QByteArray(sqlite3_errmsg(m_pDB));
    sqlite3_free(error);
    throw CSQlite3Error(result, text);
}

bool CSQLite3Connection::Query(const QByteArray &sql, CSQLite3Recordset &recordset)
{
    if (!m_pDB)
        return false;
    if (m_bOpenFailed)
        ThrowLastError();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_pDB, sql.constData(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        ThrowLastError();
    }
    if (!statement) // only blanks or a comment: nothing to run
        return false;
    recordset.Attach(m_pDB, statement);
    // Later step errors only end the rows, but a first step that fails (the client holds a
    // lock) would pass for an empty table.
    const int step = recordset.LastStepResult();
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        const CSQlite3Error error(step, sqlite3_errmsg(m_pDB));
        recordset.Finalize();
        throw error;
    }
    return true;
}

void CSQLite3Connection::ThrowLastError() const
{
    throw CSQlite3Error(sqlite3_errcode(m_pDB), sqlite3_errmsg(m_pDB));
}

CSQLite3Connection *OpenClientDatabase(const QString &path)
{
    static Tuvo_Mutex mutex;
    static std::unique_ptr<CSQLite3Connection> holder;

    Tuvo_Guard guard(&mutex);
    // The previous connection is closed at once: nobody keeps a reference to it, and an open
    // handle would keep the client's file in use.
    holder.reset();
    holder = std::make_unique<CSQLite3Connection>();
    try {
        holder->Open(path.toUtf8());
    } catch (const CSQlite3Error &) {
        // Already logged; the first Query reports it to the caller.
    }
    return holder.get();
}
