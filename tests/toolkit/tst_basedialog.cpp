// The dialog frame: construction variants, OK/close flags, keys, dragging by the title strip,
// the rounded mask and the translation context of its texts.
#include "toolkit/basedialog.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

namespace {

// Stands in for a catalogue: answers only in the frame form's context.
class FrameTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "CBaseDialogClass") != 0)
            return {};
        if (qstrcmp(sourceText, "OK") == 0)
            return QStringLiteral("Bien");
        if (qstrcmp(sourceText, "Cancel") == 0)
            return QStringLiteral("Annuler");
        if (qstrcmp(sourceText, "Dialog") == 0)
            return QStringLiteral("Boite");
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class TestBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void construction_data();
    void construction();
    void bottomBarToggle();
    void contentWidget();
    void okButtonFlag_data();
    void okButtonFlag();
    void closeButtonFlag_data();
    void closeButtonFlag();
    void keys_data();
    void keys();
    void dragging_data();
    void dragging();
    void roundedMask_data();
    void roundedMask();
    void placedOverOpenerOnce();
    void translatedTexts();
};

void TestBaseDialog::construction_data()
{
    QTest::addColumn<bool>("withBottomBar");
    QTest::addColumn<bool>("showOk");
    QTest::addColumn<bool>("showCancel");
    QTest::addColumn<QMargins>("margins");
    QTest::addColumn<QString>("background");

    QTest::newRow("message box") << true << true << true << QMargins(6, 3, 6, 5) << "dialog_bg.png";
    QTest::newRow("cancellable progress") << true << false << true << QMargins(6, 3, 6, 5) << "dialog_bg.png";
    QTest::newRow("plain frame") << false << false << false << QMargins(6, 4, 6, 11) << "dialog_bg2.png";
}

