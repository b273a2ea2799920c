// A recording group: cameras that record by one profile and keep their recordings equally long.
#pragma once

#include <QString>

#include <array>

namespace NordaStorage {

enum class HourMode : quint8 { Off = 0, Continuous = 1, Event = 2 };
constexpr int kHoursPerDay = 24;

struct STRU_RECORDING_GROUP
{
    QString strName;
    // Hour h is h:00 to h+1:00; every hour continuous by default.
    std::array<HourMode, kHoursPerDay> hours;
    int iActivityPercent = 100; // share of an event hour that is recorded (motion, alarms)
    // Night: the hours from iNightStart up to iNightEnd (over midnight when start > end); none
    // when they are equal. Its bitrate is iNightFactorPercent of the day's: infrared pictures in
    // black and white shrink, noisy low-light colour pictures grow.
    int iNightStart = 18;
    int iNightEnd = 6;
    int iNightFactorPercent = 100;
    int iDaysToKeep = 30;
    // The "Default" group of hand-added cameras: records as the "Calculate Disk" tab says (its
    // hours per day, continuously, from midnight; its days) instead of by its own strip and days.
    bool bFollowPage = false;
    // The recorder it records on (RecorderPlan); empty until it is given its default one.
    QString strRecorder;

    STRU_RECORDING_GROUP() { hours.fill(HourMode::Continuous); }
    bool operator==(const STRU_RECORDING_GROUP &other) const;
    bool operator!=(const STRU_RECORDING_GROUP &other) const { return !(*this == other); }

    bool IsNight(int hour) const;
    // Share of the camera's bitrate recorded in hour h: 0 off, 1 continuous, the activity share
    // for events; times the night factor at night.
    double HourWeight(int hour) const;
    // Sum of the 24 weights: the hours of full-bitrate recording a day. Whole hours of continuous
    // recording add up exactly.
    double EffectiveHours() const;
};

// Limits the page and the plan file keep values in.
constexpr int kMaxDaysToKeep = 3650;
constexpr int kMaxFactorPercent = 1000;
constexpr int kMaxNameLength = 64;

// The strip in words, hour spans from midnight: "0-8 continuous, 8-18 event 30 %, 18-24
// continuous; night 18-8 at 60 %" (translated in the context CStoragePage).
QString DescribeProfile(const STRU_RECORDING_GROUP &group);

// Makes a group's values lie within the limits above (hours as they are, names cut).
void SanitizeGroup(STRU_RECORDING_GROUP &group);

} // namespace NordaStorage
