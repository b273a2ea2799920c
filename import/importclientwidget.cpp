#include "import/importclientwidget.h"
#include "ui_importclientwidget.h"

#include "import/devicetable.h"
#include "import/ipstandarditem.h"
#include "import/sqlite3connection.h"
#include "import/sqlite3recordset.h"
#include "toolkit/filedialog.h"
#include "toolkit/tooltip.h"
#include "toolkit/warndlg.h"

#include <QHeaderView>
#include <QStandardItemModel>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {
const int kColumnWidths[] = {40, 80, 50, 50};

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
    const QString path = ui->m_pEditPath->text();
    if (path.isEmpty()) {
        ui->m_pEditPath->setFocus();
        CToolTip::showText(ui->m_pEditPath->parentWidget()->mapToGlobal(ui->m_pEditPath->pos()),
                           tr("Database path can not be empty."), ui->m_pEditPath);
        return false;
    }

    try {
        CSQLite3Connection *connection = OpenClientDatabase(path);
        CSQLite3Recordset records;
        if (!connection->Query("select * from TInfo_Device", records))
            throw std::runtime_error("no connection");
        // Columns are looked up by name once; a missing one throws at the first row.
        int address = -1, name = -1, user = -1, password = -1, port = -1;
        const QString notImported = tr("Not Imported");
        for (; !records.IsEOF(); records.MoveNext()) {
            if (address < 0) {
                address = records.GetFieldIndex(QByteArrayLiteral("Address"));
                name = records.GetFieldIndex(QByteArrayLiteral("Name"));
                user = records.GetFieldIndex(QByteArrayLiteral("UserName"));
                password = records.GetFieldIndex(QByteArrayLiteral("UserPwd"));
                port = records.GetFieldIndex(QByteArrayLiteral("Port"));
                if (address < 0 || name < 0 || user < 0 || password < 0 || port < 0)
                    throw std::invalid_argument("Invalid filed name");
            }
            STRU_DEVICE device;
            device.strIP = records.GetString(address);
            device.iPort = records.GetInt(port);
            if (m_listed.contains({device.strIP, device.iPort}))
                continue;
            device.strDeviceName = records.GetString(name);
            device.strUserName = records.GetString(user);
            device.strPassword = records.GetString(password);
            AppendDevice(device, notImported);
        }
    } catch (const std::exception &) {
        // The SQLite layer has logged what went wrong; rows read before stay listed.
        ShowMsgBox(tr("Info"), tr("Can not recognize database file."), this);
        return false;
    }
    return true;
}

void CImportClientWidget::AppendDevice(const STRU_DEVICE &device, const QString &state)
{
    QList<QStandardItem *> row;
    row << ReadOnlyItem(new QStandardItem(QString::fromLocal8Bit(device.strDeviceName)))
        << ReadOnlyItem(new CIpStandardItem(QString::fromLocal8Bit(device.strIP)))
        << ReadOnlyItem(new QStandardItem(DevicePortText(device.iPort)))
        << ReadOnlyItem(new QStandardItem(state));
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
