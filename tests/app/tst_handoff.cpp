// Requests from a second start to the running copy: plans handed over wait their turn (one box
// at a time, never one inside another); the socket and the single-instance key live in the user's
// private runtime folder, and another user's peer is dropped.
#include "app/nordamainwnd.h"
#include "app/planhandoff.h"
#include "app/userruntime.h"
#include "app/vexaapplication.h"
#include "calc/calculatewidget.h"
#include "calc/planfile.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "toolkit/warndlg.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
int VisibleBoxes()
{
    int boxes = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        boxes += qobject_cast<CWarnDlg *>(widget) && widget->isVisible();
    return boxes;
}
} // namespace

class TestHandoff : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_runtime = m_dir.filePath("runtime");
        QVERIFY(QDir().mkpath(m_runtime) && ::chmod(QFile::encodeName(m_runtime).constData(), 0700) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
    }

    // Whatever the environment names, the socket and the key end up in a private folder.
    void onlyAPrivateFolderServes()
    {
        const QString open = m_dir.filePath("open");
        QVERIFY(QDir().mkpath(open) && ::chmod(QFile::encodeName(open).constData(), 0711) == 0);
        QVERIFY(IsPrivateFolder(m_runtime) && !IsPrivateFolder(open));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open));
        const QString name = CPlanHandoff::DefaultName();
        const QString key = CVexaApplication::InstanceKeyFile("NORDA");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
        QVERIFY(IsPrivateFolder(QFileInfo(name).absolutePath()) && IsPrivateFolder(QFileInfo(key).absolutePath()));
    }

    // A box asking about the current plan runs an event loop of its own: plans handed over
    // meanwhile wait, and the seventeenth waiting one is refused.
    void plansWaitTheirTurn()
    {
        CNORDAMainWnd window;
        window.CalculateWidget()->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 1);
        const QString plan = m_dir.filePath("wait.norda");
        QVERIFY(CPlanFile::Save(plan, STRU_PLAN(), nullptr));
        CPlanHandoff server(m_dir.filePath("plans.sock")), client(m_dir.filePath("plans.sock"));
        QVERIFY(server.Listen());
        window.AcceptHandoffs(&server);
        std::atomic<int> taken{0};
        std::atomic<bool> boxUp{false}, sent{false};
        std::unique_ptr<QThread> sender(QThread::create([&] {
            taken += client.Send(plan);
            while (!boxUp) // the first plan's save question is on screen before the others come
                QThread::msleep(5);
            for (int i = 0; i < CPlanHandoff::kMaxQueued + 4; ++i)
                taken += client.Send(plan);
            sent = true;
        }));
        int deepest = 0, asked = 0;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            deepest = qMax(deepest, VisibleBoxes());
            boxUp = boxUp || deepest > 0;
            QWidget *box = QApplication::activeModalWidget();
            if (sent && box && box->isVisible()) {
                ++asked;
                ClickChild(box, "pCancelBtn"); // keep the unsaved plan: the next one asks again
            }
        });
        watcher.start(5);
        sender->start();
        QTRY_VERIFY_WITH_TIMEOUT(sent && server.PendingPlans() == 0 && VisibleBoxes() == 0, 60000);
        QVERIFY(sender->wait());
        QCOMPARE(deepest, 1);
        QCOMPARE(taken.load(), 1 + CPlanHandoff::kMaxQueued);
        QCOMPARE(asked, 1 + CPlanHandoff::kMaxQueued);
        QCOMPARE(window.CalculateWidget()->CameraCount(), 1);
    }

    void anotherUsersPeerIsDropped()
    {
        if (::geteuid() != 0)
            QSKIP("only root can connect as another user");
        // A socket everybody may reach, so that only the peer check stands in the way.
        const QByteArray path = QFile::encodeName(m_dir.filePath("open.sock"));
        CPlanHandoff server(QFile::decodeName(path));
        QVERIFY(server.Listen());
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0 && ::chmod(path, 0777) == 0);
        QSignalSpy shows(&server, &CPlanHandoff::SignalShowRequested);
        // The other user ("nobody") in a child that makes system calls only.
        const pid_t child = ::fork();
        if (child == 0) {
            sockaddr_un address{AF_UNIX, {}};
            std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            char answer[8] = {};
            ::_exit(::setgid(65534) != 0 || ::setuid(65534) != 0                                      ? 9
                        : ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ? 2
                        : ::write(fd, "show\n", 5) != 5                                               ? 3
                                                        : ::read(fd, answer, sizeof(answer)) > 0);
        }
        int status = -1;
        while (child > 0 && ::waitpid(child, &status, WNOHANG) == 0)
            QTest::qWait(10);
        QCOMPARE(status, 0); // connected, then dropped without an answer
        QCOMPARE(shows.count(), 0);
    }

private:
    QTemporaryDir m_dir;
    QString m_runtime;
};

QTEST_MAIN(TestHandoff)
#include "tst_handoff.moc"
