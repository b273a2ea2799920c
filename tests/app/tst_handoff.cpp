// Requests from a second start to the running copy, and what keeps them and the single-instance
// key to one user: plans handed over wait their turn (one box at a time, never one inside
// another), a plain start brings the window to the front, the socket and the key live in the
// user's private runtime folder, and another user's peer or segment counts for nothing.
#include "app/nordamainwnd.h"
#include "app/planhandoff.h"
#include "app/userruntime.h"
#include "app/vexaapplication.h"
#include "calc/calculatewidget.h"
#include "calc/planfile.h"
#include "tests/support/camerafixture.h"
#include "tests/support/modaldriver.h"
#include "toolkit/warndlg.h"

#include <QSharedMemory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {
constexpr uid_t kOtherUser = 65534; // nobody

// Runs 'job' in a child process as another user; its exit code, or -1.
int AsOtherUser(const std::function<int()> &job)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(kOtherUser) == 0 && ::setuid(kOtherUser) == 0 ? job() : 99);
    int status = 0;
    // The child only makes system calls; the parent's event loop can wait.
    while (child > 0 && ::waitpid(child, &status, WNOHANG) == 0)
        QTest::qWait(10);
    return child > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
        QVERIFY(m_dir.isValid());
        m_runtime = m_dir.filePath("runtime");
        QVERIFY(QDir().mkpath(m_runtime));
        QVERIFY(QFile::setPermissions(m_runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
    }

    void socketAndKeyLiveInThePrivateRuntimeFolder()
    {
        QCOMPARE(UserRuntimeDir(), m_runtime);
        QCOMPARE(QFileInfo(CPlanHandoff::DefaultName()).absolutePath(), m_runtime);
        QCOMPARE(QFileInfo(CVexaApplication::InstanceKeyFile("NORDA")).absolutePath(), m_runtime);
    }

    void onlyAPrivateFolderServes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("isPrivate");
        QTest::newRow("private") << "private" << true;
        QTest::newRow("open to others") << "open" << false;
        QTest::newRow("a link to a private folder") << "link" << false;
        QTest::newRow("another user's") << "foreign" << false;
    }

    // Whatever the environment names, the socket and the key end up in a private folder.
    void onlyAPrivateFolderServes()
    {
        QFETCH(QString, kind);
        QFETCH(bool, isPrivate);
        const QString folder = m_dir.filePath("folder-" + kind);
        if (kind == "link") {
            QVERIFY(QFile::link(m_runtime, folder));
        } else {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | (kind == "open" ? QFile::ReadOther | QFile::ExeOther
                                                                        : QFile::Permissions())));
            if (kind == "foreign" && ::chown(QFile::encodeName(folder).constData(), kOtherUser, kOtherUser) != 0)
                QSKIP("only root can give a folder to another user");
        }
        QCOMPARE(IsPrivateFolder(folder), isPrivate);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
        const QString name = CPlanHandoff::DefaultName();
        const QString key = CVexaApplication::InstanceKeyFile("NORDA");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
        QVERIFY(!name.isEmpty() && IsPrivateFolder(QFileInfo(name).absolutePath()));
        QVERIFY(!key.isEmpty() && IsPrivateFolder(QFileInfo(key).absolutePath()));
    }

    // A box asking about the current plan runs an event loop of its own: plans handed over
    // meanwhile wait, and the seventeenth waiting one is refused.
    void plansWaitTheirTurn()
    {
        CNORDAMainWnd window;
        window.show();
        window.CalculateWidget()->OnAddDeviceImport(MakeCamera("", 1, 8, 0, 25, 2048), "Cam", 1);
        const QString plan = m_dir.filePath("wait.norda");
        QVERIFY(CPlanFile::Save(plan, STRU_PLAN(), nullptr));
        CPlanHandoff server(m_dir.filePath("plans.sock"));
        QVERIFY(server.Listen());
        window.AcceptHandoffs(&server);

        const int later = CPlanHandoff::kMaxQueued + 4;
        std::atomic<int> taken{0};
        std::atomic<bool> boxUp{false};
        std::atomic<bool> sent{false};
        CPlanHandoff client(m_dir.filePath("plans.sock"));
        std::unique_ptr<QThread> sender(QThread::create([&] {
            taken += client.Send(plan);
            // The first plan's save question is on screen before the others come.
            while (!boxUp)
                QThread::msleep(5);
            for (int i = 0; i < later; ++i)
                taken += client.Send(plan);
            sent = true;
        }));
        int deepest = 0;
        int asked = 0;
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

    void plainStartBringsTheWindowToTheFront()
    {
        CNORDAMainWnd window;
        window.show();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(other.isActiveWindow());
        CPlanHandoff server(m_dir.filePath("show.sock"));
        QVERIFY(server.Listen());
        window.AcceptHandoffs(&server);
        std::atomic<bool> answered{false};
        std::unique_ptr<QThread> sender(
            QThread::create([&] { answered = CPlanHandoff(m_dir.filePath("show.sock")).SendShow(); }));
        sender->start();
        QTRY_VERIFY(window.isActiveWindow());
        QVERIFY(sender->wait());
        QVERIFY(answered);
    }

    void anotherUsersPeerIsDropped()
    {
        if (::geteuid() != 0)
            QSKIP("only root can connect as another user");
        // A folder and socket everybody may reach, so that only the peer check stands in the way.
        const QString open = m_dir.filePath("open");
        QVERIFY(QDir().mkpath(open));
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0777) == 0);
        const QString path = open + "/plans.sock";
        CPlanHandoff server(path);
        QVERIFY(server.Listen());
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0777) == 0);
        QSignalSpy plans(&server, &CPlanHandoff::SignalPlanReceived);
        QSignalSpy shows(&server, &CPlanHandoff::SignalShowRequested);
        const QByteArray socketPath = QFile::encodeName(path);
        const int result = AsOtherUser([&socketPath] {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, socketPath.constData(), sizeof(address.sun_path) - 1);
            if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
                return 2;
            const char request[] = "open /tmp/stolen.norda\n";
            if (::write(fd, request, sizeof(request) - 1) != ssize_t(sizeof(request) - 1))
                return 3;
            char answer[8] = {};
            return ::read(fd, answer, sizeof(answer)) > 0 ? 1 : 0;
        });
        QCOMPARE(result, 0); // connected, then dropped without an answer
        QTest::qWait(50);
        QCOMPARE(plans.count(), 0);
        QCOMPARE(shows.count(), 0);
    }

    void onlyTheUsersOwnSegmentCounts()
    {
        const QString keyFile = CVexaApplication::InstanceKeyFile("NORDA-test");
        QSharedMemory own;
        own.setNativeKey(keyFile);
        QVERIFY2(own.create(1), qPrintable(own.errorString()));
        QVERIFY(SharedMemoryOwnedByUser(keyFile));
        own.detach();
        if (::geteuid() != 0)
            QSKIP("only root can make a segment as another user");
        // Another user's segment that happens to sit under the same key, open to all.
        QFile file(keyFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const key_t key = ::ftok(QFile::encodeName(keyFile).constData(), 'Q');
        QCOMPARE(AsOtherUser([key] { return ::shmget(key, 1, IPC_CREAT | IPC_EXCL | 0666) == -1 ? 1 : 0; }), 0);
        QSharedMemory foreign;
        foreign.setNativeKey(keyFile);
        const bool attached = foreign.attach();
        const bool owned = SharedMemoryOwnedByUser(keyFile);
        foreign.detach();
        ::shmctl(::shmget(key, 0, 0), IPC_RMID, nullptr);
        QVERIFY(attached); // what a plain attach would have taken for a running copy
        QVERIFY(!owned);
    }

private:
    QTemporaryDir m_dir;
    QString m_runtime;
};

QTEST_MAIN(TestHandoff)
#include "tst_handoff.moc"
