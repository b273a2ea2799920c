// The notifying side of the discovery's observer framework: observers in registration order,
// each told of every device notification. The subject does not own its observers; an observer
// must outlive the notifications (there is no removal).
#pragma once

#include "import/observer.h"

#include <QObject>

#include <list>
#include <mutex>

namespace NORDA {

class Subject : public QObject
{
    Q_OBJECT

public:
    explicit Subject(QObject *parent = nullptr);

    void Attach(CObserver *observer);
    // Calls every observer's Update with a copy of the device, in registration order, on the
    // calling thread. Any thread; an observer must not attach others from within Update.
    void Notify(const STRU_DEVICE &device, int event);

private:
    std::mutex m_mutex; // Attach on the GUI thread, Notify on the discovery thread
    std::list<CObserver *> m_observers;
};

} // namespace NORDA
