// The two calculations of the panel's tabs and the rules of their linked input fields, on the
// field texts. The panel only moves texts between its line edits and these functions and turns
// a refusal into its message, so every rule here is testable without a window.
//
// Field texts hold digits only (validators and maximum lengths), so whole numbers are read as
// 64-bit values and no product below can overflow.
#pragma once

#include "calc/camera.h"

#include <QString>
#include <QVector>

namespace StoragePlan {

// Why a calculation was refused; each has its own message in the panel.
enum class Refusal {
    None,
    NoCameras,          // the camera list is empty
    DiskTooLarge,       // disk size above the largest disk
    DiskTooSmall,       // disk size below 2 GB
    NoTime,             // record time empty or 0 days
    TimeTooLong,        // record time above 365 days
    NoHoursPerDay,      // hours per day not a whole number above 0 (would divide by zero or go negative)
    NoBitrate,          // the cameras' bitrates add up to 0: the disk would never fill
};

struct RecordTime
{
    qint64 months = 0;
    qint64 weeks = 0;
    qint64 days = 0;
};

struct DiskSpace
{
    QString gb; // whole gigabytes, rounded up, six significant digits
    QString tb; // whole terabytes, rounded up, six significant digits
};

// "Calculate Time": how long the disk of gbText lasts at hoursText hours of recording a day.
Refusal CalculateRecordTime(const QVector<STRU_CAMERA> &cameras, const QString &gbText,
                            const QString &hoursText, RecordTime *result);
// "Calculate Disk": the disk that dayText days at hoursText hours a day need.
Refusal CalculateDiskSpace(const QVector<STRU_CAMERA> &cameras, const QString &dayText,
                           const QString &hoursText, DiskSpace *result);

// Linked disk fields.
QString GBFromTB(const QString &tbText);
QString TBFromGB(const QString &gbText);
bool DiskAboveLimit(const QString &gbText);

// Linked record-time fields: the two other fields of the group.
struct TimeFields
{
    QString months;
    QString weeks;
    QString days;
};
TimeFields FromMonths(const QString &monthText); // fills weeks and days
TimeFields FromWeeks(const QString &weekText);   // fills days and months
TimeFields FromDays(const QString &dayText);     // fills months and weeks
bool DaysAboveLimit(const QString &dayText);

// Hours per day outside 0..24 (a text that is no number counts as 0).
bool HoursPerDayOutOfRange(const QString &hoursText);

} // namespace StoragePlan
