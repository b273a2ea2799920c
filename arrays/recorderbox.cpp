#include "arrays/recorderbox.h"

#include "toolkit/formparts.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

using namespace NordaArrays;
using NordaForm::SetNumber;
using NordaForm::Spin;

namespace {

enum RecorderColumn { RName, RArray, RUsableTB, RUsableTiB, RNeeded, RWrite, RIngress, RRebuild, RVerdict, RColumns };
const QColor kWarning(0xD2, 0x4A, 0x43); // the skin's warning red

QString Number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

void SetWarning(QTreeWidgetItem *item, int column, bool warning)
{
    item->setForeground(column, warning ? QBrush(kWarning) : QBrush());
    QFont font = item->font(column);
    font.setBold(warning);
    item->setFont(column, font);
}

QTreeWidget *Table(const QStringList &headers, int firstNumber, int lastNumber, QWidget *parent, const char *name)
{
    auto table = new QTreeWidget(parent);
    table->setObjectName(QLatin1String(name));
    table->setRootIsDecorated(false);
    table->setColumnCount(headers.size());
    table->setHeaderLabels(headers);
    for (int column = firstNumber; column <= lastNumber; ++column)
        table->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->header()->setStretchLastSection(true);
    return table;
}

// "Recorder <n>" with the first number no recorder carries, as the user reads it.
QString NextRecorderName(const QVector<STRU_RECORDER> &recorders)
{
    int number = recorders.size() + 1;
    QString name;
    do
        name = CRecorderBox::tr("Recorder %1").arg(number++);
    while (IndexOfRecorder(recorders, name) >= 0 || name == RecorderTitle(FirstRecorderName()));
    return name;
}

} // namespace

CRecorderBox::CRecorderBox(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CRecorderBox"));
    BuildForm();
    SetRecorders({});
}

