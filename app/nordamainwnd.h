// The program's only top-level window: a frameless 1024 x 768 window with its own title bar,
// a tab strip ("Calculate", "Storage", "Plan", "About"), the calculation page and the Storage page.
#pragma once

#include <QMainWindow>

class QMenu;
class QStackedWidget;
namespace Ui {
class CNORDAMainWndClass;
}
class CWindowTitle;
class CCalculateWidget;
class CPlanController;
class CPlanHandoff;
class CStoragePage;

class CNORDAMainWnd : public QMainWindow
{
    Q_OBJECT
public:
    explicit CNORDAMainWnd(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    ~CNORDAMainWnd() override;

    CWindowTitle *TitleBar() const { return m_pTitle; }
    QStackedWidget *StackedWidget() const { return m_pStackedWidget; }
    CCalculateWidget *CalculateWidget() const { return m_pCalculateWidget; }
    CPlanController *PlanController() const { return m_pPlan; }
    // Opens the plans another start of the program hands over, and comes to the front when asked.
    void AcceptHandoffs(CPlanHandoff *handoff);
    CStoragePage *StoragePage() const { return m_pStoragePage; }

public slots:
    void OnBtnClickedUpgrade();
    void OnBtnClickedAbout();
    void GetVersion();
    void OnGetHelp();
    void OnBtnClickedPlan();
    void OnBtnClickedStorage();
    // Opens a plan file given from outside (the command line, another copy of the program).
    bool OpenPlanFile(const QString &path);
    void UpdateTitle();
    void BringToFront();
    // Keeps the user's language (0 English, 1 Chinese) for the next start and says so.
    void ChooseLanguage(int translator);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void AddLanguageMenu(QMenu *menu);

    Ui::CNORDAMainWndClass *ui;
    QStackedWidget *m_pStackedWidget = nullptr;
    CCalculateWidget *m_pCalculateWidget = nullptr;
    CWindowTitle *m_pTitle = nullptr;
    int m_iCurrentTab = 0;
    CPlanController *m_pPlan = nullptr;
    CStoragePage *m_pStoragePage = nullptr;
    QString m_strCaption; // the task bar's caption, followed by the plan's name
};
