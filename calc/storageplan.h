// The two calculations of the panel's tabs and the rules of their linked input fields, on the
// field texts. The panel only moves texts between its line edits and these functions and turns
// a refusal into its message, so every rule here is testable without a window.
//
// The panel's validators and maximum lengths keep its field texts to short runs of digits, but
// every function here takes any text: blanks around a number and a leading sign are read as the
// fields always read them; "24.5", "1E5", "0x10" are no whole number; digits beyond 64 bits count
// as above every limit; negative values are refused or read as 0, as each function says. No text
// makes a product overflow or a result negative.
#pragma once

#include "calc/camera.h"

#include <QString>
#include <QVector>

namespace StoragePlan {

// Why a calculation was refused; each has its own message in the panel.
enum class Refusal {
    None,
    NoCameras,     // the camera list is empty
    DiskTooLarge,  // disk size above the largest disk
    DiskTooSmall,  // disk size below 2 GB
    NoTime,        // record time empty, not a whole number, 0 or negative days
    TimeTooLong,   // record time above 365 days
    NoHoursPerDay, // hours per day not a whole number, negative or above the int range;
                   // "Calculate Time" also refuses 0 and empty (it would divide by zero),
                   // "Calculate Disk" needs no disk for them. HoursPerDayProblem() says which
    NoBitrate,     // the cameras' bitrates add up to 0: the disk would never fill
};

// What is wrong with an hours-per-day text, so that the panel can say it.
enum class HoursProblem {
    None,           // a whole number from 1 to 24
    Empty,          // nothing, or only blanks
    NotWholeNumber, // "24.5", "1E5", "0x10", "abc": not a sign and decimal digits
    Negative,       // below 0, however many digits
    Zero,           // 0: nothing would be recorded ("Calculate Time" refuses it, typing does not)
    AboveDay,       // above 24, however many digits (typing warns; the calculations use up to
                    // the int range as typed and refuse beyond it)
};
HoursProblem HoursPerDayProblem(const QString &hoursText);

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

// In both calculations a camera whose bitrate is below 0 counts as 0 kbit/s: it records nothing.
// "Calculate Time": how long the disk of gbText lasts at hoursText hours of recording a day.
// A negative or unreadable disk size is too small.
Refusal CalculateRecordTime(const QVector<STRU_CAMERA> &cameras, const QString &gbText, const QString &hoursText,
                            RecordTime *result);
// "Calculate Disk": the disk that dayText days at hoursText hours a day need; 0 or empty hours
// need 0 GB.
Refusal CalculateDiskSpace(const QVector<STRU_CAMERA> &cameras, const QString &dayText, const QString &hoursText,
                           DiskSpace *result);

// Linked disk fields. Both read their field as an unsigned 32-bit number, 0 when the text is
// not one (negative, too long, no number); GBFromTB multiplies in 64 bits.
QString GBFromTB(const QString &tbText);
QString TBFromGB(const QString &gbText);
bool DiskAboveLimit(const QString &gbText); // digits beyond 64 bits are above it

// Linked record-time fields: the two other fields of the group.
struct TimeFields
{
    QString months;
    QString weeks;
    QString days;
};
// Months and weeks are whole numbers up to the int range; days may carry a fraction. A text
// that is none of these, negative or beyond that range (days: 10^15) counts as 0.
TimeFields FromMonths(const QString &monthText); // fills weeks and days
TimeFields FromWeeks(const QString &weekText);   // fills days and months
TimeFields FromDays(const QString &dayText);     // fills months and weeks
bool DaysAboveLimit(const QString &dayText);     // digits beyond 64 bits are above it

// Hours per day outside 0..24: Negative or AboveDay (a text that is no number counts as 0).
bool HoursPerDayOutOfRange(const QString &hoursText);

} // namespace StoragePlan
