// The message box: sizing to its text, results of the keys and buttons, and the two free
// functions. Every box is driven through its modal exec() as a user would.
#include "tests/support/modaldriver.h"
#include "toolkit/warndlg.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace {

struct BoxShape
{
    QSize dialog;
    QRect browser;
    QSize frame;
    bool bottomBar = false;
    bool closeButton = false;
    bool frameless = false;
    bool topLevel = false;
};

BoxShape ShapeOf(QWidget *box)
{
    BoxShape shape;
    shape.dialog = box->size();
    if (auto browser = box->findChild<QTextBrowser *>("m_pBrowserTxt"))
        shape.browser = browser->geometry();
    if (auto frame = box->findChild<QFrame *>("m_pContentFrame"))
        shape.frame = frame->size();
    shape.bottomBar = box->findChild<QFrame *>("m_pBottomFrame")->isVisible();
    shape.closeButton = box->findChild<QPushButton *>("m_pCloseBtn")->isVisible();
    shape.frameless = box->windowFlags().testFlag(Qt::FramelessWindowHint);
    shape.topLevel = box->isWindow() && !box->parentWidget();
    return shape;
}

// Where the user's key goes: the focused widget inside the box, else the box.
QWidget *KeyTarget(QWidget *box)
{
    QWidget *focus = QApplication::focusWidget();
    return focus && box->isAncestorOf(focus) ? focus : box;
}

QString Words(int count)
{
    QStringList words;
    for (int i = 0; i < count; ++i)
        words << QStringLiteral("channel%1").arg(i);
    return words.join(QLatin1Char(' '));
}

int TextWidth(const QString &text)
{
    CWarnDlg probe(nullptr);
    return probe.findChild<QTextBrowser *>("m_pBrowserTxt")->fontMetrics().horizontalAdvance(text) + 15;
}

} // namespace

class TestWarnDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sizing_data();
    void sizing();
    void growsForTallText();
    void messageResults_data();
    void messageResults();
    void escapeDoesNothing();
    void confirmResults_data();
    void confirmResults();
    void freeFunctionsNeedParent();
    void freeFunctionsWithParent();
    void placement_data();
    void placement();
};

void TestWarnDlg::initTestCase()
{
    // As start-up does: every widget measures in Arial 9.
    QFont font(QStringLiteral("Arial"), 9);
    font.setStyleHint(QFont::Helvetica);
    QApplication::setFont(font);
}

void TestWarnDlg::sizing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("dialogWidth");
    QTest::addColumn<int>("browserWidth");
    QTest::addColumn<bool>("wraps");

    const QString word = QStringLiteral("Done.");
    QTest::newRow("one word") << word << 300 << TextWidth(word) << false;

    // A line between the two limits widens the box to fit it.
    QString medium = QStringLiteral("Can not find channels");
    while (TextWidth(medium) + 10 <= 288)
        medium += QStringLiteral(" x");
    QVERIFY(TextWidth(medium) + 10 < 388);
    QTest::newRow("medium line") << medium << TextWidth(medium) + 22 << TextWidth(medium) << false;

    const QString longLine = Words(12);
    QVERIFY(TextWidth(longLine) + 10 >= 388);
    QTest::newRow("long line") << longLine << 400 << 378 << true;
}

void TestWarnDlg::sizing()
{
    QFETCH(QString, text);
    QFETCH(int, dialogWidth);
    QFETCH(int, browserWidth);
    QFETCH(bool, wraps);

    BoxShape shape;
    int lineHeight = 0;
    auto seen = ExpectModal([&](QWidget *box) {
        shape = ShapeOf(box);
        lineHeight = box->findChild<QTextBrowser *>("m_pBrowserTxt")->fontMetrics().lineSpacing();
        PressKey(KeyTarget(box), Qt::Key_Return);
    });
    CWarnDlg box(nullptr);
    QCOMPARE(box.ShowMsg(QStringLiteral("Info"), text), 1);
    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Info"));
    QCOMPARE(seen->text, text);

    QCOMPARE(shape.dialog, QSize(dialogWidth, 225));
    QCOMPARE(shape.browser.width(), browserWidth);
    // One line of text plus the document margins, or several when it wraps.
    if (wraps)
        QVERIFY2(shape.browser.height() > 2 * lineHeight + 10, qPrintable(QString::number(shape.browser.height())));
    else
        QVERIFY2(shape.browser.height() < 2 * lineHeight + 10, qPrintable(QString::number(shape.browser.height())));
    // Centred in the content frame.
    QCOMPARE(shape.browser.x(), shape.frame.width() / 2 - browserWidth / 2);
    QCOMPARE(shape.browser.y(), shape.frame.height() / 2 - shape.browser.height() / 2);
    QVERIFY(shape.closeButton);
    QVERIFY(!shape.bottomBar);
    QVERIFY(shape.frameless);
    QVERIFY(shape.topLevel);
}

