// A forward-only result set of one prepared statement, with typed fields by column index or by
// column name. Index forms throw std::out_of_range outside 0..column count - 1; name forms throw
// std::invalid_argument for a name no column has (names match byte-wise, case-sensitive).
// Values of another type than asked for are converted the SQLite way: text getters give numbers
// and blobs as text, number getters give 0 for text that is no number. Without a current row
// every field reads as NULL.
#pragma once

#include <QByteArray>
#include <QList>

struct sqlite3;
struct sqlite3_stmt;

class CSQLite3Recordset
{
public:
    CSQLite3Recordset() = default;
    ~CSQLite3Recordset();
    CSQLite3Recordset(const CSQLite3Recordset &) = delete;
    CSQLite3Recordset &operator=(const CSQLite3Recordset &) = delete;

    // Takes over the statement (finalizing the previous one) and fetches the first row.
    bool Attach(sqlite3 *database, sqlite3_stmt *statement);
    void Finalize();
    // Restarts the statement; true when a row is current.
    bool Requery();
    // True when a row is current. A step error ends the rows.
    bool MoveNext();
    bool IsEOF() const { return m_bEOF; }
    // SQLite's result of the latest step; 0 when detached.
    int LastStepResult() const { return m_iStepResult; }

    bool GetColumnNames(QList<QByteArray> &names) const;
    QByteArray GetColumnName(int index) const;
    // -1 when detached, for an empty name, or when no column has exactly this name.
    int GetFieldIndex(const QByteArray &name) const;
    int GetFieldType(int index) const;

    // NULL gives "".
    QByteArray GetString(int index) const;
    double GetDouble(int index) const;
    int GetInt(int index) const;
    qint64 GetInt64(int index) const;
    // A "YYYY-MM-DD hh:mm:ss" text (exactly 19 bytes) as local time in seconds since 1970;
    // 0 for a text of any other length.
    qint64 GetDateTime(int index) const;
    // An "hh:mm:ss" text as that local time on 4 January 1970, in seconds since 1970.
    qint64 GetTime(int index) const;

    QByteArray GetString(const QByteArray &name) const { return GetString(NamedIndex(name)); }
    double GetDouble(const QByteArray &name) const { return GetDouble(NamedIndex(name)); }
    int GetInt(const QByteArray &name) const { return GetInt(NamedIndex(name)); }
    qint64 GetInt64(const QByteArray &name) const { return GetInt64(NamedIndex(name)); }
    qint64 GetDateTime(const QByteArray &name) const { return GetDateTime(NamedIndex(name)); }
    qint64 GetTime(const QByteArray &name) const { return GetTime(NamedIndex(name)); }

private:
    bool IsValid() const { return m_pDB && m_pStmt; }
    bool Step();
    QByteArray FieldText(int index) const;
    void CheckIndex(int index) const;
    int NamedIndex(const QByteArray &name) const;

    sqlite3 *m_pDB = nullptr;
    sqlite3_stmt *m_pStmt = nullptr;
    int m_iColumnCount = 0;
    bool m_bEOF = true;
    int m_iStepResult = 0;
};
