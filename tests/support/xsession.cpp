#include "tests/support/xsession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTest>

#include <unistd.h>
#include <vector>

namespace XSession {

namespace {
// Set in the copy of a test that runs inside its own IPC namespace.
const char kPrivateIpcVariable[] = "NORDA_TEST_PRIVATE_IPC";
} // namespace

XServer::XServer(const QString &screen)
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

XServer::~XServer()
{
    m_process.terminate();
    m_process.waitForFinished(5000);
}

QString XServer::report()
{
    return QStringLiteral("Xvfb did not start: ") + QString::fromLocal8Bit(m_process.readAllStandardError());
}

Program::Program(const QString &display, const QString &tempDir, const QString &executable, const QString &workingDir,
                 const QStringList &arguments)
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
    m_process.setWorkingDirectory(workingDir);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(executable, arguments);
    m_process.waitForStarted(kWaitMs);
    m_pid = m_process.processId();
}

Program::~Program()
{
    if (running()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool Program::waitForOutput(const QString &text)
{
    QElapsedTimer clock;
    clock.start();
    output();
    while (!m_output.contains(text) && running() && clock.elapsed() < kWaitMs) {
        m_process.waitForReadyRead(100);
        output();
    }
    return m_output.contains(text);
}

bool Program::waitForCleanExit()
{
    m_process.waitForFinished(kWaitMs);
    return !running() && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

QString Program::output()
{
    m_output += QString::fromLocal8Bit(m_process.readAll());
    return m_output;
}

QString Program::report()
{
    if (m_pid == 0)
        return QStringLiteral("NORDA did not start: ") + m_process.errorString();
    output();
    QString state = QStringLiteral("running");
    if (!running())
        state = m_process.exitStatus() == QProcess::CrashExit
            ? QStringLiteral("crashed")
            : QStringLiteral("exited with code %1").arg(m_process.exitCode());
    return QStringLiteral("NORDA (pid %1) %2; its output:\n%3").arg(m_pid).arg(state, m_output);
}

QString Xdotool(const QString &display, const QStringList &args)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), args);
    tool.waitForFinished(kWaitMs);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QStringList WindowsOf(const QString &display, Program &program, const QString &title)
{
    QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(program.pid())};
    // Without --all, xdotool joins the conditions with "or": every window of the process would match.
    if (!title.isEmpty())
        args << QStringLiteral("--all") << QStringLiteral("--name") << QStringLiteral("^%1$").arg(title);
    QElapsedTimer clock;
    clock.start();
    QStringList found;
    while (found.isEmpty() && program.running() && clock.elapsed() < kWaitMs) {
        found = Xdotool(display, args).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (found.isEmpty())
            QTest::qWait(100);
    }
    return found;
}

void PressReturn(const QString &display, const QString &window)
{
    Xdotool(display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    Xdotool(display, {QStringLiteral("key"), QStringLiteral("Return")});
}

void ClickAt(const QString &display, const QString &window, int x, int y)
{
    Xdotool(display,
            {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"), window,
             QString::number(x), QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
}

bool InPrivateIpcNamespace()
{
    return qEnvironmentVariableIsSet(kPrivateIpcVariable);
}

void ReenterInPrivateIpcNamespace(int argc, char *argv[])
{
    if (InPrivateIpcNamespace())
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

} // namespace XSession
