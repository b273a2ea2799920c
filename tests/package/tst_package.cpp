// The Debian package as a user installs it: extracted (dpkg-deb -x) into a temporary root, its
// program folder holds every file the build puts beside the program, its desktop files point at
// what it ships, and its own copy of NORDA starts, shows its window and ends cleanly.
#include "tests/support/xsession.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace XSession;

class TestPackage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFile::exists(QStringLiteral(NORDA_PACKAGE_FILE)))
            QSKIP("No package in this build folder: scripts/package.sh builds it and runs this test");
        for (const char *tool : {"dpkg-deb", "Xvfb", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is needed (scripts/setup.sh installs it)").arg(tool)));
        }
        QVERIFY2(m_root.isValid(), qPrintable(m_root.errorString()));
        QProcess extract;
        extract.setProcessChannelMode(QProcess::MergedChannels);
        extract.start(QStringLiteral("dpkg-deb"),
                      {QStringLiteral("-x"), QStringLiteral(NORDA_PACKAGE_FILE), m_root.path()});
        QVERIFY(extract.waitForFinished(kWaitMs));
        QVERIFY2(extract.exitCode() == 0, extract.readAll().constData());
    }

    void programFolderHoldsWhatTheBuildPutsThere_data()
    {
        QTest::addColumn<QString>("file");
        const QDir built(QStringLiteral(NORDA_OUTPUT_DIR));
        QDirIterator it(built.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = built.relativeFilePath(it.next());
            QTest::newRow(qPrintable(file)) << file;
        }
    }
    void programFolderHoldsWhatTheBuildPutsThere()
    {
        QFETCH(QString, file);
        QVERIFY2(QFileInfo(installed(file)).isFile(), qPrintable(installed(file)));
    }

    void desktopFilesPointAtWhatThePackageShips()
    {
        QFile entry(m_root.filePath(QStringLiteral("usr/share/applications/norda.desktop")));
        QVERIFY2(entry.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(entry.fileName()));
        const QString text = QString::fromUtf8(entry.readAll());
        const QRegularExpressionMatch exec =
            QRegularExpression(QStringLiteral("^Exec=(\\S+)"), QRegularExpression::MultilineOption).match(text);
        QVERIFY2(exec.hasMatch(), qPrintable(text));
        QVERIFY2(QFileInfo(m_root.filePath(exec.captured(1).mid(1))).isExecutable(), qPrintable(exec.captured(1)));

        const QFileInfo link(m_root.filePath(QStringLiteral("usr/bin/norda")));
        QVERIFY(link.isSymLink());
        QCOMPARE(link.symLinkTarget(), QStringLiteral(NORDA_INSTALL_DIR "/NORDA"));

        // Every size the icon theme gets is drawn at that size.
        const QDir hicolor(m_root.filePath(QStringLiteral("usr/share/icons/hicolor")));
        const QStringList sizes = hicolor.entryList({QStringLiteral("*x*")}, QDir::Dirs);
        for (const QString &size : sizes) {
            const QImage icon(hicolor.filePath(size + QStringLiteral("/apps/norda.png")));
            QCOMPARE(QStringLiteral("%1x%2").arg(icon.width()).arg(icon.height()), size);
        }
        QVERIFY2(sizes.contains(QStringLiteral("16x16")) && sizes.contains(QStringLiteral("256x256")),
                 qPrintable(sizes.join(QLatin1Char(' '))));
        QVERIFY(QFileInfo::exists(hicolor.filePath(QStringLiteral("scalable/apps/norda.svg"))));
        QVERIFY(QFileInfo::exists(m_root.filePath(QStringLiteral("usr/share/mime/packages/norda-plan.xml"))));
    }

    // As the menu entry starts it: in its folder, which also holds Setup.xml and the manuals.
    void packagedProgramStartsAndEndsCleanly()
    {
        XServer server(QStringLiteral("1024x768x24"));
        QVERIFY2(!server.display().isEmpty(), qPrintable(server.report()));
        QTemporaryDir temp;
        const QString runtime = temp.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        Program norda(server.display(), temp.path(), installed(QStringLiteral("NORDA")), installed(QString()));
        const QStringList windows = WindowsOf(server.display(), norda, QStringLiteral("CNORDAMainWnd"));
        QVERIFY2(windows.size() == 1, qPrintable(norda.report()));
        const QString main = windows.first();
        const QString geometry = Xdotool(server.display(), {QStringLiteral("getwindowgeometry"), main});
        QVERIFY2(geometry.contains(QStringLiteral("1024x768")), qPrintable(geometry));
        // The configuration read at start-up is the package's.
        QVERIFY2(!norda.output().contains(QStringLiteral("No file to read")), qPrintable(norda.report()));

        // The title bar's close button (20 x 20, 4 pixels from the right edge), then Return on the question.
        ClickAt(server.display(), main, 1024 - 4 - 10, 20);
        QStringList boxes;
        QElapsedTimer clock;
        clock.start();
        while (boxes.isEmpty() && norda.running() && clock.elapsed() < kWaitMs) {
            QTest::qWait(100);
            boxes = WindowsOf(server.display(), norda);
            boxes.removeAll(main);
        }
        QVERIFY2(boxes.size() == 1, qPrintable(norda.report()));
        PressReturn(server.display(), boxes.first());
        QVERIFY2(norda.waitForCleanExit(), qPrintable(norda.report()));
    }

private:
    QString installed(const QString &file) const
    {
        return m_root.filePath(QStringLiteral(NORDA_INSTALL_DIR).mid(1) + QLatin1Char('/') + file);
    }

    QTemporaryDir m_root;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ReenterInPrivateIpcNamespace(argc, argv);
    TestPackage test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_package.moc"
