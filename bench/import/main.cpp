// Times the channel survey and the import run over scripted devices whose every SDK call waits a
// fixed latency, once with the bounded pool and once one device at a time, and checks that both
// give the same cameras in the same order. The work is waiting, not computing, so the pool's gain
// is bounded by the number of devices it runs at once, not by the cores.
#include "calc/bitratecalculator.h"
#include "import/deviceimporter.h"
#include "import/devicesurvey.h"
#include "tests/support/scriptedbackend.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QStandardItemModel>
#include <QTextStream>
#include <QThread>

#include <memory>

namespace {

struct FIGURES
{
    qint64 iSurveyMs = 0;
    qint64 iImportMs = 0;
    int iCalls = 0;
    int iPeak = 0;
    QVector<STRU_CAMERA> cameras;
};

SCRIPTED_DEVICE MakeDevice(int index, int latencyMs)
{
    SCRIPTED_DEVICE device;
    device.strAddress = "172.16." + QByteArray::number(index / 200) + '.' + QByteArray::number(index % 200 + 1);
    device.strPassword = "pw" + QByteArray::number(index);
    device.iLatencyMs = latencyMs;
    device.iDeviceTypeCode = index % 8 == 0 ? 40 : 0;
    const int resolutions[] = {1, 3, 4, 2};
    for (int c = 0; c < 4; ++c) {
        SCRIPTED_CHANNEL channel;
        channel.iResolutionCode = resolutions[c];
        channel.iFrameRateCode = c * 3;
        channel.uBitrateCode = static_cast<uint32_t>(15 + c);
        channel.iQuality = c;
        device.analogChannels << channel;
    }
    // Twelve IP channels from all three source kinds.
    device.ipDevices.fill(true, 4);
    for (int k = 0; k < 12; ++k) {
        SCRIPTED_CHANNEL channel;
        channel.iResolutionCode = k % 2 ? 27 : 19;
        channel.iFrameRateCode = k % 17;
        channel.uBitrateCode = k % 3 ? 23u : (0x80000000u | 3145728u);
        device.ipChannels << channel;
        SCRIPTED_SOURCE source;
        source.iKind = k % 3;
        source.iIPDevice = k % 4 + 1;
        device.sources << source;
    }
    return device;
}

FIGURES Run(const QVector<STRU_DEVICE> &devices, CScriptedBackend &backend, int threads)
{
    FIGURES figures;
    QStandardItemModel model(0, 5);
    QModelIndexList selected;
    for (const STRU_DEVICE &device : devices) {
        QList<QStandardItem *> row;
        for (int column = 0; column < 5; ++column)
            row << new QStandardItem(column == 2 ? QString::fromLatin1(device.strSerialNo) : QString());
        model.appendRow(row);
        selected << model.index(model.rowCount() - 1, 0);
    }
    CDeviceSurvey::SETTINGS settings;
    settings.strLoginFailedText = QStringLiteral("Login failed");
    settings.iSurveyedState = 3;
    CDeviceSurvey survey(settings);
    survey.Prepare(&model, selected, devices);

    backend.ResetStatistics();
    QElapsedTimer timer;
    timer.start();
    const QVector<STRU_DEVICE> surveyed = survey.CheckSelectedDevices(threads);
    figures.iSurveyMs = timer.restart();
    CBitrateCalculator calculator;
    figures.cameras = CDeviceImporter(threads).ImportDevices(surveyed, 0, calculator);
    figures.iImportMs = timer.elapsed();
    figures.iCalls = backend.TotalCalls();
    figures.iPeak = backend.PeakConcurrentCalls();
    QCoreApplication::sendPostedEvents(); // the status texts
    return figures;
}

bool Same(const QVector<STRU_CAMERA> &a, const QVector<STRU_CAMERA> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const STRU_CAMERA &x = a.at(i);
        const STRU_CAMERA &y = b.at(i);
        if (x.strName != y.strName || x.iChannel != y.iChannel || x.iType != y.iType || x.iResolution != y.iResolution
            || x.iLevel != y.iLevel || x.dFramerate != y.dFramerate || x.iBitrate != y.iBitrate
            || x.iRecommendedBitrate != y.iRecommendedBitrate || x.iPort != y.iPort || x.strDeviceIP != y.strDeviceIP)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"devices", "Number of devices.", "n", "64"});
    parser.addOption({"latency", "Milliseconds every SDK call waits.", "ms", "10"});
    parser.addOption({"threads", "Devices worked on at once.", "n", QString::number(kDeviceParallelism)});
    parser.process(app);
    const int deviceCount = qMax(1, parser.value("devices").toInt());
    const int latency = qMax(0, parser.value("latency").toInt());
    const int threads = qMax(1, parser.value("threads").toInt());

    // Only the logins are of interest here, not their diagnostics.
    QLoggingCategory::setFilterRules(QStringLiteral("norda.tuvo.debug=false\ndefault.debug=false"));
    NET_DVR_Init();
    auto backend = std::make_shared<CScriptedBackend>(latency);
    QVector<STRU_DEVICE> devices;
    for (int i = 0; i < deviceCount; ++i) {
        const SCRIPTED_DEVICE scripted = MakeDevice(i, latency);
        backend->AddDevice(scripted);
        STRU_DEVICE device;
        device.strIP = scripted.strAddress;
        device.iPort = scripted.iPort;
        device.strUserName = scripted.strUserName;
        device.strPassword = scripted.strPassword;
        device.strSerialNo = "SN-" + scripted.strAddress;
        devices << device;
    }
    NetDvr_SetBackend(backend);

    QTextStream out(stdout);
    out << "devices " << deviceCount << " x (4 analogue + 12 IP channels), " << latency << " ms per SDK call, pool of "
        << threads << " threads, " << QThread::idealThreadCount() << " cores\n";
    const FIGURES pooled = Run(devices, *backend, threads);
    const FIGURES single = Run(devices, *backend, 1);

    auto line = [&](const char *name, const FIGURES &f) {
        out << QString("%1 survey %2 ms, import %3 ms, whole run %4 ms, %5 SDK calls, at most %6 at once, %7 cameras\n")
                   .arg(QString::fromLatin1(name), -18)
                   .arg(f.iSurveyMs, 6)
                   .arg(f.iImportMs, 6)
                   .arg(f.iSurveyMs + f.iImportMs, 6)
                   .arg(f.iCalls)
                   .arg(f.iPeak)
                   .arg(f.cameras.size());
    };
    line("pool:", pooled);
    line("one at a time:", single);
    auto ratio = [](qint64 slow, qint64 fast) { return fast > 0 ? double(slow) / double(fast) : 0.0; };
    out << QString("speed-up: survey %1 x, import %2 x, whole run %3 x\n")
               .arg(ratio(single.iSurveyMs, pooled.iSurveyMs), 0, 'f', 1)
               .arg(ratio(single.iImportMs, pooled.iImportMs), 0, 'f', 1)
               .arg(ratio(single.iSurveyMs + single.iImportMs, pooled.iSurveyMs + pooled.iImportMs), 0, 'f', 1);
    const bool same = Same(pooled.cameras, single.cameras);
    out << "same cameras in the same order: " << (same ? "yes" : "NO") << "\n";
    NetDvr_SetBackend(nullptr);
    return same ? 0 : 1;
}