void TestWarnDlg::growsForTallText()
{
    const QString text = Words(160);
    BoxShape shape;
    auto seen = ExpectModal([&](QWidget *box) {
        shape = ShapeOf(box);
        PressKey(KeyTarget(box), Qt::Key_Return);
    });
    CWarnDlg box(nullptr);
    QCOMPARE(box.ShowMsg(QStringLiteral("Warn"), text), 1);
    QVERIFY(seen->seen);

    QCOMPARE(shape.dialog.width(), 400);
    QVERIFY2(shape.dialog.height() > 225, qPrintable(QString::number(shape.dialog.height())));
    QCOMPARE(shape.browser.width(), 378);
    QCOMPARE(shape.browser.y(), 15);
    // The whole text is inside the content frame.
    QVERIFY(shape.browser.bottom() < shape.frame.height());
}

void TestWarnDlg::messageResults_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Return") << "return" << 1;
    QTest::newRow("Enter") << "enter" << 1;
    QTest::newRow("close button") << "close" << 0;
}

void TestWarnDlg::messageResults()
{
    QFETCH(QString, how);
    QFETCH(int, result);
    auto seen = ExpectModal([how](QWidget *box) {
        if (how == QLatin1String("close"))
            QTest::mouseClick(box->findChild<QPushButton *>("m_pCloseBtn"), Qt::LeftButton);
        else
            PressKey(KeyTarget(box), how == QLatin1String("return") ? Qt::Key_Return : Qt::Key_Enter);
    });
    CWarnDlg box(nullptr);
    QCOMPARE(box.ShowMsg(QStringLiteral("Warn"), QStringLiteral("Can not find channels.")), result);
    QVERIFY(seen->seen);
    QVERIFY(!box.isVisible());
}

void TestWarnDlg::escapeDoesNothing()
{
    bool stillVisible = false;
    auto seen = ExpectModal([&](QWidget *box) {
        PressKey(KeyTarget(box), Qt::Key_Escape);
        PressKey(box, Qt::Key_Escape);
        stillVisible = box->isVisible() && QApplication::activeModalWidget() == box;
        QTest::mouseClick(box->findChild<QPushButton *>("m_pCloseBtn"), Qt::LeftButton);
    });
    CWarnDlg box(nullptr);
    QCOMPARE(box.ShowConfirmMsg(QStringLiteral("Confirm"), QStringLiteral("Sure to close software")), 0);
    QVERIFY(seen->seen);
    QVERIFY(stillVisible);
}

void TestWarnDlg::confirmResults_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("choice"); // three answers: Save / Don't Save / Cancel
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << "pOkBtn" << false << 1;
    QTest::newRow("Cancel") << "pCancelBtn" << false << 0;
    QTest::newRow("close button") << "m_pCloseBtn" << false << 0;
    QTest::newRow("Return") << "" << false << 1;
    QTest::newRow("choice: Save") << "pOkBtn" << true << 1;
    QTest::newRow("choice: Don't Save") << "m_pBtnOther" << true << 2;
    QTest::newRow("choice: Cancel") << "pCancelBtn" << true << 0;
    QTest::newRow("choice: Return") << "" << true << 1;
}

void TestWarnDlg::confirmResults()
{
    QFETCH(QString, how);
    QFETCH(bool, choice);
    QFETCH(int, result);
    BoxShape shape;
    QStringList buttons;
    auto seen = ExpectModal([&](QWidget *box) {
        shape = ShapeOf(box);
        for (QPushButton *button : box->findChildren<QPushButton *>())
            if (button->isVisible() && !button->text().isEmpty())
                buttons << button->text();
        if (how.isEmpty())
            PressKey(KeyTarget(box), Qt::Key_Return);
        else
            QTest::mouseClick(box->findChild<QPushButton *>(how), Qt::LeftButton);
    });
    CWarnDlg box(nullptr);
    const QString title = QStringLiteral("Confirm");
    const QString text = QStringLiteral("Sure to close software");
    QCOMPARE(choice ? box.ShowChoiceMsg(title, text, "Save", "Don't Save") : box.ShowConfirmMsg(title, text), result);
    buttons.sort();
    const QStringList expected = choice ? QStringList{"Cancel", "Don't Save", "Save"} : QStringList{"Cancel", "OK"};
    QCOMPARE(buttons, expected);
    // The box is a plain confirmation again afterwards.
    QVERIFY(!box.findChild<QPushButton *>("m_pBtnOther"));
    QCOMPARE(box.findChild<QPushButton *>("pOkBtn")->text(), QStringLiteral("OK"));
    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Confirm"));
    QVERIFY(shape.bottomBar);
    QVERIFY(shape.closeButton);
}

