#include "camdlg/copyinfo.h"
#include "ui_copyinfo.h"

#include "toolkit/warndlg.h"

#include <QHeaderView>
#include <QStandardItemModel>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 500;
} // namespace

CCopyInfo::CCopyInfo(QWidget *parent)
    : CBaseDialog(parent, true, true, true)
    , ui(new Ui::CCopyInfo)
    , m_pModel(new QStandardItemModel(this))
{
    ui->setupUi(GetContentFrame());

    SetMainAction([this] { OnBtnOK(); });
    connect(this, &CBaseDialog::ClickedOKBtnSig, this, &CCopyInfo::OnBtnOK);
    connect(ui->m_pBtnAll, &QPushButton::clicked, this, &CCopyInfo::OnBtnAll);

    ShowCloseBtn(true);
    // OK only copies after the choice has been checked.
    SetOkBtnAutoAccept(false);
    m_pModel->setColumnCount(1);
    ui->m_pTableCopy->setModel(m_pModel);
    ui->m_pTableCopy->horizontalHeader()->hide();
    SetTitle(tr("Copy plan"));
    setFixedSize(kWidth, kHeight);
}

CCopyInfo::~CCopyInfo()
{
    delete ui;
}

void CCopyInfo::SetCameras(const QVector<STRU_CAMERA> &cameras, int source)
{
    m_vecCamera = cameras;
    m_iSource = source;
    for (int i = 0; i < m_vecCamera.size(); ++i) {
        if (i == source)
            continue;
        auto item = new QStandardItem(QString::fromLocal8Bit(m_vecCamera.at(i).strName));
        item->setData(i, Qt::UserRole);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_pModel->appendRow(item);
    }
}

void CCopyInfo::OnBtnAll()
{
    const Qt::CheckState state = m_bCheckAll ? Qt::Checked : Qt::Unchecked;
    for (int row = 0; row < m_pModel->rowCount(); ++row)
        m_pModel->item(row)->setCheckState(state);
    m_bCheckAll = !m_bCheckAll;
}

void CCopyInfo::OnBtnOK()
{
    // Without a source there is nothing to copy; the choice then counts as empty.
    const bool haveSource = m_iSource >= 0 && m_iSource < m_vecCamera.size();
    bool any = false;
    for (int row = 0; row < m_pModel->rowCount(); ++row) {
        const QModelIndex index = m_pModel->index(row, 0);
        if (index.data(Qt::CheckStateRole).toInt() == Qt::Unchecked)
            continue;
        const int target = index.data(Qt::UserRole).toInt();
        if (!haveSource || target < 0 || target >= m_vecCamera.size())
            continue;
        const QByteArray name = m_vecCamera.at(target).strName;
        m_vecCamera[target] = m_vecCamera.at(m_iSource);
        m_vecCamera[target].strName = name;
        any = true;
    }
    if (any)
        accept();
    else
        ShowMsgBox(tr("Information"), tr("Please select destiny channel."), this);
}

void CCopyInfo::OnBtnCancel()
{
    close();
}
