// The recorders' arrays at the size of a large plan:
//   one keystroke: 16 recorders of 64 cameras in 4 groups each; the cameras' bytes a day summed
//   into their groups again, then every recorder's results and its Fit sentence, as the page
//   recomputes them after an edit;
//   Fit over every bay count from 1 to 64 with each of the 7 RAID levels for one recorder's groups.
// Each figure is the median of 201 runs.
#include "arrays/arrayload.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

using namespace NordaArrays;

namespace {

const int kRecorders = 16;
const int kCamerasEach = 64;
const int kGroupsEach = 4;
const int kRuns = 201;

double MedianMs(const std::function<void()> &operation)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        operation();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    std::vector<double> kbps(kRecorders * kCamerasEach);
    for (size_t i = 0; i < kbps.size(); ++i)
        kbps[i] = 1024 + 256 * (i % 32);
    std::vector<STRU_DISK_ARRAY> arrays(kRecorders);
    for (int r = 0; r < kRecorders; ++r) {
        arrays[r].iBays = 16;
        arrays[r].iDisks = 8 + r % 8;
        arrays[r].dDiskTB = 8 + 2 * (r % 4);
        arrays[r].eRaid = RaidLevelAt(r % kRaidLevels);
        arrays[r].iGroupSize = arrays[r].eRaid == RaidLevel::Raid60 ? 6 : 4;
        arrays[r].iDisks = arrays[r].eRaid == RaidLevel::Raid1 ? 2 : (arrays[r].iDisks / 4) * 4;
        if (IsNested(arrays[r].eRaid))
            arrays[r].iDisks = 2 * arrays[r].iGroupSize;
    }
    QVector<QVector<STRU_GROUP_DEMAND>> demands(kRecorders, QVector<STRU_GROUP_DEMAND>(kGroupsEach));
    int sink = 0;
    int keystroke = 0;
    const double keystrokeMs = MedianMs([&] {
        kbps[keystroke++ % kbps.size()] += 1; // the edit
        for (int r = 0; r < kRecorders; ++r) {
            for (int g = 0; g < kGroupsEach; ++g)
                demands[r][g] = {0, 7 + 23 * g};
            for (int c = 0; c < kCamerasEach; ++c)
                demands[r][c % kGroupsEach].dBytesPerDay += kbps[r * kCamerasEach + c] * 1000 / 8 * 86400;
            const STRU_ARRAY_RESULT result = ComputeArray(arrays[r], demands[r], 15);
            sink += result.bAllMeet + FitSentence(arrays[r], FitArray(arrays[r], demands[r], 15)).size();
        }
    });
    const double fitMs = MedianMs([&] {
        STRU_DISK_ARRAY array = arrays[0];
        for (int bays = 1; bays <= 64; ++bays) {
            for (int level = 0; level < kRaidLevels; ++level) {
                array.iBays = bays;
                array.eRaid = RaidLevelAt(level);
                array.iSpares = array.eRaid == RaidLevel::None ? 0 : 1;
                sink += FitArray(array, demands[0], 15).iDisks;
            }
        }
    });
    QTextStream out(stdout);
    out << "Recompute 16 recorders x 64 cameras after a keystroke (with Fit sentences): " << keystrokeMs << " ms\n"
        << "Fit over 1..64 bays x 7 RAID levels: " << fitMs << " ms\n"
        << "(check " << sink % 10 << ")\n";
    return 0;
}
