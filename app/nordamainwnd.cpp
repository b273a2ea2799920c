#include "app/nordamainwnd.h"
#include "ui_nordamainwnd.h"

#include "app/dlgabout.h"
#include "app/plancontroller.h"
#include "app/planhandoff.h"
#include "app/userlanguage.h"
#include "app/windowtitle.h"
#include "calc/calculatewidget.h"
#include "storage/storagepage.h"
#include "toolkit/helpmanual.h"
#include "toolkit/warndlg.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QStackedWidget>

namespace {
const char kTabSelected[] =
    "QPushButton{border-image:url(:/images/Tab/TabSelect.png); color: rgb(255, 255, 255); border-width:0px;}"
    "QPushButton:hover{border-image:url(:/images/Tab/TabSelect.png); color: rgb(255, 255, 255); border-width:0px;}"
    "QPushButton:pressed{border-image:url(:/images/Tab/TabSelect.png); color: rgb(255, 255, 255); border-width:0px;}"
    "QPushButton:focus{border-image:url(:/images/Tab/TabSelect.png); color: rgb(255, 255, 255); border-width:0px;}";
const char kTabUnselected[] =
    "QPushButton{border-image:url(:/images/Tab/TabUnselect.png); color: rgb(255, 255, 255); border-width:0px;}";
const Qt::WindowFlags kWindowFlags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint;
} // namespace

// Changing the flags of a window re-creates the style of every widget in it, so the window is
// born with its final flags and setting them after the form changes nothing (unless the caller
// asked for others).
CNORDAMainWnd::CNORDAMainWnd(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags | kWindowFlags), ui(new Ui::CNORDAMainWndClass)
{
    setFixedSize(1024, 768);
    ui->setupUi(this);
    setWindowFlags(kWindowFlags);

    m_pTitle = new CWindowTitle(this);
    ui->pGridLayout->addWidget(m_pTitle, 0, 0, 1, 2);

    m_pStackedWidget = new QStackedWidget(ui->centralWidget);
    m_pCalculateWidget = new CCalculateWidget(m_pStackedWidget);
    m_pStackedWidget->addWidget(m_pCalculateWidget);
    m_pStoragePage = new CStoragePage(m_pCalculateWidget, m_pStackedWidget);
    m_pStackedWidget->addWidget(m_pStoragePage);
    ui->pGridLayout->addWidget(m_pStackedWidget, 2, 0, 1, 2);

    ui->pBtnAbout->setStyleSheet(QString::fromLatin1(kTabUnselected));
    ui->pBtnPlan->setStyleSheet(QString::fromLatin1(kTabUnselected));
    ui->pBtnStorage->setStyleSheet(QString::fromLatin1(kTabUnselected));
    OnBtnClickedUpgrade();

    m_strCaption = windowTitle();
    m_pPlan = new CPlanController(this, m_pCalculateWidget);
    connect(m_pPlan, &CPlanController::SignalTitleChanged, this, &CNORDAMainWnd::UpdateTitle);
    connect(ui->pBtnPlan, &QPushButton::clicked, this, &CNORDAMainWnd::OnBtnClickedPlan);

    connect(ui->pBtnUpgrade, &QPushButton::clicked, this, &CNORDAMainWnd::OnBtnClickedUpgrade);
    connect(ui->pBtnAbout, &QPushButton::clicked, this, &CNORDAMainWnd::OnBtnClickedAbout);
    connect(ui->pBtnStorage, &QPushButton::clicked, this, &CNORDAMainWnd::OnBtnClickedStorage);
}

CNORDAMainWnd::~CNORDAMainWnd()
{
    delete ui;
}

void CNORDAMainWnd::OnBtnClickedUpgrade()
{
    m_iCurrentTab = 0;
    m_pStackedWidget->setCurrentIndex(0);
    ui->pBtnUpgrade->setStyleSheet(QString::fromLatin1(kTabSelected));
    ui->pBtnAbout->setStyleSheet(QString::fromLatin1(kTabUnselected));
    if (m_pStoragePage)
        ui->pBtnStorage->setStyleSheet(QString::fromLatin1(kTabUnselected));
}

