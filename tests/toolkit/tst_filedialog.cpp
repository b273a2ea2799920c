// The framed open-file chooser: where it starts, and what choosing, cancelling and closing return.
// The embedded Qt file dialog is driven through its own file name field and buttons.
#include "tests/support/modaldriver.h"
#include "toolkit/filedialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QFileDialog *ChooserOf(QWidget *frame)
{
    return frame->findChild<QFileDialog *>();
}

void ClickChooserButton(QWidget *frame, QDialogButtonBox::StandardButton which)
{
    auto box = ChooserOf(frame)->findChild<QDialogButtonBox *>("buttonBox");
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}

} // namespace

class TestFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void startDirectory_data();
    void startDirectory();
    void chooseFile();
    void endsWithoutFile_data();
    void endsWithoutFile();

private:
    QTemporaryDir m_tmp;
    QString m_oldCurrent;
    QString m_sub;
    QString m_db;
};

void TestFileDialog::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir(m_tmp.path()).mkpath(QStringLiteral("sub")));
    m_sub = QDir::cleanPath(m_tmp.path() + QStringLiteral("/sub"));
    m_db = m_sub + QStringLiteral("/client.db");
    QFile db(m_db);
    QVERIFY(db.open(QIODevice::WriteOnly));
    db.write("SQLite format 3");
    db.close();
    QVERIFY(QDir::setCurrent(m_tmp.path()));
}

void TestFileDialog::cleanupTestCase()
{
    QDir::setCurrent(m_oldCurrent);
}

void TestFileDialog::startDirectory_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("expected"); // relative to the temporary current directory

    QTest::newRow("existing directory") << m_sub << "sub";
    QTest::newRow("relative directory") << "sub"
                                        << "sub";
    QTest::newRow("unclean directory") << "./sub/../sub/"
                                       << "sub";
    QTest::newRow("existing file") << m_db << "sub";
    QTest::newRow("missing file in existing directory") << m_sub + "/other.db"
                                                        << "sub";
    QTest::newRow("nonsense") << "no/such/place/at/all"
                              << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFileDialog::startDirectory()
{
    QFETCH(QString, dir);
    QFETCH(QString, expected);
    const QString expectedPath = QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + expected);

    QString shownDir;
    QString title;
    QSize frameSize;
    bool chooserIsChild = false;
    auto seen = ExpectModal([&](QWidget *frame) {
        QFileDialog *chooser = ChooserOf(frame);
        shownDir = chooser->directory().absolutePath();
        title = frame->findChild<QLabel *>("pLabelTitle")->text();
        frameSize = frame->size();
        chooserIsChild = !chooser->isWindow() && chooser->isVisible();
        ClickChild(frame, "m_pCloseBtn");
    });
    QCOMPARE(CFileDialog::getOpenFileName(nullptr, QStringLiteral("Open"), dir, QStringLiteral("*.db")), QString());
    QVERIFY(seen->seen);
    QCOMPARE(shownDir, expectedPath);
    QCOMPARE(title, QStringLiteral("Open"));
    QCOMPARE(frameSize, QSize(600, 400));
    QVERIFY(chooserIsChild);
}

void TestFileDialog::chooseFile()
{
    QWidget parent(nullptr, Qt::FramelessWindowHint);
    parent.setGeometry(200, 150, 800, 600);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    bool readOnly = false;
    QPoint centre;
    QString windowTitle;
    auto seen = ExpectModal(
        [&](QWidget *frame) {
            centre = frame->frameGeometry().center();
            windowTitle = frame->windowTitle();
            QFileDialog *chooser = ChooserOf(frame);
            mode = chooser->fileMode();
            readOnly = chooser->testOption(QFileDialog::ReadOnly);
            auto edit = chooser->findChild<QLineEdit *>("fileNameEdit");
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("client.db"));
            // The name completer's pop-up would swallow the click, as it does for a user.
            if (edit->completer() && edit->completer()->popup()->isVisible())
                edit->completer()->popup()->hide();
            ClickChooserButton(frame, QDialogButtonBox::Open);
        },
        &parent);
    QString filter = QStringLiteral("Database (*.db)");
    const QString chosen = CFileDialog::getOpenFileName(&parent, QStringLiteral("Open"), m_sub,
                                                        QStringLiteral("All (*);;Database (*.db)"), &filter);
    QVERIFY(seen->seen);
    QCOMPARE(chosen, m_db);
    // Over its opener, named for the window manager as in its title bar.
    QCOMPARE(centre, parent.frameGeometry().center());
    QCOMPARE(windowTitle, QStringLiteral("Open"));
    QCOMPARE(filter, QStringLiteral("Database (*.db)"));
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QVERIFY(readOnly);
}

void TestFileDialog::endsWithoutFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("chooser Cancel") << "cancel";
    QTest::newRow("frame close button") << "close";
    QTest::newRow("Return on the frame") << "return";
}

void TestFileDialog::endsWithoutFile()
{
    QFETCH(QString, how);
    auto seen = ExpectModal([&](QWidget *frame) {
        if (how == QLatin1String("cancel"))
            ClickChooserButton(frame, QDialogButtonBox::Cancel);
        else if (how == QLatin1String("close"))
            ClickChild(frame, "m_pCloseBtn");
        else
            PressKey(frame, Qt::Key_Return);
    });
    QString filter = QStringLiteral("Database (*.db)");
    QCOMPARE(
        CFileDialog::getOpenFileName(nullptr, QStringLiteral("Open"), m_db, QStringLiteral("Database (*.db)"), &filter),
        QString());
    QVERIFY(seen->seen);
    QCOMPARE(filter, QStringLiteral("Database (*.db)"));
}

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