void CRecorderBox::BuildForm()
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    auto captionRow = new QHBoxLayout;
    captionRow->addWidget(NordaForm::Caption(tr("Recorders"), this));
    // Beside the caption: why the selected array is refused, or why its groups fall short.
    m_pLabelResult = new QLabel(this);
    m_pLabelResult->setObjectName(QStringLiteral("m_pLabelArrayResult"));
    m_pLabelResult->setWordWrap(true);
    captionRow->addWidget(m_pLabelResult, 1);
    m_pCaptionLine = NordaForm::Line(this);
    captionRow->addWidget(m_pCaptionLine, 1);
    m_pBtnAdd = new QPushButton(QIcon(QStringLiteral(":/images/DiskCalculate/add.png")), tr("Add Recorder"), this);
    m_pBtnAdd->setObjectName(QStringLiteral("m_pBtnAddRecorder"));
    m_pBtnRemove =
        new QPushButton(QIcon(QStringLiteral(":/images/DiskCalculate/delete.png")), tr("Remove Recorder"), this);
    m_pBtnRemove->setObjectName(QStringLiteral("m_pBtnRemoveRecorder"));
    captionRow->addWidget(m_pBtnAdd);
    captionRow->addWidget(m_pBtnRemove);
    layout->addLayout(captionRow);

    // Each recorder's groups are its child rows, with the days they keep.
    m_pRecorderTable = Table({tr("Recorder"), tr("Array"), tr("Usable (TB)"), tr("Usable (TiB)"), tr("Needed (TB)"),
                              tr("Per Disk (TB/year)"), tr("Ingress (Mbit/s)"), tr("Rebuild (h)"), tr("Retention")},
                             RUsableTB, RRebuild, this, "m_pRecorderTable");
    m_pRecorderTable->setRootIsDecorated(true);
    layout->addWidget(m_pRecorderTable, 1);

    auto bottom = new QHBoxLayout;
    auto box = new QGroupBox(tr("Array"), this);
    auto grid = new QGridLayout(box);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(4);
    m_pEditName = new QLineEdit(box);
    m_pEditName->setObjectName(QStringLiteral("m_pEditRecorderName"));
    m_pEditName->setMaxLength(kMaxRecorderNameLength);
    m_pSpinBays = Spin(1, kMaxBays, QString(), box, "m_pSpinBays");
    m_pSpinDisks = Spin(0, kMaxBays, QString(), box, "m_pSpinDisks");
    m_pSpinDiskTB = new QDoubleSpinBox(box);
    m_pSpinDiskTB->setObjectName(QStringLiteral("m_pSpinDiskTB"));
    m_pSpinDiskTB->setRange(kMinDiskTB, kMaxDiskTB);
    m_pSpinDiskTB->setDecimals(2);
    m_pSpinDiskTB->setKeyboardTracking(true);
    m_pSpinDiskTB->setSuffix(QStringLiteral(" TB"));
    m_pSpinDiskTB->setAlignment(Qt::AlignRight);
    m_pComboRaid = new QComboBox(box);
    m_pComboRaid->setObjectName(QStringLiteral("m_pComboRaid"));
    for (int level = 0; level < kRaidLevels; ++level)
        m_pComboRaid->addItem(RaidLevelName(RaidLevelAt(level)), level);
    m_pSpinGroupSize = Spin(2, kMaxBays, QString(), box, "m_pSpinGroupSize");
    m_pSpinSpares = Spin(0, kMaxBays, QString(), box, "m_pSpinSpares");
    m_pSpinReserve = Spin(0, int(kMaxReservePercent), QStringLiteral(" %"), box, "m_pSpinReserve");
    m_pSpinReserve->setToolTip(tr("Taken by the file system"));
    m_pSpinFillLimit = Spin(0, int(kMaxFillLimitPercent), QStringLiteral(" %"), box, "m_pSpinFillLimit");
    m_pSpinFillLimit->setToolTip(tr("Kept free: the recorder overwrites when the rest is full"));
    m_pSpinWorkload = Spin(1, kMaxWorkloadTBPerYear, QStringLiteral(" TB"), box, "m_pSpinWorkload");
    m_pSpinWorkload->setToolTip(tr("The disk's workload rating a year (surveillance disks: 180 TB)"));
    m_pSpinRebuild = Spin(1, kMaxRebuildMBps, QStringLiteral(" MB/s"), box, "m_pSpinRebuild");
    const struct
    {
        QString text;
        QWidget *field;
    } fields[] = {
        {tr("Name:"), m_pEditName},
        {tr("Bays:"), m_pSpinBays},
        {tr("Disks:"), m_pSpinDisks},
        {tr("Hot spares:"), m_pSpinSpares},
        {tr("RAID:"), m_pComboRaid},
        {tr("Group size:"), m_pSpinGroupSize},
        {tr("Disk size:"), m_pSpinDiskTB},
        {tr("Reserve:"), m_pSpinReserve},
        {tr("Fill limit:"), m_pSpinFillLimit},
        {tr("Rating a year:"), m_pSpinWorkload},
        {tr("Rebuild rate:"), m_pSpinRebuild},
    };
    // Four fields a row: the page's lower tab is wide and low.
    constexpr int kFieldsPerRow = 4;
    int index = 0;
    for (const auto &field : fields) {
        const int row = index / kFieldsPerRow, column = (index % kFieldsPerRow) * 2;
        grid->addWidget(new QLabel(field.text, box), row, column, Qt::AlignRight);
        grid->addWidget(field.field, row, column + 1);
        ++index;
    }
    m_pEditName->setMinimumWidth(m_pEditName->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 18);
    bottom->addWidget(box);

    // Fit beside the array it changes.
    auto fitColumn = new QVBoxLayout;
    m_pLabelFit = new QLabel(this);
    m_pLabelFit->setObjectName(QStringLiteral("m_pLabelFit"));
    m_pLabelFit->setWordWrap(true);
    m_pLabelFit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pBtnApplyFit = new QPushButton(tr("Apply"), this);
    m_pBtnApplyFit->setObjectName(QStringLiteral("m_pBtnApplyFit"));
    fitColumn->addWidget(m_pLabelFit, 1);
    fitColumn->addWidget(m_pBtnApplyFit, 0, Qt::AlignRight);
    bottom->addLayout(fitColumn, 1);
    layout->addLayout(bottom);
    m_pRecorderTable->headerItem()->setToolTip(
        RVerdict,
        tr("Recorders delete a group's video after its days to keep and, when the array is full, "
           "overwrite the oldest video first: the groups keeping the most days fall short first."));

    for (QSpinBox *spin : {m_pSpinBays, m_pSpinDisks, m_pSpinGroupSize, m_pSpinSpares, m_pSpinReserve, m_pSpinFillLimit,
                           m_pSpinWorkload, m_pSpinRebuild})
        connect(spin, &QSpinBox::valueChanged, this, &CRecorderBox::OnArrayEdited);
    connect(m_pSpinDiskTB, &QDoubleSpinBox::valueChanged, this, &CRecorderBox::OnArrayEdited);
    connect(m_pComboRaid, &QComboBox::currentIndexChanged, this, &CRecorderBox::OnArrayEdited);
    connect(m_pEditName, &QLineEdit::editingFinished, this, &CRecorderBox::OnNameEdited);
    connect(m_pBtnAdd, &QPushButton::clicked, this, &CRecorderBox::OnAddRecorder);
    connect(m_pBtnRemove, &QPushButton::clicked, this, &CRecorderBox::OnRemoveRecorder);
    connect(m_pBtnApplyFit, &QPushButton::clicked, this, &CRecorderBox::OnApplyFit);
    connect(m_pRecorderTable, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && item->parent())
            item = item->parent(); // a group's row stands for its recorder
        const int row = item ? m_pRecorderTable->indexOfTopLevelItem(item) : -1;
        if (!m_bFilling && row >= 0 && row != m_iRecorder)
            SelectRecorder(row);
    });
}

