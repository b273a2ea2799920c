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
    std::list<CObserver *> observers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        observers = m_observers;
    }
    for (CObserver *observer : observers)
        observer->Update(device, event);
}

} // namespace NORDA
