// The Storage page's recorders: the recorder box on the page's lower tab, fed from the groups on
// every recomputation, and the recorder each group records on. The assignment rules live in
// RecorderPlan; the arrays' arithmetic in arrays/.
#include "arrays/recorderbox.h"
#include "storage/recorderplan.h"
#include "storage/storagepage.h"

#include <QComboBox>
#include <QSignalBlocker>

using namespace NordaStorage;

QWidget *CStoragePage::BuildRecorderTab()
{
    m_pRecorderBox = new CRecorderBox(this);
    m_pRecorderBox->setContentsMargins(6, 6, 6, 4);
    connect(m_pRecorderBox, &CRecorderBox::SignalRecordersChanged, this, &CStoragePage::OnRecordersChanged);
    connect(m_pRecorderBox, &CRecorderBox::SignalRecorderRenamed, this, &CStoragePage::OnRecorderRenamed);
    connect(m_pComboRecorder, &QComboBox::activated, this, &CStoragePage::OnRecorderChosen);
    return m_pRecorderBox;
}

void CStoragePage::FeedRecorders()
{
    QVector<STRU_RECORDER_GROUP> groups;
    const QVector<STRU_GROUP_RESULT> &results = m_calculator.Groups();
    groups.reserve(results.size());
    for (int g = 0; g < m_settings.vecGroups.size() && g < results.size(); ++g) {
        groups << STRU_RECORDER_GROUP{GroupTitle(m_settings.vecGroups.at(g).strName), RecorderOfGroup(m_settings, g),
                                      DemandOf(results.at(g))};
    }
    m_pRecorderBox->SetGroups(groups, m_settings.iOverheadPercent);
}

void CStoragePage::FillRecorderChoices()
{
    const QSignalBlocker blocker(m_pComboRecorder);
    m_pComboRecorder->clear();
    for (const NordaArrays::STRU_RECORDER &recorder : std::as_const(m_settings.vecRecorders))
        m_pComboRecorder->addItem(NordaArrays::RecorderTitle(recorder.strName), recorder.strName);
    m_pComboRecorder->setCurrentIndex(std::max(RecorderOfGroup(m_settings, m_iGroup), 0));
    m_pComboRecorder->setEnabled(m_settings.vecRecorders.size() > 1);
}

void CStoragePage::OnRecordersChanged()
{
    ReplaceRecorders(m_settings, m_pRecorderBox->Recorders());
    FillRecorderChoices();
    FeedRecorders();
    PushSettings();
}

void CStoragePage::OnRecorderRenamed(const QString &oldName, const QString &newName)
{
    RenameRecorder(m_settings, oldName, newName);
    FillRecorderChoices();
    FeedRecorders();
    PushSettings();
}

void CStoragePage::OnRecorderChosen(int index)
{
    if (m_iGroup < 0 || m_iGroup >= m_settings.vecGroups.size() || index < 0)
        return;
    m_settings.vecGroups[m_iGroup].strRecorder = m_pComboRecorder->itemData(index).toString();
    FeedRecorders();
    m_pRecorderBox->SelectRecorder(index); // the recorder the group went to, with its verdict
    PushSettings();
}
