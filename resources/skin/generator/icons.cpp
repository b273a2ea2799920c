// Icons (flat drawings on a 32 x 32 grid), the eye logo, the application icon and the busy
// animation.
#include "gifwriter.h"
#include "skinpaint.h"

#include <QtMath>

using namespace Skin;

namespace {

const QColor Steel(0x3E, 0x53, 0x70);

struct Canvas
{
    explicit Canvas(int size = 32) : img(NewImage(size, size)), p(&img)
    {
        BeginAA(p);
        p.setPen(Qt::NoPen);
    }
    QImage Take()
    {
        p.end();
        return img;
    }
    QImage img;
    QPainter p;
};

void Disc(QPainter &p, const QPointF &c, qreal r, const QBrush &b)
{
    p.setPen(Qt::NoPen);
    p.setBrush(b);
    p.drawEllipse(c, r, r);
}

QImage HardDisk()
{
    Canvas c;
    QPainter &p = c.p;
    p.setPen(QPen(Steel, 1));
    p.setBrush(VGradient(5, 27, QColor(0xF5, 0xF7, 0xFA), QColor(0xC5, 0xCE, 0xD9)));
    p.drawRoundedRect(QRectF(3.5, 5.5, 25, 21), 3, 3);
    p.setBrush(VGradient(8, 23, QColor(0xE2, 0xE8, 0xEF), QColor(0xA9, 0xB6, 0xC5)));
    p.setPen(QPen(QColor(0x5A, 0x6C, 0x83), 1));
    p.drawEllipse(QPointF(14, 15.5), 7.5, 7.5);
    p.setPen(QPen(QColor(0x8B, 0x9A, 0xAD), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14, 15.5), 4.5, 4.5);
    Disc(p, QPointF(14, 15.5), 1.8, Steel);
    p.setPen(QPen(Steel, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24.5, 9.5), QPointF(17.5, 17));
    Disc(p, QPointF(24.5, 9.5), 1.8, Steel);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawRoundedRect(QRectF(23, 22, 3, 2), 0.5, 0.5);
    return c.Take();
}

QImage Calculator()
{
    Canvas c;
    QPainter &p = c.p;
    p.setPen(QPen(AccentDark, 1));
    p.setBrush(VGradient(2, 30, QColor(0x57, 0x99, 0xDA), QColor(0x33, 0x70, 0xB0)));
    p.drawRoundedRect(QRectF(6.5, 2.5, 19, 27), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE9, 0xF3, 0xFC));
    p.drawRoundedRect(QRectF(9, 5, 14, 6), 1, 1);
    p.setBrush(QColor(0x2B, 0x67, 0xA6, 150));
    p.drawRect(QRectF(16, 8.5, 5, 1.2));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const bool equals = row == 2 && col == 2;
            p.setBrush(equals ? Amber : QColor(255, 255, 255, 235));
            p.drawRoundedRect(QRectF(9 + col * 5, 14 + row * 5, 4, 3.6), 0.8, 0.8);
        }
    }
    return c.Take();
}

QImage AddIcon()
{
    Canvas c;
    QPainter &p = c.p;
    Disc(p, QPointF(16, 16), 13, VGradient(3, 29, QColor(0x55, 0xB8, 0x70), QColor(0x35, 0x93, 0x50)));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(14, 8, 4, 16), Qt::white);
    p.fillRect(QRect(8, 14, 16, 4), Qt::white);
    return c.Take();
}

QImage DeleteIcon()
{
    Canvas c;
    QPainter &p = c.p;
    const QColor dark(0xA8, 0x35, 0x30);
    p.setBrush(dark);
    p.drawRoundedRect(QRectF(12.5, 3, 7, 4), 1.2, 1.2);
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRect(QRectF(14.5, 5, 3, 2));
    p.setBrush(VGradient(6, 10, QColor(0xE0, 0x5A, 0x52), dark));
    p.drawRoundedRect(QRectF(6, 6.5, 20, 3.5), 1.2, 1.2);
    QPainterPath body;
    body.moveTo(8.5, 11);
    body.lineTo(23.5, 11);
    body.lineTo(22, 28);
    body.quadTo(21.8, 29.5, 20.3, 29.5);
    body.lineTo(11.7, 29.5);
    body.quadTo(10.2, 29.5, 10, 28);
    body.closeSubpath();
    p.fillPath(body, VGradient(11, 29.5, QColor(0xE2, 0x5F, 0x57), QColor(0xB8, 0x3B, 0x35)));
    p.setBrush(QColor(255, 255, 255, 200));
    for (qreal x : {12.4, 15.25, 18.1})
        p.drawRoundedRect(QRectF(x, 14, 1.5, 12), 0.7, 0.7);
    return c.Take();
}