void CRecorderBox::SetRecorders(const QVector<STRU_RECORDER> &recorders)
{
    m_recorders = recorders.mid(0, kMaxRecorders);
    if (m_recorders.isEmpty())
        m_recorders << STRU_RECORDER{FirstRecorderName(), STRU_DISK_ARRAY()};
    m_iRecorder = std::clamp(m_iRecorder, 0, int(m_recorders.size()) - 1);
    FillRecorderRows();
    Recompute();
    ShowRecorder();
}

void CRecorderBox::SetGroups(const QVector<STRU_RECORDER_GROUP> &groups, double marginPercent)
{
    m_groups = groups;
    m_dMarginPercent = marginPercent;
    Recompute();
}

void CRecorderBox::SelectRecorder(int recorder)
{
    if (recorder < 0 || recorder >= m_recorders.size())
        return;
    m_iRecorder = recorder;
    m_bFilling = true;
    m_pRecorderTable->setCurrentItem(m_pRecorderTable->topLevelItem(recorder));
    m_bFilling = false;
    ShowRecorder();
    Recompute(); // Fit is the selected recorder's
}

void CRecorderBox::FillRecorderRows()
{
    m_bFilling = true;
    m_pRecorderTable->clear();
    for (int r = 0; r < m_recorders.size(); ++r)
        m_pRecorderTable->addTopLevelItem(new QTreeWidgetItem);
    m_pRecorderTable->setCurrentItem(m_pRecorderTable->topLevelItem(m_iRecorder));
    m_pBtnRemove->setEnabled(m_recorders.size() > 1);
    m_pBtnAdd->setEnabled(m_recorders.size() < kMaxRecorders);
    m_bFilling = false;
}

void CRecorderBox::Recompute()
{
    QVector<QVector<STRU_GROUP_DEMAND>> demands(m_recorders.size());
    for (const STRU_RECORDER_GROUP &group : std::as_const(m_groups)) {
        if (group.iRecorder >= 0 && group.iRecorder < demands.size())
            demands[group.iRecorder] << group.demand;
    }
    m_results.resize(m_recorders.size());
    for (int r = 0; r < m_recorders.size(); ++r)
        m_results[r] = ComputeArray(m_recorders.at(r).array, demands.at(r), m_dMarginPercent);
    m_fit = FitArray(m_recorders.at(m_iRecorder).array, demands.at(m_iRecorder), m_dMarginPercent);
    UpdateResults();
}

