#include "calc/importcamerathread.h"

#include "import/deviceimporter.h"
#include "import/devicesource.h"
#include "import/devicesurvey.h"

CImportCameraThread::CImportCameraThread(QObject *parent) : QThread(parent)
{
}

CImportCameraThread::~CImportCameraThread()
{
    // The run reads the source dialog's survey; it must not outlive this object.
    wait();
}

void CImportCameraThread::SetSource(CDeviceSource *dialog, int kind, int standard)
{
    if (kind != SourceOnline)
        m_pClientSource = dialog;
    else
        m_pVigilSource = dialog;
    m_iKind = kind;
    m_iStandard = standard;
    if (dialog)
        dialog->PrepareSurvey();
}

void CImportCameraThread::run()
{
    CDeviceSource *source = m_iKind != SourceOnline ? m_pClientSource : m_pVigilSource;
    if (source) {
        const CDeviceImporter importer(kDeviceParallelism, kDeviceBudgetMs, &m_bCancel);
        const QVector<STRU_DEVICE> surveyed =
            source->Survey().CheckSelectedDevices(kDeviceParallelism, kDeviceBudgetMs, &m_bCancel);
        if (!IsCancelled())
            m_vecCamera = importer.ImportDevices(surveyed, m_iStandard, m_calculator);
        for (const STRU_DEVICE &device : surveyed)
            if (!IsCancelled() && device.iImportStatus != STRU_DEVICE::kImportLoginFailed)
                m_vecLoggedIn.append(device);
    }
    emit StopChase();
}