QImage EditIcon()
{
    Canvas c;
    QPainter &p = c.p;
    p.setBrush(Accent);
    p.drawRoundedRect(QRectF(4, 27, 24, 2), 1, 1);
    p.translate(16, 15);
    p.rotate(45);
    // Pencil along the x axis, tip to the left (lower left after rotation).
    p.setBrush(VGradient(-3.5, 3.5, QColor(0xF7, 0xC4, 0x5A), QColor(0xE0, 0x98, 0x1C)));
    p.drawRect(QRectF(-6, -3.5, 14, 7));
    p.setBrush(QColor(0xD2, 0x4A, 0x43));
    p.drawRoundedRect(QRectF(10, -3.5, 4, 7), 1.2, 1.2);
    p.setBrush(QColor(0xB4, 0xBD, 0xC8));
    p.drawRect(QRectF(8, -3.5, 2.5, 7));
    QPainterPath wood;
    wood.moveTo(-6, -3.5);
    wood.lineTo(-13, 0);
    wood.lineTo(-6, 3.5);
    wood.closeSubpath();
    p.fillPath(wood, QColor(0xF3, 0xDB, 0xAE));
    QPainterPath lead;
    lead.moveTo(-10.6, -1.2);
    lead.lineTo(-13, 0);
    lead.lineTo(-10.6, 1.2);
    lead.closeSubpath();
    p.fillPath(lead, Steel);
    return c.Take();
}

QImage VigilIcon()
{
    Canvas c;
    QPainter &p = c.p;
    Disc(p, QPointF(13, 13), 9.5, QColor(0xEE, 0xF5, 0xFC, 235));
    // A small network inside the lens.
    p.setPen(QPen(Accent, 1.4));
    p.drawLine(QPointF(9.5, 10.5), QPointF(16.5, 10.5));
    p.drawLine(QPointF(9.5, 10.5), QPointF(13, 16.5));
    p.drawLine(QPointF(16.5, 10.5), QPointF(13, 16.5));
    for (const QPointF &pt : {QPointF(9.5, 10.5), QPointF(16.5, 10.5), QPointF(13, 16.5)})
        Disc(p, pt, 2.2, AccentDark);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(AccentDark, 2.6));
    p.drawEllipse(QPointF(13, 13), 9.5, 9.5);
    p.setPen(QPen(Steel, 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 20.5), QPointF(27, 27));
    return c.Take();
}

QImage ClientIcon()
{
    Canvas c;
    QPainter &p = c.p;
    const qreal left = 6, right = 26, rx = 10, ry = 3.8;
    QPainterPath body;
    body.moveTo(left, 7);
    body.lineTo(left, 25);
    body.arcTo(QRectF(left, 25 - ry, 2 * rx, 2 * ry), 180, 180);
    body.lineTo(right, 7);
    body.closeSubpath();
    QLinearGradient g(left, 0, right, 0);
    g.setColorAt(0, QColor(0x35, 0x72, 0xB2));
    g.setColorAt(0.45, QColor(0x55, 0x97, 0xD8));
    g.setColorAt(1, QColor(0x2E, 0x69, 0xA8));
    p.fillPath(body, g);
    // Band seams.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1.1));
    for (qreal y : {13.0, 19.0})
        p.drawArc(QRectF(left, y - ry, 2 * rx, 2 * ry), 180 * 16, 180 * 16);
    p.setPen(QPen(AccentDark, 1));
    p.setBrush(QColor(0x9C, 0xC6, 0xEE));
    p.drawEllipse(QRectF(left + 0.5, 7 - ry + 0.5, 2 * rx - 1, 2 * ry - 1));
    return c.Take();
}

