// The calculation panel: the page of the main window on which the user plans. It owns the camera
// list and its seven-column table (row i always shows camera i), the ways to change the list
// (add by hand, import, modify, delete, sort by a column header), the video standard, and the
// two calculation tabs. Every change of the list is a command on the panel's undo stack
// (cameralistcommands.h); the panel only pushes them and keeps the table in step when they
// report. The arithmetic lives in CBitrateCalculator and StoragePlan; the panel moves texts
// between its fields and those, and shows their refusals as messages.
#pragma once

#include "calc/bitratecalculator.h"
#include "calc/camera.h"
#include "calc/cameralist.h"
#include "calc/cameralistcommands.h"
#include "calc/camerarows.h"
#include "calc/planfile.h"
#include "import/device.h"
#include "measure/streamlocator.h"

#include <QDialog>
#include <QItemSelection>
#include <QVector>

class QAction;
class QKeyEvent;
class QLineEdit;
class QStandardItemModel;
class QStandardItem;
class QUndoStack;
class CAddDeviceWidget;
class CDeviceSource;
class CImportClientWidget;
class CVigilWidget;

namespace Ui {
class CCalculateWidgetClass;
}

class CCalculateWidget : public QDialog, private CCameraListHost
{
    Q_OBJECT

public:
    explicit CCalculateWidget(QWidget *parent = nullptr);
    ~CCalculateWidget() override;

    // Read-only views for the dialogs and tests; the list changes through the slots only.
    const QVector<STRU_CAMERA> &Cameras() const { return m_cameraList.Cameras(); }
    int CameraCount() const { return m_cameraList.Count(); }
    // 1 while "NTSC" is chosen, else 0.
    int Standard() const;

    static constexpr int kMaxCameras = CCameraList::kMaxCameras;

    // Rewrites every row from the camera list.
    void RefreshRows();
    // Cameras of an import: a camera with the same name is updated, others are appended up to
    // 1023 cameras; the rows follow, with the limit message when the list is full.
    void MergeImportedCameras(const QVector<STRU_CAMERA> &cameras);

    // The plan on the page: cameras, standard and the input fields of both tabs.
    STRU_PLAN Plan() const;
    // Replaces the page's plan as a whole, as one undoable step: no message, no linked-field
    // rewrite, and the cameras' frame rates stay as the plan has them. Result fields are cleared.
    void SetPlan(const STRU_PLAN &plan);

    // The changes of the camera list; its clean state is the plan as last saved or opened.
    QUndoStack *UndoStack() const { return m_pUndoStack; }
    // "Undo" (Ctrl+Z) and "Redo" (Ctrl+Shift+Z, Ctrl+Y), for the window's menus too.
    QAction *UndoAction() const { return m_pUndoAction; }
    QAction *RedoAction() const { return m_pRedoAction; }

    // The Storage page's part of the plan: its groups, codec factors and overhead.
    const NordaStorage::STRU_STORAGE_SETTINGS &StorageSettings() const { return m_storage; }
    void SetStorageSettings(const NordaStorage::STRU_STORAGE_SETTINGS &settings);
    // Replaces the cameras at 'positions' by 'cameras' (same order), as one undoable step; the
    // Storage page changes groups, codecs and average shares this way.
    void ReplaceCameras(const QVector<int> &positions, const QVector<STRU_CAMERA> &cameras);

