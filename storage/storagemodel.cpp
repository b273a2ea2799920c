#include "storage/storagemodel.h"

#include "storage/recorderplan.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <limits>

namespace NordaStorage {

namespace {

qint64 WholeOrZero(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value > 0 && value <= std::numeric_limits<int>::max() ? value : 0;
}

} // namespace

int STRU_STORAGE_SETTINGS::IndexOfGroup(const QString &name) const
{
    for (int i = 0; i < vecGroups.size(); ++i) {
        if (vecGroups.at(i).strName == name)
            return i;
    }
    return -1;
}

QString GroupOf(const STRU_CAMERA &camera)
{
    if (!camera.strGroup.isEmpty())
        return QString::fromUtf8(camera.strGroup);
    if (!camera.strDeviceIP.isEmpty())
        return QString::fromLocal8Bit(camera.strDeviceIP);
    return DefaultGroupName();
}

bool EnsureGroups(STRU_STORAGE_SETTINGS &settings, const QVector<STRU_CAMERA> &cameras)
{
    QSet<QString> known;
    for (const STRU_RECORDING_GROUP &group : std::as_const(settings.vecGroups))
        known.insert(group.strName);
    bool added = false;
    for (const STRU_CAMERA &camera : cameras) {
        const QString name = GroupOf(camera).left(kMaxNameLength);
        if (known.contains(name) || settings.vecGroups.size() >= kMaxGroups)
            continue;
        STRU_RECORDING_GROUP group;
        group.strName = name;
        group.bFollowPage = name == DefaultGroupName();
        // The Default group leads the list, as the group every new camera starts in.
        if (group.bFollowPage)
            settings.vecGroups.prepend(group);
        else
            settings.vecGroups.append(group);
        known.insert(name);
        added = true;
    }
    return added;
}

void SanitizeSettings(STRU_STORAGE_SETTINGS &settings)
{
    settings.vecGroups = DistinctByName(settings.vecGroups, &STRU_RECORDING_GROUP::strName, kMaxGroups, SanitizeGroup);
    for (int &percent : settings.codecFactors.iPercent)
        percent = std::clamp(percent, 1, kMaxCodecPercent);
    settings.iOverheadPercent = std::clamp(settings.iOverheadPercent, 0, kMaxOverheadPercent);
    SanitizeRecorders(settings);
}

STRU_PAGE_TIME STRU_PAGE_TIME::FromTexts(const QString &days, const QString &hoursPerDay)
{
    STRU_PAGE_TIME time;
    time.iDays = WholeOrZero(days);
    time.iHoursPerDay = WholeOrZero(hoursPerDay);
    return time;
}

void CStorageCalculator::SetCameras(const QVector<STRU_CAMERA> &cameras, const STRU_STORAGE_SETTINGS &settings)
{
    QHash<QString, int> indexOf;
    for (int i = 0; i < settings.vecGroups.size(); ++i)
        indexOf.insert(settings.vecGroups.at(i).strName, i);
    m_groupOfCamera.resize(cameras.size());
    m_kbps.resize(cameras.size());
    for (int i = 0; i < cameras.size(); ++i) {
        const STRU_CAMERA &camera = cameras.at(i);
        m_groupOfCamera[i] = indexOf.value(GroupOf(camera).left(kMaxNameLength), -1);
        const int kbps = std::max(camera.iBitrate, 0);
        const int share = std::max(camera.iAverageShare, 0);
        // 100 % is the bitrate itself, bit for bit.
        m_kbps[i] = share == 100 ? double(kbps) : double(kbps) * share / 100.0;
    }
    // Cameras group by group, so that a recomputation runs through each group's bitrates alone.
    const int groups = settings.vecGroups.size();
    m_groupCameras.fill(0, groups);
    m_groupKbps.fill(0, groups);
    for (int i = 0; i < cameras.size(); ++i) {
        const int g = m_groupOfCamera.at(i);
        if (g >= 0) {
            ++m_groupCameras[g];
            m_groupKbps[g] += m_kbps.at(i);
        }
    }
    m_groupBegin.resize(groups + 1);
    m_groupBegin[0] = 0;
    for (int g = 0; g < groups; ++g)
        m_groupBegin[g + 1] = m_groupBegin.at(g) + m_groupCameras.at(g);
    m_kbitsPerHour.resize(m_groupBegin.at(groups));
    m_inputs.fill(Inputs(), groups);
    QVector<int> next(m_groupBegin.begin(), m_groupBegin.end() - 1);
    for (int i = 0; i < cameras.size(); ++i) {
        const int g = m_groupOfCamera.at(i);
        if (g >= 0)
            m_kbitsPerHour[next[g]++] = m_kbps.at(i) * 3600;
    }
}

void CStorageCalculator::Compute(const STRU_STORAGE_SETTINGS &settings, const STRU_PAGE_TIME &time)
{
    // Settings with other groups than SetCameras() saw: their cameras are not known here.
    const int groups = settings.vecGroups.size();
    const bool known = m_groupCameras.size() == groups;
    m_groups.resize(groups);
    m_hours.resize(groups);
    m_inputs.resize(groups);
    // 115 / 100.0 is exactly the 1.15 of the calculation page.
    const double overhead = (100 + settings.iOverheadPercent) / 100.0;
    m_dOverhead = overhead;
    for (int g = 0; g < groups; ++g) {
        const STRU_RECORDING_GROUP &group = settings.vecGroups.at(g);
        Inputs &inputs = m_inputs[g];
        const bool followsTime = group.bFollowPage;
        const bool sameProfile = known && inputs.bValid && inputs.profile.hours == group.hours
            && inputs.profile.bFollowPage == group.bFollowPage
            && (followsTime ? inputs.time.iDays == time.iDays && inputs.time.iHoursPerDay == time.iHoursPerDay
                            : inputs.profile.iDaysToKeep == group.iDaysToKeep
                        && inputs.profile.iActivityPercent == group.iActivityPercent
                        && inputs.profile.iNightStart == group.iNightStart
                        && inputs.profile.iNightEnd == group.iNightEnd
                        && inputs.profile.iNightFactorPercent == group.iNightFactorPercent);
        if (sameProfile && inputs.iOverheadPercent == settings.iOverheadPercent)
            continue; // as computed before
        STRU_GROUP_RESULT &result = m_groups[g];
        if (sameProfile) {
            // Only the overhead changed: days and hours stay.
        } else if (followsTime) {
            result = STRU_GROUP_RESULT();
            result.iDays = time.iDays;
            result.dEffectiveHours = double(time.iHoursPerDay);
            // The product in whole hours first, as the "Calculate Disk" tab multiplies.
            m_hours[g] = double(time.iDays * time.iHoursPerDay);
        } else {
            result = STRU_GROUP_RESULT();
            result.iDays = group.iDaysToKeep;
            result.dEffectiveHours = group.EffectiveHours();
            m_hours[g] = double(group.iDaysToKeep) * result.dEffectiveHours;
        }
        if (!known)
            continue;
        result.iCameras = m_groupCameras.at(g);
        result.dKbps = m_groupKbps.at(g);
        const double hours = m_hours.at(g);
        if (followsTime) {
            // Camera by camera as "Calculate Disk" adds them, hours x (kbit/s x 3600) x 1.15 / 8e6,
            // so that its result comes out to the byte.
            const double *kbitsPerHour = m_kbitsPerHour.constData();
            double storage = 0;
            for (int k = m_groupBegin.at(g), end = m_groupBegin.at(g + 1); k < end; ++k)
                storage += hours * kbitsPerHour[k] * overhead / 8000000;
            result.dStorageGB = storage;
        } else {
            // The same sum with the group's factors taken out (equal up to the last bits).
            result.dStorageGB = hours * (result.dKbps * 3600) * overhead / 8000000;
        }
        result.dGBPerDay = result.dEffectiveHours * (result.dKbps * 3600) / 8000000;
        inputs.bValid = true;
        inputs.profile.hours = group.hours;
        inputs.profile.bFollowPage = group.bFollowPage;
        inputs.profile.iDaysToKeep = group.iDaysToKeep;
        inputs.profile.iActivityPercent = group.iActivityPercent;
        inputs.profile.iNightStart = group.iNightStart;
        inputs.profile.iNightEnd = group.iNightEnd;
        inputs.profile.iNightFactorPercent = group.iNightFactorPercent;
        inputs.time = time;
        inputs.iOverheadPercent = settings.iOverheadPercent;
    }
    m_total = STRU_GROUP_RESULT();
    for (int g = 0; g < groups; ++g) {
        const STRU_GROUP_RESULT &result = m_groups.at(g);
        m_total.iCameras += result.iCameras;
        m_total.dKbps += result.dKbps;
        m_total.dGBPerDay += result.dGBPerDay;
        m_total.dStorageGB += result.dStorageGB;
        m_total.iDays = std::max(m_total.iDays, result.iCameras > 0 ? result.iDays : 0);
    }
}

double CStorageCalculator::CameraStorageGB(int camera) const
{
    const int g = camera >= 0 && camera < m_groupOfCamera.size() ? m_groupOfCamera.at(camera) : -1;
    if (g < 0 || g >= m_hours.size())
        return 0;
    return m_hours.at(g) * (m_kbps.at(camera) * 3600) * m_dOverhead / 8000000;
}

} // namespace NordaStorage
