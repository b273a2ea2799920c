// The discovery subject: turns each announcement of the discovery library (platform/vigil.h)
// into a STRU_DEVICE and notifies the observers with it and the event code.
//
// The online device dialog creates the one VigilSearch, attaches itself and calls Start(); the
// library then calls DiscoveryCallback on its own thread for every announcement. The callback
// reaches the search object through the process-wide current one (constructing a VigilSearch
// makes it current, destroying it clears that, waiting for a notification in progress), not
// through the user data. Stop() ends the library's delivery; after it returns no callback runs.
#pragma once

#include "import/subject.h"
#include "platform/vigil.h"

#include <functional>

namespace NORDA {

class VigilSearch : public Subject
{
    Q_OBJECT

public:
    explicit VigilSearch(QObject *parent = nullptr);
    ~VigilSearch() override;

    // VIGIL_Start_V20 with DiscoveryCallback and this object; the result is the library's.
    int Start();
    // Before Start(): asked on the discovery thread whether a device must stay listed when room
    // is made for a new one (true: keep it).
    void SetKeepFilter(std::function<bool(const QByteArray &serial)> keep) { m_keep = std::move(keep); }
    // VIGIL_Stop: ends the delivery and waits for the library's thread.
    static void Stop();

    // A fresh device (the defaults of a new record) with serial number, address, port and
    // version of the announcement. Texts end at their NUL or at the end of their field.
    static STRU_DEVICE DeviceFromAnnouncement(const VIGIL_DEVICE_INFO &info);
    static void DiscoveryCallback(const VIGIL_DEVICE_INFO *info, void *userData);
    static int KeepCallback(const char *serialNumber, void *userData);

private:
    std::function<bool(const QByteArray &serial)> m_keep;
};

} // namespace NORDA
