#include "import/deviceimporter.h"

#include "calc/bitratecalculator.h"
#include "import/devicecodes.h"
#include "import/devicesurvey.h"
#include "platform/dvrbackend.h"

#include <vector>

CDeviceImporter::CDeviceImporter(int maxParallel, int budgetMs, const std::atomic<bool> *cancel)
    : m_iMaxParallel(maxParallel < 1 ? 1 : maxParallel), m_iBudgetMs(budgetMs), m_pCancel(cancel)
{
}

QVector<STRU_CAMERA> CDeviceImporter::ImportDevice(STRU_DEVICE device, int standard, CBitrateCalculator &calculator)
{
    QVector<STRU_CAMERA> cameras;
    if (!device.Login()) {
        device.Logout();
        return cameras;
    }
    const int kind = device.GetDeviceKind();
    const int analogType = kind == STRU_DEVICE::KindIPCamera ? NordaVocab::TypeIPC : NordaVocab::TypeDVR;
    const QString address = QString::fromLocal8Bit(device.strIP);
    NET_DVR_COMPRESS_BLOCK block;
    STRU_CAMERA camera;

    for (int c = device.iStartChannel; c < device.iStartChannel + device.iChannelCount; ++c) {
        if (!device.GetCompressInfo(c - 1, &block))
            break;
        const QString name = address + QLatin1Char('_') + QString::number(c);
        if (DeviceCodes::BuildCamera(block, name, device, c, analogType, standard, calculator, &camera))
            cameras << camera;
    }
    for (int k = device.iStartIPChannel; k < device.iStartIPChannel + device.iIPChannelCount; ++k) {
        if (!device.GetCompressInfo(k - 1, &block))
            break;
        const QString name = address + tr("_IPCamera") + QString::number(k - device.iStartIPChannel + 1);
        if (DeviceCodes::BuildCamera(block, name, device, k, NordaVocab::TypeIPC, standard, calculator, &camera))
            cameras << camera;
    }
    device.Logout();
    return cameras;
}

QVector<STRU_CAMERA> CDeviceImporter::ImportDevices(const QVector<STRU_DEVICE> &devices, int standard,
                                                    CBitrateCalculator &calculator) const
{
    calculator.SetStandard(standard);
    std::vector<int> selected;
    for (int i = 0; i < devices.size(); ++i)
        if (devices.at(i).iImportStatus != STRU_DEVICE::kImportLoginFailed)
            selected.push_back(i);

    // Each device fills its own slot with its own calculator; the slots are joined in list order.
    std::vector<QVector<STRU_CAMERA>> perDevice(selected.size());
    RunParallel(static_cast<int>(selected.size()), m_iMaxParallel, [&](int j) {
        if (Cancelled())
            return;
        CBitrateCalculator own = calculator;
        const CDvrCallLimit limit(m_iBudgetMs, m_pCancel);
        perDevice[static_cast<size_t>(j)] = ImportDevice(devices.at(selected[static_cast<size_t>(j)]), standard, own);
    });

    QVector<STRU_CAMERA> cameras;
    if (Cancelled())
        return cameras; // a cancelled run brings nothing, not a part of the selection
    for (const QVector<STRU_CAMERA> &list : perDevice)
        cameras += list;
    return cameras;
}

QVector<STRU_CAMERA> CDeviceImporter::ImportDevices(CDeviceSurvey &source, int standard,
                                                    CBitrateCalculator &calculator) const
{
    const QVector<STRU_DEVICE> surveyed = source.CheckSelectedDevices(m_iMaxParallel, m_iBudgetMs, m_pCancel);
    if (Cancelled())
        return {};
    return ImportDevices(surveyed, standard, calculator);
}
