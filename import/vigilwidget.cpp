#include "import/vigilwidget.h"
#include "ui_vigilwidget.h"

#include "import/addbyaddress.h"
#include "import/addresssearchdialog.h"
#include "import/devicetable.h"
#include "import/initthread.h"
#include "import/ipstandarditem.h"
#include "import/login.h"
#include "import/loginthread.h"
#include "import/vigilsearch.h"
#include "platform/certificatepins.h"
#include "toolkit/warndlg.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSet>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTimer>

#include <algorithm>
#include <new>

namespace {
const int kColumnWidths[] = {40, 80, 50, 130, 130};
const int kRefreshMs = 1000;
// Announcements queued while the GUI thread was busy are applied in one go, but never for
// longer than this at a time: the rest waits for the next turn of the event loop.
const int kDrainBudgetMs = 20;
const char *const kDefaultUser = "admin";
const char *const kDefaultPassword = "50817";

// The list and the pending announcements are shared with the discovery thread.
class CListLock
{
public:
    explicit CListLock(TUVO_MUTEX *mutex) : m_pMutex(mutex) { Tuvo_MutexLock(m_pMutex); }
    ~CListLock() { Tuvo_MutexUnlock(m_pMutex); }
    CListLock(const CListLock &) = delete;
    CListLock &operator=(const CListLock &) = delete;

private:
    TUVO_MUTEX *m_pMutex;
};

CDeviceSurvey::SETTINGS SurveySettings()
{
    CDeviceSurvey::SETTINGS settings;
    settings.iKeyColumn = CVigilWidget::ColSerialNo;
    settings.eKeyField = CDeviceSurvey::KeySerialNumber;
    settings.iStatusColumn = CVigilWidget::ColLogState;
    settings.strLoginFailedText = CVigilWidget::tr("Login failed");
    settings.iSurveyedState = CVigilWidget::StateSurveyed;
    settings.iStateRole = Qt::UserRole;
    return settings;
}

void SetTextIfChanged(QStandardItem *item, const QString &text)
{
    if (item->text() != text)
        item->setText(text);
}
} // namespace

CVigilWidget::CVigilWidget(QWidget *parent)
    : CBaseDialog(parent, false, false, false)
    , ui(new Ui::CVigilWidget)
    , m_pSearch(new NORDA::VigilSearch(this))
    , m_pLoginThread(new CLoginThread(this))
    , m_pInitThread(new CInitThread(this))
    , m_pTimer(new QTimer(this))
    , m_pModel(new QStandardItemModel(0, ColumnCount, this))
    , m_survey(SurveySettings(), this)
{
    ui->setupUi(GetContentFrame());
    SetTitle(tr("Vigil"));
    ShowCloseBtn(true);

    m_pSearch->Attach(this);

    SetMainAction([this] { ImportDevice(); });
    connect(ui->m_pBtnAdd, &QPushButton::clicked, this, &CVigilWidget::ImportDevice);
    connect(ui->m_pBtnLogin, &QPushButton::clicked, this, &CVigilWidget::LoginDevice);
    connect(ui->m_pBtnSearch, &QPushButton::clicked, this, &CVigilWidget::SearchAddresses);
    connect(ui->m_pBtnAddAddress, &QPushButton::clicked, this, &CVigilWidget::AddByAddress);
    connect(m_pLoginThread, &CLoginThread::SignalLoginResult, this, &CVigilWidget::OnLoginResult, Qt::QueuedConnection);
    // A survey's outcome can move a row when the table is sorted by its state.
    connect(&m_survey, &CDeviceSurvey::SignalRowStatus, this, [this] { Resort({ColLogState}); });
    connect(m_pLoginThread, &CLoginThread::SignalLogover, this, &CVigilWidget::OnLoginover, Qt::QueuedConnection);
    connect(m_pInitThread, &CInitThread::SignalLoginResult, this, &CVigilWidget::OnInitResult, Qt::QueuedConnection);
    connect(
        m_pInitThread, &CInitThread::SignalIdentity, this,
        [this](const QByteArray &serial) { OnIdentity(serial, m_pInitThread->TakeIdentity(serial)); },
        Qt::QueuedConnection);
    connect(
        m_pLoginThread, &CLoginThread::SignalIdentity, this,
        [this](const QByteArray &serial) { OnIdentity(serial, m_pLoginThread->TakeIdentity(serial)); },
        Qt::QueuedConnection);
    connect(m_pTimer, &QTimer::timeout, this, &CVigilWidget::RefreshInitLoginDevice);

    Tuvo_MutexCreate(&m_hMutex, 0);
    SetupTable();
    connect(ui->m_pTableVigil->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CVigilWidget::OnSelectionChanged);

    m_pSearch->SetKeepFilter([this](const QByteArray &serial) { return Keeps(serial); });
    m_pSearch->Start();
    m_pTimer->start(kRefreshMs);
    m_pInitThread->start();
}

