#include "import/importclientwidget.h"
#include "ui_importclientwidget.h"

#include "import/devicetable.h"
#include "import/ipstandarditem.h"
#include "toolkit/filedialog.h"
#include "toolkit/tooltip.h"
#include "toolkit/warndlg.h"

#include <QHeaderView>
#include <QStandardItemModel>

#include <algorithm>
#include <vector>

namespace {
const int kColumnWidths[] = {40, 80, 50, 50};
const int kRowsPerStep = 2000;

CDeviceSurvey::SETTINGS SurveySettings()
{
    CDeviceSurvey::SETTINGS settings;
    settings.iKeyColumn = 1;
    settings.eKeyField = CDeviceSurvey::KeyIPAddress;
    settings.iStatusColumn = 3;
    settings.strLoginFailedText = CImportClientWidget::tr("Log in failed");
    return settings;
}

} // namespace

CImportClientWidget::CImportClientWidget(QWidget *parent)
    : CBaseDialog(parent, false, false, false)
    , ui(new Ui::CImportClientWidget)
    , m_pModel(new QStandardItemModel(0, ColumnCount, this))
    , m_survey(SurveySettings(), this)
{
    ui->setupUi(GetContentFrame());
    SetTitle(tr("Read from Database"));
    ShowCloseBtn(true);
    SetupTable();

    connect(ui->m_pBtnBrowse, &QPushButton::clicked, this, &CImportClientWidget::OnBtnBrowse);
    connect(ui->m_pBtnRead, &QPushButton::clicked, this, &CImportClientWidget::GetDeviceFromDatabase);
    connect(ui->m_pBtnAdd, &QPushButton::clicked, this, &CImportClientWidget::OnBtnAdd);
    connect(ui->m_pBtnCancel, &QPushButton::clicked, this, &CImportClientWidget::OnBtnCancel);
    SetMainAction([this] { OnBtnAdd(); });
    m_readTimer.setInterval(50);
    connect(&m_readTimer, &QTimer::timeout, this, &CImportClientWidget::OnReadProgress);
}

CImportClientWidget::~CImportClientWidget()
{
    delete ui;
}

void CImportClientWidget::SetupTable()
{
    const QStringList headers = {tr("Device Name"), tr("IP Address"), tr("Port"), tr("State")};
    for (int column = 0; column < ColumnCount; ++column) {
        m_pModel->setHeaderData(column, Qt::Horizontal, headers.at(column));
        m_pModel->setHeaderData(column, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter), Qt::TextAlignmentRole);
    }
    ui->m_pTableDevice->setModel(m_pModel);
    QHeaderView *header = ui->m_pTableDevice->header();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSortIndicatorShown(true);
    // Rows stay in reading order until the user sorts by a column.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    // The designed widths, widened where a header needs more room; the last column stretches.
    for (int column = 0; column < ColumnCount; ++column)
        ui->m_pTableDevice->setColumnWidth(column, std::max(kColumnWidths[column], header->sectionSizeHint(column)));
    ui->m_pTableDevice->setColumnWidth(ColName, std::max(160, header->sectionSizeHint(ColName)));
    ui->m_pTableDevice->setColumnWidth(ColAddress, std::max(140, header->sectionSizeHint(ColAddress)));
    ui->m_pTableDevice->setColumnWidth(ColPort, std::max(80, header->sectionSizeHint(ColPort)));
}

