#include "skinpaint.h"

namespace Skin {

QImage NewImage(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void BeginAA(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QLinearGradient VGradient(qreal y0, qreal y1, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QImage Box(int w, int h, const QColor &border, const QColor &fillTop, const QColor &fillBottom, qreal radius)
{
    QImage img = NewImage(w, h);
    QPainter p(&img);
    BeginAA(p);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, w, h), radius, radius);
    p.fillPath(outer, border);
    QPainterPath inner;
    const qreal r = qMax<qreal>(0, radius - 1);
    inner.addRoundedRect(QRectF(1, 1, w - 2, h - 2), r, r);
    p.fillPath(inner, VGradient(1, h - 1, fillTop, fillBottom));
    return img;
}

void Arrow(QPainter &p, const QRectF &r, int dir, const QColor &c)
{
    const QPointF ctr = r.center();
    const qreal hw = r.width() / 2, hh = r.height() / 2;
    QPolygonF tri;
    switch (dir) {
    case 0:
        tri << QPointF(ctr.x() - hw, ctr.y() + hh / 2) << QPointF(ctr.x() + hw, ctr.y() + hh / 2)
            << QPointF(ctr.x(), ctr.y() - hh / 2);
        break;
    case 2:
        tri << QPointF(ctr.x() - hw, ctr.y() - hh / 2) << QPointF(ctr.x() + hw, ctr.y() - hh / 2)
            << QPointF(ctr.x(), ctr.y() + hh / 2);
        break;
    case 1:
        tri << QPointF(ctr.x() - hw / 2, ctr.y() - hh) << QPointF(ctr.x() - hw / 2, ctr.y() + hh)
            << QPointF(ctr.x() + hw / 2, ctr.y());
        break;
    default:
        tri << QPointF(ctr.x() + hw / 2, ctr.y() - hh) << QPointF(ctr.x() + hw / 2, ctr.y() + hh)
            << QPointF(ctr.x() - hw / 2, ctr.y());
        break;
    }
    QPainterPath path;
    path.addPolygon(tri);
    path.closeSubpath();
    p.fillPath(path, c);
}

QColor Mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

} // namespace Skin
