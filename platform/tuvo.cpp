#include "platform/tuvo.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <cstdarg>
#include <cstdio>
#include <new>
#include <vector>

Q_LOGGING_CATEGORY(lcTuvo, "norda.tuvo")

extern "C" {

int Tuvo_Init(void)
{
    return 0;
}

void Tuvo_OutputDebug(const char *format, ...)
{
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        va_end(args);
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    QByteArray line(buffer.data(), needed);
    // One diagnostic is one line, however the caller terminated it.
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    qCDebug(lcTuvo).noquote() << QString::fromLocal8Bit(line);
}

int Tuvo_MutexCreate(TUVO_MUTEX *mutex, int /*flags*/)
{
    if (!mutex)
        return -1;
    *mutex = new (std::nothrow) std::mutex;
    return *mutex ? 0 : -1;
}

int Tuvo_MutexLock(TUVO_MUTEX *mutex)
{
    if (!mutex || !*mutex)
        return -1;
    static_cast<std::mutex *>(*mutex)->lock();
    return 0;
}

int Tuvo_MutexUnlock(TUVO_MUTEX *mutex)
{
    if (!mutex || !*mutex)
        return -1;
    static_cast<std::mutex *>(*mutex)->unlock();
    return 0;
}

int Tuvo_MutexDestroy(TUVO_MUTEX *mutex)
{
    if (!mutex || !*mutex)
        return -1;
    delete static_cast<std::mutex *>(*mutex);
    *mutex = nullptr;
    return 0;
}

} // extern "C"
