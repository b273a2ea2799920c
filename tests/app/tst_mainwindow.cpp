// The main window as a user meets it: tabs, the About menu, the About box, full screen,
// dragging and the close confirmation.
#include "../support/modaldriver.h"
#include "app/dlgabout.h"
#include "app/nordamainwnd.h"
#include "app/userlanguage.h"
#include "app/windowtitle.h"
#include "calc/calculatewidget.h"
#include "storage/storagepage.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startsOnTheCalculatePageWithTheSelectedLook()
    {
        CNORDAMainWnd window;
        window.show();
        QCOMPARE(window.size(), QSize(1024, 768));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        auto calculate = window.findChild<QPushButton *>(QStringLiteral("pBtnUpgrade"));
        auto about = window.findChild<QPushButton *>(QStringLiteral("pBtnAbout"));
        QVERIFY(calculate && about);
        QVERIFY(calculate->styleSheet().contains(QStringLiteral("TabSelect.png")));
        QVERIFY(about->styleSheet().contains(QStringLiteral("TabUnselect.png")));
        QCOMPARE(window.StackedWidget()->currentIndex(), 0);
        QCOMPARE(window.StackedWidget()->count(), 2); // and the Storage page
        QVERIFY(qobject_cast<CCalculateWidget *>(window.StackedWidget()->currentWidget()));
        // The Storage tab shows its page with the selected look; Calculate comes back.
        auto storage = window.findChild<QPushButton *>(QStringLiteral("pBtnStorage"));
        storage->click();
        QCOMPARE(window.StackedWidget()->currentWidget(), static_cast<QWidget *>(window.StoragePage()));
        QVERIFY(storage->styleSheet().contains(QStringLiteral("TabSelect.png")));
        QVERIFY(calculate->styleSheet().contains(QStringLiteral("TabUnselect.png")));
        calculate->click();
        QCOMPARE(window.StackedWidget()->currentIndex(), 0);
        QVERIFY(storage->styleSheet().contains(QStringLiteral("TabUnselect.png")));
    }

    void aboutOpensTheMenuAndNeverSwitchesThePage()
    {
        CNORDAMainWnd window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto about = window.findChild<QPushButton *>(QStringLiteral("pBtnAbout"));
        const QString aboutLook = about->styleSheet();
        QStringList entries;
        bool seen = false;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, [&]() {
            if (auto menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                poll.stop();
                seen = true;
                for (QAction *action : menu->actions())
                    entries << action->text() + QLatin1Char('|') + action->shortcut().toString();
                menu->close();
            }
        });
        poll.start();
        about->click();
        QVERIFY(seen);
        QCOMPARE(entries, QStringList({"Help|F1", "Version|", "Language|"}));
        QCOMPARE(window.StackedWidget()->currentIndex(), 0);
        QCOMPARE(about->styleSheet(), aboutLook);
    }

    void versionShowsTheAboutBox()
    {
        CNORDAMainWnd window;
        window.show();
        QString version;
        QSize size;
        QStringList helpMessages;
        // No manual in an empty current directory: F1 in the box says so and the box stays.
        QTemporaryDir empty;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(empty.path()));
        auto seen = ExpectModal([&](QWidget *dialog) {
            version = dialog->findChild<QLabel *>(QStringLiteral("pLabelAbout"))->text();
            size = dialog->size();
            helpMessages = AnsweredDuring([dialog] { QTest::keyClick(dialog, Qt::Key_F1); });
            ClickChild(dialog, "m_pOkBtn");
        });
        window.GetVersion();
        // F1 on the main window itself opens the manual without a word.
        const QStringList windowHelp = AnsweredDuring([&window] { QTest::keyClick(&window, Qt::Key_F1); });
        QDir::setCurrent(previous);
        QCOMPARE(windowHelp, QStringList());
        QVERIFY(seen->seen);
        QCOMPARE(helpMessages, QStringList("Info|Can not find Manual."));
        QCOMPARE(seen->title, QStringLiteral("About"));
        QCOMPARE(size, QSize(520, 200));
        QCOMPARE(version, QStringLiteral(" v3.0.0.3 Build%1").arg(BuildDateNumber()));
    }

    // A language choice is kept and takes effect at the next start, which is said when it changes anything.
    void languageChoiceWaitsForTheNextStart()
    {
        QStandardPaths::setTestModeEnabled(true);
        CNORDAMainWnd window;
        QCOMPARE(AnsweredDuring([&window] { window.ChooseLanguage(1); }),
                 QStringList("Info|The new language takes effect at the next start."));
        QCOMPARE(UserLanguageChoice(), 1);
        QCOMPARE(AnsweredDuring([&window] { window.ChooseLanguage(0); }), QStringList());
        QCOMPARE(UserLanguageChoice(), 0);
    }

    void buildDateNumber_data()
    {
        QTest::addColumn<QByteArray>("date");
        QTest::addColumn<unsigned>("number");
        QTest::newRow("two-digit day") << QByteArray("Oct 29 2012") << 20121029u;
        QTest::newRow("one-digit day") << QByteArray("Mar  5 2024") << 20240305u;
        QTest::newRow("January") << QByteArray("Jan 01 2026") << 20260101u;
        QTest::newRow("December") << QByteArray("Dec 31 1999") << 19991231u;
    }

    void buildDateNumber()
    {
        QFETCH(QByteArray, date);
        QFETCH(unsigned, number);
        QCOMPARE(BuildDateNumber(date.constData()), number);
    }

    void fullScreenAndRestoreSwapTheButtonLook()
    {
        CNORDAMainWnd window;
        window.show();
        auto max = window.findChild<QPushButton *>(QStringLiteral("pBtnMax"));
        QVERIFY(max);
        QVERIFY(max->styleSheet().contains(QStringLiteral("full-screen.png")));
        max->click();
        QVERIFY(window.isFullScreen());
        QVERIFY(max->styleSheet().contains(QStringLiteral("back.png")));
        QVERIFY(max->styleSheet().contains(QStringLiteral("back_hover.png")));

        // Dragging is refused while full screen.
        CWindowTitle *title = window.TitleBar();
        const QPoint before = window.pos();
        QTest::mousePress(title, Qt::LeftButton, {}, QPoint(200, 10));
        QVERIFY(!title->IsDragging());
        QMouseEvent move(QEvent::MouseMove, QPointF(260, 40), title->mapToGlobal(QPointF(260, 40)), Qt::LeftButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(title, &move);
        QCOMPARE(window.pos(), before);

        // Double click restores.
        QTest::mouseDClick(title, Qt::LeftButton, {}, QPoint(200, 10));
        QVERIFY(!window.isFullScreen());
        QVERIFY(max->styleSheet().contains(QStringLiteral("full-screen.png")));
    }

    void titleBarDragsTheWindow()
    {
        CNORDAMainWnd window;
        window.move(50, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CWindowTitle *title = window.TitleBar();
        const QPoint pressAt(300, 10);
        const QPoint inWindow = title->mapTo(&window, pressAt);
        QTest::mousePress(title, Qt::LeftButton, {}, pressAt);
        QVERIFY(title->IsDragging());
        const QPointF global(500, 400);
        QMouseEvent move(QEvent::MouseMove, title->mapFromGlobal(global), global, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(title, &move);
        QCOMPARE(window.pos(), global.toPoint() - inWindow);
        QTest::mouseRelease(title, Qt::LeftButton, {}, pressAt);
        QVERIFY(!title->IsDragging());
    }

    void closingAsksAndCancelKeepsRunning()
    {
        CNORDAMainWnd window;
        window.show();
        auto seen = ExpectModal([](QWidget *box) { ClickChild(box, "pCancelBtn"); });
        QVERIFY(!window.close());
        QVERIFY(seen->seen);
        QCOMPARE(seen->title, QStringLiteral("Confirm"));
        QCOMPARE(seen->text, QStringLiteral("Sure to close software"));
        QVERIFY(window.isVisible());

        // The title bar's close button asks the same question.
        auto again = ExpectModal([](QWidget *box) { ClickChild(box, "pCancelBtn"); });
        window.findChild<QPushButton *>(QStringLiteral("pBtnClose"))->click();
        QVERIFY(again->seen);
        QCOMPARE(again->text, QStringLiteral("Sure to close software"));
        QVERIFY(window.isVisible());
    }

    void closingWithOkEndsTheEventLoop()
    {
        CNORDAMainWnd window;
        window.show();
        auto seen = ExpectModal([](QWidget *box) { ClickChild(box, "pOkBtn"); });
        QTimer::singleShot(0, &window, [&]() { window.close(); });
        // Guard: a loop that never ends fails instead of hanging.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, []() { QCoreApplication::exit(99); });
        guard.start(10000);
        const int result = QCoreApplication::exec();
        guard.stop();
        QVERIFY(seen->seen);
        QCOMPARE(result, 0);
        QVERIFY(!window.isVisible());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainwindow.moc"
