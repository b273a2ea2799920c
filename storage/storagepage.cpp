#include "storage/storagepage.h"

#include "arrays/recorderbox.h"
#include "calc/calculatewidget.h"
#include "storage/hourchart.h"
#include "storage/recorderplan.h"
#include "toolkit/formparts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace NordaStorage;
using NordaForm::Caption;
using NordaForm::Line;
using NordaForm::SetNumber;
using NordaForm::Spin;

namespace {

enum GroupColumn { GName, GCameras, GMbps, GPerDay, GDays, GTB, GTiB, GColumns };
enum CameraColumn { CName, CResolution, CFramerate, CCodec, CBitrate, CShare, CRecommended, CColumns };
constexpr int kPositionRole = Qt::UserRole + 1;
// The calculation page's tabs, so that both pages' tabs look alike.
const char kTabStyle[] =
    "QTabWidget::pane { border: 1px solid rgb(180, 198, 218); top: -1px; background: rgb(248, 251, 254); }"
    "QTabBar::tab { min-width: 120px; min-height: 24px; padding: 0px 12px; border: 1px solid rgb(180, 198, 218);"
    " border-bottom: none; background: rgb(232, 239, 247); color: rgb(60, 60, 60); }"
    "QTabBar::tab:selected { background: rgb(248, 251, 254); color: rgb(64, 131, 197); }"
    "QTabBar::tab:!selected { margin-top: 3px; }";

} // namespace

QString CStoragePage::GroupTitle(const QString &name)
{
    // The Default group's name is a key in plans; only its caption is translated.
    return name == DefaultGroupName() ? tr("Default") : name;
}

CStoragePage::CStoragePage(CCalculateWidget *panel, QWidget *parent) : QWidget(parent), m_pPanel(panel)
{
    setObjectName(QStringLiteral("CStoragePage"));
    BuildForm();
    connect(m_pPanel, &CCalculateWidget::SignalPlanChanged, this, &CStoragePage::OnPlanChanged);
    // Undone and redone moves change no cell of the calculation page's table.
    connect(m_pPanel->UndoStack(), &QUndoStack::indexChanged, this, &CStoragePage::OnPlanChanged);
}

