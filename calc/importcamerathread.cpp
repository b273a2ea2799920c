#include "calc/importcamerathread.h"

#include "import/deviceimporter.h"
#include "import/devicesource.h"

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
    if (source)
        m_vecCamera = CDeviceImporter(kDeviceParallelism, kDeviceBudgetMs, &m_bCancel)
                          .ImportDevices(source->Survey(), m_iStandard, m_calculator);
    emit StopChase();
}
