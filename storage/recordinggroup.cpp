#include "storage/recordinggroup.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace NordaStorage {

bool STRU_RECORDING_GROUP::operator==(const STRU_RECORDING_GROUP &other) const
{
    return strName == other.strName && hours == other.hours && iActivityPercent == other.iActivityPercent
        && iNightStart == other.iNightStart && iNightEnd == other.iNightEnd
        && iNightFactorPercent == other.iNightFactorPercent && iDaysToKeep == other.iDaysToKeep
        && bFollowPage == other.bFollowPage && strRecorder == other.strRecorder;
}

bool STRU_RECORDING_GROUP::IsNight(int hour) const
{
    if (iNightStart == iNightEnd)
        return false;
    if (iNightStart < iNightEnd)
        return hour >= iNightStart && hour < iNightEnd;
    return hour >= iNightStart || hour < iNightEnd;
}

double STRU_RECORDING_GROUP::HourWeight(int hour) const
{
    const HourMode mode = hours.at(hour);
    const double weight = mode == HourMode::Continuous ? 1.0 : mode == HourMode::Event ? iActivityPercent / 100.0 : 0.0;
    return IsNight(hour) ? weight * (iNightFactorPercent / 100.0) : weight;
}

double STRU_RECORDING_GROUP::EffectiveHours() const
{
    // HourWeight() hour by hour, with its two divisions made once.
    const double event = iActivityPercent / 100.0;
    const double night = iNightFactorPercent / 100.0;
    double sum = 0;
    for (int hour = 0; hour < kHoursPerDay; ++hour) {
        const HourMode mode = hours[hour];
        const double weight = mode == HourMode::Continuous ? 1.0 : mode == HourMode::Event ? event : 0.0;
        sum += IsNight(hour) ? weight * night : weight;
    }
    return sum;
}

QString DescribeProfile(const STRU_RECORDING_GROUP &group)
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("CStoragePage", text); };
    QStringList spans;
    int from = 0;
    for (int hour = 1; hour <= kHoursPerDay; ++hour) {
        if (hour < kHoursPerDay && group.hours[hour] == group.hours[from])
            continue;
        QString mode;
        switch (group.hours[from]) {
        case HourMode::Off:
            mode = tr(QT_TRANSLATE_NOOP("CStoragePage", "off"));
            break;
        case HourMode::Continuous:
            mode = tr(QT_TRANSLATE_NOOP("CStoragePage", "continuous"));
            break;
        case HourMode::Event:
            mode = tr(QT_TRANSLATE_NOOP("CStoragePage", "event %1 %")).arg(group.iActivityPercent);
            break;
        }
        spans << QStringLiteral("%1-%2 %3").arg(from).arg(hour).arg(mode);
        from = hour;
    }
    QString text = spans.join(QStringLiteral(", "));
    if (group.iNightStart != group.iNightEnd && group.iNightFactorPercent != 100) {
        text += tr(QT_TRANSLATE_NOOP("CStoragePage", "; night %1-%2 at %3 %"))
                    .arg(group.iNightStart)
                    .arg(group.iNightEnd)
                    .arg(group.iNightFactorPercent);
    }
    return text;
}

void SanitizeGroup(STRU_RECORDING_GROUP &group)
{
    group.strName = group.strName.left(kMaxNameLength);
    group.iActivityPercent = std::clamp(group.iActivityPercent, 0, 100);
    group.iNightStart = std::clamp(group.iNightStart, 0, kHoursPerDay - 1);
    group.iNightEnd = std::clamp(group.iNightEnd, 0, kHoursPerDay - 1);
    group.iNightFactorPercent = std::clamp(group.iNightFactorPercent, 0, kMaxFactorPercent);
    group.iDaysToKeep = std::clamp(group.iDaysToKeep, 0, kMaxDaysToKeep);
    for (HourMode &mode : group.hours) {
        if (mode != HourMode::Off && mode != HourMode::Continuous && mode != HourMode::Event)
            mode = HourMode::Off;
    }
}

} // namespace NordaStorage
