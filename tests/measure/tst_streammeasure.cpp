#include "measure/streamlocator.h"
#include "measure/streammeasurer.h"
#include "platform/dvrbackend.h"
#include "platform/netdvr.h"
#include "platform/onvif/onvifbackend.h"
#include "tests/support/privatenetwork.h"
#include "tools/fakedevice/fakeonvifserver.h"
#include "tools/fakedevice/fakertspserver.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {
QString g_strNoNetwork;

// The clip's own bitrate in kbit/s, as ffprobe counts its packets.
double ClipKbps(const QString &path)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {"-v", "error", "-select_streams", "v", "-show_entries", "packet=size:stream=avg_frame_rate", "-of",
                 "csv=p=0", path});
    if (!probe.waitForFinished(60000))
        return 0;
    qint64 bytes = 0;
    int frames = 0;
    double rate = 0;
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        if (line.contains('/')) {
            const QList<QByteArray> parts = line.split('/');
            rate = parts.value(0).toDouble() / qMax(1.0, parts.value(1).toDouble());
        } else if (!line.trimmed().isEmpty()) {
            bytes += line.split(',').value(0).toLongLong();
            ++frames;
        }
    }
    return rate > 0 && frames > 0 ? double(bytes) * 8 / 1000 / (frames / rate) : 0;
}

// Packets of a test stream: frames per second, bytes of each frame, a key frame every n frames,
// one slice with extra bytes.
struct SYNTHETIC
{
    double dFps;
    int iBytes;
    int iKeyEvery;
    int iBurstSecond;
    int iBurstBytes;
};
} // namespace
Q_DECLARE_METATYPE(SYNTHETIC)

class TestStreamMeasure : public QObject
{
    Q_OBJECT

    enum Device { H264, H265Media1, WrongPassword, Stopping, Mute, NoVideo, DeviceCount };
    CFakeOnvifServer m_server;
    COnvifBackend m_backend;
    QVector<STREAM_MEASUREMENT> m_results{DeviceCount};
    QVector<qint64> m_elapsedMs{QVector<qint64>(DeviceCount, -1)};
    QVector<QString> m_uris{DeviceCount};
    static constexpr double kWindow = 20;     // accuracy
    static constexpr double kFaultWindow = 5; // faults

private slots:
    void figures_data()
    {
        QTest::addColumn<SYNTHETIC>("stream");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<double>("average");
        QTest::addColumn<double>("peak");
        QTest::addColumn<double>("p95");
        QTest::addColumn<double>("fps");
        QTest::addColumn<double>("keyInterval");
        // 25 x 1,000 bytes a second = 200 kbit/s everywhere.
        QTest::newRow("constant") << SYNTHETIC{25, 1000, 50, -1, 0} << 10.0 << 200.0 << 200.0 << 200.0 << 25.0 << 2.0;
        // One second with 10,000 more bytes: average +8 kbit/s over 10 s, peak +80; with 10 slices
        // the nearest-rank 95th percentile is the 10th, the peak.
        QTest::newRow("burst, 10 s") << SYNTHETIC{25, 1000, 25, 3, 10000} << 10.0 << 208.0 << 280.0 << 280.0 << 25.0
                                     << 1.0;
        // With 20 slices the 95th percentile is the 19th: an ordinary one.
        QTest::newRow("burst, 20 s") << SYNTHETIC{25, 1000, 25, 3, 10000} << 20.0 << 204.0 << 280.0 << 200.0 << 25.0
                                     << 1.0;
        // 2.5 s: the half slice at the end is left out of peak and percentile, not of the average.
        QTest::newRow("fractional") << SYNTHETIC{10, 500, 1000, -1, 0} << 2.5 << 40.0 << 40.0 << 40.0 << 10.0 << 0.0;
    }
    void figures()
    {
        QFETCH(SYNTHETIC, stream);
        QFETCH(double, seconds);
        CStreamFigures figures(seconds);
        int frame = 0;
        const double base = 1234.5; // timestamps need not start at 0
        for (;; ++frame) {
            const double t = frame / stream.dFps;
            const int bytes =
                stream.iBytes + (frame == int(stream.iBurstSecond * stream.dFps) ? stream.iBurstBytes : 0);
            if (!figures.Add(base + t, bytes, frame % stream.iKeyEvery == 0))
                break;
        }
        QCOMPARE(frame, qRound(seconds * stream.dFps));
        STREAM_MEASUREMENT result;
        figures.Fill(&result);
        QTEST(result.dAverageKbps, "average");
        QTEST(result.dPeakKbps, "peak");
        QTEST(result.dP95Kbps, "p95");
        QTEST(result.dFrameRate, "fps");
        QTEST(result.dKeyFrameInterval, "keyInterval");
    }

