#include "platform/vigil.h"

#include "platform/vigilbackend.h"

#include <chrono>
#include <thread>

namespace {

struct DISCOVERY
{
    std::shared_ptr<CVigilSession> session;
    std::thread thread;

    // Ends the delivery and joins the thread, unless this is that thread (stopped from within
    // the callback): then it runs down once the callback returns. A discovery still running at
    // program exit ends here too rather than with a joinable thread.
    ~DISCOVERY()
    {
        session->RequestStop();
        if (thread.get_id() == std::this_thread::get_id())
            thread.detach();
        else if (thread.joinable())
            thread.join();
    }
};

std::mutex g_mutex; // guards the two below
std::shared_ptr<CVigilBackend> g_backend;
std::unique_ptr<DISCOVERY> g_discovery;
VIGIL_KEEP_CALLBACK g_keep = nullptr;

void RunDiscovery(const std::shared_ptr<CVigilSession> &session, std::shared_ptr<CVigilBackend> backend)
{
    if (backend)
        backend->Run(*session);
    backend.reset();
    while (session->WaitFor(-1)) {}
}

} // namespace

CVigilSession::CVigilSession(VIGIL_CALLBACK callback, void *userData, VIGIL_KEEP_CALLBACK keep)
    : m_callback(callback), m_pUserData(userData), m_keep(keep)
{
}

bool CVigilSession::Keeps(const char *serialNumber) const
{
    return m_keep && !StopRequested() && m_keep(serialNumber, m_pUserData) != 0;
}

bool CVigilSession::Announce(const VIGIL_DEVICE_INFO &info)
{
    if (StopRequested())
        return false;
    m_callback(&info, m_pUserData);
    return true;
}

bool CVigilSession::WaitFor(int milliseconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    auto ready = [this] { return m_bWoken || m_bStop.load(std::memory_order_acquire); };
    if (milliseconds < 0)
        m_wakeup.wait(lock, ready);
    else
        m_wakeup.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
    m_bWoken = false;
    return !StopRequested();
}

void CVigilSession::Wake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bWoken = true;
    }
    m_wakeup.notify_all();
}

void CVigilSession::RequestStop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop.store(true, std::memory_order_release);
    }
    m_wakeup.notify_all();
}

CVigilBackend::~CVigilBackend() = default;

void Vigil_SetBackend(std::shared_ptr<CVigilBackend> backend)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_backend = std::move(backend);
}

std::shared_ptr<CVigilBackend> Vigil_Backend()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_backend;
}

extern "C" {

int VIGIL_Start_V20(VIGIL_CALLBACK callback, void *userData)
{
    if (!callback)
        return 0;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_discovery)
        return 0;
    auto discovery = std::make_unique<DISCOVERY>();
    discovery->session = std::make_shared<CVigilSession>(callback, userData, g_keep);
    discovery->thread = std::thread(RunDiscovery, discovery->session, g_backend);
    g_discovery = std::move(discovery);
    return 1;
}

void VIGIL_SetKeepCallback(VIGIL_KEEP_CALLBACK keep)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_keep = keep;
}

int VIGIL_Stop(void)
{
    std::unique_ptr<DISCOVERY> discovery;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        discovery = std::move(g_discovery);
    }
    if (!discovery)
        return 0;
    discovery.reset();
    return 1;
}

} // extern "C"