void CStoragePage::BuildForm()
{
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(6);

    auto captionRow = new QHBoxLayout;
    captionRow->addWidget(Caption(tr("Recording Groups"), this));
    captionRow->addWidget(Line(this), 1);
    m_pBtnAddGroup = new QPushButton(QIcon(QStringLiteral(":/images/DiskCalculate/add.png")), tr("Add Group"), this);
    m_pBtnAddGroup->setObjectName(QStringLiteral("m_pBtnAddGroup"));
    m_pBtnRemoveGroup =
        new QPushButton(QIcon(QStringLiteral(":/images/DiskCalculate/delete.png")), tr("Remove Group"), this);
    m_pBtnRemoveGroup->setObjectName(QStringLiteral("m_pBtnRemoveGroup"));
    captionRow->addWidget(m_pBtnAddGroup);
    captionRow->addWidget(m_pBtnRemoveGroup);
    layout->addLayout(captionRow);

    m_pGroupTable = new QTreeWidget(this);
    m_pGroupTable->setObjectName(QStringLiteral("m_pGroupTable"));
    m_pGroupTable->setRootIsDecorated(false);
    m_pGroupTable->setColumnCount(GColumns);
    m_pGroupTable->setHeaderLabels({tr("Group"), tr("Cameras"), tr("Bitrate (Mbit/s)"), tr("Per Day (GB)"),
                                    tr("Days Kept"), tr("Storage (TB)"), tr("Storage (TiB)")});
    for (int column = GCameras; column < GColumns; ++column)
        m_pGroupTable->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    m_pGroupTable->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_pGroupTable->header()->setSectionResizeMode(GName, QHeaderView::Interactive);
    m_pGroupTable->setColumnWidth(GName, 240);
    m_pGroupTable->setMinimumHeight(150);
    m_pGroupTable->setAcceptDrops(true);
    m_pGroupTable->viewport()->installEventFilter(this);
    layout->addWidget(m_pGroupTable, 2);

    auto middle = new QHBoxLayout;
    middle->addWidget(BuildProfileBox(), 3);
    middle->addWidget(BuildModelBox(), 1);
    layout->addLayout(middle);

    // The selected group's cameras, and the recorders the groups record on.
    m_pTabLower = new QTabWidget(this);
    m_pTabLower->setObjectName(QStringLiteral("m_pTabStorage"));
    m_pTabLower->setStyleSheet(QString::fromLatin1(kTabStyle));
    m_pCameraTable = new QTreeWidget(m_pTabLower);
    m_pCameraTable->setObjectName(QStringLiteral("m_pCameraTable"));
    m_pCameraTable->setRootIsDecorated(false);
    m_pCameraTable->setColumnCount(CColumns);
    m_pCameraTable->setHeaderLabels({tr("Camera Name"), tr("Resolution"), tr("Framerate"), tr("Codec"),
                                     tr("Bitrate (kbit/s)"), tr("Average Share (%)"), tr("Recommended (kbit/s)")});
    for (int column = CBitrate; column < CColumns; ++column)
        m_pCameraTable->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    m_pCameraTable->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_pCameraTable->header()->setSectionResizeMode(CName, QHeaderView::Interactive);
    m_pCameraTable->setColumnWidth(CName, 220);
    m_pCameraTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pCameraTable->setDragEnabled(true);
    m_pCameraTable->setDragDropMode(QAbstractItemView::DragOnly);
    m_pCameraTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_pCameraTable->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pTabLower->addTab(m_pCameraTable, QString());
    m_pTabLower->addTab(BuildRecorderTab(), tr("Recorders and Disks"));
    layout->addWidget(m_pTabLower, 5);

    connect(m_pBtnAddGroup, &QPushButton::clicked, this, &CStoragePage::AddGroup);
    connect(m_pBtnRemoveGroup, &QPushButton::clicked, this, &CStoragePage::OnRemoveGroup);
    connect(m_pGroupTable, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        const int row = item ? m_pGroupTable->indexOfTopLevelItem(item) : -1;
        if (!m_bFilling && row >= 0 && row < m_settings.vecGroups.size() && row != m_iGroup) {
            m_iGroup = row;
            ShowGroup();
        }
    });
    connect(m_pCameraTable, &QWidget::customContextMenuRequested, this, &CStoragePage::OnCameraMenu);
    connect(m_pCameraTable, &QTreeWidget::itemChanged, this, &CStoragePage::OnCameraItemChanged);
}

QGroupBox *CStoragePage::BuildProfileBox()
{
    auto box = new QGroupBox(tr("Group Profile"), this);
    auto grid = new QGridLayout(box);
    grid->setContentsMargins(8, 12, 8, 6);
    grid->setVerticalSpacing(4);
    m_pEditName = new QLineEdit(box);
    m_pEditName->setObjectName(QStringLiteral("m_pEditGroupName"));
    m_pEditName->setMaxLength(kMaxNameLength);
    m_pCheckFollow = new QCheckBox(tr("Records as Calculate Disk"), box);
    m_pCheckFollow->setObjectName(QStringLiteral("m_pCheckFollow"));
    m_pCheckFollow->setToolTip(tr("Hours per day and days of the \"Calculate Disk\" tab"));
    m_pComboRecorder = new QComboBox(box);
    m_pComboRecorder->setObjectName(QStringLiteral("m_pComboRecorder"));
    m_pComboRecorder->setToolTip(tr("The recorder this group records on"));
    // Long names are elided: the profile keeps its width.
    m_pComboRecorder->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pComboRecorder->setMinimumContentsLength(14);
    auto nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("Name:"), box));
    nameRow->addWidget(m_pEditName, 1);
    nameRow->addWidget(m_pCheckFollow);
    nameRow->addSpacing(12);
    nameRow->addWidget(new QLabel(tr("Recorder:"), box));
    nameRow->addWidget(m_pComboRecorder);
    grid->addLayout(nameRow, 0, 0, 1, 10);

    m_pChart = new CHourChart(box);
    m_pChart->setObjectName(QStringLiteral("m_pHourChart"));
    grid->addWidget(m_pChart, 1, 0, 1, 10);

    m_pSpinActivity = Spin(0, 100, QStringLiteral(" %"), box, "m_pSpinActivity");
    m_pSpinActivity->setToolTip(tr("Share of an event hour that is recorded"));
    m_pSpinNightStart = Spin(0, kHoursPerDay - 1, QStringLiteral(":00"), box, "m_pSpinNightStart");
    m_pSpinNightEnd = Spin(0, kHoursPerDay - 1, QStringLiteral(":00"), box, "m_pSpinNightEnd");
    m_pSpinNightFactor = Spin(0, kMaxFactorPercent, QStringLiteral(" %"), box, "m_pSpinNightFactor");
    m_pSpinNightFactor->setToolTip(tr("Bitrate at night against the day: infrared pictures shrink, noisy ones grow"));
    m_pSpinDays = Spin(0, kMaxDaysToKeep, QString(), box, "m_pSpinDays");
    const struct
    {
        QString text;
        QSpinBox *spin;
    } fields[] = {
        {tr("Event activity:"), m_pSpinActivity},   {tr("Night:"), m_pSpinNightStart},  {tr("to"), m_pSpinNightEnd},
        {tr("Night bitrate:"), m_pSpinNightFactor}, {tr("Days to keep:"), m_pSpinDays},
    };
    int column = 0;
    for (const auto &field : fields) {
        grid->addWidget(new QLabel(field.text, box), 2, column++, Qt::AlignRight);
        grid->addWidget(field.spin, 2, column++);
        connect(field.spin, &QSpinBox::valueChanged, this, &CStoragePage::OnProfileEdited);
    }
    m_pLabelProfile = new QLabel(box);
    m_pLabelProfile->setObjectName(QStringLiteral("m_pLabelProfile"));
    grid->addWidget(m_pLabelProfile, 3, 0, 1, 10);

    connect(m_pCheckFollow, &QCheckBox::toggled, this, &CStoragePage::OnProfileEdited);
    connect(m_pEditName, &QLineEdit::editingFinished, this, &CStoragePage::OnNameEdited);
    connect(m_pChart, &CHourChart::SignalHourChanged, this, &CStoragePage::OnHourChanged);
    return box;
}

