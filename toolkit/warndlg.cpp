#include "warndlg.h"
#include "ui_warndlg.h"

#include <QAbstractTextDocumentLayout>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>

#include <utility>

CWarnDlg::CWarnDlg(QWidget *parent) : CBaseDialog(parent, true, true, true), ui(new Ui::CWarnDlg)
{
    ui->setupUi(static_cast<QFrame *>(GetContentFrame()));

    // The frame and the browser are transparent through the program's style sheet; a sheet of
    // their own would be replaced whenever the frame switches its background.
    ui->m_pBrowserTxt->setHtml(
        QStringLiteral("<p align=\"center\" style=\"font-family:'Arial'; font-size:9pt;\"></p>"));

    connect(ui->m_pBrowserTxt->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &CWarnDlg::TextNeededSize);
}

CWarnDlg::~CWarnDlg()
{
    delete ui;
}

int CWarnDlg::ShowMsg(const QString &title, const QString &text)
{
    return ShowText(title, text, false);
}

int CWarnDlg::ShowConfirmMsg(const QString &title, const QString &text)
{
    return ShowText(title, text, true);
}

int CWarnDlg::ShowChoiceMsg(const QString &title, const QString &text, const QString &accept, const QString &other)
{
    auto *ok = findChild<QPushButton *>(QStringLiteral("pOkBtn"));
    auto *cancel = findChild<QPushButton *>(QStringLiteral("pCancelBtn"));
    auto *bar = findChild<QGridLayout *>(QStringLiteral("gridLayout_2"));
    if (!ok || !cancel || !bar)
        return ShowText(title, text, true);
    // The third answer sits between the frame's OK and Cancel, as wide as they are.
    auto *otherBtn = new QPushButton(other, ok->parentWidget());
    otherBtn->setObjectName(QStringLiteral("m_pBtnOther"));
    otherBtn->setMinimumSize(ok->minimumSize());
    bar->removeWidget(cancel);
    bar->addWidget(otherBtn, 0, 2);
    bar->addWidget(cancel, 0, 3);
    connect(otherBtn, &QPushButton::clicked, this, [this] { done(2); });
    const QString okText = ok->text();
    ok->setText(accept);
    const int result = ShowText(title, text, true, false);
    ok->setText(okText);
    bar->removeWidget(otherBtn);
    delete otherBtn;
    bar->addWidget(cancel, 0, 2);
    return result;
}

namespace {
QList<int> g_nextAnswers;
QList<CWarnDlg::Answered> g_answered;

} // namespace

void CWarnDlg::SetNextAnswer(int answer, int times)
{
    for (int i = 0; i < times; ++i)
        g_nextAnswers.append(answer);
}

void CWarnDlg::ClearNextAnswers()
{
    g_nextAnswers.clear();
}

QList<CWarnDlg::Answered> CWarnDlg::TakeAnswered()
{
    return std::exchange(g_answered, {});
}

int CWarnDlg::PendingAnswers()
{
    return g_nextAnswers.size();
}

int CWarnDlg::ShowText(const QString &title, const QString &text, bool withBottomBar, bool confirm)
{
    if (!g_nextAnswers.isEmpty()) {
        g_answered.append({title, text, withBottomBar && confirm});
        return g_nextAnswers.takeFirst();
    }
    SizeToText(text);
    ShowCloseBtn(true);
    SetBottomBarVisible(withBottomBar);
    SetTitle(title);
    ui->m_pBrowserTxt->setText(text);
    PlaceOverOpener();
    return exec();
}

// Widens the box for a short text up to the maximum width; a longer text wraps.
void CWarnDlg::SizeToText(const QString &text)
{
    const int textWidth = ui->m_pBrowserTxt->fontMetrics().horizontalAdvance(text) + 15;
    if (textWidth + 10 <= m_iMinWidth - m_iMargin) {
        resize(m_iMinWidth, m_iHeight);
        ui->m_pBrowserTxt->setFixedWidth(textWidth);
    } else if (textWidth + 10 < m_iMaxWidth - m_iMargin) {
        resize(textWidth + 10 + m_iMargin, m_iHeight);
        ui->m_pBrowserTxt->setFixedWidth(textWidth);
    } else {
        resize(m_iMaxWidth, m_iHeight);
        ui->m_pBrowserTxt->setFixedWidth(m_iMaxWidth - m_iMargin - 10);
    }
}

void CWarnDlg::TextNeededSize(const QSizeF &)
{
    QTextBrowser *browser = ui->m_pBrowserTxt;
    QWidget *frame = GetContentFrame();
    if (!browser->parentWidget() || !browser->document() || !frame)
        return;

    const int textHeight = static_cast<int>(browser->document()->size().height() + 10);
    browser->setFixedHeight(textHeight);

    const int frameHeight = frame->height();
    int y;
    if (textHeight > frameHeight) {
        resize(width(), height() + (textHeight - frameHeight) + 30);
        PlaceOverOpener(); // grown for its text: centred again, still on the screen
        y = 15;
    } else {
        y = frameHeight / 2 - textHeight / 2;
    }
    browser->move(frame->width() / 2 - browser->width() / 2, y);
}

void CWarnDlg::resizeEvent(QResizeEvent *event)
{
    CBaseDialog::resizeEvent(event);
}

// Closing only hides the box, so exec() returns 0 and the caller still owns it.
void CWarnDlg::closeEvent(QCloseEvent *event)
{
    hide();
    event->ignore();
}

int ShowMsgBox(const QString &title, const QString &text, QWidget *parent)
{
    if (!parent)
        return -1;
    CWarnDlg dlg(parent);
    return dlg.ShowMsg(title, text);
}

int ShowConfirmBox(const QString &title, const QString &text, QWidget *parent)
{
    if (!parent)
        return -1;
    CWarnDlg dlg(parent);
    return dlg.ShowConfirmMsg(title, text);
}
