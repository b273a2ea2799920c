// The program as a process on a real X server (Xvfb), driven through the XTEST extension
// (xdotool) as a user would: shared by the start-up test and the installed package's test.
//
// The programs started get the test's own runtime folder (single-instance key, hand-over socket),
// so a NORDA running elsewhere on the machine never meets them; where the system allows it, tests
// also run themselves in a private IPC namespace (ReenterInPrivateIpcNamespace).
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace XSession {

// Upper bound of every wait; waits end as soon as what they wait for happens or the program exits.
constexpr int kWaitMs = 60000;

// One Xvfb server of a given size ("1280x1024x24") for the lifetime of the object. It runs with
// -noreset: otherwise it resets when its last client (a short-lived xdotool) disconnects, and a
// program connecting during the reset fails to open the display.
class XServer
{
public:
    explicit XServer(const QString &screen);
    ~XServer();
    QString display() const { return m_display; }
    QString report();

private:
    QProcess m_process;
    QString m_display;
};

// A NORDA program started on a display from its folder, its output (stdout and stderr) collected
// for the failure messages. Its temporary files and recent plans stay in tempDir, its runtime
// files in tempDir/runtime, which the test makes (private to the user, 0700).
class Program
{
public:
    Program(const QString &display, const QString &tempDir, const QString &executable, const QString &workingDir,
            const QStringList &arguments = {});
    ~Program();
    qint64 pid() const { return m_pid; }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Waits until the output holds the text; false if the program exits first or after the timeout.
    bool waitForOutput(const QString &text);
    // True when the program ended on its own with exit code 0.
    bool waitForCleanExit();
    // Everything the program wrote so far.
    QString output();
    // What the program did and wrote, for failure messages.
    QString report();

private:
    QProcess m_process;
    QString m_output;
    qint64 m_pid = 0;
};

// Runs xdotool on the display; returns its standard output.
QString Xdotool(const QString &display, const QStringList &args);

// The visible windows of the program (with the given title, a regular expression, if any),
// waiting for at least one while the program runs.
QStringList WindowsOf(const QString &display, Program &program, const QString &title = QString());

// Focuses the window and presses Return on it.
void PressReturn(const QString &display, const QString &window);

// Clicks the left button at a point of the window.
void ClickAt(const QString &display, const QString &window, int x, int y);

// True in the copy of the test that runs in its own IPC namespace.
bool InPrivateIpcNamespace();

// Runs the test again inside a new IPC namespace; returns only if the system does not allow it.
void ReenterInPrivateIpcNamespace(int argc, char *argv[]);

} // namespace XSession
