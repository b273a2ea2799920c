#include "measure/measuredrate.h"

#include <algorithm>
#include <cmath>

STRU_MEASURED CMeasuredRate::FromStream(const STREAM_MEASUREMENT &stream)
{
    STRU_MEASURED measured;
    measured.started = stream.started;
    measured.dSeconds = stream.dSeconds;
    measured.dAverageKbps = stream.dAverageKbps;
    measured.dPeakKbps = stream.dPeakKbps;
    measured.dP95Kbps = stream.dP95Kbps;
    return measured;
}

STRU_CAMERA CMeasuredRate::Applied(STRU_CAMERA camera, const STRU_MEASURED &measured, Use use)
{
    camera.vecMeasured.append(measured);
    if (camera.vecMeasured.size() > NordaVocab::kMaxMeasurements)
        camera.vecMeasured.remove(0, camera.vecMeasured.size() - NordaVocab::kMaxMeasurements);
    // Whole kbit/s upwards: a plan never holds less than was recorded.
    const int kbps = int(std::min(std::ceil(std::max(measured.dAverageKbps, 1.0)), double(kMaxBitrate)));
    if (use == UseBitrate || camera.iBitrate <= 0) {
        camera.iBitrate = kbps;
        camera.iAverageShare = 100;
    } else {
        const double share = std::ceil(measured.dAverageKbps * 100 / camera.iBitrate);
        camera.iAverageShare = int(std::clamp(share, 1.0, double(NordaVocab::kMaxAverageShare)));
    }
    return camera;
}

int CMeasuredRate::NightFactorPercent(const STRU_CAMERA &camera, const NordaStorage::STRU_RECORDING_GROUP &group)
{
    const STRU_MEASURED *day = nullptr;
    const STRU_MEASURED *night = nullptr;
    for (const STRU_MEASURED &measured : camera.vecMeasured) {
        if (!measured.started.isValid() || measured.dAverageKbps <= 0)
            continue;
        // By the middle of the measurement, which may start just before the night does.
        const int hour = measured.started.addMSecs(qint64(measured.dSeconds * 500)).time().hour();
        (group.IsNight(hour) ? night : day) = &measured;
    }
    if (!day || !night)
        return -1;
    const double percent = std::round(night->dAverageKbps * 100 / day->dAverageKbps);
    return int(std::clamp(percent, 1.0, double(NordaStorage::kMaxFactorPercent)));
}

QVector<QPair<int, int>> CMeasuredRate::NightFactors(const NordaStorage::STRU_STORAGE_SETTINGS &settings,
                                                     const QVector<STRU_CAMERA> &cameras)
{
    QVector<double> sums(settings.vecGroups.size(), 0);
    QVector<int> counts(settings.vecGroups.size(), 0);
    for (const STRU_CAMERA &camera : cameras) {
        const int group = settings.IndexOfGroup(NordaStorage::GroupOf(camera));
        const int percent = group < 0 ? -1 : NightFactorPercent(camera, settings.vecGroups.at(group));
        if (percent > 0) {
            sums[group] += percent;
            ++counts[group];
        }
    }
    QVector<QPair<int, int>> factors;
    for (int group = 0; group < sums.size(); ++group) {
        const int percent = counts.at(group) > 0 ? int(std::round(sums.at(group) / counts.at(group))) : -1;
        if (percent > 0 && percent != settings.vecGroups.at(group).iNightFactorPercent)
            factors.append({group, percent});
    }
    return factors;
}

QString CMeasuredRate::StateText(StreamState state)
{
    switch (state) {
    case StreamState::Measured:
        return {};
    case StreamState::DidNotStart:
        return tr("Stream did not start");
    case StreamState::Stopped:
        return tr("Stream stopped");
    case StreamState::NoVideo:
        return tr("No video in the stream");
    case StreamState::CredentialsRefused:
        return tr("Wrong user name or password");
    case StreamState::Cancelled:
        return tr("Cancelled");
    }
    return {};
}
