#include "app/plancontroller.h"

#include "calc/calculatewidget.h"
#include "calc/planfile.h"
#include "calc/planreport.h"
#include "toolkit/filedialog.h"
#include "toolkit/warndlg.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUndoStack>

CPlanController::CPlanController(QWidget *window, CCalculateWidget *panel)
    : QObject(window), m_pWindow(window), m_pPanel(panel)
{
    m_actions << MakeAction(tr("New Plan"), QKeySequence(Qt::CTRL | Qt::Key_N))
              << MakeAction(tr("Open Plan..."), QKeySequence(Qt::CTRL | Qt::Key_O))
              << MakeAction(tr("Save Plan"), QKeySequence(Qt::CTRL | Qt::Key_S))
              << MakeAction(tr("Save Plan As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S))
              << MakeAction(tr("Export Report..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    m_actions.at(0)->setObjectName(QStringLiteral("pActionNewPlan"));
    m_actions.at(1)->setObjectName(QStringLiteral("pActionOpenPlan"));
    m_actions.at(2)->setObjectName(QStringLiteral("pActionSavePlan"));
    m_actions.at(3)->setObjectName(QStringLiteral("pActionSavePlanAs"));
    m_actions.at(4)->setObjectName(QStringLiteral("pActionExportReport"));
    connect(m_actions.at(0), &QAction::triggered, this, &CPlanController::NewPlan);
    connect(m_actions.at(1), &QAction::triggered, this, &CPlanController::OpenPlanDialog);
    connect(m_actions.at(2), &QAction::triggered, this, [this] { SavePlan(); });
    connect(m_actions.at(3), &QAction::triggered, this, [this] { SavePlanAs(); });
    connect(m_actions.at(4), &QAction::triggered, this, &CPlanController::ExportReport);
    connect(m_pPanel, &CCalculateWidget::SignalInputChanged, this, &CPlanController::OnInputChanged);
    // Undoing back to the saved list takes the mark away again.
    connect(m_pPanel->UndoStack(), &QUndoStack::cleanChanged, this, &CPlanController::SignalTitleChanged);
    LoadRecent();
}

QAction *CPlanController::MakeAction(const QString &text, const QKeySequence &keys)
{
    auto *action = new QAction(text, m_pWindow);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    m_pWindow->addAction(action);
    return action;
}

bool CPlanController::IsModified() const
{
    return m_bInputsModified || !m_pPanel->UndoStack()->isClean();
}

QString CPlanController::TitleSuffix() const
{
    const bool modified = IsModified();
    if (m_strPath.isEmpty() && !modified)
        return QString();
    const QString name = m_strPath.isEmpty() ? tr("Untitled plan") : QFileInfo(m_strPath).fileName();
    return QStringLiteral(" - ") + name + (modified ? QStringLiteral("*") : QString());
}

void CPlanController::FillMenu(QMenu *menu)
{
    menu->addActions(m_actions.mid(0, 2));
    if (!m_recent.isEmpty()) {
        QMenu *recent = menu->addMenu(tr("Recent Plans"));
        recent->setObjectName(QStringLiteral("pRecentMenu"));
        for (const QString &path : std::as_const(m_recent)) {
            QAction *entry = recent->addAction(QDir::toNativeSeparators(path));
            connect(entry, &QAction::triggered, this, [this, path] { OpenPlan(path); });
        }
    }
    menu->addSeparator();
    menu->addActions(m_actions.mid(2, 2));
    menu->addSeparator();
    menu->addAction(m_actions.at(4));
    menu->addSeparator();
    menu->addAction(m_pPanel->UndoAction());
    menu->addAction(m_pPanel->RedoAction());
}

bool CPlanController::MaybeSave()
{
    if (!IsModified())
        return true;
    CWarnDlg box(m_pWindow);
    switch (box.ShowChoiceMsg(tr("Confirm"), tr("Save changes to the plan?"), tr("Save"), tr("Don't Save"))) {
    case 1:
        return SavePlan();
    case 2:
        return true;
    default:
        return false;
    }
}

void CPlanController::NewPlan()
{
    if (!MaybeSave())
        return;
    m_pPanel->SetPlan(STRU_PLAN());
    SetCurrent(QString(), false);
}

void CPlanController::OpenPlanDialog()
{
    if (!MaybeSave())
        return;
    const QString start = m_strPath.isEmpty() ? QDir::homePath() : QFileInfo(m_strPath).absolutePath();
    const QString path = CFileDialog::getOpenFileName(m_pWindow, tr("Open Plan"), start, tr("NORDA plans (*.norda)"));
    if (!path.isEmpty())
        OpenPlan(path);
}

bool CPlanController::OpenPlan(const QString &path)
{
    // Asked once more: a plan handed over by another copy or the recent list bypasses the dialog.
    if (!MaybeSave())
        return false;
    STRU_PLAN plan;
    QStringList messages;
    const CPlanFile::Result result = CPlanFile::Open(path, &plan, &messages);
    if (result == CPlanFile::Result::Refused) {
        ShowMsgBox(tr("Warn"),
                   tr("Can not open the plan %1.").arg(QFileInfo(path).fileName()) + QLatin1Char('\n')
                       + messages.join(QLatin1Char('\n')),
                   m_pWindow);
        return false;
    }
    m_pPanel->SetPlan(plan);
    SetCurrent(QFileInfo(path).absoluteFilePath(), false);
    AddRecent(m_strPath);
    if (result == CPlanFile::Result::OpenedWithWarnings)
        ShowMsgBox(tr("Info"), messages.join(QLatin1Char('\n')), m_pWindow);
    return true;
}

bool CPlanController::SavePlan()
{
    if (m_strPath.isEmpty())
        return SavePlanAs();
    QString error;
    if (!CPlanFile::Save(m_strPath, m_pPanel->Plan(), &error)) {
        ShowMsgBox(tr("Warn"), tr("Can not save the plan.") + QLatin1Char('\n') + error, m_pWindow);
        return false;
    }
    SetCurrent(m_strPath, false);
    AddRecent(m_strPath);
    return true;
}

bool CPlanController::SavePlanAs()
{
    const QString proposed =
        m_strPath.isEmpty() ? QDir::home().filePath(tr("plan") + QStringLiteral(".norda")) : m_strPath;
    const QString path = CFileDialog::getSaveFileName(
        m_pWindow, tr("Save Plan As"), proposed, tr("NORDA plans (*.norda)"), QString::fromLatin1(CPlanFile::kSuffix));
    if (path.isEmpty())
        return false;
    m_strPath = QFileInfo(path).absoluteFilePath();
    return SavePlan();
}

void CPlanController::ExportReport()
{
    const QString base = m_strPath.isEmpty()
        ? QDir::home().filePath(tr("plan"))
        : QFileInfo(m_strPath).absoluteFilePath().chopped(QFileInfo(m_strPath).suffix().size() + 1);
    const QString path =
        CFileDialog::getSaveFileName(m_pWindow, tr("Export Report"), base + QStringLiteral(".pdf"),
                                     tr("PDF report (*.pdf);;CSV table (*.csv)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const CPlanReport report(m_pPanel->Plan(),
                             m_strPath.isEmpty() ? QString() : QFileInfo(m_strPath).completeBaseName());
    QString error;
    const bool csv = QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    if (!(csv ? report.SaveCsv(path, &error) : report.SavePdf(path, &error)))
        ShowMsgBox(tr("Warn"), tr("Can not export the report.") + QLatin1Char('\n') + error, m_pWindow);
    else
        ShowMsgBox(tr("Info"), tr("The report was saved to \"%1\".").arg(QDir::toNativeSeparators(path)), m_pWindow);
}

void CPlanController::SetCurrent(const QString &path, bool modified)
{
    m_strPath = path;
    m_bInputsModified = modified;
    m_pPanel->UndoStack()->setClean();
    emit SignalTitleChanged();
}

void CPlanController::OnInputChanged()
{
    if (m_bInputsModified)
        return;
    m_bInputsModified = true;
    emit SignalTitleChanged();
}

void CPlanController::AddRecent(const QString &path)
{
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > kMaxRecentPlans)
        m_recent.removeLast();
    StoreRecent();
}

QString CPlanController::RecentFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/recent-plans.txt");
}

void CPlanController::LoadRecent()
{
    QFile file(RecentFile());
    if (!QFileInfo(file).isFile() || file.size() > qint64(64) * 1024
        || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines)
        if (m_recent.size() < kMaxRecentPlans && !m_recent.contains(line))
            m_recent << line;
}

void CPlanController::StoreRecent() const
{
    // Only a convenience: a list that can't be written is simply not remembered.
    QDir().mkpath(QFileInfo(RecentFile()).absolutePath());
    QSaveFile file(RecentFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    file.write(m_recent.join(QLatin1Char('\n')).toUtf8() + '\n');
    file.commit();
}