// A filled circle with the "i" of information knocked out in the other colour.
QImage InfoIcon(const QColor &disc, const QColor &glyph)
{
    Canvas c;
    QPainter &p = c.p;
    Disc(p, QPointF(16, 16), 13, disc);
    Disc(p, QPointF(16, 9.5), 2.1, glyph);
    p.setBrush(glyph);
    p.drawRoundedRect(QRectF(14.2, 13, 3.6, 11), 1, 1);
    return c.Take();
}

// A sheet with a folded corner and three lines: the plan, on the white of the tab icons.
QImage PlanIcon(const QColor &sheet, const QColor &lines)
{
    Canvas c;
    QPainter &p = c.p;
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setBrush(sheet);
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(20, 3);
    fold.lineTo(20, 9);
    fold.lineTo(26, 9);
    fold.closeSubpath();
    p.setBrush(Mix(sheet, lines, 0.45));
    p.drawPath(fold);
    p.setBrush(lines);
    for (const qreal y : {13.0, 18.0, 23.0})
        p.drawRoundedRect(QRectF(10.5, y, 12, 2.2), 1, 1);
    return c.Take();
}

// Three stacked disks beside rising bars: storage by group, on the white of the tab icons.
QImage StorageIcon(const QColor &disk, const QColor &accent)
{
    Canvas c;
    QPainter &p = c.p;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 20 - i * 7;
        p.setBrush(disk);
        p.drawRoundedRect(QRectF(3, y, 17, 7), 3, 3);
        p.setBrush(accent);
        Disc(p, QPointF(16.5, y + 3.5), 1.2, accent);
    }
    p.setBrush(disk);
    const qreal heights[] = {8, 14, 20};
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(22 + i * 3.2, 27 - heights[i], 2.4, heights[i]));
    return c.Take();
}

QImage HelpIcon()
{
    Canvas c;
    QPainter &p = c.p;
    Disc(p, QPointF(16, 16), 13, VGradient(3, 29, QColor(0x55, 0x98, 0xDA), AccentDark));
    QPainterPath q;
    q.moveTo(11.6, 12.2);
    q.cubicTo(11.6, 6.8, 20.6, 6.6, 20.6, 12);
    q.cubicTo(20.6, 15.4, 16, 15.6, 16, 19);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(q);
    Disc(p, QPointF(16, 23.8), 2, Qt::white);
    return c.Take();
}

QImage TipIcon()
{
    Canvas c(16);
    QPainter &p = c.p;
    Disc(p, QPointF(8, 6.2), 5.2, VGradient(1, 11, QColor(0xFF, 0xD8, 0x6A), Amber));
    p.setBrush(QColor(0xE3, 0x9C, 0x20));
    p.drawRect(QRectF(6, 9.5, 4, 2));
    p.setBrush(QColor(0x7A, 0x86, 0x96));
    p.drawRoundedRect(QRectF(5.5, 11, 5, 2), 0.6, 0.6);
    p.drawRoundedRect(QRectF(6.2, 13.3, 3.6, 1.8), 0.8, 0.8);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(QPointF(6.3, 4.6), 1.4, 1.4);
    return c.Take();
}

// The eye whose iris is a disk platter; 'box' bounds the almond.
void PaintEye(QPainter &p, const QRectF &box, const QColor &white)
{
    const qreal cy = box.center().y(), h = box.height();
    QPainterPath eye;
    eye.moveTo(box.left(), cy);
    eye.cubicTo(box.left() + box.width() * 0.28, cy - h * 0.68, box.right() - box.width() * 0.28, cy - h * 0.68,
                box.right(), cy);
    eye.cubicTo(box.right() - box.width() * 0.28, cy + h * 0.68, box.left() + box.width() * 0.28, cy + h * 0.68,
                box.left(), cy);
    eye.closeSubpath();
    p.fillPath(eye, white);
    const QPointF ctr = box.center();
    const qreal r = h * 0.40;
    p.save();
    p.setClipPath(eye);
    QRadialGradient platter(ctr, r);
    platter.setColorAt(0, QColor(0x8C, 0xC0, 0xF0));
    platter.setColorAt(0.55, Accent);
    platter.setColorAt(1, AccentDark);
    Disc(p, ctr, r, platter);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 90), qMax<qreal>(0.6, r * 0.07)));
    p.drawEllipse(ctr, r * 0.72, r * 0.72);
    p.drawEllipse(ctr, r * 0.5, r * 0.5);
    Disc(p, ctr, r * 0.24, ChromeEdge);
    Disc(p, ctr + QPointF(-r * 0.42, -r * 0.42), r * 0.14, QColor(255, 255, 255, 220));
    p.restore();
}

