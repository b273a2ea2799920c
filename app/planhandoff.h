// Plan files handed from a second start of the program to the one already running: the second
// copy sends the path over a local socket and ends; the running copy opens the plan.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

class CPlanHandoff : public QObject
{
    Q_OBJECT

public:
    // 'name' is the socket's name, shared by every copy of the program for one user.
    explicit CPlanHandoff(const QString &name, QObject *parent = nullptr);

    // Running copy: listens for paths; false when the socket could not be opened.
    bool Listen();
    // Second copy: hands 'path' (made absolute) to the running copy; false when none took it.
    bool Send(const QString &path, int timeoutMs = 3000) const;

    static QString DefaultName();

signals:
    void SignalPlanReceived(const QString &path);

private:
    void OnNewConnection();

    QString m_strName;
    QLocalServer *m_pServer = nullptr;
};
