#include "measure/measuredialog.h"

#include "measure/measuredrate.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kProgressMs = 250;
constexpr int kMinStateWidth = 160;
const QColor kFailedColor(200, 40, 40);

QString Kbps(double kbps)
{
    return QString::number(qRound(kbps));
}
} // namespace

CMeasureDialog::CMeasureDialog(QWidget *parent) : CBaseDialog(parent, false, false, false)
{
    SetTitle(tr("Measure Bitrate"));
    BuildForm();
    resize(1010, 560);
    connect(&m_measurer, &CStreamMeasurer::Finished, this, &CMeasureDialog::OnStreamFinished);
    connect(&m_measurer, &CStreamMeasurer::AllFinished, this, &CMeasureDialog::OnAllFinished);
    m_progressTimer.setInterval(kProgressMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &CMeasureDialog::ShowProgress);
    SetMainAction([this] {
        if (!IsRunning())
            OnStart();
    });
}

CMeasureDialog::~CMeasureDialog()
{
    Stop();
}

void CMeasureDialog::BuildForm()
{
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(10, 8, 10, 10);

    m_pTable = new QTableWidget(0, CRecommended + 1, content);
    m_pTable->setObjectName(QStringLiteral("m_pTableMeasure"));
    m_pTable->setHorizontalHeaderLabels({tr("Camera"), tr("State"), tr("Codec"), tr("Resolution"), tr("Frame Rate"),
                                         tr("Average"), tr("Peak"), tr("95 %"), tr("Key Frames"), tr("Measured At"),
                                         tr("Configured"), tr("Recommended")});
    m_pTable->horizontalHeaderItem(CAverage)->setToolTip(tr("Average bitrate, kbit/s"));
    m_pTable->horizontalHeaderItem(CPeak)->setToolTip(tr("Largest one-second window, kbit/s"));
    m_pTable->horizontalHeaderItem(CP95)->setToolTip(tr("95th percentile of the one-second windows, kbit/s"));
    m_pTable->horizontalHeaderItem(CKey)->setToolTip(tr("Seconds between key frames"));
    m_pTable->horizontalHeaderItem(CConfigured)->setToolTip(tr("Configured bitrate, kbit/s"));
    m_pTable->horizontalHeaderItem(CRecommended)->setToolTip(tr("Recommended bitrate, kbit/s"));
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->verticalHeader()->hide();
    // Every column as wide as its texts, names in full; long names scroll rather than clip.
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    // The state column holds a progress bar while measuring: as wide as the longest state.
    int stateWidth = kMinStateWidth;
    for (const QString &text :
         {tr("No login for its device"), tr("Device login failed"), tr("No stream address"),
          CMeasuredRate::StateText(StreamState::CredentialsRefused), CMeasuredRate::StateText(StreamState::NoVideo)})
        stateWidth = std::max(stateWidth, m_pTable->fontMetrics().horizontalAdvance(text) + 24);
    m_pTable->horizontalHeader()->setSectionResizeMode(CState, QHeaderView::Fixed);
    m_pTable->setColumnWidth(CState, stateWidth);
    layout->addWidget(m_pTable, 1);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Duration (s):"), content));
    m_pSpinDuration = new QSpinBox(content);
    m_pSpinDuration->setObjectName(QStringLiteral("m_pSpinDuration"));
    m_pSpinDuration->setRange(kMinSeconds, kMaxSeconds);
    m_pSpinDuration->setValue(kDefaultSeconds);
    row->addWidget(m_pSpinDuration);
    m_pProgressAll = new QProgressBar(content);
    m_pProgressAll->setObjectName(QStringLiteral("m_pProgressAll"));
    m_pProgressAll->setRange(0, 1000);
    m_pProgressAll->setValue(0);
    m_pProgressAll->setTextVisible(false);
    row->addWidget(m_pProgressAll, 1);
    m_pLabelSummary = new QLabel(content);
    m_pLabelSummary->setObjectName(QStringLiteral("m_pLabelSummary"));
    row->addWidget(m_pLabelSummary);
    m_pBtnStart = new QPushButton(tr("Start"), content);
    m_pBtnStart->setObjectName(QStringLiteral("m_pBtnStart"));
    m_pBtnCancel = new QPushButton(tr("Cancel"), content);
    m_pBtnCancel->setObjectName(QStringLiteral("m_pBtnCancel"));
    m_pBtnCancel->setEnabled(false);
    row->addWidget(m_pBtnStart);
    row->addWidget(m_pBtnCancel);
    layout->addLayout(row);

    auto *use = new QHBoxLayout;
    use->addStretch(1);
    use->addWidget(new QLabel(tr("Take the measured average as:"), content));
    m_pComboUse = new QComboBox(content);
    m_pComboUse->setObjectName(QStringLiteral("m_pComboUse"));
    m_pComboUse->addItem(tr("Average share of the bitrate"), int(CMeasuredRate::UseAverageShare));
    m_pComboUse->addItem(tr("Bitrate"), int(CMeasuredRate::UseBitrate));
    use->addWidget(m_pComboUse);
    m_pBtnUse = new QPushButton(tr("Use Measured"), content);
    m_pBtnUse->setObjectName(QStringLiteral("m_pBtnUse"));
    m_pBtnUse->setEnabled(false);
    use->addWidget(m_pBtnUse);
    layout->addLayout(use);
    for (QPushButton *button : {m_pBtnStart, m_pBtnCancel, m_pBtnUse}) {
        button->setMinimumSize(90, 28);
        button->setAutoDefault(false);
    }
    SetContentWidget(content);

    connect(m_pBtnStart, &QPushButton::clicked, this, &CMeasureDialog::OnStart);
    connect(m_pBtnCancel, &QPushButton::clicked, this, &CMeasureDialog::OnCancel);
    connect(m_pBtnUse, &QPushButton::clicked, this, &CMeasureDialog::OnUse);
}

