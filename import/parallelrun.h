// A bounded set of worker threads for jobs that mostly wait on devices.
//
// The jobs are numbered; each writes only its own result slot, and the caller reads the slots
// after every worker has been joined, so results come back in job order however the threads
// were scheduled. Plain std::thread keeps the synchronisation visible to the thread sanitizer.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

// Devices surveyed or imported at the same time. The jobs only wait on the network, so every
// device of an ordinary run gets its own thread; the bound keeps a run over a whole client
// database from starting thousands of threads and sockets. A worker's stack is reserved address
// space (8 MB by default on Linux) of which it touches little: 256 workers need about 15 MB more
// memory than 16 (bench/import).
constexpr int kDeviceParallelism = 256;

// Runs job(0) .. job(count - 1) on at most maxThreads threads, the calling thread among them,
// and returns when all have finished. With maxThreads 1 the jobs run in order on the caller.
template <typename Job>
void RunParallel(int count, int maxThreads, Job job)
{
    if (count <= 0)
        return;
    const int threads = std::clamp(maxThreads, 1, count);
    std::atomic<int> next{0};
    auto work = [&]() {
        for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1))
            job(i);
    };
    std::vector<std::thread> workers;
    workers.reserve(static_cast<size_t>(threads - 1));
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();
}