QGroupBox *CStoragePage::BuildModelBox()
{
    auto box = new QGroupBox(tr("Bitrate Model"), this);
    box->setObjectName(QStringLiteral("m_pBoxBitrateModel"));
    auto grid = new QGridLayout(box);
    grid->setContentsMargins(8, 12, 8, 6);
    grid->setVerticalSpacing(3);
    auto note = new QLabel(tr("Recommendation against H.264:"), box);
    grid->addWidget(note, 0, 0, 1, 2);
    for (int codec = 0; codec < kCodecCount; ++codec) {
        const QByteArray name = "m_pSpinCodec" + QByteArray::number(codec);
        m_pSpinCodec[codec] = Spin(1, kMaxCodecPercent, QStringLiteral(" %"), box, name.constData());
        grid->addWidget(new QLabel(CodecText(codec) + QLatin1Char(':'), box), codec + 1, 0, Qt::AlignRight);
        grid->addWidget(m_pSpinCodec[codec], codec + 1, 1);
        connect(m_pSpinCodec[codec], &QSpinBox::valueChanged, this, &CStoragePage::OnModelEdited);
    }
    m_pSpinOverhead = Spin(0, kMaxOverheadPercent, QStringLiteral(" %"), box, "m_pSpinOverhead");
    m_pSpinOverhead->setToolTip(tr("Added to the storage for file system, indexes and margin"));
    grid->addWidget(new QLabel(tr("Overhead:"), box), kCodecCount + 1, 0, Qt::AlignRight);
    grid->addWidget(m_pSpinOverhead, kCodecCount + 1, 1);
    connect(m_pSpinOverhead, &QSpinBox::valueChanged, this, &CStoragePage::OnModelEdited);
    grid->setRowStretch(kCodecCount + 2, 1);
    return box;
}

// ---- reading the plan ------------------------------------------------------------------------

void CStoragePage::OnPlanChanged()
{
    if (m_bPushing)
        return;
    m_bStale = true;
    if (isVisible())
        Reload();
}

void CStoragePage::showEvent(QShowEvent *event)
{
    if (m_bStale)
        Reload();
    QWidget::showEvent(event);
}

