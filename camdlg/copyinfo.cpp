#include "camdlg/copyinfo.h"
#include "ui_copyinfo.h"

#include "toolkit/warndlg.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 500;

// The whole row is its box's target: a click on a camera's name ticks or clears it as a click on
// the box does, on the release, with presses and double-clicks taken as the box takes them.
class CTickOnClickDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick) {
            const auto mouse = static_cast<QMouseEvent *>(event);
            const Qt::ItemFlags flags = index.flags();
            if (mouse->button() != Qt::LeftButton || !option.rect.contains(mouse->position().toPoint())
                || !flags.testFlag(Qt::ItemIsUserCheckable) || !flags.testFlag(Qt::ItemIsEnabled))
                return QStyledItemDelegate::editorEvent(event, model, option, index);
            if (type != QEvent::MouseButtonRelease)
                return true;
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
};
} // namespace

CCopyInfo::CCopyInfo(QWidget *parent)
    : CBaseDialog(parent, true, true, true), ui(new Ui::CCopyInfo), m_pModel(new QStandardItemModel(this))
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
    ui->m_pTableCopy->setItemDelegate(new CTickOnClickDelegate(ui->m_pTableCopy));
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
