#include "calc/storageplan.h"

#include "calc/bitratecalculator.h"

#include <cmath>

namespace StoragePlan {

namespace {

// Whole number of a field, 0 when the text is not one.
qint64 WholeNumber(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? value : 0;
}

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

// Hours per day usable in a calculation: a whole number above 0, else 0.
int HoursPerDay(const QString &hoursText)
{
    bool ok = false;
    const int hours = hoursText.toInt(&ok);
    return ok && hours > 0 ? hours : 0;
}

} // namespace

bool DiskAboveLimit(const QString &gbText)
{
    bool ok = false;
    const quint64 gb = gbText.toULongLong(&ok);
    if (!ok)
        return AllDigits(gbText); // more digits than any disk can have
    return static_cast<double>(gb) > CBitrateCalculator::kMaxDiskGB;
}

Refusal CalculateRecordTime(const QVector<STRU_CAMERA> &cameras, const QString &gbText,
                            const QString &hoursText, RecordTime *result)
{
    if (cameras.isEmpty())
        return Refusal::NoCameras;
    if (DiskAboveLimit(gbText))
        return Refusal::DiskTooLarge;
    const qint64 gb = WholeNumber(gbText); // within the limit now
    if (gb < 2)
        return Refusal::DiskTooSmall;
    const int hoursPerDay = HoursPerDay(hoursText);
    if (hoursPerDay == 0)
        return Refusal::NoHoursPerDay;
    qint64 totalKbps = 0;
    for (const STRU_CAMERA &camera : cameras)
        totalKbps += camera.iBitrate;
    if (totalKbps <= 0)
        return Refusal::NoBitrate;

    const double hours = CBitrateCalculator::RecordHours(static_cast<double>(totalKbps), static_cast<double>(gb));
    const float days = static_cast<float>(hours / hoursPerDay);
    // At most about 1.5e11 days (the largest disk at 1 kbit/s and 1 hour a day): fits easily.
    result->days = static_cast<qint64>(days);
    result->months = static_cast<qint64>(days / 30);
    result->weeks = static_cast<qint64>(days / 7);
    return Refusal::None;
}

Refusal CalculateDiskSpace(const QVector<STRU_CAMERA> &cameras, const QString &dayText,
                           const QString &hoursText, DiskSpace *result)
{
    const qint64 days = WholeNumber(dayText);
    if (days == 0)
        return Refusal::NoTime;
    if (cameras.isEmpty())
        return Refusal::NoCameras;
    if (days > CBitrateCalculator::kMaxRecordDays)
        return Refusal::TimeTooLong;
    const int hoursPerDay = HoursPerDay(hoursText);
    if (hoursPerDay == 0)
        return Refusal::NoHoursPerDay;

    const qint64 hours = days * hoursPerDay;
    double gb = 0;
    for (const STRU_CAMERA &camera : cameras)
        gb += CBitrateCalculator::DiskSize(camera.iBitrate, hours);
    const float tb = static_cast<float>(gb / 1000);
    result->gb = QString::number(std::ceil(gb), 'g', 6);
    result->tb = QString::number(std::ceil(tb), 'g', 6);
    return Refusal::None;
}

QString GBFromTB(const QString &tbText)
{
    return QString::number(WholeNumber(tbText) * 1000);
}

QString TBFromGB(const QString &gbText)
{
    const qint64 gb = WholeNumber(gbText);
    const float tb = static_cast<float>(gb) / 1000.0f;
    return QString::number(static_cast<qint64>(std::ceil(tb)));
}

TimeFields FromMonths(const QString &monthText)
{
    const qint64 months = WholeNumber(monthText);
    TimeFields fields;
    fields.weeks = QString::number(months * 30 / 7);
    fields.days = QString::number(months * 30);
    return fields;
}

TimeFields FromWeeks(const QString &weekText)
{
    const qint64 weeks = WholeNumber(weekText);
    TimeFields fields;
    fields.days = QString::number(weeks * 7);
    fields.months = QString::number(weeks * 7 / 30);
    return fields;
}

TimeFields FromDays(const QString &dayText)
{
    bool ok = false;
    double days = dayText.toDouble(&ok);
    if (!ok || !(std::fabs(days) < 1e15)) // NaN, infinities and absurd lengths read as nothing
        days = 0;
    TimeFields fields;
    fields.months = QString::number(static_cast<qint64>(days / 30));
    fields.weeks = QString::number(static_cast<qint64>(days / 7));
    return fields;
}

bool DaysAboveLimit(const QString &dayText)
{
    bool ok = false;
    const qint64 days = dayText.toLongLong(&ok);
    if (!ok)
        return AllDigits(dayText);
    return days > CBitrateCalculator::kMaxRecordDays;
}

bool HoursPerDayOutOfRange(const QString &hoursText)
{
    bool ok = false;
    const qint64 hours = hoursText.toLongLong(&ok);
    if (!ok) // a whole number too long to read is out of range too
        return AllDigits(hoursText.startsWith(QLatin1Char('-')) ? hoursText.mid(1) : hoursText);
    return hours < 0 || hours > 24;
}

} // namespace StoragePlan
