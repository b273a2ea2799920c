#include "calc/bitratecalculator.h"

#include "calc/camera.h"

#include <cmath>

namespace {

// Full-rate DVR bitrate by level (rows) and resolution index (columns).
const int kDvrTable[6][12] = {
    {6144, 6144, 6144, 6144, 6144, 6144, 5120, 2048, 3072, 1792, 1024, 512},
    {5120, 5120, 5120, 4096, 5120, 0, 3584, 1792, 2048, 1280, 768, 384},
    {4096, 4096, 4096, 3584, 4096, 0, 3072, 1536, 1792, 1024, 512, 256},
    {3072, 3072, 3072, 3072, 3072, 0, 2048, 1280, 1536, 896, 448, 192},
    {2560, 2560, 2560, 2560, 2560, 0, 1792, 1024, 1280, 768, 384, 128},
    {2048, 2048, 2048, 2048, 2048, 0, 1536, 896, 1024, 512, 256, 96},
};

// IPC bitrate by resolution index (rows) and frame-rate column:
// full, 22, 20, 18, 15, 12.5, 10, 8, 6, 4, 2, 1, 1/2, 1/4, 1/8, 1/16.
const int kIpcTable[12][16] = {
    {22528, 20480, 18636, 15360, 13824, 12800, 10752, 9216, 9011, 6758, 4608, 2867, 378, 189, 95, 48},
    {14336, 12288, 11264, 9216, 8192, 7475, 6451, 5529, 5120, 4096, 3072, 1843, 242, 121, 61, 32},
    {10240, 8192, 7475, 6451, 5632, 5120, 4403, 3686, 3481, 2662, 2048, 1228, 160, 80, 40, 32},
    {9216, 7168, 6656, 5939, 5120, 4505, 3891, 3379, 3276, 2560, 1843, 1126, 148, 74, 37, 32},
    {6144, 5632, 5120, 4403, 3891, 3584, 3072, 2560, 2457, 1843, 1228, 800, 113, 57, 32, 32},
    {6144, 4608, 4198, 3686, 3276, 2867, 2457, 2150, 2048, 1536, 1024, 650, 95, 48, 32, 32},
    {6144, 3584, 3174, 2867, 2457, 2252, 1945, 1638, 1536, 1228, 800, 500, 71, 36, 32, 32},
    {1536, 1228, 1126, 1024, 850, 770, 670, 600, 550, 410, 250, 150, 32, 32, 32, 32},
    {2048, 1536, 1331, 1228, 1024, 900, 800, 700, 660, 500, 300, 180, 32, 32, 32, 32},
    {1024, 768, 650, 550, 500, 450, 400, 350, 330, 250, 150, 90, 32, 32, 32, 32},
    {768, 512, 512, 400, 330, 300, 250, 200, 150, 150, 100, 60, 32, 32, 32, 32},
    {200, 150, 140, 130, 120, 110, 100, 80, 80, 60, 45, 32, 32, 32, 32, 32},
};

} // namespace

int CBitrateCalculator::FramerateColumn(double frameRate)
{
    if (frameRate == 0.0625)
        return 15;
    if (frameRate == 0.125)
        return 14;
    if (frameRate == 0.25)
        return 13;
    if (frameRate == 0.5)
        return 12;
    if (frameRate == 12.5)
        return 5;
    // Truncating a NaN or a huge value is undefined; such rates are never full-rate choices either.
    if (!(frameRate > -1.0 && frameRate < 1000.0))
        return 0;
    switch (static_cast<int>(frameRate)) {
    case 1:
        return 11;
    case 2:
        return 10;
    case 4:
        return 9;
    case 6:
        return 8;
    case 8:
        return 7;
    case 10:
        return 6;
    case 15:
        return 4;
    case 18:
        return 3;
    case 20:
        return 2;
    case 22:
        return 1;
    default:
        return 0;
    }
}

double CBitrateCalculator::RecommendedBitrate(int deviceType, int resolution, double frameRate, int level) const
{
    if (resolution < 0 || resolution >= 12)
        return 0;
    const double fullRate = m_iStandard == 0 ? 25 : 30;
    // A NaN or huge rate would make a result that no int holds, and callers truncate to one.
    frameRate = NordaVocab::SafeFramerate(frameRate);
    if (deviceType == 1) {
        if (level < 0 || level >= 6)
            return 0;
        const double b = kDvrTable[level][resolution];
        return b / 5 + (frameRate * 4 * b) / (fullRate * 5);
    }
    return kIpcTable[resolution][FramerateColumn(frameRate)];
}

double CBitrateCalculator::RecordHours(double totalKbps, double diskGB)
{
    if (!std::isfinite(totalKbps) || !std::isfinite(diskGB) || !(diskGB >= 0))
        return 0;
    const double gbPerHour = totalKbps * 3600 / 8000000 * 1.15;
    if (!(gbPerHour > 0)) // also a bitrate so small that the rate per hour underflows
        return 0;
    return diskGB / gbPerHour;
}

double CBitrateCalculator::DiskSize(double kbps, qint64 hours)
{
    if (!(kbps > 0) || !std::isfinite(kbps) || hours <= 0)
        return 0;
    return static_cast<double>(hours) * (kbps * 3600) * 1.15 / 8000000;
}
