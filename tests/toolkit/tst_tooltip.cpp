// The field tooltip: one label at a time, its expiry, reuse, placement at the screen edges and
// the ways it goes away (empty text, leaving, window (de)activation, leaving its rectangle).
#include "tests/support/widgetdriver.h"
#include "toolkit/tooltip.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace {

CToolLabel *CurrentLabel()
{
    return qobject_cast<CToolLabel *>(VisibleTipLabel());
}

QTimer *TimerOf(CToolLabel *label, const char *name)
{
    return label->findChild<QTimer *>(QString::fromLatin1(name));
}

// The pointer moving over the tip (no button held).
void MoveOver(QWidget *w, const QPoint &local)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(w->mapToGlobal(local)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestToolTip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void showsLabel();
    void expiry_data();
    void expiry();
    void reuseForOtherText();
    void sameTipKeepsTimer();
    void placement_data();
    void placement();
    void emptyTextHidesLater();
    void windowChangeHidesAtOnce_data();
    void windowChangeHidesAtOnce();
    void activatingAnotherWindow();
    void leaveHidesLater();
    void leavingRectHides();
    void rectWithoutWidget();
    void hideTextKeepsLabel();
    void paletteShared();

private:
    QWidget m_host;
    QLineEdit *m_pField = nullptr;
};

void TestToolTip::initTestCase()
{
    // As start-up does: the tip's own 10-point font.
    QFont tipFont = QApplication::font();
    tipFont.setPointSize(10);
    QApplication::setFont(tipFont, "CToolLabel");

    auto layout = new QVBoxLayout(&m_host);
    m_pField = new QLineEdit(&m_host);
    layout->addWidget(m_pField);
    m_host.setGeometry(200, 200, 300, 120);
    m_host.show();
    QVERIFY(QTest::qWaitForWindowActive(&m_host));
}

void TestToolTip::init()
{
    if (!m_host.isActiveWindow()) {
        m_host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_host));
    }
}

void TestToolTip::cleanup()
{
    CToolTip::hideText();
}

void TestToolTip::showsLabel()
{
    QVERIFY(!CToolTip::isVisible());
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input camera number."), m_pField);
    CToolLabel *label = CurrentLabel();
    QVERIFY(label);
    QVERIFY(CToolTip::isVisible());
    QCOMPARE(CToolTip::text(), QStringLiteral("Please input camera number."));
    QCOMPARE(label->font().pointSize(), 10);
    QVERIFY(label->windowFlags().testFlag(Qt::ToolTip));
    QCOMPARE(label->screen(), m_pField->screen());

    // An empty text with no tip up shows nothing.
    CToolTip::hideText();
    CToolTip::showText(QPoint(300, 300), QString(), m_pField);
    QVERIFY(!CToolTip::isVisible());
}

void TestToolTip::expiry_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expireMs");
    QTest::newRow("40 characters") << 40 << 8000;
    QTest::newRow("100 characters") << 100 << 8000;
    QTest::newRow("101 characters") << 101 << 8040;
    QTest::newRow("150 characters") << 150 << 10000;
}

void TestToolTip::expiry()
{
    QFETCH(int, length);
    QFETCH(int, expireMs);
    CToolTip::showText(QPoint(300, 300), QString(length, QLatin1Char('x')), m_pField);
    CToolLabel *label = CurrentLabel();
    QVERIFY(label);
    QTimer *expire = TimerOf(label, "expireTimer");
    QVERIFY(expire->isActive());
    QCOMPARE(expire->interval(), expireMs);
    QVERIFY(!TimerOf(label, "hideTimer")->isActive());
}

void TestToolTip::reuseForOtherText()
{
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input camera number."), m_pField);
    QPointer<CToolLabel> first = CurrentLabel();
    QVERIFY(first);
    const QSize firstSize = first->size();
    QCOMPARE(first->pos(), QPoint(302, 321));

    const QString longer = QStringLiteral("Bitrate must be between 32 and 16384 kbps, please input again.");
    CToolTip::showText(QPoint(400, 500), longer, m_pField);
    QCoreApplication::processEvents();
    QVERIFY(first);
    QCOMPARE(CurrentLabel(), first.data());
    QCOMPARE(first->text(), longer);
    QVERIFY(first->width() > firstSize.width());
    QCOMPARE(first->size(), first->sizeHint() + QSize(1, 0));
    QCOMPARE(first->pos(), QPoint(402, 521));
}

