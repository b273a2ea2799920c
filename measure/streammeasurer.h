// Measures many streams at once (up to kMaxStreams), each read on a thread of its own, and tells
// the caller's thread as each one ends. A window or a test drives it alike; it needs an event
// loop in the thread that created it (results are collected there every kPollMs).
#pragma once

#include "measure/streamreader.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CStreamMeasurer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxStreams = 256;
    static constexpr int kPollMs = 100;

    explicit CStreamMeasurer(QObject *parent = nullptr);
    ~CStreamMeasurer() override; // cancels what runs and waits for it

    // Starts measuring every source for seconds; false (nothing started) while a measurement runs
    // or with more than kMaxStreams sources.
    bool Start(const QVector<STREAM_SOURCE> &sources, double seconds);
    // The running streams end as Cancelled within moments.
    void Cancel();

    bool IsRunning() const { return m_iRunning > 0; }
    int Count() const { return int(m_workers.size()); }
    // Part of the window done, 0..1, of one stream and of all.
    double Progress(int index) const;
    double OverallProgress() const;
    bool IsFinished(int index) const { return m_finished.at(index); }
    // Valid once Finished(index) was emitted.
    const STREAM_MEASUREMENT &Result(int index) const { return m_results.at(index); }

signals:
    void Finished(int index);
    void AllFinished();

private:
    struct WORKER
    {
        std::thread thread;
        std::atomic<int> progress{0};
        bool bDone = false;        // under m_mutex
        STREAM_MEASUREMENT result; // under m_mutex until bDone
    };
    void Collect();
    void Join();

    std::vector<std::unique_ptr<WORKER>> m_workers;
    QVector<STREAM_MEASUREMENT> m_results;
    QVector<bool> m_finished;
    int m_iRunning = 0;
    std::atomic<bool> m_bCancel{false};
    std::mutex m_mutex;
    QTimer m_poll;
};
