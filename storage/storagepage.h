// The "Storage" page: the plan's cameras in recording groups, each with its profile and days to
// keep, and live per group and in total: Mbit/s, GB per day, TB and TiB for the retention with the
// overhead on top; below, the recorders the groups record on and what their disk arrays keep. The calculation page
// keeps the cameras and the plan; this page reads them, computes with NordaStorage, and hands its changes back (groups,
// codecs, average shares).
#pragma once

#include "storage/storagemodel.h"

#include <QWidget>

class CCalculateWidget;
class CHourChart;
class CRecorderBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

class CStoragePage : public QWidget
{
    Q_OBJECT

public:
    explicit CStoragePage(CCalculateWidget *panel, QWidget *parent = nullptr);

    const NordaStorage::STRU_STORAGE_SETTINGS &Settings() const { return m_settings; }
    const NordaStorage::CStorageCalculator &Calculator() const { return m_calculator; }
    int CurrentGroup() const { return m_iGroup; }
    void SelectGroup(int group);
    // Moves the cameras at these positions of the plan into the named group (made when new).
    void MoveCameras(const QVector<int> &positions, const QString &group);
    // Adds a group with the next free name "Group <n>" and selects it; its index.
    int AddGroup();
    // A group's name as the page shows it.
    static QString GroupTitle(const QString &name);

public slots:
    // The plan on the calculation page changed: read it again (at once when shown, else on show).
    void OnPlanChanged();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildForm();
    QGroupBox *BuildProfileBox();
    QGroupBox *BuildModelBox();
    QWidget *BuildRecorderTab();
    void Reload();
    void Recompute();
    void FillGroupRows();
    void UpdateResults();
    void ShowGroup();
    void FillCameraRows();
    void PushSettings();
    void OnProfileEdited();
    void OnHourChanged(int hour, NordaStorage::HourMode mode);
    void OnNameEdited();
    void OnRemoveGroup();
    void OnModelEdited();
    void OnCameraMenu(const QPoint &position);
    void OnCameraItemChanged(QTreeWidgetItem *item, int column);
    void SetCameraField(const QVector<int> &positions, const std::function<void(STRU_CAMERA &)> &change);
    QVector<int> SelectedCameras() const;
    // The recorders (storagepagerecorders.cpp): the box fed from the groups, the group's choice.
    void FeedRecorders();
    void FillRecorderChoices();
    void OnRecordersChanged();
    void OnRecorderRenamed(const QString &oldName, const QString &newName);
    void OnRecorderChosen(int index);
    // The group as its chart shows it: a group following the page records its hours from midnight.
    NordaStorage::STRU_RECORDING_GROUP ShownGroup(int group) const;

    CCalculateWidget *m_pPanel;
    NordaStorage::STRU_STORAGE_SETTINGS m_settings;
    NordaStorage::CStorageCalculator m_calculator;
    NordaStorage::STRU_PAGE_TIME m_time;
    QVector<STRU_CAMERA> m_cameras;
    int m_iStandard = 0;
    int m_iGroup = 0;
    bool m_bStale = true;    // the plan changed while the page was hidden
    bool m_bPushing = false; // this page is handing a change to the calculation page
    bool m_bFilling = false; // the page writes its own fields

    QTreeWidget *m_pGroupTable = nullptr;
    QTreeWidget *m_pCameraTable = nullptr;
    QPushButton *m_pBtnAddGroup = nullptr;
    QPushButton *m_pBtnRemoveGroup = nullptr;
    QLineEdit *m_pEditName = nullptr;
    QCheckBox *m_pCheckFollow = nullptr;
    CHourChart *m_pChart = nullptr;
    QSpinBox *m_pSpinActivity = nullptr;
    QSpinBox *m_pSpinNightStart = nullptr;
    QSpinBox *m_pSpinNightEnd = nullptr;
    QSpinBox *m_pSpinNightFactor = nullptr;
    QSpinBox *m_pSpinDays = nullptr;
    QSpinBox *m_pSpinCodec[NordaStorage::kCodecCount] = {};
    QSpinBox *m_pSpinOverhead = nullptr;
    QTabWidget *m_pTabLower = nullptr;
    QComboBox *m_pComboRecorder = nullptr;
    CRecorderBox *m_pRecorderBox = nullptr;
    QLabel *m_pLabelProfile = nullptr;
};
