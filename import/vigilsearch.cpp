#include "import/vigilsearch.h"

#include <cstring>
#include <mutex>

namespace NORDA {

namespace {
// Held for a whole notification, so that a search object is never destroyed while the
// discovery thread is inside it.
std::mutex g_currentMutex;
VigilSearch *g_pCurrent = nullptr;

template <size_t N>
QByteArray FieldText(const char (&field)[N])
{
    const void *end = std::memchr(field, '\0', N);
    return QByteArray(field, end ? static_cast<int>(static_cast<const char *>(end) - field) : static_cast<int>(N));
}
} // namespace

VigilSearch::VigilSearch(QObject *parent) : Subject(parent)
{
    std::lock_guard<std::mutex> lock(g_currentMutex);
    g_pCurrent = this;
}

VigilSearch::~VigilSearch()
{
    std::lock_guard<std::mutex> lock(g_currentMutex);
    if (g_pCurrent == this)
        g_pCurrent = nullptr;
}

int VigilSearch::Start()
{
    VIGIL_SetKeepCallback(&VigilSearch::KeepCallback);
    return VIGIL_Start_V20(&VigilSearch::DiscoveryCallback, this);
}

int VigilSearch::KeepCallback(const char *serialNumber, void * /*userData*/)
{
    if (!serialNumber)
        return 0;
    std::lock_guard<std::mutex> lock(g_currentMutex);
    return g_pCurrent && g_pCurrent->m_keep && g_pCurrent->m_keep(QByteArray(serialNumber)) ? 1 : 0;
}

void VigilSearch::Stop()
{
    VIGIL_Stop();
}

STRU_DEVICE VigilSearch::DeviceFromAnnouncement(const VIGIL_DEVICE_INFO &info)
{
    STRU_DEVICE device;
    device.strSerialNo = FieldText(info.sSerialNumber);
    device.strIP = FieldText(info.sIPv4Address);
    device.iPort = info.iPort;
    device.strVersion = FieldText(info.sSoftwareVersion);
    return device;
}

void VigilSearch::DiscoveryCallback(const VIGIL_DEVICE_INFO *info, void * /*userData*/)
{
    if (!info)
        return;
    const STRU_DEVICE device = DeviceFromAnnouncement(*info);
    std::lock_guard<std::mutex> lock(g_currentMutex);
    if (g_pCurrent)
        g_pCurrent->Notify(device, info->iEvent);
}

} // namespace NORDA
