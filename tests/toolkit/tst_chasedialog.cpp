// The waiting window: ended by a worker's queued completion (even one that arrives before exec()
// runs), by the deferred accept/reject slots, by Cancel and window close; never by Escape.
#include "tests/support/modaldriver.h"
#include "toolkit/chasedialog.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

// Stands in for the camera list writer: announces completion from its own thread.
class FakeWorker : public QObject
{
    Q_OBJECT
signals:
    void StopChase();
};

// Ends a run that would otherwise hang, so the test fails instead of timing out.
void ArmFailsafe(QDialog *dlg)
{
    QTimer::singleShot(5000, dlg, [dlg]() {
        if (dlg->isVisible())
            dlg->done(-2);
    });
}

// A 16 x 16 GIF, enough for QMovie to decode a frame.
const QByteArray TinyGif = QByteArray::fromHex("47494638396110001000f00000ff000000000021f90400000000002c0000"
                                               "00001000100000020e848fa9cbed0fa39cb4da8bb33e05003b");

} // namespace

class TestChaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void frameOfTheDialog_data();
    void frameOfTheDialog();
    void completionBeforeExec();
    void completionWhileRunning();
    void deferredEnds_data();
    void deferredEnds();
    void escapeDoesNothing();
    void cancelButton();
    void windowClose();
    void animation_data();
    void animation();
};

void TestChaseDialog::frameOfTheDialog_data()
{
    QTest::addColumn<bool>("cancellable");
    QTest::newRow("writing") << false;
    QTest::newRow("cancellable") << true;
}

void TestChaseDialog::frameOfTheDialog()
{
    QFETCH(bool, cancellable);
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), cancellable);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    QCOMPARE(dlg.size(), QSize(280, 190));
    QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
    QVERIFY(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
    // The caption sits in the title bar, not in the content.
    QCOMPARE(dlg.findChild<QLabel *>("pLabelTitle")->text(), QStringLiteral("Writing..."));
    for (QLabel *label : dlg.GetContentFrame()->findChildren<QLabel *>())
        QVERIFY(!label->text().contains(QLatin1String("Writing")));
    QVERIFY(!dlg.findChild<QPushButton *>("m_pCloseBtn")->isVisible());
    QVERIFY(!dlg.findChild<QPushButton *>("pOkBtn")->isVisible());
    QCOMPARE(dlg.findChild<QPushButton *>("pCancelBtn")->isVisible(), cancellable);
    QCOMPARE(dlg.findChild<QFrame *>("m_pBottomFrame")->isVisible(), cancellable);

    auto timer = dlg.findChild<QTimer *>();
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 500);
}

void TestChaseDialog::completionBeforeExec()
{
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), false);
    FakeWorker worker;
    connect(&worker, &FakeWorker::StopChase, &dlg, &ChaseDialog::OnImmediatelyStopChase);
    QSignalSpy cancelSpy(&dlg, &ChaseDialog::SignalCancel);

    // The worker finishes completely before exec() has started its event loop.
    QThread *thread = QThread::create([&worker]() { emit worker.StopChase(); });
    thread->start();
    QVERIFY(thread->wait(5000));
    delete thread;

    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), 1);
    QCOMPARE(cancelSpy.count(), 0);
}

void TestChaseDialog::completionWhileRunning()
{
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), false);
    FakeWorker worker;
    connect(&worker, &FakeWorker::StopChase, &dlg, &ChaseDialog::OnImmediatelyStopChase);

    QThread *thread = QThread::create([&worker]() { emit worker.StopChase(); });
    auto seen = ExpectModal([thread](QWidget *) { thread->start(); });
    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), 1);
    QVERIFY(seen->seen);
    QVERIFY(thread->wait(5000));
    delete thread;
}

void TestChaseDialog::deferredEnds_data()
{
    QTest::addColumn<QString>("calls"); // a = SetStopChase, r = OnSlotRejectChase
    QTest::addColumn<int>("result");
    QTest::newRow("stop") << "a" << 1;
    QTest::newRow("reject") << "r" << 0;
    QTest::newRow("stop then reject: the later wins") << "ar" << 0;
    QTest::newRow("reject then stop: the later wins") << "ra" << 1;
}