void CStoragePage::Reload()
{
    m_bStale = false;
    const STRU_PLAN plan = m_pPanel->Plan();
    m_cameras = plan.vecCamera;
    m_iStandard = plan.iStandard;
    m_settings = plan.storage;
    EnsureGroups(m_settings, m_cameras);
    if (m_settings.vecGroups.isEmpty()) {
        STRU_RECORDING_GROUP group;
        group.strName = DefaultGroupName();
        group.bFollowPage = true;
        m_settings.vecGroups << group;
    }
    EnsureRecorders(m_settings, m_cameras);
    m_pRecorderBox->SetRecorders(m_settings.vecRecorders);
    m_time = STRU_PAGE_TIME::FromTexts(plan.strDays, plan.strHoursPerDay2);
    m_iGroup = std::clamp(m_iGroup, 0, int(m_settings.vecGroups.size()) - 1);
    m_calculator.SetCameras(m_cameras, m_settings);
    {
        const QSignalBlocker blockers[] = {QSignalBlocker(m_pSpinOverhead), QSignalBlocker(m_pSpinCodec[0]),
                                           QSignalBlocker(m_pSpinCodec[1]), QSignalBlocker(m_pSpinCodec[2]),
                                           QSignalBlocker(m_pSpinCodec[3]), QSignalBlocker(m_pSpinCodec[4])};
        m_pSpinOverhead->setValue(m_settings.iOverheadPercent);
        for (int codec = 0; codec < kCodecCount; ++codec)
            m_pSpinCodec[codec]->setValue(m_settings.codecFactors.iPercent[codec]);
    }
    FillGroupRows();
    Recompute();
    ShowGroup();
}

void CStoragePage::Recompute()
{
    m_calculator.Compute(m_settings, m_time);
    UpdateResults();
    FeedRecorders();
}

void CStoragePage::FillGroupRows()
{
    m_bFilling = true;
    m_pGroupTable->clear();
    QList<QTreeWidgetItem *> items;
    for (const STRU_RECORDING_GROUP &group : std::as_const(m_settings.vecGroups)) {
        auto item = new QTreeWidgetItem;
        item->setText(GName, GroupTitle(group.strName));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled);
        items << item;
    }
    auto total = new QTreeWidgetItem;
    total->setText(GName, tr("Total"));
    total->setFlags(Qt::ItemIsEnabled);
    QFont bold = total->font(GName);
    bold.setBold(true);
    for (int column = 0; column < GColumns; ++column)
        total->setFont(column, bold);
    items << total;
    m_pGroupTable->addTopLevelItems(items);
    m_pGroupTable->setCurrentItem(m_pGroupTable->topLevelItem(m_iGroup));
    m_bFilling = false;
}

void CStoragePage::UpdateResults()
{
    const auto write = [](QTreeWidgetItem *item, const STRU_GROUP_RESULT &result, bool days) {
        SetNumber(item, GCameras, QString::number(result.iCameras));
        SetNumber(item, GMbps, QString::number(result.Mbps(), 'f', 2));
        SetNumber(item, GPerDay, QString::number(result.dGBPerDay, 'f', 1));
        SetNumber(item, GDays, days ? QString::number(result.iDays) : QString());
        SetNumber(item, GTB, QString::number(result.TB(), 'f', 2));
        SetNumber(item, GTiB, QString::number(result.TiB(), 'f', 2));
    };
    const QVector<STRU_GROUP_RESULT> &groups = m_calculator.Groups();
    for (int g = 0; g < groups.size() && g + 1 < m_pGroupTable->topLevelItemCount(); ++g)
        write(m_pGroupTable->topLevelItem(g), groups.at(g), true);
    if (QTreeWidgetItem *total = m_pGroupTable->topLevelItem(groups.size()))
        write(total, m_calculator.Total(), false);
    if (m_iGroup < groups.size()) {
        const STRU_GROUP_RESULT &result = groups.at(m_iGroup);
        m_pLabelProfile->setText(tr("%1 hours of full bitrate a day, %2 GB a day, %3 TB for %4 days with %5 % overhead")
                                     .arg(QString::number(result.dEffectiveHours, 'f', 2))
                                     .arg(QString::number(result.dGBPerDay, 'f', 1))
                                     .arg(QString::number(result.TB(), 'f', 2))
                                     .arg(result.iDays)
                                     .arg(m_settings.iOverheadPercent));
    }
}

STRU_RECORDING_GROUP CStoragePage::ShownGroup(int group) const
{
    STRU_RECORDING_GROUP shown = m_settings.vecGroups.at(group);
    if (shown.bFollowPage) {
        for (int hour = 0; hour < kHoursPerDay; ++hour)
            shown.hours[hour] = hour < m_time.iHoursPerDay ? HourMode::Continuous : HourMode::Off;
        shown.iNightFactorPercent = 100;
    }
    return shown;
}