void TestBaseDialog::construction()
{
    QFETCH(bool, withBottomBar);
    QFETCH(bool, showOk);
    QFETCH(bool, showCancel);
    QFETCH(QMargins, margins);
    QFETCH(QString, background);

    CBaseDialog dlg(nullptr, withBottomBar, showOk, showCancel);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    QCOMPARE(dlg.objectName(), QStringLiteral("CBaseDialogClass"));
    QVERIFY(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(dlg.findChild<QFrame *>("m_pBottomFrame")->isVisible(), withBottomBar);
    QCOMPARE(dlg.findChild<QPushButton *>("pOkBtn")->isVisible(), withBottomBar && showOk);
    QCOMPARE(dlg.findChild<QPushButton *>("pCancelBtn")->isVisible(), withBottomBar && showCancel);
    QVERIFY(!dlg.findChild<QPushButton *>("m_pCloseBtn")->isVisible());
    QCOMPARE(dlg.findChild<QGridLayout *>("m_pgridBaseDialog")->contentsMargins(), margins);
    QVERIFY(dlg.styleSheet().contains(QLatin1String("/") + background));
    QCOMPARE(dlg.GetContentFrame(), dlg.findChild<QFrame *>("m_pContentFrame"));

    dlg.ShowCloseBtn(true);
    QVERIFY(dlg.findChild<QPushButton *>("m_pCloseBtn")->isVisible());
    dlg.SetTitle(QStringLiteral("Warn"));
    QCOMPARE(dlg.findChild<QLabel *>("pLabelTitle")->text(), QStringLiteral("Warn"));
}

void TestBaseDialog::bottomBarToggle()
{
    CBaseDialog dlg(nullptr, false, false, false);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    dlg.SetBottomBarVisible(true);
    QVERIFY(dlg.findChild<QFrame *>("m_pBottomFrame")->isVisible());
    QVERIFY(dlg.findChild<QPushButton *>("pOkBtn")->isVisible());
    QVERIFY(dlg.findChild<QPushButton *>("pCancelBtn")->isVisible());
    QVERIFY(dlg.styleSheet().contains(QLatin1String("/dialog_bg.png")));
    // Switching the bar keeps the margins the constructor chose.
    QCOMPARE(dlg.findChild<QGridLayout *>("m_pgridBaseDialog")->contentsMargins(), QMargins(6, 4, 6, 11));

    dlg.SetBottomBarVisible(false);
    QVERIFY(!dlg.findChild<QFrame *>("m_pBottomFrame")->isVisible());
    QVERIFY(!dlg.findChild<QPushButton *>("pOkBtn")->isVisible());
    QVERIFY(dlg.styleSheet().contains(QLatin1String("/dialog_bg2.png")));
}

void TestBaseDialog::contentWidget()
{
    CBaseDialog dlg(nullptr, false, false, false);
    QVERIFY(!dlg.SetContentWidget(nullptr));
    QVERIFY(!dlg.GetContentFrame()->layout());

    auto first = new QLabel(QStringLiteral("first"));
    auto second = new QLabel(QStringLiteral("second"));
    QVERIFY(dlg.SetContentWidget(first));
    QVERIFY(dlg.SetContentWidget(second));
    QLayout *layout = dlg.GetContentFrame()->layout();
    QVERIFY(layout);
    QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(layout->count(), 2);
    QCOMPARE(first->parentWidget(), dlg.GetContentFrame());
    QCOMPARE(second->parentWidget(), dlg.GetContentFrame());
}

void TestBaseDialog::okButtonFlag_data()
{
    QTest::addColumn<bool>("autoAccept");
    QTest::newRow("OK accepts") << true;
    QTest::newRow("OK only signals") << false;
}

void TestBaseDialog::okButtonFlag()
{
    QFETCH(bool, autoAccept);
    CBaseDialog dlg(nullptr, true, true, true);
    dlg.SetOkBtnAutoAccept(autoAccept);
    QSignalSpy okSpy(&dlg, &CBaseDialog::ClickedOKBtnSig);
    QSignalSpy acceptedSpy(&dlg, &QDialog::accepted);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    QTest::mouseClick(dlg.findChild<QPushButton *>("pOkBtn"), Qt::LeftButton);
    QCOMPARE(acceptedSpy.count(), autoAccept ? 1 : 0);
    QCOMPARE(okSpy.count(), autoAccept ? 0 : 1);
    QCOMPARE(dlg.isVisible(), !autoAccept);

    if (!autoAccept) {
        dlg.SetOkBtnEnable(false);
        QTest::mouseClick(dlg.findChild<QPushButton *>("pOkBtn"), Qt::LeftButton);
        QCOMPARE(okSpy.count(), 1);
    }
}

void TestBaseDialog::closeButtonFlag_data()
{
    QTest::addColumn<bool>("autoClose");
    QTest::newRow("close closes") << true;
    QTest::newRow("close only signals") << false;
}

void TestBaseDialog::closeButtonFlag()
{
    QFETCH(bool, autoClose);
    CBaseDialog dlg(nullptr, false, false, false);
    dlg.ShowCloseBtn(true);
    dlg.SetCloseBtnAutoClose(autoClose);
    QSignalSpy closeSpy(&dlg, &CBaseDialog::ClickedCloseBtnSig);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    QTest::mouseClick(dlg.findChild<QPushButton *>("m_pCloseBtn"), Qt::LeftButton);
    QCOMPARE(closeSpy.count(), autoClose ? 0 : 1);
    QCOMPARE(dlg.isVisible(), !autoClose);
}

void TestBaseDialog::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("Return") << int(Qt::Key_Return) << true;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << true;
    QTest::newRow("Select") << int(Qt::Key_Select) << true;
    QTest::newRow("letter") << int(Qt::Key_A) << false;
}

