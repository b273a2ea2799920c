// The discovery subject: announcement records decoded from their byte offsets, observers told
// in registration order, and the callback reaching only the current search object.
#include "import/vigilsearch.h"
#include "tests/support/scriptedannouncer.h"

#include <QtTest>

#include <cstring>
#include <mutex>
#include <thread>

using NORDA::CObserver;
using NORDA::VigilSearch;

namespace {

// Records every notification as "name:event:serial|address|port|version".
class CRecorder : public CObserver
{
public:
    CRecorder(const QString &name, QStringList *log, std::mutex *mutex) : m_name(name), m_pLog(log), m_pMutex(mutex) {}
    void Update(STRU_DEVICE device, int event) override
    {
        std::lock_guard<std::mutex> lock(*m_pMutex);
        *m_pLog << QStringLiteral("%1:%2:%3|%4|%5|%6")
                       .arg(m_name)
                       .arg(event)
                       .arg(QString::fromLatin1(device.strSerialNo), QString::fromLatin1(device.strIP))
                       .arg(device.iPort)
                       .arg(QString::fromLatin1(device.strVersion));
        m_lastDevice = device;
        m_thread = std::this_thread::get_id();
    }
    STRU_DEVICE m_lastDevice;
    std::thread::id m_thread;

private:
    QString m_name;
    QStringList *m_pLog;
    std::mutex *m_pMutex;
};

struct Log
{
    std::mutex mutex;
    QStringList lines;
    QStringList Lines()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return lines;
    }
};

void Put(QByteArray &record, int offset, const QByteArray &bytes)
{
    std::memcpy(record.data() + offset, bytes.constData(), static_cast<size_t>(bytes.size()));
}

QByteArray Int32(int value)
{
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
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
        QTest::addColumn<QByteArray>("expectedSerial");
        QTest::addColumn<QByteArray>("expectedAddress");
        QTest::addColumn<QByteArray>("expectedVersion");

        QTest::newRow("terminated texts") << QByteArray("DS-01\0", 6) << QByteArray("192.168.1.3\0", 12)
                                          << QByteArray("V5.3.0 build 150513\0", 20) << QByteArray("DS-01")
                                          << QByteArray("192.168.1.3") << QByteArray("V5.3.0 build 150513");
        // Texts filling their whole field end there; the next field's bytes are not part of them.
        QTest::newRow("full fields") << QByteArray(48, 'S') + "MAC" << QByteArray("255.255.255.255X") + "MASK"
                                     << QByteArray(48, 'v') + "DSP" << QByteArray(48, 'S')
                                     << QByteArray("255.255.255.255X") << QByteArray(48, 'v');
        QTest::newRow("empty texts") << QByteArray(1, '\0') << QByteArray(1, '\0') << QByteArray(1, '\0')
                                     << QByteArray() << QByteArray() << QByteArray();
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
        QTEST(device.strSerialNo, "expectedSerial");
        QTEST(device.strIP, "expectedAddress");
        QTEST(device.strVersion, "expectedVersion");
        QCOMPARE(device.iPort, 37777);
        // Everything else is a fresh record's.
        QCOMPARE(device.iUserID, -1);
        QCOMPARE(device.iChannelCount, -1);
        QVERIFY(device.strUserName.isEmpty() && device.strPassword.isEmpty());
        QVERIFY(!device.bLoginRequested && !device.bLoginAttempted);
    }

    void discoveryReachesObserversInOrder()
    {
        auto announcer = std::make_shared<CScriptedAnnouncer>();
        Vigil_SetBackend(announcer);
        Log log;
        CRecorder first(QStringLiteral("first"), &log.lines, &log.mutex);
        CRecorder second(QStringLiteral("second"), &log.lines, &log.mutex);
        {
            VigilSearch search;
            search.Attach(&first);
            search.Attach(&second);
            search.Attach(nullptr);
            QCOMPARE(search.Start(), 1);
            announcer->Appear("SN7", "10.1.1.7", 80, "V1");
            announcer->Schedule({5, "SN7", "10.1.1.7", 80, "V1", 0}); // unknown codes pass through too
            announcer->Vanish("SN7");
            QTRY_COMPARE(log.Lines().size(), 6);
            VigilSearch::Stop();
        }
        QCOMPARE(log.Lines(), QStringList({"first:1:SN7|10.1.1.7|80|V1", "second:1:SN7|10.1.1.7|80|V1",
                                           "first:5:SN7|10.1.1.7|80|V1", "second:5:SN7|10.1.1.7|80|V1",
                                           "first:3:SN7||0|", "second:3:SN7||0|"}));
        QVERIFY(first.m_thread != std::this_thread::get_id());
    }

    void callbackReachesOnlyTheCurrentSearch()
    {
        Log log;
        CRecorder older(QStringLiteral("older"), &log.lines, &log.mutex);
        CRecorder newer(QStringLiteral("newer"), &log.lines, &log.mutex);
        const VIGIL_DEVICE_INFO info = CScriptedAnnouncer::Record({VIGIL_EVENT_APPEARED, "SN1", "10.0.0.1", 8000, "V1", 0});
        VigilSearch first;
        first.Attach(&older);
        {
            VigilSearch second;
            second.Attach(&newer);
            // The user data is not what picks the receiver.
            VigilSearch::DiscoveryCallback(&info, &first);
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