void CStoragePage::ShowGroup()
{
    if (m_iGroup < 0 || m_iGroup >= m_settings.vecGroups.size())
        return;
    m_bFilling = true;
    const STRU_RECORDING_GROUP &group = m_settings.vecGroups.at(m_iGroup);
    m_pEditName->setText(GroupTitle(group.strName));
    NordaForm::SetReadOnly(m_pEditName, group.strName == DefaultGroupName());
    m_pCheckFollow->setChecked(group.bFollowPage);
    m_pCheckFollow->setVisible(group.strName == DefaultGroupName() || group.bFollowPage);
    m_pSpinActivity->setValue(group.iActivityPercent);
    m_pSpinNightStart->setValue(group.iNightStart);
    m_pSpinNightEnd->setValue(group.iNightEnd);
    m_pSpinNightFactor->setValue(group.iNightFactorPercent);
    m_pSpinDays->setValue(group.bFollowPage ? int(std::min<qint64>(m_time.iDays, kMaxDaysToKeep)) : group.iDaysToKeep);
    for (QSpinBox *spin : {m_pSpinActivity, m_pSpinNightStart, m_pSpinNightEnd, m_pSpinNightFactor, m_pSpinDays})
        spin->setEnabled(!group.bFollowPage);
    m_pChart->SetGroup(ShownGroup(m_iGroup));
    m_pChart->SetEditable(!group.bFollowPage);
    m_pBtnRemoveGroup->setEnabled(group.strName != DefaultGroupName());
    m_bFilling = false;
    FillRecorderChoices();
    FillCameraRows();
    UpdateResults();
}

