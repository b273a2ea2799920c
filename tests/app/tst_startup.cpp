// The program as a process on real X servers (Xvfb): single instance and the screen check.
// Keys reach the program through the XTEST extension (xdotool), as a user's would.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {
// One Xvfb server of a given size for the lifetime of the object.
class XServer
{
public:
    explicit XServer(const QString &screen)
    {
        m_process.setProgram(QStringLiteral("Xvfb"));
        m_process.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return;
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains('\n') && clock.elapsed() < 10000) {
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

private:
    QProcess m_process;
    QString m_display;
};

// NORDA started on a display, its output collected.
class Norda
{
public:
    explicit Norda(const QString &display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        m_process.setProcessEnvironment(env);
        m_process.setWorkingDirectory(QStringLiteral(NORDA_OUTPUT_DIR));
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(NORDA_EXE), QStringList());
        m_process.waitForStarted(5000);
    }
    ~Norda()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Waits until the output holds the text; false after the timeout.
    bool waitForOutput(const QString &text, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_output.contains(text) && clock.elapsed() < timeoutMs) {
            m_process.waitForReadyRead(100);
            m_output += QString::fromLocal8Bit(m_process.readAll());
        }
        return m_output.contains(text);
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_output;
};

QString xdotool(const QString &display, const QStringList &args)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), args);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// The visible windows of a process, waiting for at least one.
QStringList windowsOf(const QString &display, qint64 pid, const QString &name = QString())
{
    QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(pid)};
    if (!name.isEmpty())
        args << QStringLiteral("--name") << name;
    QElapsedTimer clock;
    clock.start();
    QStringList found;
    while (found.isEmpty() && clock.elapsed() < 15000) {
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
    }

    void secondCopyIsRefusedWhileTheFirstRunsOn()
    {
        XServer server(QStringLiteral("1280x1024x24"));
        QVERIFY(!server.display().isEmpty());
        Norda first(server.display());
        QVERIFY(!windowsOf(server.display(), first.process().processId(), QStringLiteral("CNORDAMainWnd")).isEmpty());

        Norda second(server.display());
        QVERIFY(second.waitForOutput(QStringLiteral("Software is already running.")));
        const QStringList boxes = windowsOf(server.display(), second.process().processId());
        QCOMPARE(boxes.size(), 1); // the message box only, no main window
        pressReturn(server.display(), boxes.first());
        QVERIFY(second.process().waitForFinished(15000));
        QCOMPARE(second.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process().exitCode(), 0);
        QCOMPARE(first.process().state(), QProcess::Running);
    }

    void smallScreenIsRefused()
    {
        XServer server(QStringLiteral("1280x720x24"));
        QVERIFY(!server.display().isEmpty());
        Norda norda(server.display());
        QVERIFY(norda.waitForOutput(QStringLiteral("The least resolution is 1024*768.")));
        const QStringList boxes = windowsOf(server.display(), norda.process().processId());
        QCOMPARE(boxes.size(), 1);
        pressReturn(server.display(), boxes.first());
        QVERIFY(norda.process().waitForFinished(15000));
        QCOMPARE(norda.process().exitCode(), 0);
    }

    void exactMinimumScreenStarts()
    {
        XServer server(QStringLiteral("1024x768x24"));
        QVERIFY(!server.display().isEmpty());
        Norda norda(server.display());
        const QStringList windows = windowsOf(server.display(), norda.process().processId(), QStringLiteral("CNORDAMainWnd"));
        QCOMPARE(windows.size(), 1);
        const QString geometry = xdotool(server.display(), {QStringLiteral("getwindowgeometry"), windows.first()});
        QVERIFY2(geometry.contains(QStringLiteral("1024x768")), qPrintable(geometry));
        QCOMPARE(norda.process().state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