void CRecorderBox::UpdateResults()
{
    for (int r = 0; r < m_recorders.size() && r < m_pRecorderTable->topLevelItemCount(); ++r) {
        QTreeWidgetItem *item = m_pRecorderTable->topLevelItem(r);
        const STRU_RECORDER &recorder = m_recorders.at(r);
        const STRU_ARRAY_RESULT &result = m_results.at(r);
        const bool refused = result.eProblem != ArrayProblem::None;
        item->setText(RName, RecorderTitle(recorder.strName));
        item->setText(RArray, DescribeArray(recorder.array));
        SetNumber(item, RUsableTB, refused ? QString() : Number(ToTB(result.capacity.dUsableBytes), 2));
        SetNumber(item, RUsableTiB, refused ? QString() : Number(ToTiB(result.capacity.dUsableBytes), 2));
        SetNumber(item, RNeeded, refused ? QString() : Number(ToTB(result.dNeededBytes), 2));
        SetNumber(
            item, RWrite,
            refused ? QString()
                    : tr("%1 of %2").arg(Number(result.dWriteTBPerDiskYear, 1)).arg(recorder.array.dWorkloadTBPerYear));
        SetWarning(item, RWrite, !refused && !result.bWithinWorkload);
        SetNumber(item, RIngress, refused ? QString() : Number(result.dIngressMbps, 1));
        SetNumber(item, RRebuild, refused || !result.bRebuilds ? QString() : Number(result.dRebuildHours, 1));
        const QStringList missed = UpdateGroupRows(item, r);
        item->setText(RVerdict,
                      refused                ? tr("Refused")
                          : missed.isEmpty() ? tr("Every group kept")
                                             : tr("Missed: %1").arg(missed.join(QStringLiteral(", "))));
        SetWarning(item, RVerdict, refused || !missed.isEmpty());
    }

    // The selected recorder's refusal or note, and Fit.
    const STRU_ARRAY_RESULT &result = m_results.at(m_iRecorder);
    const bool refused = result.eProblem != ArrayProblem::None;
    const bool fallsShort = !refused && !result.bAllMeet;
    m_pLabelResult->setText(refused ? ProblemText(result.eProblem, m_recorders.at(m_iRecorder).array)
                                : fallsShort
                                ? tr("A full array overwrites the oldest video first: the groups keeping the "
                                     "most days fall short first.")
                                : QString());
    m_pLabelResult->setStyleSheet(refused ? QStringLiteral("color: rgb(210, 74, 67); font-weight: bold;") : QString());
    m_pLabelResult->setVisible(refused || fallsShort);
    m_pCaptionLine->setVisible(!refused && !fallsShort);
    m_pLabelFit->setText(tr("Fit: %1").arg(FitSentence(m_recorders.at(m_iRecorder).array, m_fit)));
    const STRU_DISK_ARRAY &array = m_recorders.at(m_iRecorder).array;
    m_pBtnApplyFit->setEnabled(m_fit.eProblem == ArrayProblem::None
                               && (m_fit.iDisks != array.iDisks || m_fit.iRecorders > 1));
}

QStringList CRecorderBox::UpdateGroupRows(QTreeWidgetItem *item, int recorder)
{
    QVector<int> groups;
    for (int g = 0; g < m_groups.size(); ++g) {
        if (m_groups.at(g).iRecorder == recorder)
            groups << g;
    }
    // The rows are kept while the groups stay, so that a keystroke leaves the tree as it was.
    while (item->childCount() > groups.size())
        delete item->takeChild(item->childCount() - 1);
    const bool grew = item->childCount() < groups.size();
    while (item->childCount() < groups.size())
        item->addChild(new QTreeWidgetItem);
    if (grew)
        item->setExpanded(true);
    const STRU_ARRAY_RESULT &result = m_results.at(recorder);
    QStringList missed;
    for (int i = 0; i < groups.size(); ++i) {
        const STRU_RECORDER_GROUP &group = m_groups.at(groups.at(i));
        QTreeWidgetItem *child = item->child(i);
        child->setText(RName, group.strTitle);
        const bool known = result.eProblem == ArrayProblem::None && i < result.groups.size();
        const STRU_GROUP_OUTCOME outcome = known ? result.groups.at(i) : STRU_GROUP_OUTCOME();
        SetNumber(child, RNeeded, known ? Number(ToTB(outcome.dNeededBytes), 2) : QString());
        child->setText(RVerdict,
                       known ? tr("Keeps %1 of %2 days").arg(Number(outcome.dDaysKept, 1)).arg(group.demand.iDaysToKeep)
                             : tr("%1 days to keep").arg(group.demand.iDaysToKeep));
        SetWarning(child, RVerdict, known && !outcome.bMeets);
        if (known && !outcome.bMeets)
            missed << group.strTitle;
    }
    return missed;
}