void CNORDAMainWnd::OnBtnClickedStorage()
{
    m_iCurrentTab = 1;
    m_pStackedWidget->setCurrentWidget(m_pStoragePage);
    ui->pBtnStorage->setStyleSheet(QString::fromLatin1(kTabSelected));
    ui->pBtnUpgrade->setStyleSheet(QString::fromLatin1(kTabUnselected));
}

void CNORDAMainWnd::OnBtnClickedAbout()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("pAboutMenu"));
    QAction *help = menu.addAction(QIcon(QStringLiteral(":/images/Help.png")), tr("Help"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutVisibleInContextMenu(true);
    // F1 is handled by the window itself; the shortcut is only shown beside the entry.
    help->setShortcutContext(Qt::WidgetShortcut);
    QAction *version = menu.addAction(QIcon(QStringLiteral(":/images/About.png")), tr("Version"));
    connect(help, &QAction::triggered, this, &CNORDAMainWnd::OnGetHelp);
    connect(version, &QAction::triggered, this, &CNORDAMainWnd::GetVersion);
    AddLanguageMenu(&menu);
    menu.exec(QCursor::pos());
}

void CNORDAMainWnd::AddLanguageMenu(QMenu *menu)
{
    QMenu *languages = menu->addMenu(tr("Language"));
    languages->setObjectName(QStringLiteral("pLanguageMenu"));
    auto *group = new QActionGroup(languages);
    // Checked: the language of the next start.
    const int choice = UserLanguageChoice();
    const int next = choice >= 0 ? choice : RunningLanguage();
    // Each language is named in itself, so that a user who can't read the current one finds theirs.
    const QStringList names{QStringLiteral("English"), QString::fromUtf8("中文")};
    for (int translator = 0; translator < names.size(); ++translator) {
        QAction *entry = languages->addAction(names.at(translator));
        entry->setCheckable(true);
        entry->setChecked(translator == next);
        entry->setData(translator);
        group->addAction(entry);
    }
    connect(group, &QActionGroup::triggered, this, [this](QAction *entry) { ChooseLanguage(entry->data().toInt()); });
}

void CNORDAMainWnd::ChooseLanguage(int translator)
{
    if (!SetUserLanguageChoice(translator)) {
        ShowMsgBox(tr("Warn"), tr("Can not keep the language choice."), this);
        return;
    }
    if (translator != RunningLanguage())
        ShowMsgBox(tr("Info"), tr("The new language takes effect at the next start."), this);
}

void CNORDAMainWnd::OnBtnClickedPlan()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("pPlanMenu"));
    m_pPlan->FillMenu(&menu);
    menu.exec(ui->pBtnPlan->mapToGlobal(QPoint(0, ui->pBtnPlan->height())));
}

bool CNORDAMainWnd::OpenPlanFile(const QString &path)
{
    // A plan handed over from outside brings the window to the front first.
    BringToFront();
    return m_pPlan->OpenPlan(path);
}

void CNORDAMainWnd::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void CNORDAMainWnd::AcceptHandoffs(CPlanHandoff *handoff)
{
    connect(handoff, &CPlanHandoff::SignalPlanReceived, this, &CNORDAMainWnd::OpenPlanFile);
    connect(handoff, &CPlanHandoff::SignalShowRequested, this, &CNORDAMainWnd::BringToFront);
}

void CNORDAMainWnd::UpdateTitle()
{
    const QString suffix = m_pPlan->TitleSuffix();
    m_pTitle->SetCaptionSuffix(suffix);
    setWindowTitle(m_strCaption + suffix);
}

void CNORDAMainWnd::OnGetHelp()
{
    ShowHelpManual(this);
}

void CNORDAMainWnd::GetVersion()
{
    CDlgAbout about(this);
    about.exec();
}

// F1 here opens the manual without a word when there is none; dialogs say so.
void CNORDAMainWnd::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        (void)OpenHelpManual();
    event->accept();
}

void CNORDAMainWnd::closeEvent(QCloseEvent *event)
{
    // With unsaved changes the save question is the only one: its answers already say whether
    // to close, and a second question after "Don't Save" would only repeat it.
    const bool closing = m_pPlan->IsModified() ? m_pPlan->MaybeSave()
                                               : ShowConfirmBox(tr("Confirm"), tr("Sure to close software"), this) == 1;
    if (closing) {
        QMetaObject::invokeMethod(qApp, "quit", Qt::QueuedConnection);
        event->accept();
    } else {
        event->ignore();
    }
}
