#include "measure/streammeasurer.h"

CStreamMeasurer::CStreamMeasurer(QObject *parent) : QObject(parent)
{
    // Polling keeps the hand-over plain (a mutex and a flag) and costs nothing next to the network.
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &CStreamMeasurer::Collect);
}

CStreamMeasurer::~CStreamMeasurer()
{
    Cancel();
    Join();
}

bool CStreamMeasurer::Start(const QVector<STREAM_SOURCE> &sources, double seconds)
{
    if (IsRunning() || sources.size() > kMaxStreams)
        return false;
    Join();
    m_bCancel = false;
    m_results = QVector<STREAM_MEASUREMENT>(sources.size());
    m_finished = QVector<bool>(sources.size(), false);
    m_iRunning = int(sources.size());
    for (const STREAM_SOURCE &source : sources) {
        auto worker = std::make_unique<WORKER>();
        WORKER *self = worker.get();
        worker->thread = std::thread([this, self, source, seconds] {
            STREAM_MEASUREMENT result = StreamReader::Measure(source, seconds, &m_bCancel, &self->progress);
            std::lock_guard<std::mutex> lock(m_mutex);
            self->result = std::move(result);
            self->bDone = true;
        });
        m_workers.push_back(std::move(worker));
    }
    if (m_iRunning > 0)
        m_poll.start();
    else
        QTimer::singleShot(0, this, &CStreamMeasurer::AllFinished);
    return true;
}

void CStreamMeasurer::Cancel()
{
    m_bCancel = true;
}

double CStreamMeasurer::Progress(int index) const
{
    return m_finished.at(index) ? 1.0 : m_workers.at(size_t(index))->progress.load() / 1000.0;
}

double CStreamMeasurer::OverallProgress() const
{
    if (m_workers.empty())
        return 1.0;
    double sum = 0;
    for (int i = 0; i < Count(); ++i)
        sum += Progress(i);
    return sum / Count();
}

void CStreamMeasurer::Collect()
{
    QVector<int> ended;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < Count(); ++i)
            if (!m_finished[i] && m_workers[size_t(i)]->bDone) {
                m_results[i] = m_workers[size_t(i)]->result;
                m_finished[i] = true;
                ended.append(i);
            }
    }
    m_iRunning -= int(ended.size());
    if (m_iRunning == 0)
        m_poll.stop();
    for (int index : ended)
        emit Finished(index);
    if (!ended.isEmpty() && m_iRunning == 0)
        emit AllFinished();
}

void CStreamMeasurer::Join()
{
    for (auto &worker : m_workers)
        if (worker->thread.joinable())
            worker->thread.join();
    m_workers.clear();
}
