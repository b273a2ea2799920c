// The field tooltip: one label at a time, its expiry, reuse, placement at the screen edges and
// the ways it goes away (empty text, leaving, window (de)activation, leaving its rectangle), and
// the tip beside its field in dialogs that a window manager has just placed (on Xvfb, openbox).
#include "tests/support/widgetdriver.h"
#include "toolkit/tooltip.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <optional>

namespace {

// Set in the copy of this test that runs on an X server under a window manager.
const char kUnderWindowManager[] = "NORDA_TOOLTIP_TEST_UNDER_WM";

// Where the X server has the window (xdotool asks it), whatever Qt believes; nothing before the
// server knows the window.
std::optional<QPoint> ServerPosition(QWidget *w)
{
    QProcess tool;
    tool.start(
        QStringLiteral("xdotool"),
        {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(w->windowHandle()->winId())});
    tool.waitForFinished();
    const QString out = QString::fromLatin1(tool.readAllStandardOutput());
    if (tool.exitCode() != 0 || !out.contains(QLatin1String("\nX=")))
        return std::nullopt;
    const auto value = [&out](const char *key) {
        return out.section(QLatin1String(key), 1, 1).section(QLatin1Char('\n'), 0, 0).toInt();
    };
    return QPoint(value("\nX="), value("\nY="));
}

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
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(w->mapToGlobal(local)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
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
    void besideFieldUnderWindowManager();

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
    QTest::newRow("wider than the screen")
        << QPoint(10, 100) << QString(400, QLatin1Char('W')) << int(ClampedNear) << int(Below);
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

void TestToolTip::besideFieldUnderWindowManager()
{
    if (qEnvironmentVariableIsSet(kUnderWindowManager)) {
        // The manager's placement races with Qt's record of it; over many dialogs a tip that
        // trusts that record lands away from its field in nearly every run.
        for (int round = 0; round < 20; ++round) {
            QDialog dlg(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
            dlg.resize(450, 350);
            auto field = new QLineEdit(&dlg);
            field->setGeometry(120, 60, 200, 22);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowActive(&dlg)); // activation takes a tip down
            CToolTip::showText(dlg.mapToGlobal(field->pos()), QStringLiteral("Bitrate should be between 32 and 16384."),
                               field);
            QPointer<CToolLabel> tip = CurrentLabel();
            QTRY_VERIFY(tip && ServerPosition(tip));
            QCOMPARE(*ServerPosition(tip) - *ServerPosition(&dlg), field->pos() + QPoint(2, 21));
            CToolTip::hideText();
        }
        return;
    }
    for (const char *tool : {"Xvfb", "openbox", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 is needed (scripts/setup.sh installs it)").arg(QLatin1String(tool))));
    }
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                  QStringLiteral("-noreset")});
    QByteArray display;
    QTRY_VERIFY_WITH_TIMEOUT((display += server.readAllStandardOutput()).contains('\n'), 30000);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(display.trimmed()));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess manager;
    manager.setProcessEnvironment(env);
    manager.start(QStringLiteral("openbox"),
                  {QStringLiteral("--sm-disable"), QStringLiteral("--startup"), QStringLiteral("echo ready")});
    QByteArray managerOut;
    QTRY_VERIFY_WITH_TIMEOUT((managerOut += manager.readAllStandardOutput()).contains("ready"), 30000);

    env.insert(QLatin1String(kUnderWindowManager), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess test;
    test.setProcessEnvironment(env);
    test.setProcessChannelMode(QProcess::MergedChannels);
    test.start(QCoreApplication::applicationFilePath(), {QStringLiteral("besideFieldUnderWindowManager")});
    QVERIFY(test.waitForFinished(120000));
    const QByteArray report = test.readAll();
    manager.terminate();
    server.terminate();
    manager.waitForFinished();
    server.waitForFinished();
    QVERIFY2(test.exitStatus() == QProcess::NormalExit && test.exitCode() == 0, report.constData());
}

QTEST_MAIN(TestToolTip)
#include "tst_tooltip.moc"
