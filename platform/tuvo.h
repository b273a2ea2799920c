// Runtime library: one initialisation call, printf-style diagnostics and mutexes.
// Callers rely only on the functions below; diagnostics go through Qt's logging so that
// every debug line of the program takes the same road.
#pragma once

#include <mutex>

typedef void *TUVO_MUTEX;

extern "C" {
int Tuvo_Init(void);
void Tuvo_OutputDebug(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
int Tuvo_MutexCreate(TUVO_MUTEX *mutex, int flags);
int Tuvo_MutexLock(TUVO_MUTEX *mutex);
int Tuvo_MutexUnlock(TUVO_MUTEX *mutex);
int Tuvo_MutexDestroy(TUVO_MUTEX *mutex);
}

// A blocking, non-recursive mutex usable as a static or a member.
class Tuvo_Mutex
{
public:
    Tuvo_Mutex() = default;
    ~Tuvo_Mutex() = default;
    Tuvo_Mutex(const Tuvo_Mutex &) = delete;
    Tuvo_Mutex &operator=(const Tuvo_Mutex &) = delete;

    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }

private:
    std::mutex m_mutex;
};

// Scoped lock: every exit path unlocks.
class Tuvo_Guard
{
public:
    explicit Tuvo_Guard(Tuvo_Mutex *mutex) : m_pMutex(mutex)
    {
        if (m_pMutex)
            m_pMutex->Lock();
    }
    ~Tuvo_Guard() { Release(); }
    Tuvo_Guard(const Tuvo_Guard &) = delete;
    Tuvo_Guard &operator=(const Tuvo_Guard &) = delete;

    void Release()
    {
        if (m_pMutex) {
            m_pMutex->Unlock();
            m_pMutex = nullptr;
        }
    }

private:
    Tuvo_Mutex *m_pMutex;
};