CVigilWidget::~CVigilWidget()
{
    Shutdown();
    Tuvo_MutexDestroy(&m_hMutex);
    delete ui;
}

void CVigilWidget::Shutdown()
{
    if (m_bShutDown)
        return;
    m_bShutDown = true;
    m_pTimer->stop();
    // All three wind down at once; discovery is joined first, so no Update comes after this.
    m_pInitThread->RequestStop();
    m_pLoginThread->RequestStop();
    NORDA::VigilSearch::Stop();
    m_pInitThread->WaitForEnd();
    m_pLoginThread->WaitForEnd();
}

void CVigilWidget::SetupTable()
{
    const QStringList headers = {tr("IP Address"), tr("Port"), tr("Device Serial No."), tr("Version"), tr("LogState")};
    for (int column = 0; column < ColumnCount; ++column) {
        m_pModel->setHeaderData(column, Qt::Horizontal, headers.at(column));
        m_pModel->setHeaderData(column, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter), Qt::TextAlignmentRole);
    }
    ui->m_pTableVigil->setModel(m_pModel);
    QHeaderView *header = ui->m_pTableVigil->header();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSortIndicatorShown(true);
    // Sorted by address from the start; new rows take their place in whatever order is shown.
    header->setSortIndicator(ColIP, Qt::AscendingOrder);
    // The designed widths, widened where a header needs more room; addresses and serial numbers
    // get room for their usual length. The last column stretches.
    for (int column = 0; column < ColumnCount; ++column)
        ui->m_pTableVigil->setColumnWidth(column, std::max(kColumnWidths[column], header->sectionSizeHint(column)));
    // A discovered device's serial number is its endpoint address, a "urn:uuid:" of 45
    // characters: that column gets their room, the port and version columns give theirs.
    const QFontMetrics metrics = ui->m_pTableVigil->fontMetrics();
    ui->m_pTableVigil->setColumnWidth(
        ColIP,
        std::max(metrics.horizontalAdvance(QStringLiteral("255.255.255.255")) + 16, header->sectionSizeHint(ColIP)));
    ui->m_pTableVigil->setColumnWidth(ColPort, header->sectionSizeHint(ColPort));
    ui->m_pTableVigil->setColumnWidth(
        ColSerialNo, metrics.horizontalAdvance(QStringLiteral("urn:uuid:00000000-0000-0000-0000-000000000000")) + 16);
    ui->m_pTableVigil->setColumnWidth(ColVersion, std::max(70, header->sectionSizeHint(ColVersion)));
}

QVector<STRU_DEVICE> CVigilWidget::Devices() const
{
    CListLock lock(&m_hMutex);
    return CopyOfList();
}

QVector<STRU_DEVICE> CVigilWidget::CopyOfList() const
{
    QVector<STRU_DEVICE> copy;
    copy.reserve(static_cast<int>(m_devices.size()));
    for (const auto &entry : m_devices)
        copy.append(entry.second);
    return copy;
}

// ---- discovery -------------------------------------------------------------------------------