void TestToolTip::sameTipKeepsTimer()
{
    const QString text = QStringLiteral("Please input camera number.");
    CToolTip::showText(QPoint(300, 300), text, m_pField);
    CToolLabel *label = CurrentLabel();
    QTimer *expire = TimerOf(label, "expireTimer");
    const int before = expire->remainingTime();

    QTest::qWait(300);
    CToolTip::showText(QPoint(310, 310), text, m_pField);
    QCOMPARE(CurrentLabel(), label);
    QCOMPARE(label->pos(), QPoint(302, 321)); // not moved either
    QVERIFY2(expire->remainingTime() <= before - 250, qPrintable(QString::number(expire->remainingTime())));

    // The same text for another widget is a new tip: the timer starts again.
    CToolTip::showText(QPoint(310, 310), text, &m_host);
    QCOMPARE(CurrentLabel(), label);
    QVERIFY(expire->remainingTime() > before - 100);
    QCOMPARE(label->pos(), QPoint(312, 331));
}

void TestToolTip::placement_data()
{
    // How x and y come out, W x H being the tip's size, on the 1280 x 1024 test screen.
    enum { Below = 0, Flipped = 1, ClampedFar = 2, ClampedNear = 3 };
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("xRule");
    QTest::addColumn<int>("yRule");

    const QString text = QStringLiteral("Please input camera number.");
    QTest::newRow("middle") << QPoint(100, 100) << text << int(Below) << int(Below);
    QTest::newRow("near the right edge") << QPoint(1270, 100) << text << int(Flipped) << int(Below);
    QTest::newRow("near the bottom edge") << QPoint(100, 1010) << text << int(Below) << int(Flipped);
    QTest::newRow("bottom right corner") << QPoint(1275, 1020) << text << int(Flipped) << int(Flipped);
    QTest::newRow("above the screen") << QPoint(100, -60) << text << int(Below) << int(ClampedNear);
    QTest::newRow("right of the screen") << QPoint(1300, 100) << text << int(ClampedFar) << int(Below);
    QTest::newRow("below the screen") << QPoint(100, 1100) << text << int(Below) << int(ClampedFar);
    QTest::newRow("wider than the screen") << QPoint(10, 100) << QString(400, QLatin1Char('W')) << int(ClampedNear)
                                           << int(Below);
}

void TestToolTip::placement()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, text);
    QFETCH(int, xRule);
    QFETCH(int, yRule);
    const QRect screen = m_pField->screen()->geometry();
    QCOMPARE(screen, QRect(0, 0, 1280, 1024));

    CToolTip::showText(pos, text, m_pField);
    CToolLabel *label = CurrentLabel();
    QVERIFY(label);
    const int w = label->width();
    const int h = label->height();
    const int xs[] = {pos.x() + 2, pos.x() + 2 - w - 4, 1280 - w, 0};
    const int ys[] = {pos.y() + 21, pos.y() + 21 - h - 24, 1024 - h, 0};
    QCOMPARE(label->pos(), QPoint(xs[xRule], ys[yRule]));
}

void TestToolTip::emptyTextHidesLater()
{
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), m_pField);
    QPointer<CToolLabel> label = CurrentLabel();
    QVERIFY(label);

    CToolTip::showText(QPoint(300, 300), QString(), m_pField);
    QVERIFY(CToolTip::isVisible());
    QTimer *hide = TimerOf(label, "hideTimer");
    QVERIFY(hide->isActive());
    QCOMPARE(hide->interval(), 300);
    QTRY_VERIFY(!CToolTip::isVisible());
    QTRY_VERIFY(label.isNull());
    QCOMPARE(CToolTip::text(), QString());
}