void CStoragePage::FillCameraRows()
{
    m_bFilling = true;
    m_pCameraTable->clear();
    QList<QTreeWidgetItem *> items;
    const QVector<int> &groupOf = m_calculator.GroupOfCamera();
    for (int i = 0; i < m_cameras.size() && i < groupOf.size(); ++i) {
        if (groupOf.at(i) != m_iGroup)
            continue;
        const STRU_CAMERA &camera = m_cameras.at(i);
        auto item = new QTreeWidgetItem;
        item->setData(CName, kPositionRole, i);
        item->setText(CName, QString::fromLocal8Bit(camera.strName));
        item->setText(CResolution, NordaVocab::ResolutionCellText(camera));
        item->setText(CFramerate, NordaVocab::FramerateText(camera.dFramerate));
        item->setText(CCodec, CodecText(camera.iCodec));
        SetNumber(item, CBitrate, QString::number(camera.iBitrate));
        SetNumber(item, CShare, QString::number(camera.iAverageShare));
        SetNumber(item, CRecommended, QString::number(RecommendedKbps(camera, m_iStandard, m_settings.codecFactors)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsEditable);
        items << item;
    }
    m_pCameraTable->addTopLevelItems(items);
    m_pTabLower->setTabText(
        0, tr("Cameras in %1: %2").arg(GroupTitle(m_settings.vecGroups.value(m_iGroup).strName)).arg(items.size()));
    m_bFilling = false;
}

// ---- editing ---------------------------------------------------------------------------------

void CStoragePage::PushSettings()
{
    m_bPushing = true;
    m_pPanel->SetStorageSettings(m_settings);
    m_bPushing = false;
}

void CStoragePage::OnProfileEdited()
{
    if (m_bFilling || m_iGroup < 0 || m_iGroup >= m_settings.vecGroups.size())
        return;
    STRU_RECORDING_GROUP &group = m_settings.vecGroups[m_iGroup];
    const bool followChanged = group.bFollowPage != m_pCheckFollow->isChecked();
    group.bFollowPage = m_pCheckFollow->isChecked();
    if (followChanged && !group.bFollowPage) {
        // Untied from the tab, the group starts from what it recorded as it.
        group.hours = ShownGroup(m_iGroup).hours;
        group.iDaysToKeep = int(std::min<qint64>(m_time.iDays, kMaxDaysToKeep));
    } else if (!group.bFollowPage) {
        group.iActivityPercent = m_pSpinActivity->value();
        group.iNightStart = m_pSpinNightStart->value();
        group.iNightEnd = m_pSpinNightEnd->value();
        group.iNightFactorPercent = m_pSpinNightFactor->value();
        group.iDaysToKeep = m_pSpinDays->value();
    }
    if (followChanged)
        ShowGroup();
    else
        m_pChart->SetGroup(ShownGroup(m_iGroup));
    Recompute();
    PushSettings();
}

void CStoragePage::OnHourChanged(int hour, HourMode mode)
{
    if (m_iGroup < 0 || m_iGroup >= m_settings.vecGroups.size() || m_settings.vecGroups.at(m_iGroup).bFollowPage)
        return;
    m_settings.vecGroups[m_iGroup].hours[hour] = mode;
    Recompute();
    PushSettings();
}

void CStoragePage::OnModelEdited()
{
    for (int codec = 0; codec < kCodecCount; ++codec)
        m_settings.codecFactors.iPercent[codec] = m_pSpinCodec[codec]->value();
    m_settings.iOverheadPercent = m_pSpinOverhead->value();
    Recompute();
    // Recommendations follow the factors.
    for (int row = 0; row < m_pCameraTable->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_pCameraTable->topLevelItem(row);
        const STRU_CAMERA &camera = m_cameras.at(item->data(CName, kPositionRole).toInt());
        m_bFilling = true;
        SetNumber(item, CRecommended, QString::number(RecommendedKbps(camera, m_iStandard, m_settings.codecFactors)));
        m_bFilling = false;
    }
    PushSettings();
}

void CStoragePage::OnNameEdited()
{
    if (m_bFilling || m_iGroup < 0 || m_iGroup >= m_settings.vecGroups.size())
        return;
    const QString old = m_settings.vecGroups.at(m_iGroup).strName;
    const QString name = m_pEditName->text().trimmed();
    if (old == DefaultGroupName() || name == old || name.isEmpty() || m_settings.IndexOfGroup(name) >= 0) {
        m_pEditName->setText(GroupTitle(old)); // empty or taken: the old name stays
        return;
    }
    m_settings.vecGroups[m_iGroup].strName = name;
    QVector<int> members;
    for (int i = 0; i < m_cameras.size(); ++i) {
        if (GroupOf(m_cameras.at(i)) == old)
            members << i;
    }
    PushSettings();
    MoveCameras(members, name);
}

int CStoragePage::AddGroup()
{
    int number = m_settings.vecGroups.size();
    QString name;
    do {
        name = tr("Group %1").arg(number++);
    } while (m_settings.IndexOfGroup(name) >= 0);
    STRU_RECORDING_GROUP group;
    group.strName = name;
    // On the recorder of the group the user worked on: cameras moved into it stay there.
    group.strRecorder = m_settings.vecGroups.value(m_iGroup).strRecorder;
    m_settings.vecGroups << group;
    m_iGroup = m_settings.vecGroups.size() - 1;
    m_calculator.SetCameras(m_cameras, m_settings);
    FillGroupRows();
    Recompute();
    ShowGroup();
    PushSettings();
    return m_iGroup;
}

void CStoragePage::OnRemoveGroup()
{
    if (m_iGroup < 0 || m_iGroup >= m_settings.vecGroups.size()
        || m_settings.vecGroups.at(m_iGroup).strName == DefaultGroupName())
        return;
    QVector<int> members;
    for (int i = 0; i < m_calculator.GroupOfCamera().size(); ++i) {
        if (m_calculator.GroupOfCamera().at(i) == m_iGroup)
            members << i;
    }
    m_settings.vecGroups.removeAt(m_iGroup);
    m_iGroup = 0;
    PushSettings();
    // Its cameras go to the Default group, made when missing.
    MoveCameras(members, DefaultGroupName());
    if (members.isEmpty())
        Reload();
}

void CStoragePage::SelectGroup(int group)
{
    if (group < 0 || group >= m_settings.vecGroups.size())
        return;
    m_iGroup = group;
    m_pGroupTable->setCurrentItem(m_pGroupTable->topLevelItem(group));
    ShowGroup();
}

void CStoragePage::SetCameraField(const QVector<int> &positions, const std::function<void(STRU_CAMERA &)> &change)
{
    QVector<STRU_CAMERA> changed;
    for (const int position : positions) {
        STRU_CAMERA camera = m_cameras.at(position);
        change(camera);
        changed << camera;
    }
    m_bPushing = true;
    m_pPanel->ReplaceCameras(positions, changed);
    m_bPushing = false;
    Reload();
}

void CStoragePage::MoveCameras(const QVector<int> &positions, const QString &group)
{
    if (positions.isEmpty())
        return;
    if (m_settings.IndexOfGroup(group) < 0) {
        STRU_RECORDING_GROUP added;
        added.strName = group;
        added.bFollowPage = group == DefaultGroupName();
        m_settings.vecGroups << added;
        PushSettings();
    }
    const QByteArray name = group.toUtf8();
    SetCameraField(positions, [&name](STRU_CAMERA &camera) { camera.strGroup = name; });
}

QVector<int> CStoragePage::SelectedCameras() const
{
    QVector<int> positions;
    for (const QTreeWidgetItem *item : m_pCameraTable->selectedItems())
        positions << item->data(CName, kPositionRole).toInt();
    std::sort(positions.begin(), positions.end());
    return positions;
}

void CStoragePage::OnCameraMenu(const QPoint &position)
{
    const QVector<int> cameras = SelectedCameras();
    if (cameras.isEmpty())
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("pCameraMenu"));
    QMenu *move = menu.addMenu(tr("Move to Group"));
    for (int g = 0; g < m_settings.vecGroups.size(); ++g) {
        const QString name = m_settings.vecGroups.at(g).strName;
        QAction *action =
            move->addAction(GroupTitle(name), this, [this, cameras, name] { MoveCameras(cameras, name); });
        action->setEnabled(g != m_iGroup);
    }
    move->addSeparator();
    move->addAction(tr("New Group"), this, [this, cameras] {
        const int group = AddGroup();
        MoveCameras(cameras, m_settings.vecGroups.at(group).strName);
        SelectGroup(group);
    });
    QMenu *codecs = menu.addMenu(tr("Codec"));
    for (int codec = 0; codec < kCodecCount; ++codec) {
        codecs->addAction(CodecText(codec), this, [this, cameras, codec] {
            SetCameraField(cameras, [codec](STRU_CAMERA &camera) { camera.iCodec = codec; });
        });
    }
    menu.addSeparator();
    QAction *measure =
        menu.addAction(tr("Measure bitrate..."), this, [this, cameras] { m_pPanel->MeasureCameras(cameras); });
    measure->setEnabled(std::any_of(cameras.begin(), cameras.end(), [this](int camera) {
        return CCalculateWidget::IsMeasurable(m_pPanel->Cameras().value(camera));
    }));
    menu.exec(m_pCameraTable->viewport()->mapToGlobal(position));
}