void CMeasureDialog::SetCameras(const QVector<STRU_CAMERA> &cameras, const DeviceLogins &logins)
{
    m_cameras = cameras.mid(0, CStreamMeasurer::kMaxStreams);
    m_logins = logins;
    m_results = QVector<STREAM_MEASUREMENT>(m_cameras.size());
    m_done = QVector<bool>(m_cameras.size(), false);
    m_pTable->setRowCount(int(m_cameras.size()));
    for (int i = 0; i < m_cameras.size(); ++i) {
        const STRU_CAMERA &camera = m_cameras.at(i);
        for (int column = 0; column <= CRecommended; ++column)
            m_pTable->setItem(i, column, new QTableWidgetItem);
        m_pTable->item(i, CName)->setText(QString::fromLocal8Bit(camera.strName));
        m_pTable->item(i, CConfigured)->setText(QString::number(camera.iBitrate));
        m_pTable->item(i, CRecommended)->setText(QString::number(camera.iRecommendedBitrate));
        SetState(i, tr("Waiting"), false);
    }
    m_pLabelSummary->setText(tr("Cameras: %1").arg(m_cameras.size()));
}

void CMeasureDialog::OnStart()
{
    if (IsRunning() || m_cameras.isEmpty())
        return;
    m_bCancel = false;
    QVector<STREAM_TARGET> targets;
    for (int i = 0; i < m_cameras.size(); ++i) {
        const STRU_CAMERA &camera = m_cameras.at(i);
        targets.append({camera.strDeviceIP, camera.iPort, camera.iChannel});
        m_results[i] = STREAM_MEASUREMENT();
        m_done[i] = false;
        for (int column = CCodec; column <= CTime; ++column)
            m_pTable->item(i, column)->setText(QString());
        SetState(i, tr("Connecting..."), false);
    }
    SetStage(Locating);
    m_pLocator = QThread::create([this, targets] { m_located = StreamLocator::Locate(targets, m_logins, &m_bCancel); });
    connect(m_pLocator, &QThread::finished, this, &CMeasureDialog::OnLocated);
    m_pLocator->start();
}

void CMeasureDialog::OnLocated()
{
    m_pLocator->wait();
    delete m_pLocator;
    m_pLocator = nullptr;
    QVector<STREAM_SOURCE> sources;
    m_rowOfStream.clear();
    for (int i = 0; i < m_located.size(); ++i) {
        const LOCATED_STREAM &located = m_located.at(i);
        QString failure;
        switch (located.state) {
        case LocateState::Found:
            sources.append(located.source);
            m_rowOfStream.append(i);
            continue;
        case LocateState::NoLogin:
            failure = tr("No login for its device");
            break;
        case LocateState::LoginFailed:
            failure = tr("Device login failed");
            break;
        case LocateState::CredentialsRefused:
            failure = CMeasuredRate::StateText(StreamState::CredentialsRefused);
            break;
        case LocateState::NoStream:
            failure = tr("No stream address");
            break;
        case LocateState::Cancelled:
            failure = CMeasuredRate::StateText(StreamState::Cancelled);
            break;
        }
        m_done[i] = true;
        SetState(i, failure, true);
    }
    if (sources.isEmpty() || m_bCancel) {
        for (int row : m_rowOfStream) {
            m_done[row] = true;
            SetState(row, CMeasuredRate::StateText(StreamState::Cancelled), true);
        }
        OnAllFinished();
        return;
    }
    for (int row : m_rowOfStream) {
        auto *bar = new QProgressBar(m_pTable);
        bar->setRange(0, 1000);
        bar->setValue(0);
        bar->setFormat(tr("Measuring %p%"));
        m_pTable->setCellWidget(row, CState, bar);
    }
    SetStage(Measuring);
    m_measurer.Start(sources, m_pSpinDuration->value());
}

