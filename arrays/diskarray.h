// arrays/: the disk arrays of recorders. Which RAID levels a set of disks can form, what it holds,
// how long each recording group keeps its video on it, how hard its disks work, and the fewest
// disks that keep every group's days ("Fit"). Pure functions on plain records (QtCore only): the
// caller hands each group's daily volume and days to keep, so the model knows no cameras.
//
// Units: disks are sold in TB of 10^12 bytes; TiB = 2^40 bytes (as most systems count); MB/s of
// 10^6 bytes; Mbit/s of 10^6 bits; a year of 365 days.
//
// Capacity, in this order:
//   raw        = (disks + hot spares) x disk size          (all disks bought)
//   data disks = JBOD N, RAID 1 1 (a mirror of N disks), RAID 5 N-1, RAID 6 N-2, RAID 10 N/2,
//                RAID 50 N - N/g, RAID 60 N - 2N/g (g disks per RAID 5/6 group); spares hold no data
//   usable     = data disks x disk size x (1 - file-system reserve)
//   recording  = usable x (1 - fill limit)                 (what the recorder fills before it
//                                                           overwrites)
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QVector>

// The context of the arrays' texts in the translation catalogues.
class CDiskArray
{
    Q_DECLARE_TR_FUNCTIONS(CDiskArray)
};

namespace NordaArrays {

enum class RaidLevel { None = 0, Raid1, Raid5, Raid6, Raid10, Raid50, Raid60 };
constexpr int kRaidLevels = 7;
RaidLevel RaidLevelAt(int index); // 0..6 in the order above; None outside
// "JBOD", "RAID 1", ... "RAID 60" (the names sellers use; not translated).
QString RaidLevelName(RaidLevel level);
// The level a name means, without regard to case and blanks ("raid6" is RAID 6); false for any
// other text.
bool RaidLevelFromName(const QString &name, RaidLevel *level);
bool IsNested(RaidLevel level); // RAID 50 and 60 are built of groups

constexpr int kMaxBays = 256;
constexpr double kMaxDiskTB = 1000;
constexpr double kMaxReservePercent = 90;
constexpr double kMaxFillLimitPercent = 90;
// What the page and plan files hold beyond the checks below: disk sizes to a hundredth of a TB
// from kMinDiskTB, ratings and rebuild rates in whole numbers up to these.
constexpr double kMinDiskTB = 0.01;
constexpr int kMaxWorkloadTBPerYear = 100000;
constexpr int kMaxRebuildMBps = 100000;

struct STRU_DISK_ARRAY
{
    int iBays = 8;      // disk bays of the recorder
    int iDisks = 8;     // disks in the array, hot spares not counted
    double dDiskTB = 8; // one disk, as sold
    RaidLevel eRaid = RaidLevel::Raid5;
    int iGroupSize = 4;              // disks per RAID 5/6 group of RAID 50/60
    int iSpares = 0;                 // hot spares, beside the array's disks
    double dReservePercent = 5;      // taken by the file system
    double dFillLimitPercent = 10;   // kept free: the recorder overwrites when the rest is full
    double dWorkloadTBPerYear = 180; // the disk's rating (surveillance disks: 180)
    double dRebuildMBps = 100;       // the rate one disk is rebuilt at
    bool operator==(const STRU_DISK_ARRAY &other) const;
    bool operator!=(const STRU_DISK_ARRAY &other) const { return !(*this == other); }
};

// Why an array cannot be formed; the first that applies, in this order.
enum class ArrayProblem {
    None,
    NoBays,           // fewer than 1 bay, or more than kMaxBays
    NoDiskSize,       // disk size not above 0, or above kMaxDiskTB
    NoDisks,          // fewer than 1 disk
    SparesAboveBays,  // more hot spares than bays
    DisksAboveBays,   // disks and spares together need more bays than there are
    SpareWithoutCopy, // a hot spare beside JBOD, which has nothing to rebuild
    TooFewDisks,      // below the level's smallest count (RAID 1: 2, 5: 3, 6: 4, 10: 4)
    OddDisks,         // RAID 10 with an odd count
    GroupTooSmall,    // RAID 50 groups below 3 disks, RAID 60 below 4
    GroupsUneven,     // RAID 50/60 disks not a whole number of groups
    TooFewGroups,     // RAID 50/60 with fewer than 2 groups
    BadReserve,       // reserve below 0 or above kMaxReservePercent
    BadFillLimit,     // fill limit below 0 or above kMaxFillLimitPercent
    BadWorkload,      // workload rating not above 0
    BadRebuildRate,   // rebuild rate not above 0
};
ArrayProblem CheckArray(const STRU_DISK_ARRAY &array);
// The problem as the user reads it (translated), with the array's numbers.
QString ProblemText(ArrayProblem problem, const STRU_DISK_ARRAY &array);
// Smallest number of disks the level accepts (with the array's group size for RAID 50/60).
int MinimumDisks(RaidLevel level, int groupSize);
// Whether the level accepts n disks (group size as above); bays are not looked at.
bool ValidDiskCount(RaidLevel level, int groupSize, int n);

// "8 x 8 TB RAID 6 (groups of 4), spares: 1": the array in one line (translated).
QString DescribeArray(const STRU_DISK_ARRAY &array);

// Disks' worth of data of a valid array (see the top of this file); 0 for an invalid one.
int DataDisks(const STRU_DISK_ARRAY &array);

struct STRU_CAPACITY
{
    double dRawBytes = 0;
    double dUsableBytes = 0;
    double dRecordingBytes = 0;
};
STRU_CAPACITY Capacity(const STRU_DISK_ARRAY &array); // zero for an invalid array

inline double ToTB(double bytes)
{
    return bytes / 1e12;
}
inline double ToTiB(double bytes)
{
    return bytes / 1099511627776.0;
}

} // namespace NordaArrays
