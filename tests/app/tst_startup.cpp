// The program as a process on real X servers (Xvfb): single instance and the screen check.
// Keys reach the program through the XTEST extension (xdotool), as a user's would.
//
// The single-instance key and the hand-over socket belong to one user's runtime folder: the copies
// started here get a folder of their own, so a NORDA running elsewhere on the machine, or a
// parallel run of this test, never meets them. Where the system allows it the test also runs
// itself and its copies in a private IPC namespace (`unshare -i`), apart from every other segment.
#include "calc/planfile.h"

#include <QDir>
#include <QProcess>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

#include <vector>

namespace {
// Set in the copy of this test that runs inside its own IPC namespace.
const char kPrivateIpcVariable[] = "NORDA_STARTUP_TEST_PRIVATE_IPC";

// Upper bound of every wait; waits end as soon as what they wait for happens or the program exits.
constexpr int kWaitMs = 60000;

// One Xvfb server of a given size for the lifetime of the object. Without -noreset the server
// resets when its last client (a short-lived xdotool) disconnects, and a program connecting during
// the reset fails to open the display.
class XServer
{
public:
    explicit XServer(const QString &screen)
    {
        m_process.setProgram(QStringLiteral("Xvfb"));
        m_process.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                QStringLiteral("-noreset")});
        m_process.start();
        if (!m_process.waitForStarted(kWaitMs))
            return;
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains('\n') && m_process.state() == QProcess::Running && clock.elapsed() < kWaitMs) {
            m_process.waitForReadyRead(200);
            out += m_process.readAllStandardOutput();
        }
        bool ok = false;
        const int number = out.trimmed().toInt(&ok);
        if (ok)
            m_display = QStringLiteral(":%1").arg(number);
    }
    ~XServer()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    QString display() const { return m_display; }
    QString report() { return QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(m_process.readAllStandardError()); }

private:
    QProcess m_process;
    QString m_display;
};