void CImportClientWidget::OnBtnBrowse()
{
    const QString start = ui->m_pEditPath->text().isEmpty() ? QStringLiteral(".") : ui->m_pEditPath->text();
    const QString path = CFileDialog::getOpenFileName(this, tr("Select Database"), start, tr("*.db"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        ui->m_pEditPath->setText(path);
}

bool CImportClientWidget::GetDeviceFromDatabase()
{
    if (m_pReader) {
        m_pReader->Cancel();
        return false;
    }
    const QString path = ui->m_pEditPath->text();
    if (path.isEmpty()) {
        ui->m_pEditPath->setFocus();
        CToolTip::showText(ui->m_pEditPath->parentWidget()->mapToGlobal(ui->m_pEditPath->pos()),
                           tr("Database path can not be empty."), ui->m_pEditPath);
        return false;
    }

    CClientDatabaseReader::LIMITS limits = m_readLimits;
    m_iDevicesBeforeRead = static_cast<int>(m_vecDevice.size());
    limits.iMaxDevices = std::max(0, std::min(limits.iMaxDevices, kMaxDevices - m_iDevicesBeforeRead));
    m_readRows.clear();
    m_pReader = std::make_unique<CClientDatabaseReader>(path, m_listed, limits);
    ShowReading(true);
    m_readTimer.start();
    return true;
}

void CImportClientWidget::OnReadProgress()
{
    if (!m_pReader)
        return;
    // The outcome first: once the read has ended, the rows taken after it are all there are.
    // A few thousand rows at a time keep the window responsive while a large table fills.
    const CClientDatabaseReader::Outcome outcome = m_pReader->Result();
    const QVector<CLIENT_DEVICE> rows = m_pReader->TakeRows(kRowsPerStep);
    const QString notImported = tr("Not Imported");
    for (const CLIENT_DEVICE &row : rows) {
        STRU_DEVICE device;
        device.strIP = row.strAddress;
        device.iPort = row.iPort;
        device.strDeviceName = row.strName;
        device.strUserName = row.strUserName;
        device.strPassword = row.strPassword;
        if (m_listed.contains({device.strIP, device.iPort}))
            continue;
        AppendDevice(device, notImported);
        m_readRows.append(m_pModel->item(m_pModel->rowCount() - 1, ColName));
    }
    if (outcome == CClientDatabaseReader::Running || rows.size() == kRowsPerStep)
        ui->m_pLabelProgress->setText(
            tr("Reading... devices found: %1").arg(m_vecDevice.size() - m_iDevicesBeforeRead));
    else
        FinishRead(outcome);
}

void CImportClientWidget::FinishRead(CClientDatabaseReader::Outcome outcome)
{
    m_readTimer.stop();
    m_pReader.reset();
    ShowReading(false);
    switch (outcome) {
    case CClientDatabaseReader::Unrecognized: {
        // Nothing of a file that failed half-way stays listed. The rows go in runs (one, unless
        // the user sorted meanwhile): one by one would move the rows after them every time.
        std::vector<int> rows;
        for (const QStandardItem *item : qAsConst(m_readRows))
            rows.push_back(item->row());
        std::sort(rows.rbegin(), rows.rend());
        for (size_t i = 0; i < rows.size();) {
            size_t last = i;
            while (last + 1 < rows.size() && rows[last + 1] == rows[last] - 1)
                ++last;
            m_pModel->removeRows(rows[last], static_cast<int>(last - i + 1));
            i = last + 1;
        }
        for (int i = m_iDevicesBeforeRead; i < m_vecDevice.size(); ++i)
            m_listed.remove({m_vecDevice.at(i).strIP, m_vecDevice.at(i).iPort});
        m_vecDevice.resize(m_iDevicesBeforeRead);
        m_readRows.clear();
        ShowMsgBox(tr("Info"), tr("Can not recognize database file."), this);
        break;
    }
    case CClientDatabaseReader::TooManyDevices:
        ShowMsgBox(tr("Info"),
                   tr("The list holds at most %1 devices; the rest of the database was not read.").arg(kMaxDevices),
                   this);
        break;
    case CClientDatabaseReader::OutOfTime:
        ShowMsgBox(tr("Info"),
                   tr("Reading the database took too long and was stopped; the devices read so far "
                      "are listed."),
                   this);
        break;
    default:
        break;
    }
    m_readRows.clear();
}

void CImportClientWidget::ShowReading(bool reading)
{
    ui->m_pBtnRead->setText(reading ? tr("Stop") : tr("Import"));
    ui->m_pEditPath->setEnabled(!reading);
    ui->m_pBtnBrowse->setEnabled(!reading);
    ui->m_pBtnAdd->setEnabled(!reading);
    ui->m_pLabelProgress->setText(reading ? tr("Reading... devices found: %1").arg(0) : QString());
}

void CImportClientWidget::done(int result)
{
    // Closing stops a read at once: what it listed stays, rows not listed yet are dropped.
    if (m_pReader) {
        m_pReader->Cancel();
        m_pReader->Wait(); // an interrupted statement ends within milliseconds
        FinishRead(CClientDatabaseReader::Cancelled);
    }
    CBaseDialog::done(result);
}

void CImportClientWidget::AppendDevice(const STRU_DEVICE &device, const QString &state)
{
    QList<QStandardItem *> row;
    row << ReadOnlyItem(new QStandardItem(QString::fromLocal8Bit(device.strDeviceName)))
        << ReadOnlyItem(new CIpStandardItem(QString::fromLocal8Bit(device.strIP)))
        << ReadOnlyItem(new QStandardItem(DevicePortText(device.iPort))) << ReadOnlyItem(new QStandardItem(state));
    m_pModel->appendRow(row);
    m_vecDevice.append(device);
    m_listed.insert({device.strIP, device.iPort});
}

void CImportClientWidget::OnBtnAdd()
{
    if (!ui->m_pTableDevice->selectionModel()->hasSelection()) {
        ShowMsgBox(tr("Info"), tr("Please select device."), this);
        return;
    }
    emit SignalAddClient();
}

void CImportClientWidget::OnBtnCancel()
{
    reject();
}

void CImportClientWidget::PrepareSurvey()
{
    m_survey.Prepare(m_pModel, ui->m_pTableDevice->selectionModel()->selectedRows(), m_vecDevice);
}

QVector<STRU_DEVICE> CImportClientWidget::CheckSelectedDevices()
{
    return m_survey.CheckSelectedDevices();
}