void TestToolTip::windowChangeHidesAtOnce_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("deactivate") << int(QEvent::WindowDeactivate);
    QTest::newRow("activate") << int(QEvent::WindowActivate);
}

void TestToolTip::windowChangeHidesAtOnce()
{
    QFETCH(int, type);
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), m_pField);
    QPointer<CToolLabel> label = CurrentLabel();
    QVERIFY(label);

    QEvent event(static_cast<QEvent::Type>(type));
    QApplication::sendEvent(&m_host, &event);
    QVERIFY(!CToolTip::isVisible());
    QTRY_VERIFY(label.isNull());
}

void TestToolTip::activatingAnotherWindow()
{
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), m_pField);
    QVERIFY(CToolTip::isVisible());
    QWidget other;
    other.setGeometry(600, 600, 200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!CToolTip::isVisible());
}

void TestToolTip::leaveHidesLater()
{
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), m_pField);
    CToolLabel *label = CurrentLabel();
    QVERIFY(label);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_pField, &leave);
    QVERIFY(CToolTip::isVisible());
    QVERIFY(TimerOf(label, "hideTimer")->isActive());
    QTRY_VERIFY(!CToolTip::isVisible());
}

void TestToolTip::leavingRectHides()
{
    const QRect fieldArea(0, 0, 40, 20);
    const QPoint inside = m_pField->mapToGlobal(QPoint(5, 5));
    CToolTip::showText(inside, QStringLiteral("Please input user name."), m_pField, fieldArea);
    CToolLabel *label = CurrentLabel();
    QVERIFY(label);

    // Showing again from a point outside the rectangle counts as a changed tip: it moves.
    const QPoint outside = m_pField->mapToGlobal(QPoint(100, 5));
    CToolTip::showText(outside, QStringLiteral("Please input user name."), m_pField, fieldArea);
    QCOMPARE(label->pos(), outside + QPoint(2, 21));
    QVERIFY(!TimerOf(label, "hideTimer")->isActive());

    // The pointer over the tip is outside the field's rectangle: the tip goes.
    QPointer<CToolLabel> guard = label;
    MoveOver(label, QPoint(3, 3));
    QVERIFY(TimerOf(label, "hideTimer")->isActive());
    QTRY_VERIFY(guard.isNull());
}

void TestToolTip::rectWithoutWidget()
{
    QTest::ignoreMessage(QtWarningMsg, "CToolTip::setTipRect: Cannot pass null widget if rect is set");
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), nullptr, QRect(0, 0, 10, 10));
    CToolLabel *label = CurrentLabel();
    QVERIFY(label);
    // No rectangle was stored, so moving over the tip does not take it down.
    MoveOver(label, QPoint(3, 3));
    QVERIFY(!TimerOf(label, "hideTimer")->isActive());
}

void TestToolTip::hideTextKeepsLabel()
{
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), m_pField);
    QPointer<CToolLabel> first = CurrentLabel();
    QVERIFY(first);
    CToolTip::hideText();
    QVERIFY(!CToolTip::isVisible());
    QCoreApplication::processEvents();
    QVERIFY(first);

    // The next tip replaces it.
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input password."), m_pField);
    QVERIFY(first.isNull());
    QCOMPARE(CToolTip::text(), QStringLiteral("Please input password."));
}

void TestToolTip::paletteShared()
{
    const QPalette original = CToolTip::palette();
    QPalette red = original;
    red.setColor(QPalette::ToolTipText, QColor(210, 64, 64));

    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input user name."), m_pField);
    CToolLabel *label = CurrentLabel();
    CToolTip::setPalette(red);
    QCOMPARE(label->palette().color(QPalette::ToolTipText), QColor(210, 64, 64));

    CToolTip::hideText();
    CToolTip::showText(QPoint(300, 300), QStringLiteral("Please input password."), m_pField);
    QCOMPARE(CurrentLabel()->palette().color(QPalette::ToolTipText), QColor(210, 64, 64));
    CToolTip::setPalette(original);
}

QTEST_MAIN(TestToolTip)
#include "tst_tooltip.moc"
