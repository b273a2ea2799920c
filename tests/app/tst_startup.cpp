// The program as a process on real X servers (Xvfb): single instance and the screen check.
// Keys reach the program through the XTEST extension (xdotool), as a user's would.
//
// The single-instance key and the hand-over socket belong to one user's runtime folder: the copies
// started here get a folder of their own, so a NORDA running elsewhere on the machine, or a
// parallel run of this test, never meets them. Where the system allows it the test also runs
// itself and its copies in a private IPC namespace (`unshare -i`), apart from every other segment.
#include "calc/planfile.h"
#include "tests/support/xsession.h"

#include <QDir>
#include <QSharedMemory>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace XSession;

namespace {
// The built NORDA, started in its folder.
class Norda : public Program
{
public:
    Norda(const QString &display, const QString &tempDir, const QStringList &arguments = {})
        : Program(display, tempDir, QStringLiteral(NORDA_EXE), QStringLiteral(NORDA_OUTPUT_DIR), arguments)
    {
    }
};
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
        QVERIFY2(!WindowsOf(server.display(), first, QStringLiteral("CNORDAMainWnd")).isEmpty(),
                 qPrintable(first.report()));

        // Another session of the same user (its own display) shares the user's key.
        XServer session(QStringLiteral("1280x1024x24"));
        QVERIFY2(!session.display().isEmpty(), qPrintable(session.report()));
        Norda second(session.display(), m_tempDir.path());
        QVERIFY2(second.waitForOutput(QStringLiteral("Software is already running.")), qPrintable(second.report()));
        const QStringList boxes = WindowsOf(session.display(), second);
        QVERIFY2(boxes.size() == 1, qPrintable(second.report())); // the message box only, no main window
        PressReturn(session.display(), boxes.first());
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
        QVERIFY2(!WindowsOf(server.display(), norda, QStringLiteral("CNORDAMainWnd")).isEmpty(),
                 qPrintable(norda.report()));
    }

    void planHandedToTheRunningCopy()
    {
        XServer server(QStringLiteral("1280x1024x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda first(server.display(), m_tempDir.path());
        QVERIFY2(!WindowsOf(server.display(), first, QStringLiteral("CNORDAMainWnd")).isEmpty(),
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
        QVERIFY2(!WindowsOf(server.display(), first, QStringLiteral("CNORDAMainWnd - handed\\.norda")).isEmpty(),
                 qPrintable(first.report()));
    }

    void smallScreenIsRefused()
    {
        XServer server(QStringLiteral("1280x720x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda norda(server.display(), m_tempDir.path());
        QVERIFY2(norda.waitForOutput(QStringLiteral("The least resolution is 1024*768.")), qPrintable(norda.report()));
        const QStringList boxes = WindowsOf(server.display(), norda);
        QVERIFY2(boxes.size() == 1, qPrintable(norda.report()));
        PressReturn(server.display(), boxes.first());
        QVERIFY2(norda.waitForCleanExit(), qPrintable(norda.report()));
    }

    void exactMinimumScreenStarts()
    {
        XServer server(QStringLiteral("1024x768x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        Norda norda(server.display(), m_tempDir.path());
        const QStringList windows = WindowsOf(server.display(), norda, QStringLiteral("CNORDAMainWnd"));
        QVERIFY2(windows.size() == 1, qPrintable(norda.report()));
        const QString geometry = Xdotool(server.display(), {QStringLiteral("getwindowgeometry"), windows.first()});
        QVERIFY2(geometry.contains(QStringLiteral("1024x768")), qPrintable(geometry));
        QVERIFY2(norda.running(), qPrintable(norda.report()));
    }

private:
    QTemporaryDir m_tempDir;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ReenterInPrivateIpcNamespace(argc, argv);
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
