// Field tooltip: input errors in dialogs are shown as a tip beside the offending field instead
// of a message box. At most one tip is on screen; it stays on the screen it opens on and goes
// after 8 s (longer for texts over 100 characters), when the pointer leaves, or when the active
// window changes. The application registers a 10-point font for CToolLabel at start-up and the
// style sheet gives it its look.
#pragma once

#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QRect>

class QTimer;
class QScreen;

class CToolTip
{
public:
    CToolTip() = delete;

    // Shows the text near the global position; an empty text hides the current tip.
    static void showText(const QPoint &pos, const QString &text, QWidget *w = nullptr);
    // As above; the tip also goes when the pointer leaves 'rect' (in w's coordinates).
    static void showText(const QPoint &pos, const QString &text, QWidget *w, const QRect &rect);
    static void hideText();
    static bool isVisible();
    static QString text();
    static QPalette palette();
    static void setPalette(const QPalette &palette);
};

// The tip window. Only CToolTip creates it; there is at most one at a time.
class CToolLabel : public QLabel
{
    Q_OBJECT

public:
    explicit CToolLabel(const QString &text);
    ~CToolLabel() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    friend class CToolTip;

    static CToolLabel *s_pInstance;

    void ReuseTip(const QString &text);
    void HideTip(); // after a short delay
    void HideTipImmediately();
    void SetTipRect(QWidget *w, const QRect &rect);
    bool TipChanged(const QPoint &localPos, const QString &text, QWidget *w) const;
    void PlaceTip(const QPoint &pos, QWidget *w);
    void OnTimerFired();
    static QScreen *TipScreen(const QPoint &pos, QWidget *w);

    QTimer *m_pHideTimer = nullptr;
    QTimer *m_pExpireTimer = nullptr;
    bool m_bFading = false;
    QPointer<QWidget> m_pWidget; // guarded: the field may go away while its tip is up
    QRect m_rect;
};
