// Small helpers the widget benchmarks share: a timed operation (with the view's delayed
// layouts included) and the median of repeated runs.
#pragma once

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

// Milliseconds the operation took, including the events it left for the views.
inline double TimeMs(const std::function<void()> &operation)
{
    QElapsedTimer clock;
    clock.start();
    operation();
    QApplication::processEvents();
    return clock.nsecsElapsed() / 1e6;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