// NORDA started on a display, its output (stdout and stderr) collected for the failure messages.
class Norda
{
public:
    Norda(const QString &display, const QString &tempDir, const QStringList &arguments = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The single-instance key file lives in the temporary folder: a private one keeps the test's
        // copies from removing the key file of a NORDA running outside the test.
        env.insert(QStringLiteral("TMPDIR"), tempDir);
        // Recent plans are remembered in the user's configuration: the test's copies keep theirs apart.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), tempDir);
        // The user's single-instance key and hand-over socket: the test's copies are one user of their own.
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tempDir + QStringLiteral("/runtime"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        // The test's own rules silence qt.qpa, which is where a failing connection to the display says why.
        env.remove(QStringLiteral("QT_LOGGING_RULES"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(QStringLiteral(NORDA_OUTPUT_DIR));
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(NORDA_EXE), arguments);
        m_process.waitForStarted(kWaitMs);
        m_pid = m_process.processId();
    }
    ~Norda()
    {
        if (running()) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    qint64 pid() const { return m_pid; }
    bool running() const { return m_process.state() != QProcess::NotRunning; }

    // Waits until the output holds the text; false if the program exits first or after the timeout.
    bool waitForOutput(const QString &text)
    {
        QElapsedTimer clock;
        clock.start();
        collect();
        while (!m_output.contains(text) && running() && clock.elapsed() < kWaitMs) {
            m_process.waitForReadyRead(100);
            collect();
        }
        return m_output.contains(text);
    }
    // True when the program ended on its own with exit code 0.
    bool waitForCleanExit()
    {
        m_process.waitForFinished(kWaitMs);
        return !running() && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    // What the program did and wrote, for failure messages.
    QString report()
    {
        if (m_pid == 0)
            return QStringLiteral("NORDA did not start: ") + m_process.errorString();
        collect();
        QString state = QStringLiteral("running");
        if (!running())
            state = m_process.exitStatus() == QProcess::CrashExit
                        ? QStringLiteral("crashed")
                        : QStringLiteral("exited with code %1").arg(m_process.exitCode());
        return QStringLiteral("NORDA (pid %1) %2; its output:\n%3").arg(m_pid).arg(state, m_output);
    }

private:
    void collect() { m_output += QString::fromLocal8Bit(m_process.readAll()); }

    QProcess m_process;
    QString m_output;
    qint64 m_pid = 0;
};

QString xdotool(const QString &display, const QStringList &args)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), args);
    tool.waitForFinished(kWaitMs);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// The visible windows of the program (with the given title, if any), waiting for at least one
// while the program runs.
QStringList windowsOf(const QString &display, Norda &norda, const QString &title = QString())
{
    QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(norda.pid())};
    // Without --all, xdotool joins the conditions with "or": every window of the process would match.
    if (!title.isEmpty())
        args << QStringLiteral("--all") << QStringLiteral("--name") << QStringLiteral("^%1$").arg(title);
    QElapsedTimer clock;
    clock.start();
    QStringList found;
    while (found.isEmpty() && norda.running() && clock.elapsed() < kWaitMs) {
        found = xdotool(display, args).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (found.isEmpty())
            QTest::qWait(100);
    }
    return found;
}

// Focuses the window and presses Return on it.
void pressReturn(const QString &display, const QString &window)
{
    xdotool(display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    xdotool(display, {QStringLiteral("key"), QStringLiteral("Return")});
}

// Runs this test again inside a new IPC namespace; returns only if the system does not allow it.
void reenterInPrivateIpcNamespace(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(kPrivateIpcVariable))
        return;
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {QStringLiteral("-i"), QStringLiteral("true")});
    if (!probe.waitForFinished(kWaitMs) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return;
    qputenv(kPrivateIpcVariable, "1");
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    std::vector<char *> args{const_cast<char *>("unshare"), const_cast<char *>("-i"), const_cast<char *>("--"),
                             const_cast<char *>(self.constData())};
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    execvp("unshare", args.data());
    qunsetenv(kPrivateIpcVariable);
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QFAIL("Xvfb and xdotool are needed (scripts/setup.sh installs them)");
        QVERIFY2(m_tempDir.isValid(), qPrintable(m_tempDir.errorString()));
        const QString runtime = m_tempDir.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void secondCopyIsRefusedWhileTheFirstRunsOn()
    {
        XServer server(QStringLiteral("1280x1024x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda first(server.display(), m_tempDir.path());
        QVERIFY2(!windowsOf(server.display(), first, QStringLiteral("CNORDAMainWnd")).isEmpty(),
                 qPrintable(first.report()));

        // Another session of the same user (its own display) shares the user's key.
        XServer session(QStringLiteral("1280x1024x24"));
        QVERIFY2(!session.display().isEmpty(), qPrintable(session.report()));
        Norda second(session.display(), m_tempDir.path());
        QVERIFY2(second.waitForOutput(QStringLiteral("Software is already running.")), qPrintable(second.report()));
        const QStringList boxes = windowsOf(session.display(), second);
        QVERIFY2(boxes.size() == 1, qPrintable(second.report())); // the message box only, no main window
        pressReturn(session.display(), boxes.first());
        QVERIFY2(second.waitForCleanExit(), qPrintable(second.report()));
        QVERIFY2(first.running(), qPrintable(first.report()));
    }

    // Another user's copy holding the machine-wide key of old stops nobody: the key is per user.
    void machineWideKeyOfAnotherUserDoesNotBlock()
    {
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
        QSharedMemory machineWide(QStringLiteral("NORDA"));
        const bool held = machineWide.create(1);
        qputenv("TMPDIR", tmp);
        QVERIFY2(held, qPrintable(machineWide.errorString()));
        XServer server(QStringLiteral("1280x1024x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda norda(server.display(), m_tempDir.path());
        QVERIFY2(!windowsOf(server.display(), norda, QStringLiteral("CNORDAMainWnd")).isEmpty(),
                 qPrintable(norda.report()));
    }

    void planHandedToTheRunningCopy()
    {
        XServer server(QStringLiteral("1280x1024x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda first(server.display(), m_tempDir.path());
        QVERIFY2(!windowsOf(server.display(), first, QStringLiteral("CNORDAMainWnd")).isEmpty(),
                 qPrintable(first.report()));

        STRU_PLAN plan;
        plan.vecCamera.append(STRU_CAMERA());
        plan.vecCamera.first().strName = "Gate 1";
        const QString path = QDir(m_tempDir.path()).filePath(QStringLiteral("handed.norda"));
        QVERIFY(CPlanFile::Save(path, plan, nullptr));

        // The second copy hands the plan over and ends without a word; the first opens it.
        Norda second(server.display(), m_tempDir.path(), {path});
        QVERIFY2(second.waitForCleanExit(), qPrintable(second.report()));
        QVERIFY2(!second.report().contains(QStringLiteral("already running")), qPrintable(second.report()));
        QVERIFY2(!windowsOf(server.display(), first, QStringLiteral("CNORDAMainWnd - handed\\.norda")).isEmpty(),
                 qPrintable(first.report()));
    }

    void smallScreenIsRefused()
    {
        XServer server(QStringLiteral("1280x720x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda norda(server.display(), m_tempDir.path());
        QVERIFY2(norda.waitForOutput(QStringLiteral("The least resolution is 1024*768.")), qPrintable(norda.report()));
        const QStringList boxes = windowsOf(server.display(), norda);
        QVERIFY2(boxes.size() == 1, qPrintable(norda.report()));
        pressReturn(server.display(), boxes.first());
        QVERIFY2(norda.waitForCleanExit(), qPrintable(norda.report()));
    }

    void exactMinimumScreenStarts()
    {
        XServer server(QStringLiteral("1024x768x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda norda(server.display(), m_tempDir.path());
        const QStringList windows = windowsOf(server.display(), norda, QStringLiteral("CNORDAMainWnd"));
        QVERIFY2(windows.size() == 1, qPrintable(norda.report()));
        const QString geometry = xdotool(server.display(), {QStringLiteral("getwindowgeometry"), windows.first()});
        QVERIFY2(geometry.contains(QStringLiteral("1024x768")), qPrintable(geometry));
        QVERIFY2(norda.running(), qPrintable(norda.report()));
    }

private:
    QTemporaryDir m_tempDir;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    reenterInPrivateIpcNamespace(argc, argv);
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
