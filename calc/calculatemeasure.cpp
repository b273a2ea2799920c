// The calculation panel's part of measuring: the context menu's "Measure bitrate..." and the
// step that takes the measurements into the plan.
#include "ui_calculatewidget.h"

#include "calc/calculatewidget.h"
#include "measure/measuredialog.h"
#include "measure/measuredrate.h"
#include "toolkit/warndlg.h"

#include <QAction>
#include <QDebug>
#include <QStandardItemModel>

#include <algorithm>
#include <new>

void CCalculateWidget::SetupMeasure()
{
    m_pMeasureAction = new QAction(tr("Measure bitrate..."), this);
    m_pMeasureAction->setObjectName(QStringLiteral("pActionMeasure"));
    m_pMeasureAction->setEnabled(false);
    connect(m_pMeasureAction, &QAction::triggered, this, [this] { MeasureCameras(SelectedCameras()); });
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    ui->m_pTableCamera->addActions({separator, m_pMeasureAction});
}

bool CCalculateWidget::IsMeasurable(const STRU_CAMERA &camera)
{
    return !camera.strDeviceIP.isEmpty() && camera.iPort >= 0 && camera.iChannel >= 0;
}

void CCalculateWidget::RememberLogin(const STRU_DEVICE &device)
{
    m_logins.insert(LoginKey(device.strIP, device.iPort), {device.strUserName, device.strPassword});
}

QVector<int> CCalculateWidget::SelectedCameras() const
{
    QVector<int> positions;
    for (const QModelIndex &index : ui->m_pTableCamera->selectionModel()->selectedRows())
        positions << CameraOfRow(index.row());
    positions.removeAll(-1);
    std::sort(positions.begin(), positions.end());
    return positions;
}

void CCalculateWidget::MeasureCameras(const QVector<int> &positions)
{
    QVector<int> measurable;
    QVector<STRU_CAMERA> cameras;
    for (const int position : positions) {
        if (position < 0 || position >= m_cameraList.Count() || !IsMeasurable(m_cameraList.At(position)))
            continue;
        measurable << position;
        cameras << m_cameraList.At(position);
    }
    if (measurable.isEmpty())
        return;
    CMeasureDialog *dialog = new (std::nothrow) CMeasureDialog(this);
    if (!dialog) {
        qDebug() << "No enough memory";
        return;
    }
    dialog->SetCameras(cameras, m_logins);
    if (dialog->exec() == QDialog::Accepted) {
        QVector<int> measured;
        for (const int index : dialog->MeasuredCameras())
            measured << measurable.at(index);
        m_pUndoStack->push(new CUseMeasuredCommand(this, measured, dialog->Measurements(), dialog->UseChoice()));
    }
    delete dialog;
    OfferNightFactors();
}

void CCalculateWidget::OfferNightFactors()
{
    NordaStorage::STRU_STORAGE_SETTINGS settings = m_storage;
    NordaStorage::EnsureGroups(settings, m_cameraList.Cameras());
    bool taken = false;
    for (const auto &[group, percent] : CMeasuredRate::NightFactors(settings, m_cameraList.Cameras())) {
        NordaStorage::STRU_RECORDING_GROUP &recording = settings.vecGroups[group];
        const QString text = tr("The day and night measurements of the group \"%1\" tell a night factor of %2 % "
                                "(now %3 %). Take it?")
                                 .arg(recording.strName)
                                 .arg(percent)
                                 .arg(recording.iNightFactorPercent);
        if (ShowConfirmBox(tr("Confirm"), text, this) == 1) {
            recording.iNightFactorPercent = percent;
            taken = true;
        }
    }
    if (taken)
        SetStorageSettings(settings);
}
