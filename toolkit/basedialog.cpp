#include "basedialog.h"
#include "ui_basedialog.h"

#include "toolkit/helpmanual.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>
#include <QScreen>

namespace {

const char *const BackgroundWithBottomBar =
    "QDialog#CBaseDialogClass{border-image:url(\":/images/Dialog/dialog_bg.png\") 58;\n"
    "border-width:58;}";
const char *const BackgroundWithoutBottomBar =
    "QDialog#CBaseDialogClass{border-image:url(\":/images/Dialog/dialog_bg2.png\") 34 6 16 6;\n"
    "border-width:34 6 16 6;}";

} // namespace

CBaseDialog::CBaseDialog(QWidget *parent, bool withBottomBar, bool showOk, bool showCancel)
    : QDialog(parent), ui(new Ui::CBaseDialogClass)
{
    ui->setupUi(this);
    ui->m_pCloseBtn->hide();

    if (withBottomBar) {
        setStyleSheet(QString::fromLatin1(BackgroundWithBottomBar));
    } else {
        ui->m_pBottomFrame->hide();
        ui->m_pgridBaseDialog->setContentsMargins(6, 4, 6, 11);
        setStyleSheet(QString::fromLatin1(BackgroundWithoutBottomBar));
    }

    if (!showOk)
        ui->pOkBtn->hide();
    if (!showCancel)
        ui->pCancelBtn->hide();

    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

CBaseDialog::~CBaseDialog()
{
    delete ui;
}

void CBaseDialog::SetTitle(const QString &title)
{
    ui->pLabelTitle->setText(title);
    // The window manager's switcher and task bar show the caption too; a frame without one
    // keeps the form's title.
    setWindowTitle(title.isEmpty() ? QCoreApplication::translate("CBaseDialogClass", "Dialog") : title);
}

void CBaseDialog::ShowCloseBtn(bool show)
{
    ui->m_pCloseBtn->setVisible(show);
}

void CBaseDialog::SetBottomBarVisible(bool visible)
{
    ui->pOkBtn->setVisible(visible);
    ui->pCancelBtn->setVisible(visible);
    ui->m_pBottomFrame->setVisible(visible);
    setStyleSheet(QString::fromLatin1(visible ? BackgroundWithBottomBar : BackgroundWithoutBottomBar));
}

void CBaseDialog::SetOkBtnAutoAccept(bool autoAccept)
{
    m_bOkAutoAccept = autoAccept;
}

void CBaseDialog::SetCloseBtnAutoClose(bool autoClose)
{
    m_bCloseAutoClose = autoClose;
}

bool CBaseDialog::SetContentWidget(QWidget *widget)
{
    if (!widget)
        return false;
    if (!m_pContentLayout)
        m_pContentLayout = new QGridLayout(ui->m_pContentFrame);
    m_pContentLayout->setContentsMargins(0, 0, 0, 0);
    m_pContentLayout->addWidget(widget);
    return true;
}

QWidget *CBaseDialog::GetContentFrame() const
{
    return ui->m_pContentFrame;
}

void CBaseDialog::SetMainAction(std::function<void()> action)
{
    // Watched before any child sees the key: a focused button would otherwise click itself. A
    // shortcut does not serve either: an open combo-box list passes Return on to shortcuts after
    // it has picked the entry.
    if (!m_mainAction)
        qApp->installEventFilter(this);
    m_mainAction = std::move(action);
}

bool CBaseDialog::IsMainKey(QObject *receiver, QEvent *event) const
{
    if (event->type() != QEvent::KeyPress || !m_mainAction || !receiver->isWidgetType())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Keys in an open list, a menu or a box over this dialog belong to that window.
    return static_cast<QWidget *>(receiver)->window() == this && !QApplication::activePopupWidget();
}

bool CBaseDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (IsMainKey(watched, event)) {
        m_mainAction();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CBaseDialog::SetOkBtnEnable(bool enable)
{
    ui->pOkBtn->setEnabled(enable);
}

void CBaseDialog::on_pOkBtn_clicked()
{
    if (m_bOkAutoAccept)
        accept();
    else
        emit ClickedOKBtnSig();
}

void CBaseDialog::on_m_pCloseBtn_clicked()
{
    if (m_bCloseAutoClose)
        close();
    else
        emit ClickedCloseBtnSig();
}

// Qt's own placement at show time is not used: it maps the opener through the window system's
// record of its position, which under a window manager can still be where the opener was before
// the manager placed it (a dialog at the screen's corner), and it allows for a title bar that
// frameless windows don't have.
void CBaseDialog::PlaceOverOpener()
{
    const QWidget *opener = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const QRect over = opener ? opener->frameGeometry() : free;
    const QSize size = frameGeometry().size();
    QPoint topLeft(over.x() + (over.width() - size.width()) / 2, over.y() + (over.height() - size.height()) / 2);
    topLeft.setX(qBound(free.left(), topLeft.x(), qMax(free.left(), free.right() + 1 - size.width())));
    topLeft.setY(qBound(free.top(), topLeft.y(), qMax(free.top(), free.bottom() + 1 - size.height())));
    move(topLeft);
    m_bPlaced = true;
}

void CBaseDialog::showEvent(QShowEvent *event)
{
    // Once: a dialog kept between uses opens again where the user left it.
    if (!m_bPlaced && isWindow())
        PlaceOverOpener();
    QDialog::showEvent(event);
}

// The frame has no system title bar: a press in the top strip starts moving the dialog.
void CBaseDialog::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (pos.y() <= TitleDragHeight)
        m_iDragging = 1;
    m_pressPos = pos;
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent *)
{
    m_iDragging = 0;
}

void CBaseDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_iDragging)
        move(event->globalPosition().toPoint() - m_pressPos);
}

void CBaseDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        return; // a dialog never closes on Escape
    case Qt::Key_F1:
        ShowHelpManual(this);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        accept();
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

// Corners rounded at radius 2.
void CBaseDialog::resizeEvent(QResizeEvent *event)
{
    const int w = width();
    const int h = height();
    QRegion mask(2, 0, w - 4, h);
    mask += QRegion(0, 2, w, h - 4);
    mask += QRegion(0, 0, 4, 4, QRegion::Ellipse);
    mask += QRegion(w - 4, 0, 4, 4, QRegion::Ellipse);
    mask += QRegion(0, h - 4, 4, 4, QRegion::Ellipse);
    mask += QRegion(w - 4, h - 4, 4, 4, QRegion::Ellipse);
    setMask(mask);
    QDialog::resizeEvent(event);
}
