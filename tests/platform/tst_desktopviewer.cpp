// Asking the desktop for a PDF viewer: an xdg-mime of the test's own on PATH answers with a
// program's name, with nothing, or not at all.
#include "platform/desktopviewer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestDesktopViewer : public QObject
{
    Q_OBJECT

private slots:
    void asksXdgMime_data();
    void asksXdgMime();
};

void TestDesktopViewer::asksXdgMime_data()
{
    QTest::addColumn<QByteArray>("script"); // body of the fake xdg-mime; empty: none on PATH
    QTest::addColumn<bool>("viewer");
    // Names a program only for the query the opener must make.
    QTest::newRow("viewer named") << QByteArray("[ \"$*\" = 'query default application/pdf' ] && echo mupdf.desktop")
                                  << true;
    QTest::newRow("nothing named") << QByteArray("exit 0") << false;
    QTest::newRow("blank answer") << QByteArray("echo; echo '  '") << false;
    QTest::newRow("no xdg-mime") << QByteArray() << true;
    QTest::newRow("no answer in time") << QByteArray("exec /bin/sleep 30") << true;
}

void TestDesktopViewer::asksXdgMime()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, viewer);
    QTemporaryDir bin;
    if (!script.isEmpty()) {
        QFile tool(bin.filePath(QStringLiteral("xdg-mime")));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n" + script + "\n");
        tool.close();
        QVERIFY(tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    const bool answer = HasDefaultViewer(QStringLiteral("application/pdf"));
    qputenv("PATH", path);
    QCOMPARE(answer, viewer);
}

QTEST_GUILESS_MAIN(TestDesktopViewer)
#include "tst_desktopviewer.moc"