void CMeasureDialog::OnStreamFinished(int stream)
{
    const int row = m_rowOfStream.at(stream);
    const STREAM_MEASUREMENT &result = m_measurer.Result(stream);
    m_results[row] = result;
    m_done[row] = true;
    m_pTable->removeCellWidget(row, CState);
    if (result.IsMeasured()) {
        SetState(row, tr("Measured"), false);
        SetFigures(row, result);
    } else {
        SetState(row, CMeasuredRate::StateText(result.state), true);
    }
    ShowProgress();
}

void CMeasureDialog::OnAllFinished()
{
    SetStage(Idle);
    int measured = 0;
    for (const STREAM_MEASUREMENT &result : m_results)
        measured += result.IsMeasured() ? 1 : 0;
    m_pProgressAll->setValue(m_pProgressAll->maximum());
    m_pLabelSummary->setText(tr("%1 of %2 measured").arg(measured).arg(m_cameras.size()));
    m_pBtnUse->setEnabled(measured > 0);
}

void CMeasureDialog::ShowProgress()
{
    if (m_cameras.isEmpty())
        return;
    double sum = 0;
    for (int i = 0; i < m_cameras.size(); ++i)
        sum += m_done.at(i) ? 1.0 : 0.0;
    if (m_eStage == Measuring) {
        for (int stream = 0; stream < m_rowOfStream.size(); ++stream) {
            const int row = m_rowOfStream.at(stream);
            if (m_done.at(row))
                continue;
            const double part = m_measurer.Progress(stream);
            sum += part;
            if (auto *bar = qobject_cast<QProgressBar *>(m_pTable->cellWidget(row, CState)))
                bar->setValue(int(part * 1000));
        }
    }
    m_pProgressAll->setValue(int(sum * 1000 / m_cameras.size()));
}

void CMeasureDialog::SetState(int row, const QString &text, bool failed)
{
    QTableWidgetItem *item = m_pTable->item(row, CState);
    item->setText(text);
    item->setForeground(failed ? QBrush(kFailedColor) : QBrush());
}

void CMeasureDialog::SetFigures(int row, const STREAM_MEASUREMENT &result)
{
    const auto set = [this, row](int column, const QString &text) { m_pTable->item(row, column)->setText(text); };
    set(CCodec, result.strCodec);
    set(CSize, result.iWidth > 0 ? QStringLiteral("%1*%2").arg(result.iWidth).arg(result.iHeight) : QString());
    set(CRate, QString::number(result.dFrameRate, 'f', 2));
    set(CAverage, Kbps(result.dAverageKbps));
    set(CPeak, Kbps(result.dPeakKbps));
    set(CP95, Kbps(result.dP95Kbps));
    set(CKey, result.dKeyFrameInterval > 0 ? QString::number(result.dKeyFrameInterval, 'f', 2) : QString());
    set(CTime, result.started.toString(QStringLiteral("HH:mm:ss")));
}

void CMeasureDialog::SetStage(Stage stage)
{
    m_eStage = stage;
    const bool idle = stage == Idle;
    m_pBtnStart->setEnabled(idle);
    m_pSpinDuration->setEnabled(idle);
    m_pBtnCancel->setEnabled(!idle);
    m_pComboUse->setEnabled(idle);
    m_pBtnUse->setEnabled(false);
    if (idle) {
        m_progressTimer.stop();
    } else {
        m_pProgressAll->setValue(0);
        m_pLabelSummary->setText(tr("Measuring..."));
        m_progressTimer.start();
    }
}

void CMeasureDialog::OnCancel()
{
    m_bCancel = true;
    m_measurer.Cancel();
}

void CMeasureDialog::Stop()
{
    OnCancel();
    if (m_pLocator) {
        m_pLocator->wait();
        delete m_pLocator;
        m_pLocator = nullptr;
    }
}

void CMeasureDialog::reject()
{
    // Nothing keeps measuring behind a closed window; the threads end within moments.
    Stop();
    CBaseDialog::reject();
}

void CMeasureDialog::OnUse()
{
    if (!IsRunning() && !MeasuredCameras().isEmpty())
        accept();
}

QVector<int> CMeasureDialog::MeasuredCameras() const
{
    QVector<int> cameras;
    for (int i = 0; i < m_results.size(); ++i)
        if (m_results.at(i).IsMeasured())
            cameras.append(i);
    return cameras;
}

QVector<STRU_MEASURED> CMeasureDialog::Measurements() const
{
    QVector<STRU_MEASURED> measured;
    for (const STREAM_MEASUREMENT &result : m_results)
        if (result.IsMeasured())
            measured.append(CMeasuredRate::FromStream(result));
    return measured;
}

int CMeasureDialog::UseChoice() const
{
    return m_pComboUse->currentData().toInt();
}
