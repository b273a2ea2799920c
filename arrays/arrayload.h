// What the recording groups of one recorder do to its array, and the fewest disks that keep every
// group's days.
//
// Sharing: a recorder deletes a group's video once it is older than the group's days to keep, and
// when the array is full it overwrites the oldest video first, whatever group it belongs to. So
// when the groups need more than the array's recording capacity, the space goes to the groups in
// proportion to their daily volume up to one common number of days L (the groups that keep fewer
// days than L keep all of theirs):
//   sum over groups of daily_i x min(days_i, L) = recording capacity
// and a group whose days to keep exceed L keeps L days and misses its retention. When the groups
// need no more than the capacity, every group keeps its days.
//
// Write load: recorders write long sequential runs, full stripes, so each disk holding data writes
// the array's yearly volume divided by its data disks (RAID 1: every mirror disk writes all of
// it; RAID 5: a share of data and parity, volume / (N-1)). The rating counts reads too; recording
// is nearly all writing.
#pragma once

#include "arrays/diskarray.h"

namespace NordaArrays {

struct STRU_GROUP_DEMAND
{
    double dBytesPerDay = 0; // what the group's cameras write a day
    int iDaysToKeep = 0;
};

struct STRU_GROUP_OUTCOME
{
    double dNeededBytes = 0; // for its days to keep, with the margin
    double dDaysKept = 0;    // its days to keep, or fewer when the array is short
    bool bMeets = true;
};

struct STRU_ARRAY_RESULT
{
    ArrayProblem eProblem = ArrayProblem::None; // anything else: no figure below was computed
    STRU_CAPACITY capacity;
    double dNeededBytes = 0;            // all groups together, with the margin
    QVector<STRU_GROUP_OUTCOME> groups; // in the order of the demands
    bool bAllMeet = true;
    double dWriteTBPerDiskYear = 0; // each data-holding disk
    bool bWithinWorkload = true;    // against the disk's rating
    double dIngressMbps = 0;
    bool bRebuilds = false;   // JBOD rebuilds nothing
    double dRebuildHours = 0; // one disk at the array's rebuild rate
};

// The margin (percent, as the storage page's overhead) is added to the stored volume only: the
// ingress and the write load are what the cameras send.
STRU_ARRAY_RESULT ComputeArray(const STRU_DISK_ARRAY &array, const QVector<STRU_GROUP_DEMAND> &groups,
                               double marginPercent = 0);
// The bytes the groups need for their days, with the margin. The same sum the verdict compares
// with the capacity, so the verdict and Fit never disagree on a borderline plan.
double NeededBytes(const QVector<STRU_GROUP_DEMAND> &groups, double marginPercent = 0);

// The fewest disks of the array's size, level, group size and spares (reserve and fill limit as
// it has them) that keep every group's days: within the array's bays when they suffice, else the
// fewest recorders of that many bays, the groups' cameras spread over them, each with the fewest
// disks that carry its share.
struct STRU_FIT
{
    ArrayProblem eProblem = ArrayProblem::None; // the level cannot be formed in these bays
    int iDisks = 0;                             // per recorder
    int iRecorders = 1;
};
STRU_FIT FitArray(const STRU_DISK_ARRAY &array, const QVector<STRU_GROUP_DEMAND> &groups, double marginPercent = 0);
// The array with the fit applied: its disk count (recorders beyond the first are the user's to add).
STRU_DISK_ARRAY ApplyFit(const STRU_DISK_ARRAY &array, const STRU_FIT &fit);
// "8 disks of 8 TB in RAID 6 and 1 hot spare keep every group's days." and the like (translated).
QString FitSentence(const STRU_DISK_ARRAY &array, const STRU_FIT &fit);

} // namespace NordaArrays