void CStoragePage::OnCameraItemChanged(QTreeWidgetItem *item, int column)
{
    if (m_bFilling)
        return;
    const int position = item->data(CName, kPositionRole).toInt();
    bool ok = false;
    const int share = item->text(CShare).trimmed().toInt(&ok);
    if (column != CShare || !ok || share < 0 || share > NordaVocab::kMaxAverageShare) {
        // Only the share is typed; anything else returns to what the camera has.
        QMetaObject::invokeMethod(this, &CStoragePage::FillCameraRows, Qt::QueuedConnection);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, position, share] {
            SetCameraField({position}, [share](STRU_CAMERA &camera) { camera.iAverageShare = share; });
        },
        Qt::QueuedConnection);
}

bool CStoragePage::eventFilter(QObject *watched, QEvent *event)
{
    // Cameras dragged from the camera table onto a group's row move into that group.
    if (watched == m_pGroupTable->viewport()
        && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop)) {
        auto drop = static_cast<QDropEvent *>(event);
        QTreeWidgetItem *item = m_pGroupTable->itemAt(drop->position().toPoint());
        const int group = item ? m_pGroupTable->indexOfTopLevelItem(item) : -1;
        const bool fits = drop->source() == m_pCameraTable->viewport() || drop->source() == m_pCameraTable;
        if (event->type() == QEvent::DragEnter) {
            fits ? drop->acceptProposedAction() : drop->ignore();
            return true;
        }
        if (!fits || group < 0 || group >= m_settings.vecGroups.size() || group == m_iGroup) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) {
            const QVector<int> cameras = SelectedCameras();
            const QString name = m_settings.vecGroups.at(group).strName;
            QMetaObject::invokeMethod(
                this, [this, cameras, name] { MoveCameras(cameras, name); }, Qt::QueuedConnection);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
