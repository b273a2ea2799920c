// The discovery library's start and stop, driven by the scripted announcer: nothing reaches the
// callback once VIGIL_Stop has returned, also when it comes during a slow callback or from one.
#include "platform/vigil.h"
#include "platform/vigilbackend.h"
#include "tests/support/scriptedannouncer.h"

#include <QtTest>

#include <atomic>
#include <functional>
#include <thread>

namespace {
struct Listener
{
    std::atomic<int> count{0};
    std::atomic<bool> inCallback{false};
    std::function<void()> hook;

    static void Callback(const VIGIL_DEVICE_INFO *, void *userData)
    {
        auto *self = static_cast<Listener *>(userData);
        self->inCallback = true;
        if (self->hook)
            self->hook();
        self->count.fetch_add(1);
        self->inCallback = false;
    }
};

QVector<SCRIPTED_ANNOUNCEMENT> Appearing(int count, int delayMs)
{
    QVector<SCRIPTED_ANNOUNCEMENT> announcements;
    for (int i = 0; i < count; ++i)
        announcements.append({VIGIL_EVENT_APPEARED, "SN" + QByteArray::number(i), "10.0.0.1", 8000, "V1", delayMs});
    return announcements;
}
} // namespace

class TestVigil : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_announcer = std::make_shared<CScriptedAnnouncer>();
        Vigil_SetBackend(m_announcer);
    }
    void cleanup()
    {
        VIGIL_Stop();
        Vigil_SetBackend(nullptr);
    }

    void startWithoutBackendAnnouncesNothing()
    {
        Vigil_SetBackend(nullptr);
        Listener listener;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 0); // already running
        QCOMPARE(VIGIL_Stop(), 1);
        QCOMPARE(VIGIL_Stop(), 0);
        QCOMPARE(VIGIL_Start_V20(nullptr, &listener), 0);
        QCOMPARE(listener.count.load(), 0);
    }

    void nothingArrivesAfterStop()
    {
        Listener listener;
        // A slow callback is running when the stop comes: the stop waits for it.
        listener.hook = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
        m_announcer->Schedule(Appearing(200, 1));
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_VERIFY(listener.inCallback.load());
        QCOMPARE(VIGIL_Stop(), 1);
        QVERIFY(!listener.inCallback.load());
        const int seen = listener.count.load();
        QVERIFY(seen < 200);
        QCOMPARE(m_announcer->Delivered(), seen);
        // Announcements after the stop go nowhere; a new start delivers the rest, in order.
        m_announcer->Appear("late", "10.0.0.2");
        QTest::qWait(50);
        QCOMPARE(listener.count.load(), seen);
        listener.hook = nullptr;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_COMPARE(listener.count.load(), 201);
        QCOMPARE(m_announcer->Queued(), 0);
    }

    void stopFromWithinTheCallback()
    {
        Listener listener;
        std::atomic<int> stopResult{-1};
        listener.hook = [&] { stopResult = VIGIL_Stop(); };
        m_announcer->Schedule(Appearing(2, 0));
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_COMPARE(listener.count.load(), 1);
        QCOMPARE(stopResult.load(), 1);
        QTest::qWait(20);
        QCOMPARE(listener.count.load(), 1);
        listener.hook = nullptr;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_COMPARE(listener.count.load(), 2);
    }

private:
    std::shared_ptr<CScriptedAnnouncer> m_announcer;
};

QTEST_GUILESS_MAIN(TestVigil)
#include "tst_vigil.moc"