QImage EyeLogo()
{
    Canvas c;
    PaintEye(c.p, QRectF(2, 8, 28, 16), Qt::white);
    return c.Take();
}

} // namespace

QImage DrawAppIcon(int size)
{
    Canvas c(size);
    QPainter &p = c.p;
    const qreal s = size / 256.0;
    const QRectF tile(8 * s, 8 * s, 240 * s, 240 * s);
    p.setBrush(VGradient(tile.top(), tile.bottom(), ChromeTop, ChromeDeep));
    p.drawRoundedRect(tile, 44 * s, 44 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 40), 3 * s));
    p.drawRoundedRect(tile.adjusted(1.5 * s, 1.5 * s, -1.5 * s, -1.5 * s), 43 * s, 43 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawRoundedRect(QRectF(56 * s, 196 * s, 144 * s, 10 * s), 5 * s, 5 * s);
    PaintEye(p, QRectF(30 * s, 66 * s, 196 * s, 112 * s), Qt::white);
    return c.Take();
}

void DrawIcons(ImageMap &out)
{
    out["images/title/Eye.png"] = EyeLogo();
    out["images/DiskCalculate/HDD.png"] = HardDisk();
    out["images/DiskCalculate/calculate.png"] = Calculator();
    out["images/DiskCalculate/add.png"] = AddIcon();
    out["images/DiskCalculate/delete.png"] = DeleteIcon();
    out["images/DiskCalculate/edit.png"] = EditIcon();
    out["images/DiskCalculate/vigil.png"] = VigilIcon();
    out["images/DiskCalculate/client.png"] = ClientIcon();
    out["images/Help.png"] = HelpIcon();
    out["images/About.png"] = InfoIcon(Accent, Qt::white);
    out["images/Tab/Information.png"] = InfoIcon(Qt::white, Accent);
    out["images/Tab/Plan.png"] = PlanIcon(Qt::white, Accent);
    out["images/Tab/Storage.png"] = StorageIcon(Qt::white, Accent);
    out["images/Upgrade/tip.png"] = TipIcon();
    out["images/norda.png"] = DrawAppIcon(256);
}

// Busy spinner: twelve dots, the head bright and the tail fading, on the content colour so
// that every pixel is a blend of two colours and a 256-entry ramp between them is exact.
QByteArray DrawLoadingGif()
{
    const int size = 48, frames = 12;
    QList<QRgb> ramp;
    for (int i = 0; i < 256; ++i)
        ramp << Mix(Content, Accent, i / 255.0).rgb();
    const int redSpan = Content.red() - Accent.red();

    QList<GifFrame> out;
    for (int k = 0; k < frames; ++k) {
        QImage img(size, size, QImage::Format_RGB32);
        img.fill(Content);
        {
            QPainter p(&img);
            BeginAA(p);
            for (int i = 0; i < frames; ++i) {
                const int behind = (k - i + frames) % frames;
                const qreal a = 0.12 + 0.88 * qPow(1.0 - behind / qreal(frames), 2.0);
                QColor dot = Accent;
                dot.setAlphaF(float(a));
                const qreal angle = 2 * M_PI * i / frames - M_PI / 2;
                Disc(p, QPointF(size / 2.0 + 16 * qCos(angle), size / 2.0 + 16 * qSin(angle)), 3.6, dot);
            }
        }
        GifFrame f;
        f.delayCs = 8;
        f.indices.resize(size * size);
        for (int y = 0; y < size; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < size; ++x) {
                const int t = qRound((Content.red() - qRed(line[x])) * 255.0 / redSpan);
                f.indices[y * size + x] = char(qBound(0, t, 255));
            }
        }
        out << f;
    }
    return EncodeGif(QSize(size, size), ramp, out);
}
