#include "arrays/diskarray.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace NordaArrays {

namespace {

struct LevelInfo
{
    RaidLevel level;
    const char *name;
};
const LevelInfo kLevels[kRaidLevels] = {
    {RaidLevel::None, "JBOD"},      {RaidLevel::Raid1, "RAID 1"},   {RaidLevel::Raid5, "RAID 5"},
    {RaidLevel::Raid6, "RAID 6"},   {RaidLevel::Raid10, "RAID 10"}, {RaidLevel::Raid50, "RAID 50"},
    {RaidLevel::Raid60, "RAID 60"},
};

// Parity disks of each RAID 5/6 group of a nested level.
int GroupParity(RaidLevel level)
{
    return level == RaidLevel::Raid50 ? 1 : 2;
}

int MinimumGroupSize(RaidLevel level)
{
    return level == RaidLevel::Raid50 ? 3 : 4;
}

bool Finite(double value)
{
    return std::isfinite(value);
}

} // namespace

RaidLevel RaidLevelAt(int index)
{
    return index >= 0 && index < kRaidLevels ? kLevels[index].level : RaidLevel::None;
}

QString RaidLevelName(RaidLevel level)
{
    return QString::fromLatin1(kLevels[static_cast<int>(level)].name);
}

bool RaidLevelFromName(const QString &name, RaidLevel *level)
{
    const QString bare = name.simplified().remove(QLatin1Char(' '));
    for (const LevelInfo &info : kLevels) {
        if (bare.compare(QLatin1String(info.name).toString().remove(QLatin1Char(' ')), Qt::CaseInsensitive) == 0) {
            *level = info.level;
            return true;
        }
    }
    return false;
}

bool IsNested(RaidLevel level)
{
    return level == RaidLevel::Raid50 || level == RaidLevel::Raid60;
}

bool STRU_DISK_ARRAY::operator==(const STRU_DISK_ARRAY &other) const
{
    return iBays == other.iBays && iDisks == other.iDisks && dDiskTB == other.dDiskTB && eRaid == other.eRaid
        && iGroupSize == other.iGroupSize && iSpares == other.iSpares && dReservePercent == other.dReservePercent
        && dFillLimitPercent == other.dFillLimitPercent && dWorkloadTBPerYear == other.dWorkloadTBPerYear
        && dRebuildMBps == other.dRebuildMBps;
}

int MinimumDisks(RaidLevel level, int groupSize)
{
    switch (level) {
    case RaidLevel::None:
        return 1;
    case RaidLevel::Raid1:
        return 2;
    case RaidLevel::Raid5:
        return 3;
    case RaidLevel::Raid6:
        return 4;
    case RaidLevel::Raid10:
        return 4;
    case RaidLevel::Raid50:
    case RaidLevel::Raid60:
        return 2 * std::max(groupSize, MinimumGroupSize(level));
    }
    return 1;
}

bool ValidDiskCount(RaidLevel level, int groupSize, int n)
{
    if (n < MinimumDisks(level, groupSize))
        return false;
    if (level == RaidLevel::Raid10)
        return n % 2 == 0;
    if (IsNested(level))
        return groupSize >= MinimumGroupSize(level) && n % groupSize == 0;
    return true;
}

ArrayProblem CheckArray(const STRU_DISK_ARRAY &a)
{
    if (a.iBays < 1 || a.iBays > kMaxBays)
        return ArrayProblem::NoBays;
    if (!Finite(a.dDiskTB) || a.dDiskTB <= 0 || a.dDiskTB > kMaxDiskTB)
        return ArrayProblem::NoDiskSize;
    if (a.iDisks < 1)
        return ArrayProblem::NoDisks;
    if (a.iSpares > a.iBays)
        return ArrayProblem::SparesAboveBays;
    if (a.iSpares < 0 || a.iDisks > a.iBays - a.iSpares)
        return ArrayProblem::DisksAboveBays;
    if (a.eRaid == RaidLevel::None && a.iSpares > 0)
        return ArrayProblem::SpareWithoutCopy;
    if (IsNested(a.eRaid)) {
        if (a.iGroupSize < MinimumGroupSize(a.eRaid))
            return ArrayProblem::GroupTooSmall;
        if (a.iDisks % a.iGroupSize != 0)
            return ArrayProblem::GroupsUneven;
        if (a.iDisks / a.iGroupSize < 2)
            return ArrayProblem::TooFewGroups;
    } else if (a.iDisks < MinimumDisks(a.eRaid, a.iGroupSize)) {
        return ArrayProblem::TooFewDisks;
    } else if (a.eRaid == RaidLevel::Raid10 && a.iDisks % 2 != 0) {
        return ArrayProblem::OddDisks;
    }
    if (!Finite(a.dReservePercent) || a.dReservePercent < 0 || a.dReservePercent > kMaxReservePercent)
        return ArrayProblem::BadReserve;
    if (!Finite(a.dFillLimitPercent) || a.dFillLimitPercent < 0 || a.dFillLimitPercent > kMaxFillLimitPercent)
        return ArrayProblem::BadFillLimit;
    if (!Finite(a.dWorkloadTBPerYear) || a.dWorkloadTBPerYear <= 0)
        return ArrayProblem::BadWorkload;
    if (!Finite(a.dRebuildMBps) || a.dRebuildMBps <= 0)
        return ArrayProblem::BadRebuildRate;
    return ArrayProblem::None;
}