void CVigilWidget::Update(STRU_DEVICE device, int event)
{
    if (event < VIGIL_EVENT_APPEARED || event > VIGIL_EVENT_ANSWERED)
        return;
    CListLock lock(&m_hMutex);
    switch (event) {
    case VIGIL_EVENT_CHANGED: {
        // The first entry of the serial number. Only what the announcement knows changes: the
        // credentials the user typed and the login marks stay with the device.
        const auto entries = m_entriesOfSerial.constFind(device.strSerialNo);
        if (entries != m_entriesOfSerial.constEnd()) {
            STRU_DEVICE &entry = m_devices.at(entries->first());
            // Typed credentials do not follow an announcement to another host unasked.
            if (entry.strIP != device.strIP
                && (entry.strUserName != kDefaultUser || entry.strPassword != kDefaultPassword))
                entry.bMoveUnconfirmed = true;
            device.bMoveUnconfirmed = entry.bMoveUnconfirmed;
            entry.strIP = device.strIP;
            entry.iPort = device.iPort;
            entry.strVersion = device.strVersion;
        }
        break;
    }
    case VIGIL_EVENT_VANISHED:
        for (quint64 key : m_entriesOfSerial.take(device.strSerialNo))
            m_devices.erase(key);
        m_loggedIn.remove(device.strSerialNo);
        break;
    default:
        device.strUserName = kDefaultUser;
        device.strPassword = kDefaultPassword;
        m_devices.emplace(m_iNextEntry, device);
        m_entriesOfSerial[device.strSerialNo].append(m_iNextEntry);
        ++m_iNextEntry;
        break;
    }
    // The table is the GUI thread's: one queued call drains whatever has arrived by then.
    m_pendingAnnouncements.append({device, event});
    if (!m_bDrainPosted) {
        m_bDrainPosted = true;
        QMetaObject::invokeMethod(this, "DrainAnnouncements", Qt::QueuedConnection);
    }
}

void CVigilWidget::DrainAnnouncements()
{
    QVector<ANNOUNCEMENT> batch;
    {
        CListLock lock(&m_hMutex);
        batch.swap(m_pendingAnnouncements);
        m_bDrainPosted = false;
    }
    QElapsedTimer clock;
    clock.start();
    const QString waiting = tr("Waiting...");
    int next = 0;
    // Consecutive announcements of one kind are applied together.
    auto inRun = [&](int event) {
        return next < batch.size() && batch.at(next).iEvent == event && clock.elapsed() < kDrainBudgetMs;
    };
    while (next < batch.size()) {
        if (next > 0 && clock.elapsed() >= kDrainBudgetMs) {
            CListLock lock(&m_hMutex);
            m_pendingAnnouncements = batch.mid(next) + m_pendingAnnouncements;
            if (!m_bDrainPosted) {
                m_bDrainPosted = true;
                QMetaObject::invokeMethod(this, "DrainAnnouncements", Qt::QueuedConnection);
            }
            return;
        }
        const int event = batch.at(next).iEvent;
        if (event == VIGIL_EVENT_VANISHED) {
            // Rows are taken out in ranges, not one by one.
            QVector<QString> serials;
            do
                serials << QString::fromLocal8Bit(batch.at(next++).device.strSerialNo);
            while (inRun(event));
            RemoveRows(serials);
        } else if (event == VIGIL_EVENT_CHANGED) {
            // Only cell texts change: the views hear of it once, for all rows changed, instead
            // of once per cell.
            int first = m_pModel->rowCount();
            int last = -1;
            bool addressChanged = false;
            {
                const QSignalBlocker blocker(m_pModel);
                do
                    ChangeRows(batch.at(next++).device, &first, &last, &addressChanged);
                while (inRun(event));
            }
            if (last >= first)
                emit m_pModel->dataChanged(m_pModel->index(first, ColIP), m_pModel->index(last, ColLogState));
            Resort(addressChanged ? QVector<int>{ColIP, ColPort, ColVersion, ColLogState}
                                  : QVector<int>{ColPort, ColVersion});
        } else {
            do
                AppendRow(batch.at(next++).device, waiting);
            while (inRun(VIGIL_EVENT_APPEARED) || inRun(VIGIL_EVENT_ANSWERED));
        }
    }
}

