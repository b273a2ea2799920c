#include "calc/storageplan.h"

#include "calc/bitratecalculator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace StoragePlan {

namespace {

bool AllDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

enum class Whole { NotNumber, Fits, AboveRange, BelowRange };

// A whole number as the fields read one: blanks around it, an optional sign, decimal digits.
// value is 0 unless the number fits 64 bits.
Whole ReadWhole(const QString &text, qint64 *value)
{
    *value = 0;
    const QString trimmed = text.trimmed();
    const bool negative = trimmed.startsWith(QLatin1Char('-'));
    const bool signedText = negative || trimmed.startsWith(QLatin1Char('+'));
    if (!AllDigits(signedText ? trimmed.mid(1) : trimmed))
        return Whole::NotNumber;
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (!ok)
        return negative ? Whole::BelowRange : Whole::AboveRange;
    *value = number;
    return Whole::Fits;
}

// Whole number of a field from 0 up to max, else 0.
qint64 WholeNumber(const QString &text, qint64 max = std::numeric_limits<qint64>::max())
{
    qint64 value = 0;
    if (ReadWhole(text, &value) != Whole::Fits || value < 0 || value > max)
        return 0;
    return value;
}

// Hours per day usable in a calculation: a whole number from 1 to the int range, else 0.
int HoursPerDay(const QString &hoursText)
{
    return static_cast<int>(WholeNumber(hoursText, std::numeric_limits<int>::max()));
}

qint64 TotalKbps(const QVector<STRU_CAMERA> &cameras)
{
    qint64 total = 0; // int bitrates of any number of cameras cannot reach 2^63
    for (const STRU_CAMERA &camera : cameras)
        total += std::max(camera.iBitrate, 0);
    return total;
}

} // namespace

HoursProblem HoursPerDayProblem(const QString &hoursText)
{
    qint64 hours = 0;
    switch (ReadWhole(hoursText, &hours)) {
    case Whole::NotNumber:
        return hoursText.trimmed().isEmpty() ? HoursProblem::Empty : HoursProblem::NotWholeNumber;
    case Whole::BelowRange:
        return HoursProblem::Negative;
    case Whole::AboveRange:
        return HoursProblem::AboveDay;
    case Whole::Fits:
        break;
    }
    if (hours < 0)
        return HoursProblem::Negative;
    if (hours == 0)
        return HoursProblem::Zero;
    return hours > 24 ? HoursProblem::AboveDay : HoursProblem::None;
}

bool DiskAboveLimit(const QString &gbText)
{
    qint64 gb = 0;
    const Whole kind = ReadWhole(gbText, &gb);
    return kind == Whole::AboveRange
        || (kind == Whole::Fits && static_cast<double>(gb) > CBitrateCalculator::kMaxDiskGB);
}

Refusal CalculateRecordTime(const QVector<STRU_CAMERA> &cameras, const QString &gbText, const QString &hoursText,
                            RecordTime *result)
{
    if (cameras.isEmpty())
        return Refusal::NoCameras;
    if (DiskAboveLimit(gbText))
        return Refusal::DiskTooLarge;
    const qint64 gb = WholeNumber(gbText); // within the limit now; negative reads as 0
    if (gb < 2)
        return Refusal::DiskTooSmall;
    const int hoursPerDay = HoursPerDay(hoursText);
    if (hoursPerDay == 0)
        return Refusal::NoHoursPerDay;
    const qint64 totalKbps = TotalKbps(cameras);
    if (totalKbps == 0)
        return Refusal::NoBitrate;

    const double hours = CBitrateCalculator::RecordHours(static_cast<double>(totalKbps), static_cast<double>(gb));
    const float days = static_cast<float>(hours / hoursPerDay);
    // At most about 1.5e11 days (the largest disk at 1 kbit/s and 1 hour a day): fits easily.
    result->days = static_cast<qint64>(days);
    result->months = static_cast<qint64>(days / 30);
    result->weeks = static_cast<qint64>(days / 7);
    return Refusal::None;
}

Refusal CalculateDiskSpace(const QVector<STRU_CAMERA> &cameras, const QString &dayText, const QString &hoursText,
                           DiskSpace *result)
{
    qint64 days = 0;
    const Whole kind = ReadWhole(dayText, &days);
    const bool tooLong = kind == Whole::AboveRange;
    if (!tooLong && days <= 0)
        return Refusal::NoTime;
    if (cameras.isEmpty())
        return Refusal::NoCameras;
    if (tooLong || days > CBitrateCalculator::kMaxRecordDays)
        return Refusal::TimeTooLong;
    // Nothing divides here: no hours a day simply records nothing and needs no disk.
    const HoursProblem problem = HoursPerDayProblem(hoursText);
    const bool noRecording = problem == HoursProblem::Zero || problem == HoursProblem::Empty;
    const int hoursPerDay = HoursPerDay(hoursText);
    if (hoursPerDay == 0 && !noRecording)
        return Refusal::NoHoursPerDay;

    const qint64 hours = days * hoursPerDay; // at most 365 x the int range
    double gb = 0;
    for (const STRU_CAMERA &camera : cameras)
        gb += CBitrateCalculator::DiskSize(std::max(camera.iBitrate, 0), hours);
    const float tb = static_cast<float>(gb / 1000);
    result->gb = QString::number(std::ceil(gb), 'g', 6);
    result->tb = QString::number(std::ceil(tb), 'g', 6);
    return Refusal::None;
}

QString GBFromTB(const QString &tbText)
{
    return QString::number(WholeNumber(tbText, std::numeric_limits<quint32>::max()) * 1000);
}

QString TBFromGB(const QString &gbText)
{
    const qint64 gb = WholeNumber(gbText, std::numeric_limits<quint32>::max());
    const float tb = static_cast<float>(gb) / 1000.0f;
    return QString::number(static_cast<qint64>(std::ceil(tb)));
}

TimeFields FromMonths(const QString &monthText)
{
    const qint64 months = WholeNumber(monthText, std::numeric_limits<int>::max());
    TimeFields fields;
    fields.weeks = QString::number(months * 30 / 7);
    fields.days = QString::number(months * 30);
    return fields;
}

TimeFields FromWeeks(const QString &weekText)
{
    const qint64 weeks = WholeNumber(weekText, std::numeric_limits<int>::max());
    TimeFields fields;
    fields.days = QString::number(weeks * 7);
    fields.months = QString::number(weeks * 7 / 30);
    return fields;
}

TimeFields FromDays(const QString &dayText)
{
    bool ok = false;
    double days = dayText.toDouble(&ok);
    if (!ok || !(days >= 0 && days < 1e15)) // NaN, infinities, negative and absurd lengths read as nothing
        days = 0;
    TimeFields fields;
    fields.months = QString::number(static_cast<qint64>(days / 30));
    fields.weeks = QString::number(static_cast<qint64>(days / 7));
    return fields;
}

bool DaysAboveLimit(const QString &dayText)
{
    qint64 days = 0;
    const Whole kind = ReadWhole(dayText, &days);
    return kind == Whole::AboveRange || (kind == Whole::Fits && days > CBitrateCalculator::kMaxRecordDays);
}

bool HoursPerDayOutOfRange(const QString &hoursText)
{
    const HoursProblem problem = HoursPerDayProblem(hoursText);
    return problem == HoursProblem::Negative || problem == HoursProblem::AboveDay;
}

} // namespace StoragePlan
