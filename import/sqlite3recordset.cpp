#include "import/sqlite3recordset.h"

#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <stdexcept>

CSQLite3Recordset::~CSQLite3Recordset()
{
    Finalize();
}

bool CSQLite3Recordset::Attach(sqlite3 *database, sqlite3_stmt *statement)
{
    if (!database || !statement)
        return false;
    Finalize();
    m_pDB = database;
    m_pStmt = statement;
    m_iColumnCount = sqlite3_column_count(statement);
    return Step();
}

void CSQLite3Recordset::Finalize()
{
    if (!IsValid())
        return;
    sqlite3_finalize(m_pStmt);
    m_pDB = nullptr;
    m_pStmt = nullptr;
    m_bEOF = true;
    m_iColumnCount = 0;
    m_iStepResult = 0;
}

bool CSQLite3Recordset::Requery()
{
    if (!IsValid())
        return false;
    sqlite3_reset(m_pStmt);
    return Step();
}

bool CSQLite3Recordset::MoveNext()
{
    if (!IsValid())
        return false;
    return Step();
}

bool CSQLite3Recordset::Step()
{
    m_iStepResult = sqlite3_step(m_pStmt);
    m_bEOF = m_iStepResult != SQLITE_ROW;
    return !m_bEOF;
}

bool CSQLite3Recordset::GetColumnNames(QList<QByteArray> &names) const
{
    if (!IsValid())
        return false;
    names.resize(m_iColumnCount);
    for (int i = 0; i < m_iColumnCount; ++i)
        names[i] = sqlite3_column_name(m_pStmt, i);
    return true;
}

QByteArray CSQLite3Recordset::GetColumnName(int index) const
{
    CheckIndex(index);
    return sqlite3_column_name(m_pStmt, index);
}

int CSQLite3Recordset::GetFieldIndex(const QByteArray &name) const
{
    if (!IsValid() || name.isEmpty())
        return -1;
    for (int i = 0; i < m_iColumnCount; ++i) {
        const char *column = sqlite3_column_name(m_pStmt, i);
        if (column && name == column)
            return i;
    }
    return -1;
}

int CSQLite3Recordset::GetFieldType(int index) const
{
    CheckIndex(index);
    return m_bEOF ? SQLITE_NULL : sqlite3_column_type(m_pStmt, index);
}

QByteArray CSQLite3Recordset::FieldText(int index) const
{
    // SQLite leaves fields undefined when no row is current; they read as NULL here.
    if (m_bEOF)
        return QByteArray("");
    // Text first, then its length: asking for the length first could convert a blob or number
    // differently. The length keeps a blob's zero bytes.
    const unsigned char *text = sqlite3_column_text(m_pStmt, index);
    if (!text)
        return QByteArray("");
    return QByteArray(reinterpret_cast<const char *>(text), sqlite3_column_bytes(m_pStmt, index));
}

QByteArray CSQLite3Recordset::GetString(int index) const
{
    CheckIndex(index);
    return FieldText(index);
}

double CSQLite3Recordset::GetDouble(int index) const
{
    CheckIndex(index);
    return m_bEOF ? 0.0 : sqlite3_column_double(m_pStmt, index);
}

int CSQLite3Recordset::GetInt(int index) const
{
    CheckIndex(index);
    return m_bEOF ? 0 : sqlite3_column_int(m_pStmt, index);
}

qint64 CSQLite3Recordset::GetInt64(int index) const
{
    CheckIndex(index);
    return m_bEOF ? 0 : sqlite3_column_int64(m_pStmt, index);
}

qint64 CSQLite3Recordset::GetDateTime(int index) const
{
    CheckIndex(index);
    const QByteArray text = FieldText(index);
    if (text.size() != 19)
        return 0;
    std::tm moment{};
    // Nine digits at most per number: a longer run could not be read into an int.
    std::sscanf(text.constData(), "%9d-%9d-%9d %9d:%9d:%9d", &moment.tm_year, &moment.tm_mon, &moment.tm_mday,
                &moment.tm_hour, &moment.tm_min, &moment.tm_sec);
    moment.tm_year -= 1900;
    moment.tm_mon -= 1;
    moment.tm_isdst = -1;
    return static_cast<qint64>(std::mktime(&moment));
}

qint64 CSQLite3Recordset::GetTime(int index) const
{
    CheckIndex(index);
    std::tm moment{};
    std::sscanf(FieldText(index).constData(), "%2d:%2d:%2d", &moment.tm_hour, &moment.tm_min, &moment.tm_sec);
    moment.tm_year = 70;
    moment.tm_mon = 0;
    moment.tm_mday = 4;
    moment.tm_isdst = -1;
    return static_cast<qint64>(std::mktime(&moment));
}

void CSQLite3Recordset::CheckIndex(int index) const
{
    if (index < 0 || index >= m_iColumnCount)
        throw std::out_of_range("CSQLite3Recordset, iIndex out of range");
}

int CSQLite3Recordset::NamedIndex(const QByteArray &name) const
{
    const int index = GetFieldIndex(name);
    if (index < 0)
        throw std::invalid_argument("Invalid filed name");
    return index;
}
