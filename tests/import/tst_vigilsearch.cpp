// The discovery subject: announcement records decoded from their byte offsets, observers told
// in registration order on the discovery thread, and the callback reaching only the current
// search object.
#include "import/vigilsearch.h"
#include "tests/support/scriptedannouncer.h"

#include <QtTest>

#include <cstring>
#include <mutex>
#include <thread>

using NORDA::VigilSearch;

namespace {
// Every notification of every recorder as "name:event:serial|address|port|version".
struct Log
{
    std::mutex mutex;
    QStringList lines;
    std::thread::id thread;
    QStringList Lines()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return lines;
    }
};

class CRecorder : public NORDA::CObserver
{
public:
    CRecorder(const char *name, Log *log) : m_name(name), m_pLog(log) {}
    void Update(STRU_DEVICE device, int event) override
    {
        std::lock_guard<std::mutex> lock(m_pLog->mutex);
        m_pLog->lines << QStringLiteral("%1:%2:%3|%4|%5|%6")
                             .arg(QLatin1String(m_name))
                             .arg(event)
                             .arg(QString::fromLatin1(device.strSerialNo), QString::fromLatin1(device.strIP))
                             .arg(device.iPort)
                             .arg(QString::fromLatin1(device.strVersion));
        m_pLog->thread = std::this_thread::get_id();
    }

private:
    const char *m_name;
    Log *m_pLog;
};

void Put(QByteArray &record, int offset, const QByteArray &bytes)
{
    std::memcpy(record.data() + offset, bytes.constData(), static_cast<size_t>(bytes.size()));
}

QByteArray Int32(int value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), 4);
}
} // namespace

class TestVigilSearch : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        VigilSearch::Stop();
        Vigil_SetBackend(nullptr);
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("serial");  // bytes written at 12
        QTest::addColumn<QByteArray>("address"); // at 80
        QTest::addColumn<QByteArray>("version"); // at 128
        QTest::addColumn<QString>("decoded");    // "serial|address|version"
        QTest::newRow("terminated texts")
            << QByteArray("SN-01\0", 6) << QByteArray("192.168.1.3\0", 12) << QByteArray("V5.3.0 build 150513\0", 20)
            << "SN-01|192.168.1.3|V5.3.0 build 150513";
        // Texts filling their whole field end there; the next field's bytes are not part of them.
        QTest::newRow("full fields") << QByteArray(48, 'S') + "MAC" << QByteArray("255.255.255.255X") + "MASK"
                                     << QByteArray(48, 'v') + "DSP"
                                     << QString(48, 'S') + "|255.255.255.255X|" + QString(48, 'v');
        QTest::newRow("empty texts") << QByteArray(1, '\0') << QByteArray(1, '\0') << QByteArray(1, '\0') << "||";
    }

    void decoding()
    {
        QFETCH(QByteArray, serial);
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, version);
        QByteArray raw(280, '\0');
        Put(raw, 12, serial);
        Put(raw, 80, address);
        Put(raw, 116, Int32(37777));
        Put(raw, 128, version);
        Put(raw, 272, Int32(VIGIL_EVENT_CHANGED));
        VIGIL_DEVICE_INFO info;
        std::memcpy(&info, raw.constData(), sizeof(info));
        QCOMPARE(info.iEvent, VIGIL_EVENT_CHANGED);

        const STRU_DEVICE device = VigilSearch::DeviceFromAnnouncement(info);
        QTEST(QString::fromLatin1(device.strSerialNo + '|' + device.strIP + '|' + device.strVersion), "decoded");
        QCOMPARE(device.iPort, 37777);
        // Everything else is a fresh record's.
        QVERIFY(device.iUserID == -1 && device.iChannelCount == -1 && device.strUserName.isEmpty());
    }

    void discoveryReachesObserversInOrder()
    {
        auto announcer = std::make_shared<CScriptedAnnouncer>();
        Vigil_SetBackend(announcer);
        Log log;
        CRecorder first("first", &log), second("second", &log);
        VigilSearch search;
        search.Attach(&first);
        search.Attach(&second);
        QCOMPARE(search.Start(), 1);
        announcer->Appear("SN7", "10.1.1.7", 80, "V1");
        announcer->Schedule({5, "SN7", "10.1.1.7", 80, "V1", 0}); // unknown codes are the observers' business
        announcer->Vanish("SN7");
        QTRY_COMPARE(log.Lines().size(), 6);
        VigilSearch::Stop();
        QCOMPARE(log.Lines(),
                 QStringList({"first:1:SN7|10.1.1.7|80|V1", "second:1:SN7|10.1.1.7|80|V1", "first:5:SN7|10.1.1.7|80|V1",
                              "second:5:SN7|10.1.1.7|80|V1", "first:3:SN7||0|", "second:3:SN7||0|"}));
        QVERIFY(log.thread != std::this_thread::get_id());
    }

    void callbackReachesOnlyTheCurrentSearch()
    {
        Log log;
        CRecorder older("older", &log), newer("newer", &log);
        const VIGIL_DEVICE_INFO info =
            CScriptedAnnouncer::Record({VIGIL_EVENT_APPEARED, "SN1", "10.0.0.1", 8000, "V1", 0});
        VigilSearch first;
        first.Attach(&older);
        {
            VigilSearch second;
            second.Attach(&newer);
            VigilSearch::DiscoveryCallback(&info, &first); // the user data does not pick the receiver
            QCOMPARE(log.Lines(), QStringList("newer:1:SN1|10.0.0.1|8000|V1"));
        }
        // With the current search gone, announcements go nowhere.
        VigilSearch::DiscoveryCallback(&info, &first);
        VigilSearch::DiscoveryCallback(nullptr, &first);
        QCOMPARE(log.Lines().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestVigilSearch)
#include "tst_vigilsearch.moc"
