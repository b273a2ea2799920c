#include "calc/calculatewidget.h"
#include "ui_calculatewidget.h"

#include "calc/importcamerathread.h"
#include "calc/storageplan.h"
#include "camdlg/adddevicewidget.h"
#include "camdlg/moddevice.h"
#include "import/importclientwidget.h"
#include "import/vigilwidget.h"
#include "toolkit/chasedialog.h"
#include "toolkit/helpmanual.h"
#include "toolkit/tooltip.h"
#include "toolkit/warndlg.h"

#include <QAction>
#include <QDebug>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaType>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QUndoStack>

#include <algorithm>
#include <new>

namespace {

using NordaVocab::ColName;

// Results that no longer match their inputs: the read-only look with a lighter text.
const char kMutedResult[] = "QLineEdit{color: rgb(158, 164, 172);}";
// Enough steps for an afternoon's editing without keeping every list of a long session.
const int kUndoLimit = 200;

// Longest texts the numeric fields take; the values stay far inside 64-bit arithmetic.
const int kMaxInputLength = 9;
const int kMaxWrittenLength = 12; // fields also written from a linked field (GB, days)
const int kMaxHoursLength = 4;

// Marks a scope in which a linked-field slot writes its group's other fields.
class WritingGuard
{
public:
    explicit WritingGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~WritingGuard() { m_flag = false; }
    WritingGuard(const WritingGuard &) = delete;
    WritingGuard &operator=(const WritingGuard &) = delete;

private:
    bool &m_flag;
};

} // namespace

CCalculateWidget::CCalculateWidget(QWidget *parent) : QDialog(parent), ui(new Ui::CCalculateWidgetClass)
{
    // A page of the main window, never a window of its own; set before the form is built, since
    // changing the flags afterwards styles every widget of the form a second time.
    setWindowFlags(Qt::Widget);
    ui->setupUi(this);
    resize(1020, 813);
    SetupTable();
    SetupFields();
    ui->m_pRadioPAL->setChecked(true);
    ui->m_pBtnModify->setEnabled(false);
    ui->m_pBtnDel->setEnabled(false);
    SetupUndo();
    SetupMeasure();
    qDebug() << "Init CalculateWidget succeed";
    ConnectSignals();
    ConnectPlanChanges();
}

CCalculateWidget::~CCalculateWidget()
{
    // The stack empties itself on the way out; no one listening may take that for an edit.
    m_pUndoStack->disconnect();
    delete m_pRows;
    delete ui;
}

int CCalculateWidget::Standard() const
{
    return ui->m_pRadioNTSC->isChecked() ? NordaVocab::NTSC : NordaVocab::PAL;
}

void CCalculateWidget::SetupTable()
{
    m_pRows = new CCameraRows(ui->m_pTableCamera, this);
    m_pModel = m_pRows->Model();
}

void CCalculateWidget::SetupUndo()
{
    m_pUndoStack = new QUndoStack(this);
    m_pUndoStack->setUndoLimit(kUndoLimit);
    m_pUndoAction = new QAction(tr("Undo"), this);
    m_pUndoAction->setObjectName(QStringLiteral("pActionUndo"));
    m_pUndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_pRedoAction = new QAction(tr("Redo"), this);
    m_pRedoAction->setObjectName(QStringLiteral("pActionRedo"));
    m_pRedoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m_pDeleteAction = new QAction(ui->m_pBtnDel->text(), this);
    m_pDeleteAction->setObjectName(QStringLiteral("pActionDelete"));
    m_pDeleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    // Delete belongs to the table; undo and redo work anywhere on the page but in a text field,
    // which keeps them for its own text.
    m_pDeleteAction->setShortcutContext(Qt::WidgetShortcut);
    m_pDeleteAction->setEnabled(false);
    for (QAction *action : {m_pUndoAction, m_pRedoAction, m_pDeleteAction})
        action->setShortcutVisibleInContextMenu(true);
    m_pUndoAction->setEnabled(false);
    m_pRedoAction->setEnabled(false);
    connect(m_pUndoStack, &QUndoStack::canUndoChanged, m_pUndoAction, &QAction::setEnabled);
    connect(m_pUndoStack, &QUndoStack::canRedoChanged, m_pRedoAction, &QAction::setEnabled);
    connect(m_pUndoAction, &QAction::triggered, m_pUndoStack, &QUndoStack::undo);
    connect(m_pRedoAction, &QAction::triggered, m_pUndoStack, &QUndoStack::redo);
    connect(m_pDeleteAction, &QAction::triggered, this, &CCalculateWidget::OnBtnDel);

    auto *separator = new QAction(this);
    separator->setSeparator(true);
    ui->m_pTableCamera->setContextMenuPolicy(Qt::ActionsContextMenu);
    ui->m_pTableCamera->addActions({m_pUndoAction, m_pRedoAction, separator, m_pDeleteAction});
}