    void initTestCase()
    {
        if (!g_strNoNetwork.isEmpty())
            QSKIP(qPrintable("no private network namespace: " + g_strNoNetwork));
        QVector<FAKE_ONVIF_DEVICE> devices(DeviceCount);
        for (int i = 0; i < DeviceCount; ++i) {
            devices[i].strAddress = QStringLiteral("127.0.0.%1").arg(i + 1);
            devices[i].bRtsp = true;
            devices[i].streams[0].strEncoding = QStringLiteral("H264");
        }
        devices[H265Media1].streams[0].strEncoding = QStringLiteral("H265");
        devices[H265Media1].bMedia2 = false;
        devices[H265Media1].bMedia1H265AsIs = true;
        devices[WrongPassword].strStreamPassword = QStringLiteral("not 12345");
        devices[Stopping].streamFault = FakeStreamFault::Stop;
        devices[Mute].streamFault = FakeStreamFault::Mute;
        devices[NoVideo].streamFault = FakeStreamFault::NoVideo;
        QVERIFY2(m_server.StartInThread(devices), qPrintable(m_server.Error()));

        // The addresses as the dialog finds them: every device logged in to and asked at once.
        NetDvr_SetBackend(std::shared_ptr<CDvrBackend>(&m_backend, [](CDvrBackend *) {}));
        QVector<STREAM_TARGET> targets;
        DeviceLogins logins;
        for (const FAKE_ONVIF_DEVICE &device : devices) {
            targets.append({device.strAddress.toLatin1(), 8000, COnvifBackend::kFirstChannel});
            logins.insert(LoginKey(targets.last().strIP, 8000), {"admin", "12345"});
        }
        const QVector<LOCATED_STREAM> located = StreamLocator::Locate(targets, logins, nullptr);
        NetDvr_SetBackend(nullptr);
        QVector<STREAM_SOURCE> accurate, faulty;
        for (int i = 0; i < DeviceCount; ++i) {
            QCOMPARE(int(located.at(i).state), int(LocateState::Found));
            m_uris[i] = located.at(i).source.strUri;
            (i <= H265Media1 ? accurate : faulty).append(located.at(i).source);
        }
        // Both groups at once, as the dialog measures every selected camera together.
        CStreamMeasurer accurateRun, faultyRun;
        QElapsedTimer clock;
        clock.start();
        connect(&accurateRun, &CStreamMeasurer::Finished, this, [&](int index) {
            m_results[index] = accurateRun.Result(index);
            m_elapsedMs[index] = clock.elapsed();
        });
        connect(&faultyRun, &CStreamMeasurer::Finished, this, [&](int index) {
            m_results[WrongPassword + index] = faultyRun.Result(index);
            m_elapsedMs[WrongPassword + index] = clock.elapsed();
        });
        QSignalSpy accurateDone(&accurateRun, &CStreamMeasurer::AllFinished);
        QSignalSpy faultyDone(&faultyRun, &CStreamMeasurer::AllFinished);
        QVERIFY(accurateRun.Start(accurate, kWindow));
        QVERIFY(faultyRun.Start(faulty, kFaultWindow));
        QVERIFY(accurateDone.wait(int(kWindow + StreamReader::kGraceMs / 1000 + 30) * 1000));
        QVERIFY(faultyDone.count() == 1 || faultyDone.wait(30000));
    }
    void cleanupTestCase() { m_server.Stop(); }

    void streams_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("clip");
        QTest::newRow("H.264, Media2") << int(H264) << int(StreamState::Measured) << "H.264"
                                       << CFakeRtspServer::DefaultClip("H264");
        QTest::newRow("H.265, Media") << int(H265Media1) << int(StreamState::Measured) << "H.265"
                                      << CFakeRtspServer::DefaultClip("H265");
        QTest::newRow("wrong password") << int(WrongPassword) << int(StreamState::CredentialsRefused) << ""
                                        << "";
        QTest::newRow("stops after 2 s") << int(Stopping) << int(StreamState::Stopped) << "H.264"
                                         << "";
        QTest::newRow("accepts, sends nothing") << int(Mute) << int(StreamState::DidNotStart) << ""
                                                << "";
        QTest::newRow("no video") << int(NoVideo) << int(StreamState::NoVideo) << ""
                                  << "";
    }
    void streams()
    {
        QFETCH(int, device);
        QFETCH(QString, clip);
        const STREAM_MEASUREMENT &result = m_results[device];
        QVERIFY2(m_uris[device].startsWith("rtsp://127.0.0.") && !m_uris[device].contains('@'),
                 qPrintable(m_uris[device]));
        QTEST(int(result.state), "state");
        QTEST(result.strCodec, "codec");
        // Each measurement ends by its window plus the grace time (and a poll of the collector).
        const double window = device <= H265Media1 ? kWindow : kFaultWindow;
        QVERIFY2(m_elapsedMs[device] >= 0
                     && m_elapsedMs[device] <= qint64(window * 1000) + StreamReader::kGraceMs + 2000,
                 qPrintable(QString::number(m_elapsedMs[device])));
        if (clip.isEmpty()) {
            QCOMPARE(result.dAverageKbps, 0.0); // a failure is never a measured bitrate
            return;
        }
        const double expected = ClipKbps(clip);
        QVERIFY(expected > 0);
        qInfo("%s: %.1f kbit/s (clip %.1f), peak %.1f, 95th percentile %.1f, %.2f fps, key frames every %.2f s",
              qPrintable(result.strCodec), result.dAverageKbps, expected, result.dPeakKbps, result.dP95Kbps,
              result.dFrameRate, result.dKeyFrameInterval);
        QVERIFY2(
            qAbs(result.dAverageKbps - expected) <= 0.03 * expected,
            qPrintable(QStringLiteral("%1 kbit/s measured, %2 in the clip").arg(result.dAverageKbps).arg(expected)));
        QVERIFY(result.dPeakKbps >= result.dAverageKbps);
        QVERIFY(result.dP95Kbps <= result.dPeakKbps && result.dP95Kbps > 0);
        QCOMPARE(result.iWidth, 640);
        QCOMPARE(result.iHeight, 360);
        QCOMPARE(qRound(result.dFrameRate), 25);
        QVERIFY(qAbs(result.dKeyFrameInterval - 2.0) < 0.05);
        QVERIFY(result.started.isValid());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int exitCode = 0;
    if (PrivateNetwork::Enter(argc, argv, &exitCode, &g_strNoNetwork) == PrivateNetwork::Outcome::ChildFinished)
        return exitCode;
    TestStreamMeasure test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_streammeasure.moc"
