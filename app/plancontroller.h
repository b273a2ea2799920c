// The plan as a document: which file the page's plan came from, whether it has changed since,
// and the commands that open, save and export it ("New Plan", "Open Plan...", "Save Plan",
// "Save Plan As...", "Export Report...", the recent plans). The main window shows its menu and
// title; the calculation page holds the plan itself.
#pragma once

#include <QObject>
#include <QStringList>

class CCalculateWidget;
class QAction;
class QKeySequence;
class QMenu;
class QWidget;

class CPlanController : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRecentPlans = 8;

    // 'window' is the parent of the controller's boxes and carries its shortcuts.
    CPlanController(QWidget *window, CCalculateWidget *panel);

    QString PlanPath() const { return m_strPath; }
    // Unsaved changes: an input typed since, or camera list steps away from the saved state.
    bool IsModified() const;
    // " - <file name>" and "*" while the plan has unsaved changes; empty for an untouched new plan.
    QString TitleSuffix() const;
    QStringList RecentPlans() const { return m_recent; }

    // Offers to save unsaved changes: false when the user cancels (or saving failed), so that
    // whatever was to replace the plan must not.
    bool MaybeSave();
    // Fills 'menu' with the plan commands and the recent plans.
    void FillMenu(QMenu *menu);

signals:
    void SignalTitleChanged();

public slots:
    void NewPlan();
    void OpenPlanDialog();
    // Opens the plan file at 'path' after offering to save the current one; false when nothing
    // was opened.
    bool OpenPlan(const QString &path);
    bool SavePlan();
    bool SavePlanAs();
    void ExportReport();

private:
    void SetCurrent(const QString &path, bool modified);
    void OnInputChanged();
    void AddRecent(const QString &path);
    void LoadRecent();
    void StoreRecent() const;
    static QString RecentFile();
    QAction *MakeAction(const QString &text, const QKeySequence &keys);

    QWidget *m_pWindow;
    CCalculateWidget *m_pPanel;
    QString m_strPath;
    bool m_bInputsModified = false;
    QStringList m_recent;
    QList<QAction *> m_actions; // New, Open, Save, Save As, Export
};