void CCalculateWidget::SetupFields()
{
    const QRegularExpression number(QStringLiteral("[1-9][0-9]+||[0]"));
    const struct
    {
        QLineEdit *edit;
        int maxLength;
    } fields[] = {
        {ui->m_pEditTB, kMaxInputLength},    {ui->m_pEditGB, kMaxWrittenLength},   {ui->m_pEditMonth2, kMaxInputLength},
        {ui->m_pEditWeek2, kMaxInputLength}, {ui->m_pEditDay2, kMaxWrittenLength},
    };
    for (const auto &field : fields) {
        field.edit->setValidator(new QRegularExpressionValidator(number, this));
        field.edit->setMaxLength(field.maxLength);
        QLineEdit *edit = field.edit;
        connect(edit, &QLineEdit::inputRejected, this, [this, edit] { OnInputRejected(edit); });
    }
    // Hours per day take any text (25 is warned about and kept), but not without end.
    ui->m_pEditRecordTime->setMaxLength(kMaxHoursLength);
    ui->m_pEditRecordTime2->setMaxLength(kMaxHoursLength);
}

void CCalculateWidget::ConnectSignals()
{
    connect(ui->m_pBtnVigil, &QPushButton::clicked, this, &CCalculateWidget::OnBtnVigil);
    connect(ui->m_pBtnClient, &QPushButton::clicked, this, &CCalculateWidget::OnBtnClient);
    connect(ui->m_pBtnAdd, &QPushButton::clicked, this, &CCalculateWidget::OnBtnAdd);
    connect(ui->m_pBtnModify, &QPushButton::clicked, this, &CCalculateWidget::OnBtnModify);
    connect(ui->m_pBtnDel, &QPushButton::clicked, this, &CCalculateWidget::OnBtnDel);
    connect(ui->m_pBtnCal, &QPushButton::clicked, this, &CCalculateWidget::OnBtnCalTime);
    connect(ui->m_pBtnCal2, &QPushButton::clicked, this, &CCalculateWidget::OnBtnCalDisk);
    connect(ui->m_pTableCamera, &QAbstractItemView::doubleClicked, this, &CCalculateWidget::OnDoubleClicked);
    connect(ui->m_pTableCamera->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCalculateWidget::OnSelectionChanged);
    connect(ui->m_pEditMonth2, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditMonthChanged);
    connect(ui->m_pEditWeek2, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditWeekChanged);
    connect(ui->m_pEditDay2, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditDayChanged);
    connect(ui->m_pEditTB, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditTBChanged);
    connect(ui->m_pEditGB, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditGBChanged);
    connect(ui->m_pEditRecordTime, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditRecordTimeChanged);
    connect(ui->m_pEditRecordTime2, &QLineEdit::textChanged, this, &CCalculateWidget::OnEditRecordTimeChanged2);
    connect(ui->m_pRadioPAL, &QRadioButton::toggled, this, &CCalculateWidget::OnPALChecked);
    connect(ui->m_pRadioNTSC, &QRadioButton::toggled, this, &CCalculateWidget::OnNTSCChecked);
    connect(ui->m_pTableCamera->header(), &QHeaderView::sortIndicatorChanged, this, &CCalculateWidget::OnSortRequested);
}