void CRecorderBox::ShowRecorder()
{
    m_bFilling = true;
    const STRU_RECORDER &recorder = m_recorders.at(m_iRecorder);
    const STRU_DISK_ARRAY &array = recorder.array;
    m_pEditName->setText(RecorderTitle(recorder.strName));
    NordaForm::SetReadOnly(m_pEditName, recorder.strName == FirstRecorderName());
    m_pSpinBays->setValue(array.iBays);
    m_pSpinDisks->setValue(array.iDisks);
    m_pSpinDiskTB->setValue(array.dDiskTB);
    m_pComboRaid->setCurrentIndex(static_cast<int>(array.eRaid));
    m_pSpinGroupSize->setValue(array.iGroupSize);
    m_pSpinGroupSize->setEnabled(IsNested(array.eRaid));
    m_pSpinSpares->setValue(array.iSpares);
    m_pSpinReserve->setValue(qRound(array.dReservePercent));
    m_pSpinFillLimit->setValue(qRound(array.dFillLimitPercent));
    m_pSpinWorkload->setValue(qRound(array.dWorkloadTBPerYear));
    m_pSpinRebuild->setValue(qRound(array.dRebuildMBps));
    m_bFilling = false;
}

void CRecorderBox::OnArrayEdited()
{
    if (m_bFilling)
        return;
    STRU_DISK_ARRAY &array = m_recorders[m_iRecorder].array;
    array.iBays = m_pSpinBays->value();
    array.iDisks = m_pSpinDisks->value();
    // The field shows hundredths: a finer size from a plan stays until the field is changed.
    if (std::abs(m_pSpinDiskTB->value() - array.dDiskTB) >= 0.005)
        array.dDiskTB = m_pSpinDiskTB->value();
    array.eRaid = RaidLevelAt(m_pComboRaid->currentData().toInt());
    array.iGroupSize = m_pSpinGroupSize->value();
    array.iSpares = m_pSpinSpares->value();
    array.dReservePercent = m_pSpinReserve->value();
    array.dFillLimitPercent = m_pSpinFillLimit->value();
    array.dWorkloadTBPerYear = m_pSpinWorkload->value();
    array.dRebuildMBps = m_pSpinRebuild->value();
    m_pSpinGroupSize->setEnabled(IsNested(array.eRaid));
    Recompute();
    emit SignalRecordersChanged();
}

void CRecorderBox::OnNameEdited()
{
    const QString old = m_recorders.at(m_iRecorder).strName;
    const QString name = m_pEditName->text().trimmed();
    if (old == FirstRecorderName() || name == old || name.isEmpty() || IndexOfRecorder(m_recorders, name) >= 0) {
        m_pEditName->setText(RecorderTitle(old)); // empty or taken: the old name stays
        return;
    }
    m_recorders[m_iRecorder].strName = name;
    UpdateResults();
    emit SignalRecorderRenamed(old, name);
}

void CRecorderBox::OnAddRecorder()
{
    if (m_recorders.size() >= kMaxRecorders)
        return;
    m_recorders << STRU_RECORDER{NextRecorderName(m_recorders), m_recorders.at(m_iRecorder).array};
    m_iRecorder = m_recorders.size() - 1;
    FillRecorderRows();
    Recompute();
    ShowRecorder();
    emit SignalRecordersChanged();
}

void CRecorderBox::OnRemoveRecorder()
{
    if (m_recorders.size() <= 1)
        return;
    m_recorders.removeAt(m_iRecorder);
    m_iRecorder = 0;
    FillRecorderRows();
    Recompute();
    ShowRecorder();
    emit SignalRecordersChanged(); // the page moves the removed recorder's groups to the first
}

void CRecorderBox::OnApplyFit()
{
    if (m_fit.eProblem != ArrayProblem::None)
        return;
    const STRU_DISK_ARRAY fitted = ApplyFit(m_recorders.at(m_iRecorder).array, m_fit);
    m_recorders[m_iRecorder].array = fitted;
    // Beyond one recorder's bays: the others it takes, each with the same array; the user moves
    // groups onto them.
    for (int added = 1; added < m_fit.iRecorders && m_recorders.size() < kMaxRecorders; ++added) {
        m_recorders << STRU_RECORDER{NextRecorderName(m_recorders), fitted};
    }
    FillRecorderRows();
    Recompute();
    ShowRecorder();
    emit SignalRecordersChanged();
}
