// Window chrome: dialog frames, the main window's title bar and tab strip, tab images and
// push buttons.
#include "skinpaint.h"

using namespace Skin;

namespace {

// Title band of the frames and of the title bar: 34 rows (the dialogs' title row of 30 px
// below a 3 px margin, or the main window's 32 px logo between 1 px margins).
constexpr int TitleRows = 34;
constexpr int SideCols = 6;    // dialog_bg2 is sliced 34 6 16 6
constexpr int BottomRows = 5;  // the dialogs' bottom layout margin
constexpr int BarRows = 52;    // bottom bar (OK / Cancel) band including the bottom border
constexpr int FrameSize = 160; // both frames are also sliced 58 on every side

void PaintTitleBand(QPainter &p, int w, int top)
{
    p.fillRect(QRect(0, top, w, TitleRows - top - 1), VGradient(top, TitleRows - 1, ChromeTop, ChromeBottom));
    p.fillRect(QRect(0, top, w, 1), Mix(ChromeTop, Qt::white, 0.18));
    p.fillRect(QRect(0, TitleRows - 1, w, 1), ChromeEdge);
}

// Clips the image to rounded corners of radius 2.
void RoundCorners(QImage &img, qreal radius)
{
    QImage mask = NewImage(img.width(), img.height());
    {
        QPainter m(&mask);
        BeginAA(m);
        QPainterPath path;
        path.addRoundedRect(QRectF(img.rect()), radius, radius);
        m.fillPath(path, Qt::black);
    }
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, mask);
}

QImage DialogFrame(bool withBottomBar)
{
    const int w = FrameSize, h = FrameSize;
    QImage img = NewImage(w, h);
    QPainter p(&img);
    // Dark outline, side and bottom borders.
    p.fillRect(img.rect(), ChromeBottom);
    // Content area.
    const QRect content(SideCols, TitleRows, w - 2 * SideCols, h - TitleRows - BottomRows);
    p.fillRect(content, Content);
    p.fillRect(QRect(SideCols - 1, TitleRows, 1, h - TitleRows - BottomRows + 1), ChromeDeep);
    p.fillRect(QRect(w - SideCols, TitleRows, 1, h - TitleRows - BottomRows + 1), ChromeDeep);
    p.fillRect(QRect(SideCols - 1, h - BottomRows, w - 2 * SideCols + 2, 1), ChromeDeep);
    if (withBottomBar) {
        const int barTop = h - BarRows;
        p.fillRect(QRect(SideCols, barTop, content.width(), 1), BorderLight);
        p.fillRect(QRect(SideCols, barTop + 1, content.width(), 1), Qt::white);
        p.fillRect(QRect(SideCols, barTop + 2, content.width(), BarRows - BottomRows - 2),
                   VGradient(barTop + 2, h - BottomRows, QColor(0xEE, 0xF1, 0xF5), Panel));
    }
    PaintTitleBand(p, w, 1);
    // One-pixel outer edge all round.
    p.setPen(ChromeEdge);
    p.drawRect(QRect(0, 0, w - 1, h - 1));
    p.end();
    RoundCorners(img, 2);
    return img;
}

QImage TitleBackground()
{
    QImage img = NewImage(64, TitleRows);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, 64, 1), ChromeEdge);
    PaintTitleBand(p, 64, 1);
    return img;
}

// The 20 x 20 caption buttons: white glyph on the title band, a soft plate when hovered.
enum class Caption { Minimise, Maximise, Restore, Close };

QImage CaptionButton(Caption kind, bool hover)
{
    QImage img = NewImage(20, 20);
    QPainter p(&img);
    BeginAA(p);
    if (hover) {
        QPainterPath plate;
        plate.addRoundedRect(QRectF(0, 0, 20, 20), 3, 3);
        p.fillPath(plate, kind == Caption::Close ? Red : QColor(255, 255, 255, 52));
    }
    const QColor glyph(255, 255, 255, hover ? 255 : 225);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (kind) {
    case Caption::Minimise:
        p.fillRect(QRect(5, 13, 10, 2), glyph);
        break;
    case Caption::Maximise:
        p.fillRect(QRect(5, 5, 10, 2), glyph);
        p.fillRect(QRect(5, 7, 1, 8), glyph);
        p.fillRect(QRect(14, 7, 1, 8), glyph);
        p.fillRect(QRect(5, 14, 10, 1), glyph);
        break;
    case Caption::Restore:
        // Back window.
        p.fillRect(QRect(8, 4, 8, 2), glyph);
        p.fillRect(QRect(15, 6, 1, 6), glyph);
        p.fillRect(QRect(8, 6, 1, 1), glyph);
        // Front window.
        p.fillRect(QRect(4, 8, 9, 2), glyph);
        p.fillRect(QRect(4, 10, 1, 6), glyph);
        p.fillRect(QRect(12, 10, 1, 6), glyph);
        p.fillRect(QRect(4, 15, 9, 1), glyph);
        break;
    case Caption::Close: {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(glyph, 1.8, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(6, 6), QPointF(14, 14));
        p.drawLine(QPointF(14, 6), QPointF(6, 14));
        break;
    }
    }
    return img;
}

