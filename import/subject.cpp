#include "import/subject.h"

namespace NORDA {

Subject::Subject(QObject *parent) : QObject(parent)
{
}

void Subject::Attach(CObserver *observer)
{
    if (!observer)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observers.push_back(observer);
}

void Subject::Notify(const STRU_DEVICE &device, int event)
{
    // Held while the observers run: an announcement must not cost a copy of the list, and an
    // observer attached meanwhile simply waits.
    std::lock_guard<std::mutex> lock(m_mutex);
    for (CObserver *observer : m_observers)
        observer->Update(device, event);
}

} // namespace NORDA
