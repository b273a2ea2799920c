// "Measure bitrate": the dialog that measures the selected imported cameras' live streams at once
// and shows, per camera, what the stream really carries beside the configured and recommended
// bitrates. It only drives the measuring (StreamLocator, then CStreamMeasurer, both off the GUI
// thread) and collects the results; "Use measured" hands them to the caller, which changes the
// plan. Closing the dialog cancels what runs.
#pragma once

#include "calc/camera.h"
#include "measure/streamlocator.h"
#include "measure/streammeasurer.h"
#include "toolkit/basedialog.h"

#include <QTimer>
#include <QVector>

#include <atomic>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QThread;

class CMeasureDialog : public CBaseDialog
{
    Q_OBJECT

public:
    static constexpr int kMinSeconds = 5;
    static constexpr int kMaxSeconds = 600;
    static constexpr int kDefaultSeconds = 60;
    enum Column { CName, CState, CCodec, CSize, CRate, CAverage, CPeak, CP95, CKey, CTime, CConfigured, CRecommended };

    explicit CMeasureDialog(QWidget *parent = nullptr);
    ~CMeasureDialog() override;

    // The cameras to measure (imported ones: with a device address and a channel) and the logins
    // of their devices.
    void SetCameras(const QVector<STRU_CAMERA> &cameras, const DeviceLogins &logins);

    bool IsRunning() const { return m_eStage != Idle; }
    // After "Use measured": the cameras measured (indexes into SetCameras), their measurements
    // and what to set from them (CMeasuredRate::Use).
    QVector<int> MeasuredCameras() const;
    QVector<STRU_MEASURED> Measurements() const;
    int UseChoice() const;

public slots:
    void OnStart();
    void OnCancel();
    void OnUse();
    void reject() override;

private:
    enum Stage { Idle, Locating, Measuring };
    void BuildForm();
    void OnLocated();
    void OnStreamFinished(int stream);
    void OnAllFinished();
    void ShowProgress();
    void SetState(int row, const QString &text, bool failed);
    void SetFigures(int row, const STREAM_MEASUREMENT &result);
    void SetStage(Stage stage);
    void Stop();

    QVector<STRU_CAMERA> m_cameras;
    DeviceLogins m_logins;
    QVector<LOCATED_STREAM> m_located;
    QVector<int> m_rowOfStream; // measured stream -> row
    QVector<STREAM_MEASUREMENT> m_results;
    QVector<bool> m_done;
    Stage m_eStage = Idle;
    std::atomic<bool> m_bCancel{false};
    QThread *m_pLocator = nullptr;
    CStreamMeasurer m_measurer;
    QTimer m_progressTimer;

    QTableWidget *m_pTable = nullptr;
    QSpinBox *m_pSpinDuration = nullptr;
    QProgressBar *m_pProgressAll = nullptr;
    QLabel *m_pLabelSummary = nullptr;
    QPushButton *m_pBtnStart = nullptr;
    QPushButton *m_pBtnCancel = nullptr;
    QComboBox *m_pComboUse = nullptr;
    QPushButton *m_pBtnUse = nullptr;
};
