// Shared helpers of the device layer tests: scripted devices, the matching STRU_DEVICE, and a
// collector of every diagnostic line (from any thread).
#pragma once

#include "import/device.h"
#include "import/devicesurvey.h"
#include "tests/support/scriptedbackend.h"

#include <QStandardItemModel>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>

namespace Fixture {

inline SCRIPTED_CHANNEL Channel(int resolution, uint32_t bitrate = 19, int frameRate = 0, int quality = 0,
                                bool fails = false)
{
    SCRIPTED_CHANNEL channel;
    channel.iResolutionCode = resolution;
    channel.uBitrateCode = bitrate;
    channel.iFrameRateCode = frameRate;
    channel.iQuality = quality;
    channel.bReadFails = fails;
    return channel;
}

// A device with analogue channels 1..analog and IP channels 33.. (kind-2 sources), all CIF.
inline SCRIPTED_DEVICE Device(const QByteArray &address, int analog = 0, int ip = 0, int latencyMs = -1)
{
    SCRIPTED_DEVICE device;
    device.strAddress = address;
    device.iLatencyMs = latencyMs;
    for (int i = 0; i < analog; ++i)
        device.analogChannels << Channel(1, 15 + static_cast<uint32_t>(i % 4));
    for (int i = 0; i < ip; ++i)
        device.AddConnectedIPChannel(Channel(27, 23, 0, 0));
    return device;
}

// The record the dialogs would hold for a scripted device.
inline STRU_DEVICE Record(const SCRIPTED_DEVICE &device)
{
    STRU_DEVICE record;
    record.strIP = device.strAddress;
    record.iPort = device.iPort;
    record.strUserName = device.strUserName;
    record.strPassword = device.strPassword;
    record.strSerialNo = "SN-" + device.strAddress;
    return record;
}

inline std::shared_ptr<CScriptedBackend> Install(const QVector<SCRIPTED_DEVICE> &devices, int latencyMs = 0)
{
    NET_DVR_Init();
    auto backend = std::make_shared<CScriptedBackend>(latencyMs);
    for (const SCRIPTED_DEVICE &device : devices)
        backend->AddDevice(device);
    NetDvr_SetBackend(backend);
    return backend;
}

inline CDeviceSurvey::SETTINGS OnlineSettings()
{
    CDeviceSurvey::SETTINGS settings;
    settings.iKeyColumn = 2;
    settings.eKeyField = CDeviceSurvey::KeySerialNumber;
    settings.iStatusColumn = 4;
    settings.strLoginFailedText = QStringLiteral("Login failed");
    settings.iSurveyedState = 3;
    return settings;
}

inline CDeviceSurvey::SETTINGS ClientSettings()
{
    CDeviceSurvey::SETTINGS settings;
    settings.iKeyColumn = 1;
    settings.eKeyField = CDeviceSurvey::KeyIPAddress;
    settings.iStatusColumn = 3;
    settings.strLoginFailedText = QStringLiteral("Log in failed");
    return settings;
}

// A table like the online dialog's: IP, port, serial number, version, state (text and value).
inline std::unique_ptr<QStandardItemModel> OnlineTable(const QVector<STRU_DEVICE> &devices)
{
    auto model = std::make_unique<QStandardItemModel>(0, 5);
    for (const STRU_DEVICE &device : devices) {
        QList<QStandardItem *> row;
        row << new QStandardItem(QString::fromLocal8Bit(device.strIP))
            << new QStandardItem(QString::asprintf("%5d", device.iPort))
            << new QStandardItem(QString::fromLocal8Bit(device.strSerialNo)) << new QStandardItem("V1.0")
            << new QStandardItem("Waiting...");
        row.last()->setData(0, Qt::UserRole);
        model->appendRow(row);
    }
    return model;
}

// A table like the client dialog's: name, IP, port, state.
inline std::unique_ptr<QStandardItemModel> ClientTable(const QVector<STRU_DEVICE> &devices)
{
    auto model = std::make_unique<QStandardItemModel>(0, 4);
    for (const STRU_DEVICE &device : devices)
        model->appendRow({new QStandardItem(QString::fromLocal8Bit(device.strDeviceName)),
                          new QStandardItem(QString::fromLocal8Bit(device.strIP)),
                          new QStandardItem(QString::asprintf("%5d", device.iPort)),
                          new QStandardItem("Not Imported")});
    return model;
}

inline QModelIndexList Rows(const QAbstractItemModel &model, const QList<int> &rows)
{
    QModelIndexList list;
    for (int row : rows)
        list << model.index(row, 0);
    return list;
}

// Collects every message written while it exists.
class CMessageCollector
{
public:
    CMessageCollector()
    {
        s_pActive = this;
        m_previous = qInstallMessageHandler(&CMessageCollector::Handle);
    }
    ~CMessageCollector()
    {
        qInstallMessageHandler(m_previous);
        s_pActive = nullptr;
    }
    QStringList Lines() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        if (CMessageCollector *active = s_pActive) {
            std::lock_guard<std::mutex> lock(active->m_mutex);
            active->m_lines << message;
        }
    }
    static inline std::atomic<CMessageCollector *> s_pActive{nullptr};
    QtMessageHandler m_previous = nullptr;
    mutable std::mutex m_mutex; // std::mutex: visible to the thread sanitizer
    QStringList m_lines;
};

} // namespace Fixture
