#include "arrays/arrayload.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace NordaArrays {

namespace {

constexpr double kDaysPerYear = 365;
constexpr double kMaxRecorders = 1e6;

// Bytes a group stores a day (with the margin) and its days; nothing negative or undefined.
struct Stored
{
    double dPerDay;
    double dDays;
};

QVector<Stored> StoredOf(const QVector<STRU_GROUP_DEMAND> &groups, double marginPercent)
{
    const double factor = std::isfinite(marginPercent) && marginPercent > 0 ? 1 + marginPercent / 100 : 1;
    QVector<Stored> stored;
    stored.reserve(groups.size());
    for (const STRU_GROUP_DEMAND &group : groups) {
        const double perDay = std::isfinite(group.dBytesPerDay) && group.dBytesPerDay > 0 ? group.dBytesPerDay : 0;
        stored.append({perDay * factor, double(std::max(group.iDaysToKeep, 0))});
    }
    return stored;
}

// Group indices by days to keep, fewest first: the order the array's space is shared out in.
QVector<int> ByDays(const QVector<Stored> &stored)
{
    QVector<int> order(stored.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return stored[a].dDays < stored[b].dDays; });
    return order;
}

double SumNeeded(const QVector<Stored> &stored, const QVector<int> &order)
{
    double needed = 0;
    for (int i : order)
        needed += stored[i].dPerDay * stored[i].dDays;
    return needed;
}

// Oldest-first overwrite on an array short of space (see the header): the groups that keep fewer
// days than the common level keep theirs, the rest keep the level. The groups with the most days
// always miss, so the verdict agrees with the sum even where rounding would blur it.
void ShareShortArray(const QVector<Stored> &stored, const QVector<int> &byDays, double capacity,
                     QVector<STRU_GROUP_OUTCOME> &outcomes)
{
    QVector<int> order; // groups that write nothing keep their days on any array
    for (int i : byDays) {
        if (stored[i].dPerDay > 0)
            order.append(i);
    }
    QVector<double> rest(order.size() + 1, 0); // bytes a day of the groups from position j on
    for (int j = order.size() - 1; j >= 0; --j)
        rest[j] = rest[j + 1] + stored[order[j]].dPerDay;
    const double mostDays = order.isEmpty() ? 0 : stored[order.last()].dDays;
    double used = 0;
    for (int j = 0; j < order.size(); ++j) {
        const Stored &group = stored[order[j]];
        if (group.dDays < mostDays && used + rest[j] * group.dDays <= capacity) {
            used += group.dPerDay * group.dDays;
            continue;
        }
        const double level = std::max(0.0, (capacity - used) / rest[j]);
        for (int k = j; k < order.size(); ++k) {
            STRU_GROUP_OUTCOME &outcome = outcomes[order[k]];
            outcome.dDaysKept = std::min(level, stored[order[k]].dDays);
            outcome.bMeets = false;
        }
        return;
    }
}

double RecordingBytes(const STRU_DISK_ARRAY &array, int disks)
{
    STRU_DISK_ARRAY probe = array;
    probe.iDisks = disks;
    return Capacity(probe).dRecordingBytes;
}

int NextValid(const STRU_DISK_ARRAY &array, int n, int step)
{
    do
        n += step;
    while (n >= 1 && n <= array.iBays && !ValidDiskCount(array.eRaid, array.iGroupSize, n));
    return n;
}

// Disks a level needs for a number of data disks' worth, before rounding to a count it accepts.
int DisksForData(const STRU_DISK_ARRAY &array, double dataDisks)
{
    const double d = std::max(1.0, dataDisks);
    switch (array.eRaid) {
    case RaidLevel::None:
        return int(d);
    case RaidLevel::Raid1:
        return 2;
    case RaidLevel::Raid5:
        return int(d) + 1;
    case RaidLevel::Raid6:
        return int(d) + 2;
    case RaidLevel::Raid10:
        return 2 * int(d);
    case RaidLevel::Raid50:
    case RaidLevel::Raid60: {
        const int perGroup = array.iGroupSize - (array.eRaid == RaidLevel::Raid50 ? 1 : 2);
        return array.iGroupSize * int(std::ceil(d / perGroup));
    }
    }
    return int(d);
}

// The fewest valid disks up to maxDisks whose recording capacity holds the share; counted from the
// capacity of one data disk, then stepped to the exact answer with the capacity function itself.
int SmallestFor(const STRU_DISK_ARRAY &array, double share, int maxDisks)
{
    const double perDataDisk =
        array.dDiskTB * 1e12 * (1 - array.dReservePercent / 100) * (1 - array.dFillLimitPercent / 100);
    const double dataDisks = std::min(std::ceil(share / perDataDisk), double(maxDisks));
    int n = std::clamp(DisksForData(array, dataDisks), MinimumDisks(array.eRaid, array.iGroupSize), maxDisks);
    if (!ValidDiskCount(array.eRaid, array.iGroupSize, n))
        n = NextValid(array, n, 1);
    if (n > maxDisks)
        n = maxDisks;
    while (n < maxDisks && RecordingBytes(array, n) < share)
        n = NextValid(array, n, 1);
    for (int fewer = NextValid(array, n, -1); fewer >= 1 && RecordingBytes(array, fewer) >= share;
         fewer = NextValid(array, fewer, -1))
        n = fewer;
    return n;
}

