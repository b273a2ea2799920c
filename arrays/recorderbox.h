// The recorders of a plan on the "Storage" page: every recorder's array and its live results in
// one table, with the days each of its groups keeps in its child rows; the selected recorder's
// array to edit, and Fit as a sentence the user applies with one click. The page owns the groups and says which
// recorder each group records on; this box owns the recorders and tells the page when they change.
#pragma once

#include "arrays/recorder.h"

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// One recording group as the box computes it.
struct STRU_RECORDER_GROUP
{
    QString strTitle;  // as the page shows it
    int iRecorder = 0; // index into the recorders
    NordaArrays::STRU_GROUP_DEMAND demand;
};

class CRecorderBox : public QWidget
{
    Q_OBJECT

public:
    explicit CRecorderBox(QWidget *parent = nullptr);

    // A new plan: its recorders (at least one is kept) and groups.
    void SetRecorders(const QVector<NordaArrays::STRU_RECORDER> &recorders);
    const QVector<NordaArrays::STRU_RECORDER> &Recorders() const { return m_recorders; }
    // The groups changed (a keystroke on the page): the results follow at once.
    void SetGroups(const QVector<STRU_RECORDER_GROUP> &groups, double marginPercent);
    const QVector<NordaArrays::STRU_ARRAY_RESULT> &Results() const { return m_results; }
    int CurrentRecorder() const { return m_iRecorder; }
    void SelectRecorder(int recorder);

signals:
    // The user changed a recorder's array, added, removed or renamed one.
    void SignalRecordersChanged();
    void SignalRecorderRenamed(const QString &oldName, const QString &newName);

private:
    void BuildForm();
    void FillRecorderRows();
    void Recompute();
    void UpdateResults();
    // A recorder's groups as its child rows; the titles of those that miss their days.
    QStringList UpdateGroupRows(QTreeWidgetItem *item, int recorder);
    void ShowRecorder();
    void OnArrayEdited();
    void OnNameEdited();
    void OnAddRecorder();
    void OnRemoveRecorder();
    void OnApplyFit();

    QVector<NordaArrays::STRU_RECORDER> m_recorders;
    QVector<STRU_RECORDER_GROUP> m_groups;
    double m_dMarginPercent = 0;
    QVector<NordaArrays::STRU_ARRAY_RESULT> m_results;
    NordaArrays::STRU_FIT m_fit;
    int m_iRecorder = 0;
    bool m_bFilling = false;

    QTreeWidget *m_pRecorderTable = nullptr;
    QPushButton *m_pBtnAdd = nullptr;
    QPushButton *m_pBtnRemove = nullptr;
    QLineEdit *m_pEditName = nullptr;
    QSpinBox *m_pSpinBays = nullptr;
    QSpinBox *m_pSpinDisks = nullptr;
    QDoubleSpinBox *m_pSpinDiskTB = nullptr;
    QComboBox *m_pComboRaid = nullptr;
    QSpinBox *m_pSpinGroupSize = nullptr;
    QSpinBox *m_pSpinSpares = nullptr;
    QSpinBox *m_pSpinReserve = nullptr;
    QSpinBox *m_pSpinFillLimit = nullptr;
    QSpinBox *m_pSpinWorkload = nullptr;
    QSpinBox *m_pSpinRebuild = nullptr;
    QLabel *m_pLabelResult = nullptr;
    QFrame *m_pCaptionLine = nullptr;
    QLabel *m_pLabelFit = nullptr;
    QPushButton *m_pBtnApplyFit = nullptr;
};
