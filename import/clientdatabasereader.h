// The read of the client's device table for the import, on a thread of its own so that the window
// stays responsive and the user can stop it.
//
// The client's file is never opened in place: it, and its write-ahead log or rollback journal
// when present, are copied into a private temporary folder first, and SQLite works on the copy.
// A live client's latest commits are seen (SQLite recovers them from the copied log), and nothing
// is ever created or locked beside the client's file. Only regular files are read: a FIFO or a
// device node named like a database is refused without blocking.
//
// The read is bounded: it stops after a number of new devices and after a time budget (copying
// included), and a progress handler ends a statement that runs away (a recursive VIEW, endless
// rows) when either is reached or the user cancels. Any error while reading fails the whole read.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QMutex>
#include <QPair>
#include <QSet>
#include <QString>
#include <QVector>

#include <atomic>
#include <thread>

// One device row as the client stores it.
struct CLIENT_DEVICE
{
    QByteArray strAddress;
    QByteArray strName;
    QByteArray strUserName;
    QByteArray strPassword;
    int iPort = 0;
};

class CClientDatabaseReader
{
public:
    using KEY = QPair<QByteArray, int>; // address and port

    struct LIMITS
    {
        int iMaxDevices = 100000;
        int iBudgetMs = 10000;
        qint64 iMaxFileBytes = qint64(1) << 30; // of the file and of each companion
    };
    enum Outcome {
        Running,
        Complete,
        TooManyDevices, // stopped at LIMITS::iMaxDevices; more were in the table
        OutOfTime,      // stopped at the time budget
        Cancelled,
        Unrecognized // not a client database, or an error on the way
    };

    // Starts reading path at once. Rows whose address and port are in known, or repeat an
    // earlier row, are skipped and do not count towards the limit.
    CClientDatabaseReader(const QString &path, const QSet<KEY> &known, const LIMITS &limits);
    // Cancels and waits for the thread (a statement is interrupted within milliseconds).
    ~CClientDatabaseReader();
    CClientDatabaseReader(const CClientDatabaseReader &) = delete;
    CClientDatabaseReader &operator=(const CClientDatabaseReader &) = delete;

    void Cancel() { m_bCancel = true; }
    // Blocks until the read has ended.
    void Wait();
    // Running until the read has ended; once it is not, TakeRows returns every remaining row.
    Outcome Result() const { return m_eOutcome.load(std::memory_order_acquire); }
    // Up to max of the new devices not taken yet, in reading order.
    QVector<CLIENT_DEVICE> TakeRows(int max);

private:
    enum CopyResult { Copied, Absent, Refused, Stopped };

    void Run();
    Outcome Read();
    Outcome StopOutcome() const { return m_bCancel ? Cancelled : OutOfTime; }
    bool ShouldStop() const { return m_bCancel || m_deadline.hasExpired(); }
    CopyResult Copy(const QString &from, const QString &to, bool required) const;
    static int OnProgress(void *reader);

    const QString m_strPath;
    const LIMITS m_limits;
    const QDeadlineTimer m_deadline;
    QSet<KEY> m_seen;
    std::atomic<bool> m_bCancel{false};
    std::atomic<Outcome> m_eOutcome{Running};
    QMutex m_mutex; // guards m_pending
    QVector<CLIENT_DEVICE> m_pending;
    std::thread m_thread; // last: started once everything above exists
};