void TestBaseDialog::keys()
{
    QFETCH(int, key);
    QFETCH(bool, closes);
    CBaseDialog dlg(nullptr, false, false, false);
    QSignalSpy acceptedSpy(&dlg, &QDialog::accepted);
    QSignalSpy rejectedSpy(&dlg, &QDialog::rejected);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));

    QTest::keyClick(&dlg, static_cast<Qt::Key>(key));
    QCOMPARE(dlg.isVisible(), !closes);
    QCOMPARE(acceptedSpy.count(), closes ? 1 : 0);
    QCOMPARE(rejectedSpy.count(), 0);
}

void TestBaseDialog::dragging_data()
{
    QTest::addColumn<int>("pressY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("title strip") << 10 << true;
    QTest::newRow("last row of the strip") << 32 << true;
    QTest::newRow("below the strip") << 33 << false;
    QTest::newRow("content") << 120 << false;
}

void TestBaseDialog::dragging()
{
    QFETCH(int, pressY);
    QFETCH(bool, moves);
    CBaseDialog dlg(nullptr, false, false, false);
    dlg.move(200, 150);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QPoint start = dlg.pos();

    const QPoint press(60, pressY);
    QTest::mousePress(&dlg, Qt::LeftButton, {}, press);
    QTest::mouseMove(&dlg, press + QPoint(40, 25));
    const QPoint expected = moves ? start + QPoint(40, 25) : start;
    QTRY_COMPARE(dlg.pos(), expected);
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, press + QPoint(40, 25) - (dlg.pos() - start));

    // After the release a move without a button no longer drags.
    const QPoint afterRelease = dlg.pos();
    QTest::mouseMove(&dlg, QPoint(150, 100));
    QCOMPARE(dlg.pos(), afterRelease);
}

void TestBaseDialog::placedOverOpenerOnce()
{
    QWidget opener(nullptr, Qt::FramelessWindowHint);
    opener.setGeometry(100, 150, 700, 500);
    opener.show();
    QVERIFY(QTest::qWaitForWindowExposed(&opener));
    CBaseDialog dlg(&opener, false, false, false);
    dlg.resize(300, 200);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.frameGeometry().center(), opener.frameGeometry().center());
    // Shown again, it stays where the user moved it.
    dlg.move(20, 30);
    dlg.hide();
    dlg.show();
    QCOMPARE(dlg.pos(), QPoint(20, 30));
}

void TestBaseDialog::roundedMask_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("frame default") << QSize(437, 327);
    QTest::newRow("message box") << QSize(300, 225);
}

void TestBaseDialog::roundedMask()
{
    QFETCH(QSize, size);
    CBaseDialog dlg(nullptr, true, true, true);
    dlg.resize(size);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.size(), size);

    const QRegion mask = dlg.mask();
    const int w = size.width();
    const int h = size.height();
    QCOMPARE(mask.boundingRect(), QRect(0, 0, w, h));
    for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        QVERIFY2(!mask.contains(corner), qPrintable(QStringLiteral("corner %1,%2").arg(corner.x()).arg(corner.y())));
    for (const QPoint edge : {QPoint(2, 0), QPoint(w - 3, 0), QPoint(0, 2), QPoint(w - 1, h - 3), QPoint(w / 2, h / 2)})
        QVERIFY2(mask.contains(edge), qPrintable(QStringLiteral("edge %1,%2").arg(edge.x()).arg(edge.y())));
}

void TestBaseDialog::translatedTexts()
{
    FrameTranslator translator;
    QCoreApplication::installTranslator(&translator);
    CBaseDialog dlg(nullptr, true, true, true);
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(dlg.findChild<QPushButton *>("pOkBtn")->text(), QStringLiteral("Bien"));
    QCOMPARE(dlg.findChild<QPushButton *>("pCancelBtn")->text(), QStringLiteral("Annuler"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Boite"));
    // The window manager's switcher and task bar show the caption.
    dlg.SetTitle(QStringLiteral("Read from Database"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Read from Database"));
}

QTEST_MAIN(TestBaseDialog)
#include "tst_basedialog.moc"