    // "Measure bitrate...": measures the imported cameras among those at 'positions' and takes
    // what the user chooses into the plan, as one undoable step. Cameras are measurable when they
    // came from a device; their streams are reached with the login their device was imported with.
    void MeasureCameras(const QVector<int> &positions);
    static bool IsMeasurable(const STRU_CAMERA &camera);
    // Keeps the login that worked for a device, for the run of the program (never in a plan).
    void RememberLogin(const STRU_DEVICE &device);
    // The positions of the selected rows, ascending.
    QVector<int> SelectedCameras() const;

signals:
    // The plan on the page changed: cameras, standard or an input field.
    void SignalPlanChanged();
    // An input field of either tab changed (changes of the list come from the undo stack).
    void SignalInputChanged();

public slots:
    void OnBtnVigil();
    void OnBtnClient();
    void OnBtnAdd();
    void OnBtnModify();
    void OnBtnDel();
    void OnBtnCalTime();
    void OnBtnCalDisk();
    void OnVigilImport();
    void OnClientImport();
    // Adds count cameras made from the template, named "<prefix> <number>".
    void OnAddDeviceImport(const STRU_CAMERA &camera, const QString &prefix, int count);
    void OnDoubleClicked(const QModelIndex &index);
    void OnSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void OnEditMonthChanged(const QString &text);
    void OnEditWeekChanged(const QString &text);
    void OnEditDayChanged(const QString &text);
    void OnEditTBChanged(const QString &text);
    void OnEditGBChanged(const QString &text);
    void OnEditRecordTimeChanged(const QString &text);
    void OnEditRecordTimeChanged2(const QString &text);
    void OnPALChecked(bool checked);
    void OnNTSCChecked(bool checked);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SetupTable();
    void SetupFields();
    void ConnectSignals();
    void ConnectPlanChanges();

    void SetupUndo();
    void SetupMeasure();
    // After measurements were taken: offers each group the night factor its cameras' day and
    // night measurements tell.
    void OfferNightFactors();

    // CCameraListHost: the commands change the list and report here.
    CCameraList &CameraList() override { return m_cameraList; }
    void CamerasInserted(int first, int count) override;
    void CamerasRemoved(int first, int count) override;
    void CamerasChanged(int first, int count) override;
    void SortShown(int column, bool ascending) override;
    void StandardShown(int standard) override;
    STRU_PLAN PagePlan() const override { return Plan(); }
    void ShowPlan(const STRU_PLAN &plan) override;

    void ShowLimitMessage();
    void SwitchStandardTo(int standard);
    void OnSortRequested(int column, Qt::SortOrder order);
    // Results no longer match the inputs of their tab (0 "Calculate Time", 1 "Calculate Disk")
    // until it is calculated again: drawn muted.
    void SetResultsMuted(int tab, bool muted);
    // A validated field refused a keystroke: say why beside it.
    void OnInputRejected(QLineEdit *edit);
    // Position of the camera that table row 'row' shows, found by its name; -1 when none.
    int CameraOfRow(int row) const;
    void CheckRecordDays();
    // The range warning of an hours-per-day field, given once while the value stays outside.
    void WarnHoursPerDay(const QString &text, bool &warned);
    // Why a calculation refused the hours per day.
    QString HoursRefusal(const QString &text) const;
    // Runs the import thread over the dialog's selected devices behind "Writing..." and merges
    // the cameras it found.
    void RunImport(CDeviceSource *source, int kind);
    void ShowWarn(const QString &text);

    Ui::CCalculateWidgetClass *ui;
    CAddDeviceWidget *m_pAddDeviceWidget = nullptr;
    CImportClientWidget *m_pImportClientWidget = nullptr;
    CVigilWidget *m_pVigilWidget = nullptr;
    CBitrateCalculator m_calculator;
    CCameraList m_cameraList;       // the plan's cameras; the table mirrors it
    CCameraRows *m_pRows = nullptr; // the table; owned here
    QStandardItemModel *m_pModel = nullptr;
    QUndoStack *m_pUndoStack = nullptr;
    QAction *m_pUndoAction = nullptr;
    QAction *m_pRedoAction = nullptr;
    QAction *m_pDeleteAction = nullptr;
    QAction *m_pMeasureAction = nullptr;
    DeviceLogins m_logins;
    int m_iStandard = NordaVocab::PAL; // the standard the list follows
    bool m_bResultsMuted[2] = {false, false};
    bool m_bShowing = false; // a command shows its change: the radio buttons and header stay quiet
    // Set while a linked-field slot writes the other fields of its group, so that its own
    // writes do not run the linked slots again.
    bool m_bWritingDisk = false;
    bool m_bWritingTime = false;
    bool m_bHoursWarned = false;                   // "Calculate Time" hours field is out of range and was warned
    bool m_bHoursWarned2 = false;                  // the same for "Calculate Disk"
    bool m_bSettingPlan = false;                   // SetPlan() runs: its changes are not the user's
    NordaStorage::STRU_STORAGE_SETTINGS m_storage; // kept for the Storage page and the plan file
};
