// The import run: surveyed devices become camera rows.
//
// Every device that the survey could log in to is logged in again, and each readable channel
// with a supported resolution becomes one STRU_CAMERA: analogue channels first, then IP
// channels, each in channel number order, device after device in list order. Several devices
// are read at the same time; the rows still come out in exactly that order.
#pragma once

#include "calc/camera.h"
#include "import/device.h"
#include "import/parallelrun.h"

#include <QCoreApplication>
#include <QVector>

#include <atomic>

class CBitrateCalculator;
class CDeviceSurvey;

class CDeviceImporter
{
    Q_DECLARE_TR_FUNCTIONS(CDeviceImporter)
public:
    // Each device's login and import together get budgetMs, and so does its survey. Once *cancel
    // is set the run ends within a moment: devices in flight give up, their cameras are dropped.
    explicit CDeviceImporter(int maxParallel = kDeviceParallelism, int budgetMs = kDeviceBudgetMs,
                             const std::atomic<bool> *cancel = nullptr);

    // The whole run of the import thread: the source's survey, then the import of its devices.
    // standard: 0 = PAL, 1 = NTSC; the calculator is switched to it.
    QVector<STRU_CAMERA> ImportDevices(CDeviceSurvey &source, int standard, CBitrateCalculator &calculator) const;
    // The import of surveyed devices; devices whose login failed in the survey are skipped.
    QVector<STRU_CAMERA> ImportDevices(const QVector<STRU_DEVICE> &devices, int standard,
                                       CBitrateCalculator &calculator) const;

    // The cameras of one device.
    static QVector<STRU_CAMERA> ImportDevice(STRU_DEVICE device, int standard, CBitrateCalculator &calculator);

    bool Cancelled() const { return m_pCancel && m_pCancel->load(std::memory_order_acquire); }

private:
    int m_iMaxParallel;
    int m_iBudgetMs;
    const std::atomic<bool> *m_pCancel;
};
