#include "storage/hourchart.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
// The skin's colours (resources/skin/generator/skinpaint.h).
const QColor kAccent(0x40, 0x83, 0xC5);
const QColor kAmber(0xF2, 0xB1, 0x34);
const QColor kChrome(0x1D, 0x3A, 0x62);
const QColor kBorder(0xA3, 0xAE, 0xBC);
const QColor kBorderLight(0xC8, 0xD0, 0xDA);
const QColor kInk(0x2A, 0x36, 0x45);
const QColor kContent(0xF4, 0xF6, 0xF9);
constexpr int kLegendHeight = 18;
constexpr int kAxisHeight = 14;
} // namespace

using NordaStorage::HourMode;

CHourChart::CHourChart(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(CHourChart::minimumSizeHint().height()); // the constructor wants its own hint, not an override's
    setCursor(Qt::PointingHandCursor);
}

void CHourChart::SetGroup(const NordaStorage::STRU_RECORDING_GROUP &group)
{
    m_group = group;
    update();
}

void CHourChart::SetEditable(bool editable)
{
    m_bEditable = editable;
    setCursor(editable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

QRectF CHourChart::BarArea() const
{
    return QRectF(34, kLegendHeight + 2, width() - 40, height() - kLegendHeight - kAxisHeight - 4);
}

int CHourChart::HourAt(const QPoint &point) const
{
    const QRectF area = BarArea();
    if (!area.contains(point))
        return -1;
    return std::clamp(int((point.x() - area.left()) * NordaStorage::kHoursPerDay / area.width()), 0,
                      NordaStorage::kHoursPerDay - 1);
}

void CHourChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF area = BarArea();
    p.fillRect(area, kContent);
    const qreal slot = area.width() / NordaStorage::kHoursPerDay;
    // Bars up to the largest weight the group can reach, so that a night factor above 100 % shows.
    const qreal top = std::max(1.0, m_group.iNightFactorPercent / 100.0);

    const QColor night(kChrome.red(), kChrome.green(), kChrome.blue(), 34);
    for (int hour = 0; hour < NordaStorage::kHoursPerDay; ++hour) {
        const QRectF column(area.left() + hour * slot, area.top(), slot, area.height());
        if (m_group.IsNight(hour) && m_group.iNightFactorPercent != 100)
            p.fillRect(column, night);
        const qreal weight = m_group.HourWeight(hour);
        const HourMode mode = m_group.hours.at(hour);
        if (mode == HourMode::Off)
            continue;
        const qreal h = area.height() * weight / top;
        const QRectF bar(column.left() + 1.5, area.bottom() - h, slot - 3, h);
        p.fillRect(bar, mode == HourMode::Continuous ? kAccent : kAmber);
        if (!m_bEditable)
            p.fillRect(bar, QColor(255, 255, 255, 90));
    }
    // Grid: the full bitrate line and the day's quarters.
    p.setPen(QPen(kBorderLight, 1, Qt::DotLine));
    const qreal full = area.bottom() - area.height() / top;
    p.drawLine(QPointF(area.left(), full), QPointF(area.right(), full));
    p.setPen(kBorder);
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);

    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    p.setFont(small);
    p.setPen(kInk);
    for (int hour = 0; hour <= NordaStorage::kHoursPerDay; hour += 3) {
        const qreal x = area.left() + hour * slot;
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 3));
        p.drawText(QRectF(x - 15, area.bottom() + 2, 30, kAxisHeight), Qt::AlignCenter, QString::number(hour));
    }
    p.drawText(QRectF(0, full - 8, 31, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("100%"));

    // Legend.
    const struct
    {
        QColor colour;
        QString text;
    } legend[] = {
        {kAccent, tr("Continuous")},
        {kAmber, tr("Event")},
        {night, tr("Night")},
    };
    qreal x = area.left();
    for (const auto &entry : legend) {
        p.fillRect(QRectF(x, 4, 10, 10), entry.colour);
        p.setPen(kBorder);
        p.drawRect(QRectF(x, 4, 10, 10));
        p.setPen(kInk);
        const qreal w = p.fontMetrics().horizontalAdvance(entry.text);
        p.drawText(QRectF(x + 14, 0, w + 4, kLegendHeight), Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        x += 14 + w + 16;
    }
    if (m_bEditable) {
        const QString hint = tr("Click an hour to change it");
        p.setPen(kBorder);
        p.drawText(QRectF(x, 0, area.right() - x, kLegendHeight), Qt::AlignRight | Qt::AlignVCenter, hint);
    }
}

void CHourChart::mousePressEvent(QMouseEvent *event)
{
    const int hour = HourAt(event->position().toPoint());
    if (!m_bEditable || hour < 0 || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    HourMode &mode = m_group.hours[hour];
    mode = mode == HourMode::Continuous ? HourMode::Event
        : mode == HourMode::Event       ? HourMode::Off
                                        : HourMode::Continuous;
    update();
    emit SignalHourChanged(hour, mode);
}