void CVigilWidget::AppendRow(const STRU_DEVICE &device, const QString &waiting)
{
    const QString serial = QString::fromLocal8Bit(device.strSerialNo);
    auto serialCell = ReadOnlyItem(new QStandardItem(serial));
    auto stateCell = ReadOnlyItem(new QStandardItem(waiting));
    stateCell->setData(StateOffline, Qt::UserRole);
    const QList<QStandardItem *> cells{ReadOnlyItem(new CIpStandardItem(QString::fromLocal8Bit(device.strIP))),
                                       ReadOnlyItem(new QStandardItem(DevicePortText(device.iPort))), serialCell,
                                       ReadOnlyItem(new QStandardItem(QString::fromLocal8Bit(device.strVersion))),
                                       stateCell};
    m_pModel->insertRow(SortedRow(cells), cells);
    m_serialCells[serial].append(serialCell);
}

void CVigilWidget::ChangeRows(const STRU_DEVICE &device, int *first, int *last, bool *addressChanged)
{
    const QString address = QString::fromLocal8Bit(device.strIP);
    const QString port = DevicePortText(device.iPort);
    const QString version = QString::fromLocal8Bit(device.strVersion);
    for (int row : RowsOfSerial(QString::fromLocal8Bit(device.strSerialNo))) {
        QStandardItem *addressCell = m_pModel->item(row, ColIP);
        if (addressCell->text() != address) {
            *addressChanged = true;
            if (device.bMoveUnconfirmed)
                SetState(row, tr("Address changed"), StateOffline, DeviceFailureText(DeviceFailure::MoveUnconfirmed));
        }
        // Column 0 always holds the address cell AppendRow made, so the address sorts as one.
        SetTextIfChanged(addressCell, address);
        SetTextIfChanged(m_pModel->item(row, ColPort), port);
        SetTextIfChanged(m_pModel->item(row, ColVersion), version);
        *first = std::min(*first, row);
        *last = std::max(*last, row);
    }
}

void CVigilWidget::RemoveRows(const QVector<QString> &serials)
{
    QVector<int> rows;
    for (const QString &serial : serials)
        for (const QStandardItem *cell : m_serialCells.take(serial))
            rows << cell->row();
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the bottom up, each run of adjacent rows in one call.
    for (int i = 0; i < rows.size();) {
        int first = rows.at(i);
        int count = 1;
        while (i + count < rows.size() && rows.at(i + count) == first - 1) {
            --first;
            ++count;
        }
        m_pModel->removeRows(first, count);
        i += count;
    }
}