void TestChaseDialog::deferredEnds()
{
    QFETCH(QString, calls);
    QFETCH(int, result);
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), false);
    QSignalSpy cancelSpy(&dlg, &ChaseDialog::SignalCancel);

    auto seen = ExpectModal([&](QWidget *) {
        for (QChar call : calls) {
            if (call == QLatin1Char('a'))
                dlg.SetStopChase();
            else
                dlg.OnSlotRejectChase();
        }
        // Nothing ends before the next poll.
        QVERIFY(dlg.isVisible());
    });
    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), result);
    QVERIFY(seen->seen);
    QCOMPARE(cancelSpy.count(), result == 0 ? 1 : 0);

    // The pending end is used up: a second run is not ended by the old request.
    auto second = ExpectModal([&](QWidget *) {
        QTimer::singleShot(1200, &dlg, [&dlg]() {
            if (dlg.isVisible())
                dlg.OnImmediatelyStopChase();
        });
    });
    QCOMPARE(dlg.exec(), 1);
    QVERIFY(second->seen);
    QCOMPARE(cancelSpy.count(), result == 0 ? 1 : 0);
}

void TestChaseDialog::escapeDoesNothing()
{
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), false);
    QSignalSpy cancelSpy(&dlg, &ChaseDialog::SignalCancel);
    bool stillRunning = false;
    auto seen = ExpectModal([&](QWidget *modal) {
        PressKey(modal, Qt::Key_Escape);
        stillRunning = modal->isVisible();
        dlg.OnImmediatelyStopChase();
    });
    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), 1);
    QVERIFY(seen->seen);
    QVERIFY(stillRunning);
    QCOMPARE(cancelSpy.count(), 0);
}

void TestChaseDialog::cancelButton()
{
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), true);
    QSignalSpy cancelSpy(&dlg, &ChaseDialog::SignalCancel);
    auto seen = ExpectModal([](QWidget *modal) { ClickChild(modal, "pCancelBtn"); });
    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), 0);
    QVERIFY(seen->seen);
    QCOMPARE(cancelSpy.count(), 1);
}

void TestChaseDialog::windowClose()
{
    ChaseDialog dlg(nullptr, QStringLiteral(":/images/Loading.gif"), QStringLiteral("Writing..."), false);
    QSignalSpy cancelSpy(&dlg, &ChaseDialog::SignalCancel);
    auto seen = ExpectModal([](QWidget *modal) { modal->close(); });
    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), 0);
    QVERIFY(seen->seen);
    QCOMPARE(cancelSpy.count(), 1);
}

void TestChaseDialog::animation_data()
{
    QTest::addColumn<bool>("present");
    QTest::newRow("animation file present") << true;
    QTest::newRow("animation file missing") << false;
}

void TestChaseDialog::animation()
{
    QFETCH(bool, present);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString file = tmp.filePath(QStringLiteral("Loading.gif"));
    if (present) {
        QFile gif(file);
        QVERIFY(gif.open(QIODevice::WriteOnly));
        gif.write(TinyGif);
    }

    ChaseDialog dlg(nullptr, file, QStringLiteral("Writing..."), false);
    auto label = dlg.findChild<QLabel *>("m_pMovieLabel");
    QVERIFY(label);
    QVERIFY(label->movie());
    QCOMPARE(label->movie()->isValid(), present);
    QCOMPARE(label->movie()->currentPixmap().isNull(), !present);

    // The dialog works either way.
    auto seen = ExpectModal([&dlg](QWidget *) { dlg.SetStopChase(); });
    ArmFailsafe(&dlg);
    QCOMPARE(dlg.exec(), 1);
    QVERIFY(seen->seen);
}

QTEST_MAIN(TestChaseDialog)
#include "tst_chasedialog.moc"
