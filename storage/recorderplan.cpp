#include "storage/recorderplan.h"

#include <QHash>

#include <algorithm>
#include <cmath>

using namespace NordaArrays;

namespace NordaStorage {

QSet<QByteArray> RecorderDevices(const QVector<STRU_CAMERA> &cameras)
{
    QSet<QByteArray> recorders;
    QSet<QByteArray> seen;
    for (const STRU_CAMERA &camera : cameras) {
        if (camera.strDeviceIP.isEmpty())
            continue;
        if (camera.iType == NordaVocab::TypeDVR || seen.contains(camera.strDeviceIP))
            recorders.insert(camera.strDeviceIP);
        seen.insert(camera.strDeviceIP);
    }
    return recorders;
}

bool EnsureRecorders(STRU_STORAGE_SETTINGS &settings, const QVector<STRU_CAMERA> &cameras)
{
    bool changed = false;
    const bool anyUnassigned =
        std::any_of(settings.vecGroups.cbegin(), settings.vecGroups.cend(),
                    [](const STRU_RECORDING_GROUP &group) { return group.strRecorder.isEmpty(); });
    if (anyUnassigned) {
        // The source device of each group's first camera, in one pass over the cameras.
        QHash<QString, QByteArray> firstDevice;
        for (const STRU_CAMERA &camera : cameras) {
            const QString group = GroupOf(camera).left(kMaxNameLength);
            if (!firstDevice.contains(group))
                firstDevice.insert(group, camera.strDeviceIP);
        }
        const QSet<QByteArray> devices = RecorderDevices(cameras);
        for (STRU_RECORDING_GROUP &group : settings.vecGroups) {
            if (!group.strRecorder.isEmpty())
                continue;
            const QByteArray device = firstDevice.value(group.strName);
            group.strRecorder = devices.contains(device) ? QString::fromLocal8Bit(device).left(kMaxRecorderNameLength)
                                                         : FirstRecorderName();
            changed = true;
        }
    }
    for (STRU_RECORDING_GROUP &group : settings.vecGroups) {
        if (IndexOfRecorder(settings.vecRecorders, group.strRecorder) >= 0)
            continue;
        if (settings.vecRecorders.size() >= kMaxRecorders) {
            group.strRecorder = settings.vecRecorders.first().strName; // no room for another
            changed = true;
            continue;
        }
        const STRU_RECORDER made{group.strRecorder, STRU_DISK_ARRAY()};
        // The recorder of hand-added cameras leads the list, as the Default group does.
        if (group.strRecorder == FirstRecorderName())
            settings.vecRecorders.prepend(made);
        else
            settings.vecRecorders.append(made);
        changed = true;
    }
    if (settings.vecRecorders.isEmpty()) {
        settings.vecRecorders << STRU_RECORDER{FirstRecorderName(), STRU_DISK_ARRAY()};
        changed = true;
    }
    return changed;
}

void SanitizeRecorders(STRU_STORAGE_SETTINGS &settings)
{
    const auto within = [](double value, double low, double high) {
        return std::isfinite(value) ? std::clamp(value, low, high) : low;
    };
    settings.vecRecorders =
        DistinctByName(settings.vecRecorders, &STRU_RECORDER::strName, kMaxRecorders, [&](STRU_RECORDER &recorder) {
            recorder.strName = recorder.strName.left(kMaxRecorderNameLength);
            STRU_DISK_ARRAY &a = recorder.array;
            a.iBays = std::clamp(a.iBays, 1, kMaxBays);
            a.iDisks = std::clamp(a.iDisks, 0, kMaxBays);
            a.dDiskTB = within(a.dDiskTB, kMinDiskTB, kMaxDiskTB);
            a.eRaid = RaidLevelAt(static_cast<int>(a.eRaid));
            a.iGroupSize = std::clamp(a.iGroupSize, 2, kMaxBays);
            a.iSpares = std::clamp(a.iSpares, 0, kMaxBays);
            a.dReservePercent = within(a.dReservePercent, 0, kMaxReservePercent);
            a.dFillLimitPercent = within(a.dFillLimitPercent, 0, kMaxFillLimitPercent);
            a.dWorkloadTBPerYear = within(a.dWorkloadTBPerYear, 1, kMaxWorkloadTBPerYear);
            a.dRebuildMBps = within(a.dRebuildMBps, 1, kMaxRebuildMBps);
        });
    for (STRU_RECORDING_GROUP &group : settings.vecGroups)
        group.strRecorder = group.strRecorder.left(kMaxRecorderNameLength);
}

void ReplaceRecorders(STRU_STORAGE_SETTINGS &settings, const QVector<STRU_RECORDER> &recorders)
{
    settings.vecRecorders = recorders;
    if (recorders.isEmpty())
        return;
    for (STRU_RECORDING_GROUP &group : settings.vecGroups) {
        if (IndexOfRecorder(recorders, group.strRecorder) < 0)
            group.strRecorder = recorders.first().strName;
    }
}

void RenameRecorder(STRU_STORAGE_SETTINGS &settings, const QString &oldName, const QString &newName)
{
    for (STRU_RECORDER &recorder : settings.vecRecorders) {
        if (recorder.strName == oldName)
            recorder.strName = newName;
    }
    for (STRU_RECORDING_GROUP &group : settings.vecGroups) {
        if (group.strRecorder == oldName)
            group.strRecorder = newName;
    }
}

int RecorderOfGroup(const STRU_STORAGE_SETTINGS &settings, int group)
{
    if (group < 0 || group >= settings.vecGroups.size())
        return -1;
    return IndexOfRecorder(settings.vecRecorders, settings.vecGroups.at(group).strRecorder);
}

STRU_GROUP_DEMAND DemandOf(const STRU_GROUP_RESULT &result)
{
    STRU_GROUP_DEMAND demand;
    demand.dBytesPerDay = result.dGBPerDay * 1e9;
    demand.iDaysToKeep = int(std::clamp<qint64>(result.iDays, 0, kMaxDaysToKeep));
    return demand;
}

QVector<STRU_RECORDER_LOAD> ComputeRecorders(const STRU_STORAGE_SETTINGS &settings,
                                             const QVector<STRU_GROUP_RESULT> &groups)
{
    QVector<STRU_RECORDER_LOAD> loads(settings.vecRecorders.size());
    QVector<QVector<STRU_GROUP_DEMAND>> demands(loads.size());
    for (int g = 0; g < settings.vecGroups.size() && g < groups.size(); ++g) {
        const int r = RecorderOfGroup(settings, g);
        if (r < 0)
            continue;
        loads[r].vecGroups << g;
        demands[r] << DemandOf(groups.at(g));
    }
    for (int r = 0; r < loads.size(); ++r)
        loads[r].result = ComputeArray(settings.vecRecorders.at(r).array, demands.at(r), settings.iOverheadPercent);
    return loads;
}

} // namespace NordaStorage