void TestWarnDlg::freeFunctionsNeedParent()
{
    // Without a parent nothing is shown, so nothing has to be driven: exec() would block here.
    QCOMPARE(ShowMsgBox(QStringLiteral("Info"), QStringLiteral("text"), nullptr), -1);
    QCOMPARE(ShowConfirmBox(QStringLiteral("Confirm"), QStringLiteral("text"), nullptr), -1);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<CWarnDlg *>(w));
}

void TestWarnDlg::freeFunctionsWithParent()
{
    QWidget parent;
    parent.resize(500, 400);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    QPointer<QWidget> shown;
    auto seen = ExpectModal(
        [&](QWidget *box) {
            shown = box;
            QCOMPARE(box->parentWidget(), &parent);
            PressKey(KeyTarget(box), Qt::Key_Return);
        },
        &parent);
    QCOMPARE(ShowMsgBox(QStringLiteral("Info"), QStringLiteral("Can not find Manual."), &parent), 1);
    QVERIFY(seen->seen);
    QCOMPARE(seen->title, QStringLiteral("Info"));
    QCOMPARE(seen->text, QStringLiteral("Can not find Manual."));
    QVERIFY(shown.isNull()); // the box is gone once the function returns

    seen = ExpectModal([](QWidget *box) { ClickChild(box, "pCancelBtn"); }, &parent);
    QCOMPARE(ShowConfirmBox(QStringLiteral("Confirm"), QStringLiteral("Sure to close software"), &parent), 0);
    QVERIFY(seen->seen);
    QCOMPARE(seen->text, QStringLiteral("Sure to close software"));
}

void TestWarnDlg::placement_data()
{
    // Where the box opens on the 1280 x 1024 test screen, along x and along y.
    enum { Centred = 0, AtScreenEnd = 1 };
    QTest::addColumn<QRect>("opener");   // a frameless window; empty: no opener, the screen counts
    QTest::addColumn<bool>("fromField"); // raised by a field inside the window
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("xRule");
    QTest::addColumn<int>("yRule");

    const QRect middle(100, 150, 700, 500);
    const QRect corner(1000, 850, 400, 300);
    const QString shortText = QStringLiteral("Please select destiny channel.");
    QTest::newRow("over its window") << middle << false << shortText << int(Centred) << int(Centred);
    QTest::newRow("raised by a field") << middle << true << shortText << int(Centred) << int(Centred);
    QTest::newRow("window at the screen's corner")
        << corner << false << shortText << int(AtScreenEnd) << int(AtScreenEnd);
    QTest::newRow("no opener") << QRect() << false << shortText << int(Centred) << int(Centred);
    // A long text grows the box once shown; it stays centred and on the screen.
    QTest::newRow("tall text") << middle << false << Words(160) << int(Centred) << int(Centred);
    QTest::newRow("tall text at the corner") << corner << false << Words(160) << int(AtScreenEnd) << int(AtScreenEnd);
}

void TestWarnDlg::placement()
{
    QFETCH(QRect, opener);
    QFETCH(bool, fromField);
    QFETCH(QString, text);
    QFETCH(int, xRule);
    QFETCH(int, yRule);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    auto field = new QWidget(&window);
    field->setGeometry(10, 10, 50, 20);
    if (!opener.isEmpty()) {
        window.setGeometry(opener);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    const QRect screen(0, 0, 1280, 1024);
    const QRect over = opener.isEmpty() ? screen : opener;

    QRect box;
    auto seen = ExpectModal(
        [&](QWidget *shown) {
            box = shown->frameGeometry();
            PressKey(KeyTarget(shown), Qt::Key_Return);
        },
        opener.isEmpty() ? nullptr : &window);
    CWarnDlg dlg(opener.isEmpty() ? nullptr : fromField ? field : &window);
    QCOMPARE(dlg.ShowMsg(QStringLiteral("Information"), text), 1);
    QVERIFY(seen->seen);

    const int xs[] = {over.x() + (over.width() - box.width()) / 2, screen.right() + 1 - box.width()};
    const int ys[] = {over.y() + (over.height() - box.height()) / 2, screen.bottom() + 1 - box.height()};
    QCOMPARE(box.topLeft(), QPoint(xs[xRule], ys[yRule]));
    QVERIFY(screen.contains(box));
}

QTEST_MAIN(TestWarnDlg)
#include "tst_warndlg.moc"