QString TBText(double tb)
{
    return QString::number(tb, 'g', 6);
}

} // namespace

double NeededBytes(const QVector<STRU_GROUP_DEMAND> &groups, double marginPercent)
{
    const QVector<Stored> stored = StoredOf(groups, marginPercent);
    return SumNeeded(stored, ByDays(stored));
}

STRU_ARRAY_RESULT ComputeArray(const STRU_DISK_ARRAY &array, const QVector<STRU_GROUP_DEMAND> &groups,
                               double marginPercent)
{
    STRU_ARRAY_RESULT result;
    result.eProblem = CheckArray(array);
    if (result.eProblem != ArrayProblem::None)
        return result;
    result.capacity = Capacity(array);

    const QVector<Stored> stored = StoredOf(groups, marginPercent);
    const QVector<int> order = ByDays(stored);
    result.dNeededBytes = SumNeeded(stored, order);
    result.groups.resize(groups.size());
    double writtenPerDay = 0;
    for (int i = 0; i < groups.size(); ++i) {
        result.groups[i].dNeededBytes = stored[i].dPerDay * stored[i].dDays;
        result.groups[i].dDaysKept = stored[i].dDays;
        writtenPerDay += std::isfinite(groups[i].dBytesPerDay) ? std::max(groups[i].dBytesPerDay, 0.0) : 0;
    }
    result.bAllMeet = result.capacity.dRecordingBytes >= result.dNeededBytes;
    if (!result.bAllMeet)
        ShareShortArray(stored, order, result.capacity.dRecordingBytes, result.groups);

    result.dWriteTBPerDiskYear = ToTB(writtenPerDay * kDaysPerYear / DataDisks(array));
    result.bWithinWorkload = result.dWriteTBPerDiskYear <= array.dWorkloadTBPerYear;
    result.dIngressMbps = writtenPerDay * 8 / 86400 / 1e6;
    result.bRebuilds = array.eRaid != RaidLevel::None;
    if (result.bRebuilds)
        result.dRebuildHours = array.dDiskTB * 1e12 / (array.dRebuildMBps * 1e6) / 3600;
    return result;
}

STRU_FIT FitArray(const STRU_DISK_ARRAY &array, const QVector<STRU_GROUP_DEMAND> &groups, double marginPercent)
{
    STRU_FIT fit;
    const int room = array.iBays - std::max(array.iSpares, 0);
    int most = std::min(room, kMaxBays);
    while (most >= 1 && !ValidDiskCount(array.eRaid, array.iGroupSize, most))
        --most;
    STRU_DISK_ARRAY probe = array;
    probe.iDisks = most >= 1 ? most : MinimumDisks(array.eRaid, array.iGroupSize);
    fit.eProblem = CheckArray(probe);
    fit.iDisks = probe.iDisks;
    if (fit.eProblem != ArrayProblem::None)
        return fit;

    const double needed = NeededBytes(groups, marginPercent);
    const double full = RecordingBytes(array, most);
    if (needed <= full) {
        fit.iDisks = SmallestFor(array, needed, most);
        return fit;
    }
    double recorders = std::min(std::ceil(needed / full), kMaxRecorders);
    while (recorders < kMaxRecorders && needed / recorders > full)
        ++recorders;
    fit.iRecorders = int(recorders);
    fit.iDisks = SmallestFor(array, needed / recorders, most);
    return fit;
}

STRU_DISK_ARRAY ApplyFit(const STRU_DISK_ARRAY &array, const STRU_FIT &fit)
{
    STRU_DISK_ARRAY fitted = array;
    fitted.iDisks = fit.iDisks;
    return fitted;
}

QString FitSentence(const STRU_DISK_ARRAY &array, const STRU_FIT &fit)
{
    const STRU_DISK_ARRAY fitted = ApplyFit(array, fit);
    if (fit.eProblem != ArrayProblem::None)
        return ProblemText(fit.eProblem, fitted);
    const QString level = RaidLevelName(array.eRaid);
    const QString size = TBText(array.dDiskTB);
    QString sentence;
    if (fit.iRecorders > 1) {
        sentence = CDiskArray::tr("%1 recorders of %2 bays, each with %3 disks of %4 TB in %5, "
                                  "keep every group's days.")
                       .arg(fit.iRecorders)
                       .arg(array.iBays)
                       .arg(fit.iDisks)
                       .arg(size, level);
    } else if (fit.iDisks == 1) {
        sentence = CDiskArray::tr("1 disk of %1 TB in %2 keeps every group's days.").arg(size, level);
    } else {
        sentence = CDiskArray::tr("%1 disks of %2 TB in %3 keep every group's days.").arg(fit.iDisks).arg(size, level);
    }
    const bool each = fit.iRecorders > 1;
    if (array.iSpares == 1) {
        sentence += QLatin1Char(' ')
            + (each ? CDiskArray::tr("Plus 1 hot spare in each.") : CDiskArray::tr("Plus 1 hot spare."));
    } else if (array.iSpares > 1) {
        sentence += QLatin1Char(' ')
            + (each ? CDiskArray::tr("Plus %1 hot spares in each.") : CDiskArray::tr("Plus %1 hot spares."))
                  .arg(array.iSpares);
    }
    return sentence;
}

} // namespace NordaArrays
