// The 24 hours of a recording profile as a bar chart that is also its editor: each bar is one
// hour, as high as the share of the bitrate recorded then (continuous full, events by their
// activity, both scaled at night); a click on an hour turns it from continuous to event to off.
#pragma once

#include "storage/recordinggroup.h"

#include <QWidget>

class CHourChart : public QWidget
{
    Q_OBJECT

public:
    explicit CHourChart(QWidget *parent = nullptr);

    void SetGroup(const NordaStorage::STRU_RECORDING_GROUP &group);
    // Read-only (a group that follows the "Calculate Disk" tab): clicks change nothing.
    void SetEditable(bool editable);
    QSize sizeHint() const override { return QSize(480, 104); }
    QSize minimumSizeHint() const override { return QSize(340, 90); }
    // The hour under a point of the widget, -1 outside the bars.
    int HourAt(const QPoint &point) const;

signals:
    // The user clicked 'hour'; the new mode is already in the chart's group.
    void SignalHourChanged(int hour, NordaStorage::HourMode mode);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRectF BarArea() const;

    NordaStorage::STRU_RECORDING_GROUP m_group;
    bool m_bEditable = true;
};
