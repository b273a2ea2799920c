// Modal waiting window with an animation, closed by a worker's completion signal. The dialog
// knows nothing about the job: the caller starts the worker, connects its completion signal to
// OnImmediatelyStopChase() and runs exec().
#pragma once

#include "toolkit/basedialog.h"

class QLabel;
class QMovie;
class QTimer;

class ChaseDialog : public CBaseDialog
{
    Q_OBJECT

public:
    ChaseDialog(QWidget *parent, const QString &movieFile, const QString &caption, bool cancellable);
    ~ChaseDialog() override;

signals:
    // Emitted whenever the dialog is rejected; the worker itself is not stopped.
    void SignalCancel();

public slots:
    void UpdateInfo();
    // Accept at the next poll.
    void SetStopChase();
    // Reject at the next poll.
    void OnSlotRejectChase();
    // Accept at once; meant for a worker's completion signal (queued across threads).
    void OnImmediatelyStopChase();

private:
    static constexpr int PollIntervalMs = 500;

    QTimer *m_pTimer = nullptr;
    int m_iPendingEnd = -1; // -1 nothing pending, 1 accept, 0 reject at the next poll
    QLabel *m_pMovieLabel = nullptr;
    QMovie *m_pMovie = nullptr;
};
