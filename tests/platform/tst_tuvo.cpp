#include "platform/tuvo.h"

#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

// Collects the debug lines written while a test runs.
static QStringList g_lines;
static void collect(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    g_lines << msg;
}

class TestTuvo : public QObject
{
    Q_OBJECT
private slots:
    void outputDebugIsOneFormattedLine()
    {
        g_lines.clear();
        QtMessageHandler old = qInstallMessageHandler(collect);
        Tuvo_OutputDebug("Login failed[%s]! error: %d\n", "10.0.0.1", 7);
        Tuvo_OutputDebug("%s", "");
        qInstallMessageHandler(old);
        QCOMPARE(g_lines.size(), 2);
        QCOMPARE(g_lines.at(0), QStringLiteral("Login failed[10.0.0.1]! error: 7"));
        QCOMPARE(g_lines.at(1), QString());
    }

    void outputDebugLongLineIsNotCut()
    {
        g_lines.clear();
        QtMessageHandler old = qInstallMessageHandler(collect);
        const QByteArray longText(5000, 'x');
        Tuvo_OutputDebug("%s|", longText.constData());
        qInstallMessageHandler(old);
        QCOMPARE(g_lines.size(), 1);
        QCOMPARE(g_lines.at(0).size(), 5001);
    }

    void cMutexExcludesThreads()
    {
        TUVO_MUTEX handle = nullptr;
        QCOMPARE(Tuvo_MutexCreate(&handle, 0), 0);
        QVERIFY(handle);
        int counter = 0;
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&]() {
                for (int i = 0; i < 20000; ++i) {
                    Tuvo_MutexLock(&handle);
                    ++counter;
                    Tuvo_MutexUnlock(&handle);
                }
            });
        for (auto &t : threads)
            t.join();
        QCOMPARE(counter, 80000);
        QCOMPARE(Tuvo_MutexDestroy(&handle), 0);
        QVERIFY(!handle);
        QVERIFY(Tuvo_MutexLock(&handle) != 0); // a destroyed handle is refused, not used
    }

    void guardReleasesOnceAndOnScopeExit()
    {
        Tuvo_Mutex mutex;
        {
            Tuvo_Guard guard(&mutex);
            guard.Release();
            guard.Release(); // second release does nothing
            // the mutex is free again: another guard can take it in this scope
            Tuvo_Guard second(&mutex);
        }
        std::atomic<bool> taken{false};
        std::thread other([&]() {
            Tuvo_Guard guard(&mutex);
            taken = true;
        });
        other.join();
        QVERIFY(taken.load());
    }
};

QTEST_GUILESS_MAIN(TestTuvo)
#include "tst_tuvo.moc"
