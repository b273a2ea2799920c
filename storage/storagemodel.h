// Which camera records in which group, and the storage the groups need.
//
// Arithmetic, per camera of a group, in the order of the calculation page's "Calculate Disk" for a
// group that follows that tab, so that it gives the tab's result to the byte (other groups take
// their common factors out of the sum, which differs only in the last bits):
//   average kbit/s   = bitrate x average share (100 %: the bitrate itself)
//   GB for retention = (days x effective hours a day) x (average kbit/s x 3600) x (1 + overhead) / 8,000,000
// where the effective hours are the sum of the profile's hour weights (RecordingGroup). Units as
// on the calculation page: 1 kbit = 1000 bit, GB = 10^9 bytes, TB = 1000 GB (as disks are sold);
// TiB = 2^40 bytes (as most operating systems count). GB per day is what the cameras write, without
// the overhead; the storage carries it (15 % by default, the margin of the calculation page).
#pragma once

#include "arrays/recorder.h"
#include "calc/camera.h"
#include "storage/bitratemodel.h"
#include "storage/recordinggroup.h"

#include <QSet>
#include <QVector>

namespace NordaStorage {

// Group of hand-added cameras; it follows the "Calculate Disk" tab until the user unties it.
inline QString DefaultGroupName()
{
    return QStringLiteral("Default");
}

struct STRU_STORAGE_SETTINGS
{
    QVector<STRU_RECORDING_GROUP> vecGroups; // in the page's order
    STRU_CODEC_FACTORS codecFactors;
    int iOverheadPercent = 15;
    // The recorders the groups record on (RecorderPlan), in the page's order.
    QVector<NordaArrays::STRU_RECORDER> vecRecorders;
    bool operator==(const STRU_STORAGE_SETTINGS &other) const
    {
        return vecGroups == other.vecGroups && codecFactors == other.codecFactors
            && iOverheadPercent == other.iOverheadPercent && vecRecorders == other.vecRecorders;
    }
    bool operator!=(const STRU_STORAGE_SETTINGS &other) const { return !(*this == other); }

    int IndexOfGroup(const QString &name) const;
};
constexpr int kMaxOverheadPercent = 100;
constexpr int kMaxGroups = 1024;

// The group a camera records in: its own choice, else its source device's address for an
// imported camera, else "Default".
QString GroupOf(const STRU_CAMERA &camera);
// Appends a group for every group name the cameras use that has none yet: "Default" follows the
// page, a device's group records around the clock for 30 days. True when any was added.
bool EnsureGroups(STRU_STORAGE_SETTINGS &settings, const QVector<STRU_CAMERA> &cameras);
// Keeps every value of the settings within the limits of the page (groups past kMaxGroups and
// names used twice are dropped).
void SanitizeSettings(STRU_STORAGE_SETTINGS &settings);

// The items mended one by one, without those whose name is blank or used before, at most 'most':
// what plans keep of a list whose entries are found by name.
template <typename Item, typename Mend>
QVector<Item> DistinctByName(const QVector<Item> &items, QString Item::*name, int most, Mend mend)
{
    QVector<Item> kept;
    QSet<QString> names;
    for (Item item : items) { // NOLINT(performance-for-range-copy): mend changes the copy
        mend(item);
        const QString &key = item.*name;
        if (key.trimmed().isEmpty() || names.contains(key) || kept.size() >= most)
            continue;
        names.insert(key);
        kept << item;
    }
    return kept;
}

// The "Calculate Disk" tab's record time, as the Default group reads it: whole numbers, 0 when
// the field holds none.
struct STRU_PAGE_TIME
{
    qint64 iDays = 0;
    qint64 iHoursPerDay = 0;
    static STRU_PAGE_TIME FromTexts(const QString &days, const QString &hoursPerDay);
};

struct STRU_GROUP_RESULT
{
    int iCameras = 0;
    double dKbps = 0;           // average bitrate of the cameras while they record
    double dEffectiveHours = 0; // hours of full-bitrate recording a day
    qint64 iDays = 0;           // days kept
    double dGBPerDay = 0;       // written a day, without the overhead
    double dStorageGB = 0;      // for the days kept, with the overhead
    double Mbps() const { return dKbps / 1000; }
    double TB() const { return dStorageGB / 1000; }
    double TiB() const { return dStorageGB * 1e9 / 1099511627776.0; }
};

// Keeps what a recomputation needs, so that a keystroke in a group's profile costs one pass over
// the cameras' bitrates.
class CStorageCalculator
{
public:
    // Call whenever cameras, their groups or the groups' names change. Cameras of a group the
    // settings lack count in no group (EnsureGroups first).
    void SetCameras(const QVector<STRU_CAMERA> &cameras, const STRU_STORAGE_SETTINGS &settings);
    // Results of every group of the settings (same order) and the total.
    void Compute(const STRU_STORAGE_SETTINGS &settings, const STRU_PAGE_TIME &time);

    const QVector<STRU_GROUP_RESULT> &Groups() const { return m_groups; }
    const STRU_GROUP_RESULT &Total() const { return m_total; }
    // Group index of each camera, -1 for none.
    const QVector<int> &GroupOfCamera() const { return m_groupOfCamera; }
    // One camera's share of its group's storage, as Compute() added it; 0 without a group.
    double CameraStorageGB(int camera) const;

private:
    double m_dOverhead = 1.15;
    QVector<int> m_groupOfCamera;
    QVector<double> m_kbps; // average kbit/s of each camera
    // What a keystroke does not change, kept from SetCameras(): the cameras' kbit/s x 3600 group
    // by group (list order within a group), where each group starts, and each group's camera
    // count and kbit/s.
    QVector<double> m_kbitsPerHour;
    QVector<int> m_groupBegin;
    QVector<int> m_groupCameras;
    QVector<double> m_groupKbps;
    QVector<STRU_GROUP_RESULT> m_groups;
    QVector<double> m_hours; // per group: days x effective hours
    STRU_GROUP_RESULT m_total;
    // What each group's result was computed from: a keystroke changes one group, and the others
    // keep their results. SetCameras() forgets them all.
    struct Inputs
    {
        bool bValid = false;
        STRU_RECORDING_GROUP profile; // its name aside
        STRU_PAGE_TIME time;
        int iOverheadPercent = 0;
    };
    QVector<Inputs> m_inputs;
};

} // namespace NordaStorage
