// Requests from a second start of the program to the copy already running: a plan file to open,
// or, for a plain start that is refused, a request to come to the front. The second copy sends one
// line over a local socket and ends; the running copy answers and acts.
//
// The socket lives in the user's private runtime folder, and a peer of another user is dropped
// where the platform tells who it is. Plans handed over are queued and opened one at a time from
// the main loop, never from inside a message box or menu: a box that asks about the current plan
// runs an event loop of its own, where the next hand-over would otherwise open a box inside it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;
class QTimer;

class CPlanHandoff : public QObject
{
    Q_OBJECT

public:
    // Plans that wait while one is being opened; more are refused.
    static constexpr int kMaxQueued = 16;

    // 'name' is the socket's name or path, shared by every copy of the program for one user.
    explicit CPlanHandoff(const QString &name, QObject *parent = nullptr);

    // Running copy: listens for requests; false when the socket could not be opened.
    bool Listen();
    // Second copy: hands 'path' (made absolute) to the running copy; false when none took it
    // (none runs, or too many plans wait already).
    bool Send(const QString &path, int timeoutMs = 3000) const;
    // Second copy: asks the running copy to come to the front; false when none answered.
    bool SendShow(int timeoutMs = 3000) const;

    // The socket in the user's runtime folder; empty when the user has no private one.
    static QString DefaultName();

    // Plans received and not yet handed on.
    int PendingPlans() const { return m_pending.size(); }

signals:
    // One plan at a time: the next comes only after the receiver returned.
    void SignalPlanReceived(const QString &path);
    // A second start wants the running window in front (also when a plan arrives).
    void SignalShowRequested();

private:
    void OnNewConnection();
    void OnRequest(QLocalSocket *socket);
    void Dispatch();
    bool Exchange(const QByteArray &request, int timeoutMs) const;

    QString m_strName;
    QLocalServer *m_pServer = nullptr;
    QStringList m_pending;
    bool m_bHandling = false;
    QTimer *m_pRetry = nullptr; // waits for open boxes and menus to close
};
