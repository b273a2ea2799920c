// Plans as documents in the main window: save and open through the program's own choosers, the
// title with the plan's name and its unsaved mark, the question before unsaved changes are lost
// (close, open, new), the recent plans, a refused file that leaves the plan alone, and undo and
// redo from the keys and the Plan menu, which take the mark away on the way back to the saved plan.
#include "app/nordamainwnd.h"
#include "app/plancontroller.h"
#include "calc/calculatewidget.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "toolkit/warndlg.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
// Answers the boxes shown while 'action' runs with 'answers', in order; returns "title|text" of each.
QStringList Answering(const QList<int> &answers, const std::function<void()> &action)
{
    CWarnDlg::TakeAnswered();
    for (int answer : answers)
        CWarnDlg::SetNextAnswer(answer);
    action();
    CWarnDlg::ClearNextAnswers();
    QStringList shown;
    for (const CWarnDlg::Answered &box : CWarnDlg::TakeAnswered())
        shown << box.title + QLatin1Char('|') + box.text;
    return shown;
}

// Chooses 'path' in the program's file chooser that 'action' opens; 'chosen' runs right after.
void ChoosingFile(const QString &path, const std::function<void()> &action, const std::function<void()> &chosen = {})
{
    auto seen = ExpectModal([path, chosen](QWidget *frame) {
        if (auto *chooser = frame->findChild<QFileDialog *>()) {
            chooser->selectFile(path);
            QMetaObject::invokeMethod(chooser, "accept");
            if (chosen)
                chosen();
        }
    });
    action();
    QVERIFY(seen->seen);
}

const QString kSaveQuestion = QStringLiteral("Confirm|Save changes to the plan?");
const QString kCloseQuestion = QStringLiteral("Confirm|Sure to close software");
} // namespace

