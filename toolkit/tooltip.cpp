#include "tooltip.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QStylePainter>
#include <QTextDocument>
#include <QTimer>

namespace {

constexpr int HideDelayMs = 300;
constexpr int ExpireBaseMs = 8000;
constexpr int ExpireMsPerExtraChar = 40;
constexpr int ExpireFreeChars = 100;

Q_GLOBAL_STATIC(QPalette, tipPalette)

// Callers place the tip from their field mapped to the screen, and Qt maps through the window
// system's record of where the field's window is. Under some window managers that record keeps
// the origin a dialog had before the manager placed it - the placement is never reported back -
// and the tip opened at the screen's corner. The window's own geometry holds where it was put.
QPoint BesideField(const QPoint &pos, const QWidget *w)
{
    if (!w)
        return pos;
    const QWidget *window = w->window();
    return pos + window->geometry().topLeft() - window->mapToGlobal(QPoint(0, 0));
}

} // namespace

CToolLabel *CToolLabel::s_pInstance = nullptr;

CToolLabel::CToolLabel(const QString &text) : QLabel(nullptr, Qt::ToolTip | Qt::BypassGraphicsProxyWidget)
{
    delete s_pInstance;
    s_pInstance = this;

    static bool postRoutineAdded = false;
    if (!postRoutineAdded) {
        // A tip that was only hidden stays allocated until the next one replaces it; free it
        // while the application object still exists.
        postRoutineAdded = true;
        qAddPostRoutine([]() { delete CToolLabel::s_pInstance; });
    }

    m_pHideTimer = new QTimer(this);
    m_pHideTimer->setObjectName(QStringLiteral("hideTimer"));
    m_pHideTimer->setSingleShot(true);
    m_pExpireTimer = new QTimer(this);
    m_pExpireTimer->setObjectName(QStringLiteral("expireTimer"));
    m_pExpireTimer->setSingleShot(true);
    m_pExpireTimer->setTimerType(Qt::PreciseTimer);
    connect(m_pHideTimer, &QTimer::timeout, this, &CToolLabel::OnTimerFired);
    connect(m_pExpireTimer, &QTimer::timeout, this, &CToolLabel::OnTimerFired);

    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(CToolTip::palette());
    ensurePolished();
    setMargin(1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this));
    setFrameStyle(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft);
    setIndent(1);
    qApp->installEventFilter(this);
    setWindowOpacity(style()->styleHint(QStyle::SH_ToolTipLabel_Opacity, nullptr, this) / 255.0);
    setMouseTracking(true);
    m_bFading = false;
    ReuseTip(text);
}

CToolLabel::~CToolLabel()
{
    if (s_pInstance == this)
        s_pInstance = nullptr;
}

void CToolLabel::ReuseTip(const QString &text)
{
    setWordWrap(Qt::mightBeRichText(text));
    setText(text);
    QFontMetrics fm(font());
    QSize extra(1, 0);
    // Some fonts draw their descent a pixel below the label's bottom.
    if (fm.descent() == 2 && fm.ascent() >= 11)
        ++extra.rheight();
    resize(sizeHint() + extra);

    const int extraChars = qMax(0, int(text.length()) - ExpireFreeChars);
    m_pExpireTimer->start(ExpireBaseMs + ExpireMsPerExtraChar * extraChars);
    m_pHideTimer->stop();
}

void CToolLabel::HideTip()
{
    if (!m_pHideTimer->isActive())
        m_pHideTimer->start(HideDelayMs);
}

void CToolLabel::HideTipImmediately()
{
    close();
    deleteLater();
}

void CToolLabel::OnTimerFired()
{
    m_pHideTimer->stop();
    m_pExpireTimer->stop();
    HideTipImmediately();
}

void CToolLabel::SetTipRect(QWidget *w, const QRect &rect)
{
    if (!rect.isEmpty() && !w) {
        qWarning("CToolTip::setTipRect: Cannot pass null widget if rect is set");
        return;
    }
    m_pWidget = w;
    m_rect = rect;
}

bool CToolLabel::TipChanged(const QPoint &localPos, const QString &text, QWidget *w) const
{
    if (text != this->text())
        return true;
    if (w != m_pWidget.data())
        return true;
    return !m_rect.isEmpty() && !m_rect.contains(localPos);
}

