// Shared palette and painting helpers of the skin generator. Every image is drawn with
// QPainter on a transparent ARGB image; sizes are chosen so that the border slices the style
// sheets use fall on unstretched pixels.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace Skin {

// Dark blue chrome, light content, one blue accent.
inline const QColor ChromeTop(0x2E, 0x55, 0x87);
inline const QColor ChromeBottom(0x1D, 0x3A, 0x62);
inline const QColor ChromeDeep(0x16, 0x2E, 0x4F);
inline const QColor ChromeEdge(0x11, 0x25, 0x40);
inline const QColor Accent(0x40, 0x83, 0xC5); // also the caption colour of the forms
inline const QColor AccentDark(0x2B, 0x67, 0xA6);
inline const QColor AccentLight(0xDC, 0xEA, 0xF8);
inline const QColor AccentPale(0xEE, 0xF5, 0xFC);
inline const QColor Content(0xF4, 0xF6, 0xF9);
inline const QColor Panel(0xE8, 0xEC, 0xF1);
inline const QColor Border(0xA3, 0xAE, 0xBC);
inline const QColor BorderLight(0xC8, 0xD0, 0xDA);
inline const QColor Ink(0x2A, 0x36, 0x45);
inline const QColor Disabled(0xB4, 0xBB, 0xC4);
inline const QColor Red(0xD2, 0x4A, 0x43);
inline const QColor Green(0x3E, 0xA3, 0x5B);
inline const QColor Amber(0xF2, 0xB1, 0x34);

QImage NewImage(int w, int h);
void BeginAA(QPainter &p);

// A vertical two-stop gradient over [y0, y1).
QLinearGradient VGradient(qreal y0, qreal y1, const QColor &top, const QColor &bottom);

// A bordered, rounded box filling the whole image: 1-pixel border, fill gradient, radius.
QImage Box(int w, int h, const QColor &border, const QColor &fillTop, const QColor &fillBottom, qreal radius);

// Filled triangle arrow inside rect pointing 'dir' (0 up, 1 right, 2 down, 3 left).
void Arrow(QPainter &p, const QRectF &r, int dir, const QColor &c);

QColor Mix(const QColor &a, const QColor &b, qreal t);

} // namespace Skin

// Catalogue: relative path -> image; filled by the drawing units.
#include <QMap>
using ImageMap = QMap<QString, QImage>;
void DrawChrome(ImageMap &out);   // dialog frames, title bar, tab strip, tabs, buttons
void DrawControls(ImageMap &out); // edits, combo and spin boxes, check/radio, scroll bars, views
void DrawIcons(ImageMap &out);    // the 32 x 32 icons, logo and application icon
QImage DrawAppIcon(int size);
QByteArray DrawLoadingGif();