class TestPlans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/recent-plans.txt");
        m_window = std::make_unique<CNORDAMainWnd>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void saveAndOpenAgain()
    {
        CCalculateWidget *panel = m_window->CalculateWidget();
        CPlanController *plan = m_window->PlanController();
        panel->OnAddDeviceImport(MakeCamera("", 0, 2, 3, 25, 4096), "Dome", 3);
        panel->findChild<QRadioButton *>("m_pRadioNTSC")->click();
        panel->findChild<QLineEdit *>("m_pEditGB")->setText("4000");
        panel->findChild<QLineEdit *>("m_pEditDay2")->setText("30");
        QCOMPARE(m_window->windowTitle(), QStringLiteral("CNORDAMainWnd - Untitled plan*"));

        const QString path = m_dir.filePath("site.norda");
        ChoosingFile(path, [plan] { QVERIFY(plan->SavePlanAs()); });
        QCOMPARE(m_window->windowTitle(), QStringLiteral("CNORDAMainWnd - site.norda"));
        const STRU_PLAN saved = panel->Plan();

        // A new plan after the saved one needs no question; opening brings everything back.
        QCOMPARE(Answering({}, [plan] { plan->NewPlan(); }), QStringList());
        QCOMPARE(panel->CameraCount(), 0);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("CNORDAMainWnd"));
        QCOMPARE(Answering({}, [plan, path] { QVERIFY(plan->OpenPlan(path)); }), QStringList());
        const STRU_PLAN opened = panel->Plan();
        QCOMPARE(opened.vecCamera.size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(Same(opened.vecCamera.at(i), saved.vecCamera.at(i)));
        QCOMPARE(opened.iStandard, 1);
        QCOMPARE(opened.strDiskGB, QStringLiteral("4000"));
        QCOMPARE(opened.strDays, QStringLiteral("30"));
        QCOMPARE(panel->findChild<QLineEdit *>("m_pEditWeek2")->text(), saved.strWeeks);
        QCOMPARE(m_window->windowTitle(), QStringLiteral("CNORDAMainWnd - site.norda"));
        QCOMPARE(plan->RecentPlans(), QStringList{path});
    }

    void unsavedChangesAreAskedFor()
    {
        CCalculateWidget *panel = m_window->CalculateWidget();
        CPlanController *plan = m_window->PlanController();
        const QString other = m_dir.filePath("other.norda");
        QVERIFY(CPlanFile::Save(other, STRU_PLAN(), nullptr));
        panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 2);

        // Close: the save question is the only one. Cancel keeps the window and the plan;
        // Don't Save closes without asking again.
        QCOMPARE(Answering({0}, [this] { m_window->close(); }), QStringList{kSaveQuestion});
        QVERIFY(m_window->isVisible());
        QCOMPARE(Answering({2, 0}, [this] { m_window->close(); }), QStringList{kSaveQuestion});
        QVERIFY(!m_window->isVisible());
        m_window->show();
        // Open and new: Cancel keeps the plan, Don't Save replaces it.
        QCOMPARE(Answering({0}, [plan, other] { QVERIFY(!plan->OpenPlan(other)); }), QStringList{kSaveQuestion});
        QCOMPARE(panel->CameraCount(), 2);
        QCOMPARE(Answering({0}, [plan] { plan->NewPlan(); }), QStringList{kSaveQuestion});
        QCOMPARE(panel->CameraCount(), 2);
        QCOMPARE(Answering({2}, [plan, other] { QVERIFY(plan->OpenPlan(other)); }), QStringList{kSaveQuestion});
        QCOMPARE(panel->CameraCount(), 0);
        QVERIFY(!plan->IsModified());

        // Save answers the question by saving, here into the plan's own file.
        panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 1);
        QCOMPARE(Answering({1}, [plan] { plan->NewPlan(); }), QStringList{kSaveQuestion});
        STRU_PLAN reread;
        QCOMPARE(CPlanFile::Open(other, &reread, nullptr), CPlanFile::Result::Opened);
        QCOMPARE(reread.vecCamera.size(), 1);
        // Nothing unsaved: closing asks the usual question only.
        QCOMPARE(Answering({0}, [this] { m_window->close(); }), QStringList{kCloseQuestion});
        QVERIFY(m_window->isVisible());
    }

    void refusedFileLeavesThePlan()
    {
        CCalculateWidget *panel = m_window->CalculateWidget();
        panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 2);
        const QString broken = m_dir.filePath("broken.norda");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"format\": \"NORDA plan\", \"version\": 1, \"cameras\": [");
        file.close();
        const QStringList shown = Answering({2, 1}, [this, broken] { m_window->OpenPlanFile(broken); });
        QCOMPARE(shown.size(), 2);
        QVERIFY2(shown.at(1).startsWith("Warn|Can not open the plan broken.norda."), qPrintable(shown.at(1)));
        QCOMPARE(panel->CameraCount(), 2);
        QVERIFY(m_window->PlanController()->IsModified());
    }

    void undoBackToTheSavedPlanClearsTheMark()
    {
        CCalculateWidget *panel = m_window->CalculateWidget();
        const QString path = m_dir.filePath("kept.norda");
        QVERIFY(CPlanFile::Save(path, STRU_PLAN(), nullptr));
        QVERIFY(m_window->PlanController()->OpenPlan(path));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        const QString clean = QStringLiteral("CNORDAMainWnd - kept.norda");
        auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
            QTest::keyClick(m_window.get(), key, modifiers);
            return m_window->windowTitle();
        };
        panel->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 2);
        panel->findChild<QRadioButton *>("m_pRadioNTSC")->click();
        QCOMPARE(press(Qt::Key_Z), clean + "*");
        QCOMPARE(press(Qt::Key_Z), clean);
        QCOMPARE(press(Qt::Key_Y), clean + "*");
        QCOMPARE(press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), clean + "*");
        QCOMPARE(panel->CameraCount(), 2);
        // A typed input is no list step: undoing to the saved list keeps its mark.
        panel->findChild<QLineEdit *>("m_pEditGB")->setText("500");
        press(Qt::Key_Z);
        QCOMPARE(press(Qt::Key_Z), clean + "*");
        QCOMPARE(panel->CameraCount(), 0);

        // The Plan menu offers both, with their keys.
        QStringList entries;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions().mid(menu->actions().size() - 2))
                    entries << action->text() + QLatin1Char('|') + action->shortcut().toString();
                menu->close();
            }
        });
        poll.start(5);
        m_window->findChild<QPushButton *>("pBtnPlan")->click();
        QCOMPARE(entries, (QStringList{"Undo|Ctrl+Z", "Redo|Ctrl+Shift+Z"}));
    }

    void recentPlansKeepTheLastEight()
    {
        CPlanController *plan = m_window->PlanController();
        QStringList saved;
        for (int i = 0; i < 9; ++i) {
            saved.prepend(m_dir.filePath(QStringLiteral("plan%1.norda").arg(i)));
            QVERIFY(CPlanFile::Save(saved.first(), STRU_PLAN(), nullptr));
            QVERIFY(plan->OpenPlan(saved.first()));
        }
        QVERIFY(plan->OpenPlan(saved.at(3))); // opened again: to the front, not twice
        saved.move(3, 0);
        QCOMPARE(plan->RecentPlans(), saved.mid(0, 8));
        // A new window finds them again.
        m_window = std::make_unique<CNORDAMainWnd>();
        QCOMPARE(m_window->PlanController()->RecentPlans(), saved.mid(0, 8));
    }

    void exportReportSaysWhere_data()
    {
        QTest::addColumn<QString>("file");    // chosen under the test's folder
        QTest::addColumn<QString>("box");     // "title|text" with the path for %1
        QTest::addColumn<QByteArray>("head"); // of the written file
        const QString saved = QStringLiteral("Info|The report was saved to \"%1\".");
        QTest::newRow("pdf") << "site.pdf" << saved << QByteArray("%PDF-");
        QTest::newRow("csv") << "site.csv" << saved
                             << QByteArray("\xEF\xBB\xBF"
                                           "Camera Name,");
        QTest::newRow("folder removed after choosing")
            << "gone/site.pdf"
            << "Warn|Can not export the report.\nThe report could not be saved to \"%1\" "
               "(No such file or directory)."
            << QByteArray();
    }
    void exportReportSaysWhere()
    {
        QFETCH(QString, file);
        QFETCH(QString, box);
        QFETCH(QByteArray, head);
        m_window->CalculateWidget()->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 2);
        const QString path = m_dir.filePath(file);
        const QDir folder = QFileInfo(path).dir();
        QVERIFY(folder.mkpath("."));
        QStringList shown;
        ChoosingFile(
            path, [&] { shown = Answering({1}, [this] { m_window->PlanController()->ExportReport(); }); },
            [&] {
                if (head.isEmpty())
                    QDir(folder).removeRecursively();
            });
        QCOMPARE(shown, QStringList{box.arg(QDir::toNativeSeparators(path))});
        QFile written(path);
        QCOMPARE(written.open(QIODevice::ReadOnly) ? written.read(head.size()) : QByteArray(), head);
    }

private:
    std::unique_ptr<CNORDAMainWnd> m_window;
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestPlans)
#include "tst_plans.moc"