QString ProblemText(ArrayProblem problem, const STRU_DISK_ARRAY &a)
{
    const QString level = RaidLevelName(a.eRaid);
    switch (problem) {
    case ArrayProblem::None:
        return QString();
    case ArrayProblem::NoBays:
        return CDiskArray::tr("A recorder has 1 to %1 bays.").arg(kMaxBays);
    case ArrayProblem::NoDiskSize:
        return CDiskArray::tr("Enter the size of one disk, above 0 and at most %1 TB.").arg(kMaxDiskTB);
    case ArrayProblem::NoDisks:
        return CDiskArray::tr("The array needs at least 1 disk.");
    case ArrayProblem::SparesAboveBays:
        return CDiskArray::tr("%1 hot spares do not fit in %2 bays.").arg(a.iSpares).arg(a.iBays);
    case ArrayProblem::DisksAboveBays:
        return CDiskArray::tr("Disks and hot spares need %1 bays (%2 + %3); the recorder has %4.")
            .arg(qint64(a.iDisks) + a.iSpares)
            .arg(a.iDisks)
            .arg(a.iSpares)
            .arg(a.iBays);
    case ArrayProblem::SpareWithoutCopy:
        return CDiskArray::tr("JBOD keeps no second copy, so a hot spare has nothing to rebuild.");
    case ArrayProblem::TooFewDisks:
        return CDiskArray::tr("%1 needs at least %2 disks; the array has %3.")
            .arg(level)
            .arg(MinimumDisks(a.eRaid, a.iGroupSize))
            .arg(a.iDisks);
    case ArrayProblem::OddDisks:
        return CDiskArray::tr("RAID 10 needs an even number of disks; the array has %1.").arg(a.iDisks);
    case ArrayProblem::GroupTooSmall:
        return CDiskArray::tr("%1 needs groups of at least %2 disks.").arg(level).arg(MinimumGroupSize(a.eRaid));
    case ArrayProblem::GroupsUneven:
        return CDiskArray::tr("%1 disks do not make whole groups of %2.").arg(a.iDisks).arg(a.iGroupSize);
    case ArrayProblem::TooFewGroups:
        return CDiskArray::tr("%1 needs at least 2 groups of %2 disks, %3 disks.")
            .arg(level)
            .arg(a.iGroupSize)
            .arg(2 * a.iGroupSize);
    case ArrayProblem::BadReserve:
        return CDiskArray::tr("The file-system reserve is 0 to %1 %.").arg(kMaxReservePercent);
    case ArrayProblem::BadFillLimit:
        return CDiskArray::tr("The fill limit is 0 to %1 %.").arg(kMaxFillLimitPercent);
    case ArrayProblem::BadWorkload:
        return CDiskArray::tr("Enter the disk's workload rating, above 0 TB/year.");
    case ArrayProblem::BadRebuildRate:
        return CDiskArray::tr("Enter the rebuild rate, above 0 MB/s.");
    }
    return QString();
}

QString DescribeArray(const STRU_DISK_ARRAY &array)
{
    QString text = CDiskArray::tr("%1 x %2 TB %3")
                       .arg(array.iDisks)
                       .arg(QString::number(array.dDiskTB, 'g', 6), RaidLevelName(array.eRaid));
    if (IsNested(array.eRaid))
        text += QLatin1Char(' ') + CDiskArray::tr("(groups of %1)").arg(array.iGroupSize);
    if (array.iSpares > 0)
        text += QStringLiteral(", ") + CDiskArray::tr("spares: %1").arg(array.iSpares);
    return text;
}

int DataDisks(const STRU_DISK_ARRAY &a)
{
    if (CheckArray(a) != ArrayProblem::None)
        return 0;
    const int n = a.iDisks;
    switch (a.eRaid) {
    case RaidLevel::None:
        return n;
    case RaidLevel::Raid1:
        return 1;
    case RaidLevel::Raid5:
        return n - 1;
    case RaidLevel::Raid6:
        return n - 2;
    case RaidLevel::Raid10:
        return n / 2;
    case RaidLevel::Raid50:
    case RaidLevel::Raid60:
        return n - GroupParity(a.eRaid) * (n / a.iGroupSize);
    }
    return 0;
}

STRU_CAPACITY Capacity(const STRU_DISK_ARRAY &a)
{
    STRU_CAPACITY capacity;
    const int dataDisks = DataDisks(a);
    if (dataDisks == 0)
        return capacity;
    const double diskBytes = a.dDiskTB * 1e12;
    capacity.dRawBytes = (a.iDisks + a.iSpares) * diskBytes;
    capacity.dUsableBytes = dataDisks * diskBytes * (1 - a.dReservePercent / 100);
    capacity.dRecordingBytes = capacity.dUsableBytes * (1 - a.dFillLimitPercent / 100);
    return capacity;
}

} // namespace NordaArrays
