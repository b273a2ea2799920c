// What a measurement changes in the plan: the measured bitrate taken into a camera's record,
// the night factor told by a day and a night measurement, and the words for a stream's state.
#pragma once

#include "calc/camera.h"
#include "measure/streamfigures.h"
#include "storage/recordinggroup.h"
#include "storage/storagemodel.h"

#include <QCoreApplication>
#include <QPair>
#include <QVector>

class CMeasuredRate
{
    Q_DECLARE_TR_FUNCTIONS(CMeasuredRate)

public:
    // What "Use measured" sets: the average share of the configured bitrate (a variable-bitrate
    // stream that averages below its limit), or the configured bitrate itself.
    enum Use { UseAverageShare = 0, UseBitrate = 1 };
    static constexpr int kMaxBitrate = 4194304; // as a plan file takes it

    static STRU_MEASURED FromStream(const STREAM_MEASUREMENT &stream);
    // The camera with the measurement kept and its average share or bitrate set from it. A
    // camera without a configured bitrate takes the measured one either way.
    static STRU_CAMERA Applied(STRU_CAMERA camera, const STRU_MEASURED &measured, Use use);
    // The night factor (% of the day's bitrate) told by the camera's newest measurements started
    // in the group's night and in its day; -1 unless it has both.
    static int NightFactorPercent(const STRU_CAMERA &camera, const NordaStorage::STRU_RECORDING_GROUP &group);
    // Groups (index, night factor %) whose cameras' day and night measurements tell another
    // night factor than the group has: the rounded mean over its cameras that have both.
    static QVector<QPair<int, int>> NightFactors(const NordaStorage::STRU_STORAGE_SETTINGS &settings,
                                                 const QVector<STRU_CAMERA> &cameras);
    // A failed stream's row state; empty for Measured.
    static QString StateText(StreamState state);
};
