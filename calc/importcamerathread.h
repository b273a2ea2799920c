// The worker that turns the devices selected in an import dialog into cameras: the dialog's
// channel survey, then the import run, on a thread of its own while the panel shows
// "Writing...". The panel creates one per import, reads GetCameras() after the run has ended
// and merges them into its list.
#pragma once

#include "calc/bitratecalculator.h"
#include "calc/camera.h"
#include "import/device.h"

#include <QThread>
#include <QVector>

#include <atomic>

class CDeviceSource;

class CImportCameraThread : public QThread
{
    Q_OBJECT

public:
    enum SourceKind { SourceOnline = 0, SourceClient = 1 };

    explicit CImportCameraThread(QObject *parent = nullptr);
    ~CImportCameraThread() override;

    // GUI thread, before start(): the dialog to import from (kind 0 the online device dialog,
    // any other the client database dialog), whose selection is taken now, and the standard.
    void SetSource(CDeviceSource *dialog, int kind, int standard);
    // The run's cameras, in the order found; complete once the run has ended. Empty after a
    // cancelled run.
    QVector<STRU_CAMERA> GetCameras() const { return m_vecCamera; }
    // The devices the run logged in to, with the credentials that worked (for measuring their
    // streams later); complete once the run has ended.
    QVector<STRU_DEVICE> GetLoggedInDevices() const { return m_vecLoggedIn; }
    // Any thread: ends the run within a moment; devices in flight are abandoned.
    void Cancel() { m_bCancel.store(true, std::memory_order_release); }
    bool IsCancelled() const { return m_bCancel.load(std::memory_order_acquire); }

signals:
    // The last thing a run does.
    void StopChase();

protected:
    void run() override;

private:
    CBitrateCalculator m_calculator;
    CDeviceSource *m_pClientSource = nullptr;
    CDeviceSource *m_pVigilSource = nullptr;
    QVector<STRU_CAMERA> m_vecCamera;
    QVector<STRU_DEVICE> m_vecLoggedIn;
    int m_iStandard = 0;
    int m_iKind = SourceOnline;
    std::atomic<bool> m_bCancel{false};
};