int CVigilWidget::SortedRow(const QList<QStandardItem *> &cells) const
{
    const QHeaderView *header = ui->m_pTableVigil->header();
    const int column = header->sortIndicatorSection();
    int low = 0;
    int high = m_pModel->rowCount();
    if (column < 0 || column >= cells.size())
        return high;
    const bool ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
    const QStandardItem *cell = cells.at(column);
    // After every row it does not sort before, as a stable sort puts it.
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const QStandardItem *other = m_pModel->item(middle, column);
        const bool before = ascending ? *cell < *other : *other < *cell;
        if (before)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

void CVigilWidget::Resort(const QVector<int> &changedColumns)
{
    const QHeaderView *header = ui->m_pTableVigil->header();
    const int column = header->sortIndicatorSection();
    if (column >= 0 && changedColumns.contains(column))
        m_pModel->sort(column, header->sortIndicatorOrder());
}

bool CVigilWidget::Keeps(const QByteArray &serial) const
{
    CListLock lock(&m_hMutex);
    return m_loggedIn.contains(serial) || m_selected.contains(serial);
}

void CVigilWidget::OnSelectionChanged()
{
    QSet<QByteArray> selected;
    for (int row : SelectedRows())
        selected.insert(m_pModel->item(row, ColSerialNo)->text().toLocal8Bit());
    CListLock lock(&m_hMutex);
    m_selected.swap(selected);
}

QVector<int> CVigilWidget::RowsOfSerial(const QString &serial) const
{
    QVector<int> rows;
    for (const QStandardItem *cell : m_serialCells.value(serial))
        rows << cell->row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---- login -----------------------------------------------------------------------------------

void CVigilWidget::RefreshInitLoginDevice()
{
    if (m_pInitThread->IsWorkRequested())
        return;
    // The results of the pass that just ended were queued before it ended: take them in first,
    // so that the next copy carries their login marks and no device is tried twice.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    CListLock lock(&m_hMutex);
    m_pInitThread->SetDevices(CopyOfList());
}

void CVigilWidget::OnInitResult(const QByteArray &serial, bool succeeded, int failure)
{
    ApplyLoginResult(serial, succeeded, true, static_cast<DeviceFailure>(failure));
}

void CVigilWidget::OnLoginResult(const QByteArray &serial, bool succeeded, int failure)
{
    ApplyLoginResult(serial, succeeded, false, static_cast<DeviceFailure>(failure));
}

void CVigilWidget::OnInitSignal(int index, bool succeeded)
{
    const QByteArray serial = SerialOfEntry(index);
    if (!serial.isNull())
        ApplyLoginResult(serial, succeeded, true);
}

void CVigilWidget::OnLoginSignal(int index, bool succeeded)
{
    const QByteArray serial = SerialOfEntry(index);
    if (!serial.isNull())
        ApplyLoginResult(serial, succeeded, false);
}

QByteArray CVigilWidget::SerialOfEntry(int index) const
{
    CListLock lock(&m_hMutex);
    if (index < 0 || static_cast<size_t>(index) >= m_devices.size())
        return QByteArray();
    const QByteArray &serial = std::next(m_devices.cbegin(), index)->second.strSerialNo;
    return serial.isNull() ? QByteArray("") : serial;
}

void CVigilWidget::ApplyLoginResult(const QByteArray &serial, bool succeeded, bool initial, DeviceFailure failure)
{
    const QVector<int> rows = RowsOfSerial(QString::fromLocal8Bit(serial));
    if (rows.isEmpty())
        return;
    {
        // A device gone from the list meanwhile keeps nothing of the result.
        CListLock lock(&m_hMutex);
        const auto entries = m_entriesOfSerial.constFind(serial);
        if (entries == m_entriesOfSerial.constEnd())
            return;
        for (quint64 key : *entries)
            m_devices.at(key).bLoginAttempted = true;
        if (succeeded)
            m_loggedIn.insert(serial);
        else if (!initial)
            m_loggedIn.remove(serial);
    }
    const QString reason = succeeded ? QString() : DeviceFailureText(failure);
    for (int row : rows) {
        const int state = m_pModel->item(row, ColLogState)->data(Qt::UserRole).toInt();
        // The initial login only reports on rows that nothing has reported on yet.
        if (initial && state != StateOffline)
            continue;
        qDebug("%s", initial ? "[ktag] InitThread signal received" : "[ktag] LoginThread signal receive succeed");
        if (!succeeded)
            SetState(row, tr("Login failed"), StateOffline, reason);
        else if (state == StateAdded)
            SetState(row, tr("Added"), StateAdded, m_pModel->item(row, ColIP)->toolTip());
        else
            SetState(row, tr("Online"), StateOnline, m_pModel->item(row, ColIP)->toolTip());
    }
    Resort({ColLogState});
}

void CVigilWidget::OnIdentity(const QByteArray &serial, const DEVICE_IDENTITY &identity)
{
    {
        CListLock lock(&m_hMutex);
        for (quint64 key : m_entriesOfSerial.value(serial))
            m_devices.at(key).identity = identity;
    }
    // The whole row tells what the device is; the state cell gets it with the login's result.
    const QString text = identity.Text();
    for (int row : RowsOfSerial(QString::fromLocal8Bit(serial)))
        for (int column = ColIP; column < ColLogState; ++column)
            m_pModel->item(row, column)->setToolTip(text);
}

void CVigilWidget::SetState(int row, const QString &text, int state, const QString &reason)
{
    QStandardItem *cell = m_pModel->item(row, ColLogState);
    if (!cell)
        return;
    cell->setText(text);
    if (state >= 0)
        cell->setData(state, Qt::UserRole);
    cell->setData(reason.isEmpty() ? QVariant() : QVariant(reason), Qt::ToolTipRole);
}

QVector<int> CVigilWidget::SelectedRows() const
{
    QVector<int> rows;
    for (const QModelIndex &index : ui->m_pTableVigil->selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

void CVigilWidget::LoginDevice()
{
    if (SelectedRows().isEmpty()) {
        ShowMsgBox(tr("Info"), tr("Please select device."), this);
        return;
    }
    if (!m_pLogin) {
        m_pLogin = new (std::nothrow) CLogin(this);
        if (!m_pLogin) {
            qDebug() << "No enough memory";
            return;
        }
        m_pLogin->SetTitle(tr("Login"));
    }
    {
        const QVector<int> selected = SelectedRows();
        m_pLogin->SetDeviceText(SelectedDevicesText(selected));
        // A device whose certificate changed is trusted again only when the user says so here.
        const QString changed = DeviceFailureText(DeviceFailure::CertificateChanged);
        const bool offer = std::any_of(selected.cbegin(), selected.cend(), [&](int row) {
            return m_pModel->item(row, ColLogState)->data(Qt::ToolTipRole).toString() == changed;
        });
        m_pLogin->OfferNewCertificate(offer);
        m_pLogin->setFixedSize(350, offer ? 232 : 200);
        // A device that moved comes with the credentials it had: logging in confirms the move.
        QSet<QByteArray> serials;
        for (int row : selected)
            serials.insert(m_pModel->item(row, ColSerialNo)->text().toLocal8Bit());
        CListLock lock(&m_hMutex);
        for (const auto &entry : m_devices) {
            const STRU_DEVICE &device = entry.second;
            if (device.bMoveUnconfirmed && serials.contains(device.strSerialNo)) {
                m_pLogin->SetCredentials(QString::fromLocal8Bit(device.strUserName),
                                         QString::fromLocal8Bit(device.strPassword));
                break;
            }
        }
    }
    if (m_pLogin->exec() != QDialog::Accepted || m_bShutDown)
        return;
    // Discovery may have removed rows while the login dialog was open.
    const QVector<int> rows = SelectedRows();
    StartLogin(rows, m_pLogin->GetUserName(), m_pLogin->GetPassword(), m_pLogin->AcceptsNewCertificate());
}

void CVigilWidget::StartLogin(const QVector<int> &rows, const QString &userName, const QString &password,
                              bool acceptNewCertificate)
{
    QSet<QByteArray> serials;
    const QString waiting = tr("Waiting...");
    for (int row : rows) {
        SetState(row, waiting, -1);
        serials.insert(m_pModel->item(row, ColSerialNo)->text().toLocal8Bit());
    }
    QVector<STRU_DEVICE> devices;
    {
        CListLock lock(&m_hMutex);
        for (auto &entry : m_devices) {
            STRU_DEVICE &device = entry.second;
            device.bLoginRequested = serials.contains(device.strSerialNo);
            if (device.bLoginRequested) {
                device.strUserName = userName.toLocal8Bit();
                device.strPassword = password.toLocal8Bit();
                device.bMoveUnconfirmed = false;
            }
        }
        devices = CopyOfList();
    }
    if (acceptNewCertificate) {
        for (const STRU_DEVICE &device : std::as_const(devices))
            if (device.bLoginRequested)
                CertificatePins::Forget(QString::fromLocal8Bit(device.strIP), static_cast<quint16>(device.iPort));
    }
    m_pLoginThread->WaitForEnd();
    m_pLoginThread->SetLoginInfo(devices, userName, password);
    m_pLoginThread->start();
    ++m_iLoginRuns;
    SetButtonsEnabled(false);
}

QString CVigilWidget::SelectedDevicesText(const QVector<int> &rows) const
{
    if (rows.isEmpty())
        return QString();
    const int first = *std::min_element(rows.cbegin(), rows.cend());
    const QString device =
        m_pModel->item(first, ColIP)->text() + QLatin1Char(':') + m_pModel->item(first, ColPort)->text().trimmed();
    if (rows.size() == 1)
        return tr("Device: %1").arg(device);
    return tr("Devices: %1 and %2 more").arg(device).arg(rows.size() - 1);
}

void CVigilWidget::OnLoginover()
{
    // A run's end may still be queued when the next run has started.
    if (m_iLoginRuns > 0)
        --m_iLoginRuns;
    if (m_iLoginRuns == 0)
        SetButtonsEnabled(true);
}

void CVigilWidget::SetButtonsEnabled(bool enabled)
{
    ui->m_pBtnAdd->setEnabled(enabled);
    ui->m_pBtnLogin->setEnabled(enabled);
    ui->m_pBtnAddAddress->setEnabled(enabled);
}

// ---- import ----------------------------------------------------------------------------------

void CVigilWidget::ImportDevice()
{
    if (SelectedRows().isEmpty()) {
        ShowMsgBox(tr("Info"), tr("Please select device."), this);
        return;
    }
    emit OnAddClicked();
}

void CVigilWidget::PrepareSurvey()
{
    m_survey.Prepare(m_pModel, ui->m_pTableVigil->selectionModel()->selectedRows(), Devices());
}

QVector<STRU_DEVICE> CVigilWidget::CheckSelectedDevices()
{
    return m_survey.CheckSelectedDevices();
}

// ---- devices beyond the multicast segment -----------------------------------------------------

void CVigilWidget::SearchAddresses()
{
    if (!m_pAddressSearch) {
        m_pAddressSearch = new CAddressSearchDialog(this);
        m_pAddressSearch->setFixedSize(480, 215);
        connect(m_pAddressSearch, &CAddressSearchDialog::SignalFound, this, &CVigilWidget::OnAddressAnswered);
    }
    m_pAddressSearch->exec();
}

QByteArray CVigilWidget::SerialAt(const QByteArray &address, int port) const
{
    CListLock lock(&m_hMutex);
    for (const auto &entry : m_devices)
        if (entry.second.strIP == address && entry.second.iPort == port)
            return entry.second.strSerialNo.isNull() ? QByteArray("") : entry.second.strSerialNo;
    return QByteArray();
}

void CVigilWidget::OnAddressAnswered(const VIGIL_DEVICE_INFO &info)
{
    const STRU_DEVICE device = NORDA::VigilSearch::DeviceFromAnnouncement(info);
    // A device listed already (found by multicast, or by an earlier search) is not listed twice.
    {
        CListLock lock(&m_hMutex);
        if (m_entriesOfSerial.contains(device.strSerialNo))
            return;
    }
    if (!SerialAt(device.strIP, device.iPort).isNull() || m_bShutDown)
        return;
    m_pSearch->Notify(device, VIGIL_EVENT_ANSWERED);
}

void CVigilWidget::AddByAddress()
{
    if (!m_pAddByAddress) {
        m_pAddByAddress = new CAddByAddress(this);
        m_pAddByAddress->setFixedSize(350, 250);
    }
    if (m_pAddByAddress->exec() != QDialog::Accepted || m_bShutDown)
        return;
    const QByteArray address = m_pAddByAddress->Address().toLatin1();
    const int port = m_pAddByAddress->Port();
    QByteArray serial = SerialAt(address, port);
    if (serial.isNull()) {
        // Listed as a device that answered, named by where it is until a login says more.
        STRU_DEVICE device;
        device.strSerialNo = address + ':' + QByteArray::number(port);
        device.strIP = address;
        device.iPort = port;
        serial = device.strSerialNo;
        m_pSearch->Notify(device, VIGIL_EVENT_ANSWERED);
        DrainAnnouncements();
    }
    const QVector<int> rows = RowsOfSerial(QString::fromLocal8Bit(serial));
    if (rows.isEmpty())
        return;
    // The initial login must not report default credentials over the typed ones' result.
    {
        CListLock lock(&m_hMutex);
        for (quint64 key : m_entriesOfSerial.value(serial))
            m_devices.at(key).bLoginAttempted = true;
    }
    StartLogin(rows, m_pAddByAddress->UserName(), m_pAddByAddress->Password(), false);
}