// Tab strip of the main window: 44 rows (2 + 2 px margins above the 40 px tab buttons); the
// accent line at the bottom carries on from the selected tab.
QImage TabStripBackground()
{
    QImage img = NewImage(8, 44);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, 8, 42), VGradient(0, 42, ChromeBottom, ChromeDeep));
    p.fillRect(QRect(0, 42, 8, 2), Accent);
    return img;
}

QImage TabButton(bool selected)
{
    const int w = 140, h = 40;
    QImage img = NewImage(w, h);
    QPainter p(&img);
    BeginAA(p);
    QPainterPath shape;
    shape.moveTo(0, h);
    shape.lineTo(0, 4);
    shape.quadTo(0, 0, 4, 0);
    shape.lineTo(w - 4, 0);
    shape.quadTo(w, 0, w, 4);
    shape.lineTo(w, h);
    shape.closeSubpath();
    if (selected) {
        p.fillPath(shape, AccentDark);
        p.setClipPath(shape.translated(0, 0));
        p.fillRect(QRectF(1, 1, w - 2, h - 1), VGradient(1, h - 2, QColor(0x55, 0x98, 0xDA), Accent));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(3, 1, w - 6, 1), QColor(255, 255, 255, 70));
        p.fillRect(QRect(0, h - 2, w, 2), Accent);
    } else {
        p.fillPath(shape, QColor(255, 255, 255, 16));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRect(3, 0, w - 6, 1), QColor(255, 255, 255, 34));
    }
    return img;
}

// Tabs of the tab widgets, filled as a texture from the tab bar's top: 25 rows.
QImage TabTexture(bool selected)
{
    QImage img = NewImage(8, 25);
    QPainter p(&img);
    if (selected) {
        p.fillRect(QRect(0, 0, 8, 2), Accent);
        p.fillRect(QRect(0, 2, 8, 23), VGradient(2, 25, Qt::white, Content));
    } else {
        p.fillRect(QRect(0, 0, 8, 1), BorderLight);
        p.fillRect(QRect(0, 1, 8, 23), VGradient(1, 24, QColor(0xEC, 0xEF, 0xF3), QColor(0xDA, 0xE0, 0xE8)));
        p.fillRect(QRect(0, 24, 8, 1), BorderLight);
    }
    return img;
}

QImage TabClose(bool hover)
{
    QImage img = NewImage(20, 20);
    QPainter p(&img);
    BeginAA(p);
    QColor cross(0x6B, 0x77, 0x86);
    if (hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(Red);
        p.drawEllipse(QRectF(2, 2, 16, 16));
        cross = Qt::white;
    }
    p.setPen(QPen(cross, 1.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 7), QPointF(13, 13));
    p.drawLine(QPointF(13, 7), QPointF(7, 13));
    return img;
}

} // namespace

void DrawChrome(ImageMap &out)
{
    out["images/Dialog/dialog_bg.png"] = DialogFrame(true);
    out["images/Dialog/dialog_bg2.png"] = DialogFrame(false);
    out["images/title/title_bg.png"] = TitleBackground();
    out["images/title/mini.png"] = CaptionButton(Caption::Minimise, false);
    out["images/title/mini_hover.png"] = CaptionButton(Caption::Minimise, true);
    out["images/title/full-screen.png"] = CaptionButton(Caption::Maximise, false);
    out["images/title/full-screen_hover.png"] = CaptionButton(Caption::Maximise, true);
    out["images/title/back.png"] = CaptionButton(Caption::Restore, false);
    out["images/title/back_hover.png"] = CaptionButton(Caption::Restore, true);
    out["images/title/close.png"] = CaptionButton(Caption::Close, false);
    out["images/title/close_hover.png"] = CaptionButton(Caption::Close, true);

    out["images/Tab/tab_bg.png"] = TabStripBackground();
    out["images/Tab/TabSelect.png"] = TabButton(true);
    out["images/Tab/TabUnselect.png"] = TabButton(false);
    out["images/Tab/test.png"] = TabTexture(false);
    out["images/Tab/test2.png"] = TabTexture(true);
    out["images/Tab/TabClose.png"] = TabClose(false);
    out["images/Tab/TabCloseHover.png"] = TabClose(true);

    // Push buttons, sliced with 4-pixel borders.
    out["images/button/button.png"] = Box(32, 24, QColor(0x9C, 0xA8, 0xB7), Qt::white, QColor(0xE3, 0xE8, 0xEF), 3);
    out["images/button/button_hover.png"] = Box(32, 24, Accent, QColor(0xF7, 0xFB, 0xFF), QColor(0xD6, 0xE6, 0xF7), 3);
    out["images/button/button_disable.png"] =
        Box(32, 24, AccentDark, QColor(0xC4, 0xD8, 0xEE), QColor(0xDC, 0xE8, 0xF5), 3);
}