QScreen *CToolLabel::TipScreen(const QPoint &pos, QWidget *w)
{
    QScreen *primary = QGuiApplication::primaryScreen();
    QScreen *screen = nullptr;
    if (primary && primary->virtualSiblings().size() > 1)
        screen = QGuiApplication::screenAt(pos);
    else if (w)
        screen = w->screen();
    return screen ? screen : primary;
}

// Opens below and right of the position, flipping to the other side at the screen's edges.
void CToolLabel::PlaceTip(const QPoint &pos, QWidget *w)
{
    QScreen *screen = TipScreen(pos, w);
    const QRect s = screen ? screen->geometry() : QRect(QPoint(0, 0), size());
    const int right = s.x() + s.width();
    const int bottom = s.y() + s.height();
    const int tipW = width();
    const int tipH = height();

    QPoint p = pos + QPoint(2, 21);
    if (p.x() + tipW > right)
        p.rx() -= 4 + tipW;
    if (p.y() + tipH > bottom)
        p.ry() -= 24 + tipH;
    if (p.y() < s.y())
        p.setY(s.y());
    if (p.x() + tipW > right)
        p.setX(right - tipW);
    if (p.x() < s.x())
        p.setX(s.x());
    if (p.y() + tipH > bottom)
        p.setY(bottom - tipH);
    move(p);
}

bool CToolLabel::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Leave:
        HideTip();
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        HideTipImmediately();
        break;
    default:
        break;
    }
    return false;
}

void CToolLabel::paintEvent(QPaintEvent *event)
{
    QStylePainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    painter.setPen(Qt::red);
    painter.drawPrimitive(QStyle::PE_PanelTipLabel, option);
    painter.end();
    QLabel::paintEvent(event);
}

void CToolLabel::resizeEvent(QResizeEvent *event)
{
    QStyleHintReturnMask frameMask;
    QStyleOption option;
    option.initFrom(this);
    if (style()->styleHint(QStyle::SH_ToolTip_Mask, &option, this, &frameMask))
        setMask(frameMask.region);
    QLabel::resizeEvent(event);
}

void CToolLabel::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_rect.isEmpty()) {
        QPoint pos = event->globalPosition().toPoint();
        if (m_pWidget)
            pos = m_pWidget->mapFromGlobal(pos);
        if (!m_rect.contains(pos))
            HideTip();
    }
    QLabel::mouseMoveEvent(event);
}

void CToolTip::showText(const QPoint &pos, const QString &text, QWidget *w)
{
    showText(pos, text, w, QRect());
}

void CToolTip::showText(const QPoint &fieldPos, const QString &text, QWidget *w, const QRect &rect)
{
    const QPoint pos = BesideField(fieldPos, w);
    CToolLabel *label = CToolLabel::s_pInstance;
    if (label && label->isVisible()) {
        if (text.isEmpty()) {
            label->HideTip();
            return;
        }
        if (!label->m_bFading) {
            const QPoint localPos = w ? w->mapFromGlobal(fieldPos) : fieldPos;
            if (label->TipChanged(localPos, text, w)) {
                label->ReuseTip(text);
                label->SetTipRect(w, rect);
                label->PlaceTip(pos, w);
            }
            return;
        }
    }
    if (text.isEmpty())
        return;

    label = new CToolLabel(text);
    label->setScreen(CToolLabel::TipScreen(pos, w));
    label->SetTipRect(w, rect);
    label->PlaceTip(pos, w);
    label->setObjectName(QStringLiteral("ctooltip_label"));
    label->show();
}

void CToolTip::hideText()
{
    if (CToolLabel::s_pInstance && CToolLabel::s_pInstance->isVisible())
        CToolLabel::s_pInstance->hide();
}

bool CToolTip::isVisible()
{
    return CToolLabel::s_pInstance && CToolLabel::s_pInstance->isVisible();
}

QString CToolTip::text()
{
    return CToolLabel::s_pInstance ? CToolLabel::s_pInstance->text() : QString();
}

QPalette CToolTip::palette()
{
    return *tipPalette();
}

void CToolTip::setPalette(const QPalette &palette)
{
    *tipPalette() = palette;
    if (CToolLabel::s_pInstance)
        CToolLabel::s_pInstance->setPalette(palette);
}