void CCalculateWidget::ConnectPlanChanges()
{
    const auto changed = [this] {
        if (!m_bSettingPlan)
            emit SignalPlanChanged();
    };
    connect(m_pModel, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_pModel, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(m_pModel, &QAbstractItemModel::dataChanged, this, changed);
    connect(ui->m_pRadioNTSC, &QRadioButton::toggled, this, changed);
    const struct
    {
        QLineEdit *edit;
        int tab;
    } inputs[] = {
        {ui->m_pEditTB, 0},    {ui->m_pEditGB, 0},   {ui->m_pEditRecordTime, 0},  {ui->m_pEditMonth2, 1},
        {ui->m_pEditWeek2, 1}, {ui->m_pEditDay2, 1}, {ui->m_pEditRecordTime2, 1},
    };
    for (const auto &input : inputs) {
        const int tab = input.tab;
        connect(input.edit, &QLineEdit::textChanged, this, [this, tab, changed] {
            if (m_bSettingPlan)
                return;
            SetResultsMuted(tab, true);
            changed();
            emit SignalInputChanged();
        });
    }
}

STRU_PLAN CCalculateWidget::Plan() const
{
    STRU_PLAN plan;
    plan.vecCamera = m_cameraList.Cameras();
    plan.iStandard = Standard();
    plan.strDiskTB = ui->m_pEditTB->text();
    plan.strDiskGB = ui->m_pEditGB->text();
    plan.strHoursPerDay = ui->m_pEditRecordTime->text();
    plan.strMonths = ui->m_pEditMonth2->text();
    plan.strWeeks = ui->m_pEditWeek2->text();
    plan.strDays = ui->m_pEditDay2->text();
    plan.strHoursPerDay2 = ui->m_pEditRecordTime2->text();
    plan.storage = m_storage;
    return plan;
}

void CCalculateWidget::SetStorageSettings(const NordaStorage::STRU_STORAGE_SETTINGS &settings)
{
    if (settings == m_storage)
        return;
    m_storage = settings;
    if (m_bSettingPlan)
        return;
    emit SignalPlanChanged();
    emit SignalInputChanged(); // saved with the plan as the fields are
}

void CCalculateWidget::ReplaceCameras(const QVector<int> &positions, const QVector<STRU_CAMERA> &cameras)
{
    m_pUndoStack->push(new CEditCamerasCommand(this, positions, cameras));
}

void CCalculateWidget::SetPlan(const STRU_PLAN &plan)
{
    m_pUndoStack->push(new COpenPlanCommand(this, plan));
}

void CCalculateWidget::ShowPlan(const STRU_PLAN &plan)
{
    const WritingGuard settingPlan(m_bSettingPlan);
    // The plan's frame rates and fields are taken as they are: neither the standard switch nor
    // the linked fields may rewrite them.
    StandardShown(plan.iStandard == NordaVocab::NTSC ? NordaVocab::NTSC : NordaVocab::PAL);

    const struct
    {
        QLineEdit *edit;
        const QString &text;
    } fields[] = {
        {ui->m_pEditTB, plan.strDiskTB},
        {ui->m_pEditGB, plan.strDiskGB},
        {ui->m_pEditRecordTime, plan.strHoursPerDay},
        {ui->m_pEditMonth2, plan.strMonths},
        {ui->m_pEditWeek2, plan.strWeeks},
        {ui->m_pEditDay2, plan.strDays},
        {ui->m_pEditRecordTime2, plan.strHoursPerDay2},
    };
    for (const auto &field : fields) {
        const QSignalBlocker quiet(field.edit);
        field.edit->setText(field.text);
    }
    for (QLineEdit *result : {ui->m_pEditHour, ui->m_pEditMonth, ui->m_pEditDay, ui->m_pEditGB2, ui->m_pEditTB2})
        result->clear();
    SetResultsMuted(0, false);
    SetResultsMuted(1, false);
    m_bHoursWarned = StoragePlan::HoursPerDayOutOfRange(plan.strHoursPerDay);
    m_bHoursWarned2 = StoragePlan::HoursPerDayOutOfRange(plan.strHoursPerDay2);

    m_storage = plan.storage;
    m_cameraList.ReplaceAll(plan.vecCamera);
    m_pRows->Rebuild(m_cameraList);
    ui->m_pTableCamera->selectionModel()->clearSelection();
}

void CCalculateWidget::ShowWarn(const QString &text)
{
    CWarnDlg dlg(this);
    dlg.ShowMsg(tr("Warn"), text);
}

// ---- the dialogs that change the list --------------------------------------------------------

void CCalculateWidget::OnBtnVigil()
{
    // Created on first use and kept: discovery and the initial login go on while it is hidden.
    if (!m_pVigilWidget) {
        m_pVigilWidget = new (std::nothrow) CVigilWidget(this);
        if (!m_pVigilWidget) {
            qDebug() << "No enough memory";
            return;
        }
        connect(m_pVigilWidget, &CVigilWidget::OnAddClicked, this, &CCalculateWidget::OnVigilImport);
    }
    m_pVigilWidget->setFixedSize(700, 600);
    m_pVigilWidget->exec();
}

void CCalculateWidget::OnBtnClient()
{
    // Created on first use and kept: its list only grows between showings.
    if (!m_pImportClientWidget) {
        m_pImportClientWidget = new (std::nothrow) CImportClientWidget(this);
        if (!m_pImportClientWidget) {
            qDebug() << "No enough memory";
            return;
        }
        connect(m_pImportClientWidget, &CImportClientWidget::SignalAddClient, this, &CCalculateWidget::OnClientImport);
    }
    m_pImportClientWidget->setFixedSize(700, 600);
    m_pImportClientWidget->exec();
}

void CCalculateWidget::OnBtnAdd()
{
    // Created on first use and kept, so its fields survive between showings.
    if (!m_pAddDeviceWidget) {
        m_pAddDeviceWidget = new (std::nothrow) CAddDeviceWidget(this);
        if (!m_pAddDeviceWidget) {
            qDebug() << "No enough memory";
            return;
        }
        // Registered before the first connection that carries a camera.
        qRegisterMetaType<STRU_CAMERA>("STRU_CAMERA");
        connect(m_pAddDeviceWidget, &CAddDeviceWidget::SignalAddCamera, this, &CCalculateWidget::OnAddDeviceImport);
    }
    m_pAddDeviceWidget->SetStandard(Standard());
    m_pAddDeviceWidget->setFixedSize(450, 470);
    m_pAddDeviceWidget->exec();
}

void CCalculateWidget::OnBtnModify()
{
    OnDoubleClicked(QModelIndex());
}

void CCalculateWidget::OnDoubleClicked(const QModelIndex &)
{
    const QModelIndex current = ui->m_pTableCamera->currentIndex();
    if (m_cameraList.Count() == 0 || !current.isValid())
        return;
    const int row = current.row();
    const int position = CameraOfRow(row);
    if (position < 0)
        return;

    CModDevice dlg(nullptr);
    dlg.SetStandard(Standard());
    dlg.SetCameraList(m_cameraList.Cameras());
    dlg.SetCamera(m_cameraList.At(position));
    if (dlg.exec() != QDialog::Accepted)
        return;
    // A copy plan changed other cameras too: the whole list comes back.
    if (dlg.IsCopied())
        m_pUndoStack->push(new CReplaceCamerasCommand(this, dlg.GetCameraList()));
    else
        m_pUndoStack->push(new CModifyCameraCommand(this, position, dlg.GetCamera()));
}

int CCalculateWidget::CameraOfRow(int row) const
{
    const QStandardItem *nameItem = m_pModel->item(row, ColName);
    return nameItem ? m_cameraList.IndexOfName(nameItem->text()) : -1;
}

void CCalculateWidget::OnVigilImport()
{
    RunImport(m_pVigilWidget, CImportCameraThread::SourceOnline);
}

void CCalculateWidget::OnClientImport()
{
    RunImport(m_pImportClientWidget, CImportCameraThread::SourceClient);
}

void CCalculateWidget::RunImport(CDeviceSource *source, int kind)
{
    ChaseDialog chase(this, QStringLiteral(":/images/Loading.gif"), tr("Writing..."), true);
    CImportCameraThread thread;
    connect(&thread, &CImportCameraThread::StopChase, &chase, &ChaseDialog::OnImmediatelyStopChase);
    // Cancel abandons the devices still in flight; the run then ends within a moment.
    connect(
        &chase, &ChaseDialog::SignalCancel, &thread, [&thread] { thread.Cancel(); }, Qt::DirectConnection);
    thread.SetSource(source, kind, Standard());
    thread.start();
    chase.exec();

    // Return or Enter can dismiss "Writing..." before the run is over; its cameras are taken
    // only after it ended, and the window keeps painting meanwhile.
    QEventLoop waiting;
    connect(&thread, &QThread::finished, &waiting, &QEventLoop::quit);
    if (!thread.isFinished())
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
    thread.wait();

    for (const STRU_DEVICE &device : thread.GetLoggedInDevices())
        RememberLogin(device);
    MergeImportedCameras(thread.GetCameras());
}

void CCalculateWidget::MergeImportedCameras(const QVector<STRU_CAMERA> &cameras)
{
    m_pUndoStack->push(new CMergeCamerasCommand(this, cameras));
    ShowLimitMessage();
}

// ---- the camera list -------------------------------------------------------------------------

void CCalculateWidget::OnAddDeviceImport(const STRU_CAMERA &camera, const QString &prefix, int count)
{
    // Cameras past the limit are dropped, and the user is told.
    m_pUndoStack->push(new CAddCamerasCommand(this, camera, prefix, count));
    ShowLimitMessage();
}

void CCalculateWidget::ShowLimitMessage()
{
    if (m_cameraList.IsFull())
        ShowWarn(tr("Device number can be more than 1024."));
}

void CCalculateWidget::RefreshRows()
{
    m_pRows->Write(m_cameraList, 0, m_cameraList.Count());
}

void CCalculateWidget::CamerasInserted(int first, int count)
{
    m_pRows->Insert(m_cameraList, first, count);
    SetResultsMuted(0, true);
    SetResultsMuted(1, true);
}

void CCalculateWidget::CamerasRemoved(int first, int count)
{
    m_pRows->Remove(first, count);
    SetResultsMuted(0, true);
    SetResultsMuted(1, true);
}

void CCalculateWidget::CamerasChanged(int first, int count)
{
    m_pRows->Write(m_cameraList, first, count);
    SetResultsMuted(0, true);
    SetResultsMuted(1, true);
}

void CCalculateWidget::SortShown(int column, bool ascending)
{
    m_pRows->ShowSort(column, ascending);
}

void CCalculateWidget::OnSortRequested(int column, Qt::SortOrder order)
{
    if (column >= 0 && column < NordaVocab::kColumnCount)
        m_pUndoStack->push(new CSortCamerasCommand(this, column, order == Qt::AscendingOrder));
}

void CCalculateWidget::OnBtnDel()
{
    QList<int> rows;
    const QModelIndexList selected = ui->m_pTableCamera->selectionModel()->selectedRows();
    rows.reserve(selected.size());
    for (const QModelIndex &index : selected)
        rows << index.row();
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    // Row i is camera i.
    m_pUndoStack->push(new CDeleteCamerasCommand(this, QVector<int>(rows.begin(), rows.end())));

    // The current row becomes the one above the lowest deleted row (row 0 when that was the first).
    const int lowest = rows.first();
    if (lowest > 0)
        ui->m_pTableCamera->setCurrentIndex(m_pModel->index(lowest - 1, 0));
    else if (m_pModel->rowCount() > 0)
        ui->m_pTableCamera->setCurrentIndex(m_pModel->index(0, 0));
}

void CCalculateWidget::OnSelectionChanged(const QItemSelection &, const QItemSelection &)
{
    const int count = ui->m_pTableCamera->selectionModel()->selectedRows().size();
    ui->m_pBtnDel->setEnabled(count >= 1);
    m_pDeleteAction->setEnabled(count >= 1);
    ui->m_pBtnModify->setEnabled(count == 1);
    const QVector<int> selected = SelectedCameras();
    m_pMeasureAction->setEnabled(std::any_of(selected.begin(), selected.end(),
                                             [this](int position) { return IsMeasurable(m_cameraList.At(position)); }));
}

// ---- the video standard ----------------------------------------------------------------------

// Both buttons report every switch, the unchecked one first; the switch is one step, taken when
// the chosen one reports (the command runs both passes in that order).
void CCalculateWidget::OnPALChecked(bool checked)
{
    if (checked)
        SwitchStandardTo(NordaVocab::PAL);
}

void CCalculateWidget::OnNTSCChecked(bool checked)
{
    if (checked)
        SwitchStandardTo(NordaVocab::NTSC);
}

void CCalculateWidget::SwitchStandardTo(int standard)
{
    if (m_bShowing || standard == m_iStandard)
        return;
    m_pUndoStack->push(new CSwitchStandardCommand(this, m_iStandard, standard));
}

void CCalculateWidget::StandardShown(int standard)
{
    m_iStandard = standard;
    {
        const WritingGuard showing(m_bShowing);
        const QSignalBlocker pal(ui->m_pRadioPAL);
        const QSignalBlocker ntsc(ui->m_pRadioNTSC);
        (standard == NordaVocab::NTSC ? ui->m_pRadioNTSC : ui->m_pRadioPAL)->setChecked(true);
    }
    m_calculator.SetStandard(standard);
    if (m_pAddDeviceWidget)
        m_pAddDeviceWidget->SetStandard(standard);
}

void CCalculateWidget::SetResultsMuted(int tab, bool muted)
{
    if (m_bResultsMuted[tab] == muted)
        return;
    m_bResultsMuted[tab] = muted;
    const QList<QLineEdit *> results = tab == 0 ? QList<QLineEdit *>{ui->m_pEditMonth, ui->m_pEditDay, ui->m_pEditHour}
                                                : QList<QLineEdit *>{ui->m_pEditGB2, ui->m_pEditTB2};
    for (QLineEdit *result : results) {
        result->setProperty("muted", muted);
        result->setStyleSheet(muted ? QString::fromLatin1(kMutedResult) : QString());
        result->setToolTip(muted ? tr("The inputs changed since this result: press \"Calculate\" again.") : QString());
    }
}

void CCalculateWidget::OnInputRejected(QLineEdit *edit)
{
    // A full field refuses more digits for its length, not for what they are.
    if (!edit->hasSelectedText() && edit->text().size() >= edit->maxLength())
        return;
    const QWidget *container = edit->parentWidget();
    const QPoint global = container ? container->mapToGlobal(edit->pos()) : edit->mapToGlobal(QPoint());
    CToolTip::showText(global, tr("Whole numbers only."), edit);
}

// ---- the calculation tabs --------------------------------------------------------------------

void CCalculateWidget::OnBtnCalTime()
{
    StoragePlan::RecordTime result;
    switch (StoragePlan::CalculateRecordTime(m_cameraList.Cameras(), ui->m_pEditGB->text(),
                                             ui->m_pEditRecordTime->text(), &result)) {
    case StoragePlan::Refusal::None:
        ui->m_pEditHour->setText(QString::number(result.days));
        ui->m_pEditMonth->setText(QString::number(result.months));
        ui->m_pEditDay->setText(QString::number(result.weeks));
        SetResultsMuted(0, false);
        break;
    case StoragePlan::Refusal::NoCameras:
        ShowWarn(tr("Can not find channels."));
        break;
    case StoragePlan::Refusal::DiskTooLarge:
        ShowWarn(tr("Disk space should less than 76056153GBs."));
        break;
    case StoragePlan::Refusal::DiskTooSmall:
        ShowWarn(tr("Disk space should more than 2GBs."));
        break;
    case StoragePlan::Refusal::NoHoursPerDay:
        ShowWarn(HoursRefusal(ui->m_pEditRecordTime->text()));
        break;
    case StoragePlan::Refusal::NoBitrate:
        ShowWarn(tr("Total bitrate should be more than 0."));
        break;
    default:
        break;
    }
}

void CCalculateWidget::OnBtnCalDisk()
{
    StoragePlan::DiskSpace result;
    switch (StoragePlan::CalculateDiskSpace(m_cameraList.Cameras(), ui->m_pEditDay2->text(),
                                            ui->m_pEditRecordTime2->text(), &result)) {
    case StoragePlan::Refusal::None:
        ui->m_pEditGB2->setText(result.gb);
        ui->m_pEditTB2->setText(result.tb);
        SetResultsMuted(1, false);
        break;
    case StoragePlan::Refusal::NoTime:
        ShowWarn(tr("Please input time."));
        break;
    case StoragePlan::Refusal::NoCameras:
        ShowWarn(tr("Can not find channels."));
        break;
    case StoragePlan::Refusal::TimeTooLong:
        ShowWarn(tr("Record time should less than 365 days."));
        break;
    case StoragePlan::Refusal::NoHoursPerDay:
        ShowWarn(HoursRefusal(ui->m_pEditRecordTime2->text()));
        break;
    default:
        break;
    }
}

void CCalculateWidget::OnEditTBChanged(const QString &text)
{
    if (m_bWritingDisk)
        return;
    {
        WritingGuard guard(m_bWritingDisk);
        ui->m_pEditGB->setText(StoragePlan::GBFromTB(text));
    }
    if (StoragePlan::DiskAboveLimit(ui->m_pEditGB->text())) {
        ShowWarn(tr("Disk space should less than 76056153GBs."));
        ui->m_pEditTB->setText(QStringLiteral("0"));
        ui->m_pEditGB->setText(QStringLiteral("0"));
    }
}

void CCalculateWidget::OnEditGBChanged(const QString &text)
{
    if (m_bWritingDisk)
        return;
    {
        WritingGuard guard(m_bWritingDisk);
        ui->m_pEditTB->setText(StoragePlan::TBFromGB(text));
    }
    if (StoragePlan::DiskAboveLimit(ui->m_pEditGB->text())) {
        ShowWarn(tr("Disk space should less than 76056153GBs."));
        ui->m_pEditTB->setText(QStringLiteral("0"));
        ui->m_pEditGB->setText(QStringLiteral("0"));
    }
}

void CCalculateWidget::OnEditMonthChanged(const QString &text)
{
    if (m_bWritingTime)
        return;
    const StoragePlan::TimeFields fields = StoragePlan::FromMonths(text);
    {
        WritingGuard guard(m_bWritingTime);
        ui->m_pEditWeek2->setText(fields.weeks);
        ui->m_pEditDay2->setText(fields.days);
    }
    CheckRecordDays();
}

void CCalculateWidget::OnEditWeekChanged(const QString &text)
{
    if (m_bWritingTime)
        return;
    const StoragePlan::TimeFields fields = StoragePlan::FromWeeks(text);
    {
        WritingGuard guard(m_bWritingTime);
        ui->m_pEditDay2->setText(fields.days);
        ui->m_pEditMonth2->setText(fields.months);
    }
    CheckRecordDays();
}

void CCalculateWidget::OnEditDayChanged(const QString &text)
{
    if (m_bWritingTime)
        return;
    const StoragePlan::TimeFields fields = StoragePlan::FromDays(text);
    {
        WritingGuard guard(m_bWritingTime);
        ui->m_pEditMonth2->setText(fields.months);
        ui->m_pEditWeek2->setText(fields.weeks);
    }
    CheckRecordDays();
}

void CCalculateWidget::CheckRecordDays()
{
    if (!StoragePlan::DaysAboveLimit(ui->m_pEditDay2->text()))
        return;
    ShowWarn(tr("Record time should less than 365 days."));
    // These writes run the linked slots again, which keep the group at 0.
    ui->m_pEditMonth2->setText(QStringLiteral("0"));
    ui->m_pEditWeek2->setText(QStringLiteral("0"));
    ui->m_pEditDay2->setText(QStringLiteral("0"));
}

void CCalculateWidget::OnEditRecordTimeChanged(const QString &text)
{
    WarnHoursPerDay(text, m_bHoursWarned);
}

void CCalculateWidget::OnEditRecordTimeChanged2(const QString &text)
{
    WarnHoursPerDay(text, m_bHoursWarned2);
}

void CCalculateWidget::WarnHoursPerDay(const QString &text, bool &warned)
{
    // Once while the value stays out of range: every further digit would raise another box.
    const bool outOfRange = StoragePlan::HoursPerDayOutOfRange(text);
    if (outOfRange && !warned) {
        warned = true;
        ShowWarn(tr("Record Time should between 0 and 24hours."));
    }
    warned = outOfRange;
}

QString CCalculateWidget::HoursRefusal(const QString &text) const
{
    switch (StoragePlan::HoursPerDayProblem(text)) {
    case StoragePlan::HoursProblem::NotWholeNumber:
        return tr("Record time per day should be a whole number of hours.");
    case StoragePlan::HoursProblem::Negative:
    case StoragePlan::HoursProblem::AboveDay:
        return tr("Record Time should between 0 and 24hours.");
    default:
        return tr("Record time per day should be more than 0 hours.");
    }
}

// ---- keys ------------------------------------------------------------------------------------

void CCalculateWidget::keyPressEvent(QKeyEvent *event)
{
    // Escape never closes the page; nothing reaches the default dialog handling.
    if (event->key() == Qt::Key_F1)
        ShowHelpManual(this);
    event->accept();
}
