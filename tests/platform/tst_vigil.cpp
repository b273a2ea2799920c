// The discovery library's start and stop, driven by the scripted announcer: what the callback
// receives, on which thread, and that nothing reaches it once VIGIL_Stop has returned.
#include "platform/vigil.h"
#include "platform/vigilbackend.h"
#include "tests/support/scriptedannouncer.h"

#include <QtTest>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

struct RECEIVED
{
    QByteArray serial;
    QByteArray address;
    int port = 0;
    QByteArray version;
    int event = 0;
};

// What the callback saw; the callback may also run a hook.
struct Listener
{
    std::mutex mutex;
    QVector<RECEIVED> received;
    std::thread::id thread;
    std::atomic<int> count{0};
    std::atomic<bool> inCallback{false};
    std::function<void()> hook;

    static void Callback(const VIGIL_DEVICE_INFO *info, void *userData)
    {
        auto *self = static_cast<Listener *>(userData);
        self->inCallback = true;
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            self->received.append({info->sSerialNumber, info->sIPv4Address, info->iPort, info->sSoftwareVersion,
                                   info->iEvent});
            self->thread = std::this_thread::get_id();
        }
        if (self->hook)
            self->hook();
        self->count.fetch_add(1);
        self->inCallback = false;
    }
    QVector<RECEIVED> Received()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }
};

std::shared_ptr<CScriptedAnnouncer> InstallAnnouncer()
{
    auto announcer = std::make_shared<CScriptedAnnouncer>();
    Vigil_SetBackend(announcer);
    return announcer;
}

} // namespace

class TestVigil : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        VIGIL_Stop();
        Vigil_SetBackend(nullptr);
    }

    void startWithoutBackendAnnouncesNothing()
    {
        Listener listener;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 0); // already running
        QCOMPARE(VIGIL_Start_V20(nullptr, &listener), 0);
        QCOMPARE(VIGIL_Stop(), 1);
        QCOMPARE(VIGIL_Stop(), 0);
        QCOMPARE(listener.count.load(), 0);
    }

    void deliversInOrderOnItsOwnThread()
    {
        auto announcer = InstallAnnouncer();
        announcer->Appear("SN1", "192.168.1.3", 80, "V2.0");
        announcer->Change("SN1", "192.168.1.4", 8000, "V2.1", 20);
        Listener listener;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        announcer->Vanish("SN1");
        QTRY_COMPARE(listener.count.load(), 3);
        const QVector<RECEIVED> received = listener.Received();
        QCOMPARE(received.at(0).serial, QByteArray("SN1"));
        QCOMPARE(received.at(0).address, QByteArray("192.168.1.3"));
        QCOMPARE(received.at(0).port, 80);
        QCOMPARE(received.at(0).version, QByteArray("V2.0"));
        QCOMPARE(received.at(1).address, QByteArray("192.168.1.4"));
        QCOMPARE(received.at(1).event, VIGIL_EVENT_CHANGED);
        QCOMPARE(received.at(2).event, VIGIL_EVENT_VANISHED);
        QVERIFY(listener.thread != std::this_thread::get_id());
        QCOMPARE(announcer->Delivered(), 3);
    }

    void nothingArrivesAfterStop()
    {
        auto announcer = InstallAnnouncer();
        Listener listener;
        // A slow callback is running when the stop comes: the stop waits for it.
        listener.hook = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
        QVector<SCRIPTED_ANNOUNCEMENT> many;
        for (int i = 0; i < 200; ++i)
            many.append({VIGIL_EVENT_APPEARED, "SN" + QByteArray::number(i), "10.0.0.1", 8000, "V1", 1});
        announcer->Schedule(many);
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_VERIFY(listener.inCallback.load());
        QCOMPARE(VIGIL_Stop(), 1);
        QVERIFY(!listener.inCallback.load());
        const int seen = listener.count.load();
        QVERIFY(seen < 200);
        QCOMPARE(announcer->Delivered(), seen);
        // More announcements after the stop go nowhere, and a new start picks up the rest.
        announcer->Appear("late", "10.0.0.2");
        QTest::qWait(50);
        QCOMPARE(listener.count.load(), seen);
        listener.hook = nullptr;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_COMPARE(listener.count.load(), 201);
        QCOMPARE(listener.Received().last().serial, QByteArray("late"));
    }

    void stopFromWithinTheCallback()
    {
        auto announcer = InstallAnnouncer();
        announcer->Appear("SN1", "10.0.0.1");
        announcer->Appear("SN2", "10.0.0.2");
        Listener listener;
        std::atomic<int> stopResult{-1};
        listener.hook = [&] { stopResult = VIGIL_Stop(); };
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_COMPARE(stopResult.load(), 1);
        QTest::qWait(20);
        QCOMPARE(listener.count.load(), 1);
        listener.hook = nullptr;
        QCOMPARE(VIGIL_Start_V20(&Listener::Callback, &listener), 1);
        QTRY_COMPARE(listener.count.load(), 2);
    }

    void longTextsStayInTheirFields()
    {
        const QByteArray longSerial(100, 'S');
        const VIGIL_DEVICE_INFO info =
            CScriptedAnnouncer::Record({VIGIL_EVENT_APPEARED, longSerial, "192.168.100.200", 8000, "V", 0});
        QCOMPARE(QByteArray(info.sSerialNumber), longSerial.left(sizeof(info.sSerialNumber) - 1));
        QCOMPARE(QByteArray(info.sIPv4Address), QByteArray("192.168.100.200"));
    }
};

QTEST_GUILESS_MAIN(TestVigil)
#include "tst_vigil.moc"
