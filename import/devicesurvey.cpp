#include "import/devicesurvey.h"

#include "import/devicecodes.h"
#include "platform/dvrbackend.h"

#include <QAbstractItemModel>
#include <QDebug>
#include <QThread>

CDeviceSurvey::CDeviceSurvey(const SETTINGS &settings, QObject *parent) : QObject(parent), m_settings(settings)
{
    connect(this, &CDeviceSurvey::SignalSurveyed, this, &CDeviceSurvey::OnSurveyed, Qt::QueuedConnection);
}

QString CDeviceSurvey::DeviceKey(const STRU_DEVICE &device) const
{
    return QString::fromLocal8Bit(m_settings.eKeyField == KeySerialNumber ? device.strSerialNo : device.strIP);
}

void CDeviceSurvey::Prepare(QAbstractItemModel *model, const QModelIndexList &selectedRows,
                            const QVector<STRU_DEVICE> &devices)
{
    Q_ASSERT(QThread::currentThread() == thread());
    SNAPSHOT snapshot;
    QVector<QPersistentModelIndex> statusCells;
    if (model) {
        for (const QModelIndex &selected : selectedRows) {
            if (selected.model() != model)
                continue;
            const int row = selected.row();
            snapshot.keys << model->index(row, m_settings.iKeyColumn, selected.parent()).data().toString();
            statusCells << QPersistentModelIndex(model->index(row, m_settings.iStatusColumn, selected.parent()));
        }
    }
    snapshot.devices = devices;

    std::lock_guard<std::mutex> lock(m_mutex);
    snapshot.iGeneration = m_snapshot.iGeneration + 1;
    m_snapshot = snapshot;
    m_pModel = model;
    m_statusCells = statusCells;
}

CDeviceSurvey::Outcome CDeviceSurvey::SurveyDevice(STRU_DEVICE *device)
{
    if (!device->Login()) {
        device->iImportStatus = STRU_DEVICE::kImportLoginFailed;
        device->Logout();
        return LoginFailed;
    }

    bool unreadable = false;
    bool supported = false;
    bool unsupported = false;
    auto surveyChannel = [&](int channel) {
        qDebug("[ktag] Import from client,IP: %s,channel:%d", device->strIP.constData(), channel);
        NET_DVR_COMPRESS_BLOCK block;
        if (!device->GetCompressInfo(channel - 1, &block))
            unreadable = true;
        else if (DeviceCodes::ResolutionIndex(block.byResolution) >= 0)
            supported = true;
        else
            unsupported = true;
    };
    for (int c = device->iStartChannel; c < device->iStartChannel + device->iChannelCount; ++c)
        surveyChannel(c);
    for (int k = device->iStartIPChannel; k < device->iStartIPChannel + device->iIPChannelCount; ++k)
        surveyChannel(k);
    // The copy handed on must not carry the handle: after the logout the SDK may give the same
    // handle to another device's session.
    device->Logout();

    if (unsupported && supported)
        return SomeUnsupported;
    if (unreadable && supported)
        return SomeUnreadable;
    if (unsupported)
        return Unsupported;
    if (unreadable)
        return Unreadable;
    device->iImportStatus = STRU_DEVICE::kImportOk;
    return Succeeded;
}

QString CDeviceSurvey::OutcomeText(Outcome outcome) const
{
    switch (outcome) {
    case LoginFailed:
        return m_settings.strLoginFailedText;
    case SomeUnsupported:
        return tr("Some Channels Not Support Resolution");
    case SomeUnreadable:
        return tr("Some Channels Can not get compress info");
    case Unsupported:
        return tr("Not Support Resolution");
    case Unreadable:
        return tr("Can not get compress info");
    case Succeeded:
        break;
    }
    return tr("Import Succeed");
}

QVector<STRU_DEVICE> CDeviceSurvey::CheckSelectedDevices(int maxParallel, int budgetMs, const std::atomic<bool> *cancel)
{
    auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_acquire); };
    SNAPSHOT snapshot;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        snapshot = m_snapshot;
    }

    // One job per device with at least one matching row; its rows in selection order.
    struct JOB
    {
        int iDevice = 0;
        QVector<int> selections;
        QVector<STRU_DEVICE> surveyed;
    };
    std::vector<JOB> jobs;
    for (int d = 0; d < snapshot.devices.size(); ++d) {
        JOB job;
        job.iDevice = d;
        const QString key = DeviceKey(snapshot.devices.at(d));
        for (int s = 0; s < snapshot.keys.size(); ++s)
            if (snapshot.keys.at(s) == key)
                job.selections << s;
        if (!job.selections.isEmpty())
            jobs.push_back(job);
    }

    RunParallel(static_cast<int>(jobs.size()), maxParallel, [&](int j) {
        JOB &job = jobs[static_cast<size_t>(j)];
        STRU_DEVICE device = snapshot.devices.at(job.iDevice);
        for (int selection : job.selections) {
            if (cancelled())
                return;
            Outcome outcome;
            {
                const CDvrCallLimit limit(budgetMs, cancel);
                outcome = SurveyDevice(&device);
            }
            if (cancelled())
                return; // abandoned on the way: nothing of it counts
            job.surveyed << device;
            emit SignalSurveyed(snapshot.iGeneration, selection, outcome, static_cast<int>(device.eFailure));
        }
    });

    QVector<STRU_DEVICE> result;
    for (const JOB &job : jobs)
        result += job.surveyed;
    return result;
}

void CDeviceSurvey::OnSurveyed(int generation, int selection, int outcome, int failure)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (generation != m_snapshot.iGeneration)
            return; // a result of an earlier selection
    }
    if (!m_pModel || selection < 0 || selection >= m_statusCells.size())
        return;
    const QPersistentModelIndex &cell = m_statusCells.at(selection);
    if (!cell.isValid())
        return; // the row is gone
    const QString text = OutcomeText(static_cast<Outcome>(outcome));
    int state = -1;
    if (outcome != LoginFailed && m_settings.iSurveyedState >= 0)
        state = m_settings.iSurveyedState;
    m_pModel->setData(cell, text, Qt::DisplayRole);
    const QString reason = outcome == LoginFailed ? DeviceFailureText(static_cast<DeviceFailure>(failure)) : QString();
    if (cell.data(Qt::ToolTipRole).toString() != reason)
        m_pModel->setData(cell, reason.isEmpty() ? QVariant() : QVariant(reason), Qt::ToolTipRole);
    if (state >= 0)
        m_pModel->setData(cell, state, m_settings.iStateRole);
    emit SignalRowStatus(cell.row(), text, state);
}
