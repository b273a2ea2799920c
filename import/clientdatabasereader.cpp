#include "import/clientdatabasereader.h"

#include "import/sqlite3connection.h"
#include "import/sqlite3recordset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A device table's text is short; a longer value is a crafted file, refused before it is held.
constexpr int kMaxValueBytes = 1 << 20;
// SQLite virtual machine steps between two looks at the clock and the cancel flag.
constexpr int kProgressSteps = 1000;
// Rows reach the list in batches, and at least this often while a slow query yields few.
constexpr int kPendingBatch = 256;
constexpr int kHandOverMs = 40;
} // namespace

CClientDatabaseReader::CClientDatabaseReader(const QString &path, const QSet<KEY> &known, const LIMITS &limits)
    : m_strPath(path), m_limits(limits), m_deadline(std::max(0, limits.iBudgetMs)), m_seen(known)
{
    m_thread = std::thread([this] { Run(); });
}

CClientDatabaseReader::~CClientDatabaseReader()
{
    Cancel();
    Wait();
}

void CClientDatabaseReader::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

QVector<CLIENT_DEVICE> CClientDatabaseReader::TakeRows(int max)
{
    QMutexLocker lock(&m_mutex);
    QVector<CLIENT_DEVICE> rows;
    if (m_pending.size() <= max) {
        rows.swap(m_pending);
    } else {
        rows = m_pending.mid(0, max);
        m_pending.remove(0, max);
    }
    return rows;
}

void CClientDatabaseReader::Run()
{
    Outcome outcome = Unrecognized;
    try {
        outcome = Read();
    } catch (const std::exception &) {
        // The SQLite layer has logged what went wrong.
        outcome = m_bCancel || m_deadline.hasExpired() ? StopOutcome() : Unrecognized;
    }
    if (outcome == Unrecognized) {
        QMutexLocker lock(&m_mutex);
        m_pending.clear(); // nothing half-read reaches the list
    }
    m_eOutcome.store(outcome, std::memory_order_release);
}

CClientDatabaseReader::Outcome CClientDatabaseReader::Read()
{
    // Removed with everything SQLite made in it when the read ends.
    QTemporaryDir folder;
    if (!folder.isValid())
        return Unrecognized;
    const QString copy = folder.filePath(QStringLiteral("client.db"));
    switch (Copy(m_strPath, copy, true)) {
    case Copied:
        break;
    case Stopped:
        return StopOutcome();
    default:
        return Unrecognized;
    }
    for (const char *companion : {"-wal", "-journal"}) {
        const CopyResult result = Copy(m_strPath + QLatin1String(companion), copy + QLatin1String(companion), false);
        if (result == Stopped)
            return StopOutcome();
        if (result == Refused)
            return Unrecognized;
    }

    CSQLite3Connection connection;
    connection.Open(QFile::encodeName(copy), CSQLite3Connection::PrivateCopy);
    sqlite3 *db = connection.Handle();
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    // The schema is the file's author's: no functions with side effects run from its VIEWs.
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_progress_handler(db, kProgressSteps, &CClientDatabaseReader::OnProgress, this);

    CSQLite3Recordset records;
    if (!connection.Query("select * from TInfo_Device", records))
        return Unrecognized;
    const int address = records.GetFieldIndex(QByteArrayLiteral("Address"));
    const int name = records.GetFieldIndex(QByteArrayLiteral("Name"));
    const int user = records.GetFieldIndex(QByteArrayLiteral("UserName"));
    const int password = records.GetFieldIndex(QByteArrayLiteral("UserPwd"));
    const int port = records.GetFieldIndex(QByteArrayLiteral("Port"));
    if (address < 0 || name < 0 || user < 0 || password < 0 || port < 0)
        return Unrecognized;

    // Rows go to the list in batches, and every complete row read stays listed when the read
    // stops early; only an error takes them all back (Run).
    int found = 0;
    QVector<CLIENT_DEVICE> batch;
    QElapsedTimer sinceHandOver;
    sinceHandOver.start();
    auto handOver = [&](Outcome outcome) {
        QMutexLocker lock(&m_mutex);
        m_pending += batch;
        batch.clear();
        sinceHandOver.restart();
        return outcome;
    };
    for (; !records.IsEOF(); records.MoveNext()) {
        if (ShouldStop())
            return handOver(StopOutcome());
        if (!batch.isEmpty() && (batch.size() == kPendingBatch || sinceHandOver.hasExpired(kHandOverMs)))
            handOver(Running);
        CLIENT_DEVICE device;
        device.strAddress = records.GetString(address);
        device.iPort = records.GetInt(port);
        const KEY key(device.strAddress, device.iPort);
        if (m_seen.contains(key))
            continue;
        if (found == m_limits.iMaxDevices)
            return handOver(TooManyDevices);
        m_seen.insert(key);
        device.strName = records.GetString(name);
        device.strUserName = records.GetString(user);
        device.strPassword = records.GetString(password);
        batch.append(device);
        ++found;
    }
    const int step = records.LastStepResult();
    if (step == SQLITE_DONE)
        return handOver(Complete);
    if ((step & 0xff) == SQLITE_INTERRUPT)
        return handOver(StopOutcome());
    const CSQlite3Error logged(step, sqlite3_errmsg(db));
    Q_UNUSED(logged);
    return Unrecognized;
}

CClientDatabaseReader::CopyResult CClientDatabaseReader::Copy(const QString &from, const QString &to,
                                                              bool required) const
{
    // Non-blocking, so that opening a FIFO returns at once; then only a regular file is read.
    const int source = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (source < 0)
        return errno == ENOENT && !required ? Absent : Refused;
    struct stat status
    {};
    if (fstat(source, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > m_limits.iMaxFileBytes) {
        ::close(source);
        return Refused;
    }
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        ::close(source);
        return Refused;
    }
    CopyResult result = Copied;
    qint64 total = 0;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (;;) {
        if (ShouldStop()) {
            result = Stopped;
            break;
        }
        const ssize_t got = ::read(source, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0)
            break;
        total += got;
        if (got < 0 || total > m_limits.iMaxFileBytes || target.write(buffer.constData(), got) != got) {
            result = Refused;
            break;
        }
    }
    ::close(source);
    return result;
}

int CClientDatabaseReader::OnProgress(void *reader)
{
    return static_cast<const CClientDatabaseReader *>(reader)->ShouldStop() ? 1 : 0;
}
