#include "storage/bitratemodel.h"

#include "calc/bitratecalculator.h"

#include <algorithm>
#include <cmath>

namespace NordaStorage {

namespace {

const char *const kCodecTexts[kCodecCount] = {"H.264", "H.265", "MJPEG", "Smart H.264", "Smart H.265"};
constexpr double kFloorKbps = 32; // the table's smallest cell
constexpr int kColumns = 16;

// A frame rate that falls into each column of the table (PAL; column 0 is the full rate).
const double kColumnRates[kColumns] = {25, 22, 20, 18, 15, 12.5, 10, 8, 6, 4, 2, 1, 0.5, 0.25, 0.125, 0.0625};

double TableCell(int resolution, int column)
{
    CBitrateCalculator table;
    return table.RecommendedBitrate(NordaVocab::TypeIPC, resolution, kColumnRates[column], 0);
}

double Pixels(int resolution)
{
    int width = 0;
    int height = 0;
    NordaVocab::NominalSize(resolution, &width, &height);
    return double(width) * height;
}

} // namespace

QString CodecText(int codec)
{
    return codec >= 0 && codec < kCodecCount ? QLatin1String(kCodecTexts[codec]) : QString();
}

int CodecOfText(const QString &text)
{
    QString key = text.toLower();
    key.remove(QLatin1Char(' ')).remove(QLatin1Char('.')).remove(QLatin1Char('-')).remove(QLatin1Char('_'));
    const bool smart = key.startsWith(QLatin1String("smart"));
    if (smart)
        key = key.mid(5);
    int codec = -1;
    if (key == QLatin1String("h264") || key == QLatin1String("avc"))
        codec = smart ? SmartH264 : H264;
    else if (key == QLatin1String("h265") || key == QLatin1String("hevc"))
        codec = smart ? SmartH265 : H265;
    else if (!smart && (key == QLatin1String("mjpeg") || key == QLatin1String("jpeg")))
        codec = MJPEG;
    return codec;
}

const CFittedTable &CFittedTable::Instance()
{
    static const CFittedTable table;
    return table;
}

CFittedTable::CFittedTable()
{
    // Columns from the full rate down, so that the 1/16 column can borrow the 1/8 column's exponent.
    for (int column = 0; column < kColumns; ++column) {
        double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
        int rows = 0;
        for (int resolution = 0; resolution < NordaVocab::kResolutionCount; ++resolution) {
            const double cell = TableCell(resolution, column);
            if (cell <= kFloorKbps)
                continue;
            const double x = std::log(Pixels(resolution));
            const double y = std::log(cell);
            sumX += x;
            sumY += y;
            sumXX += x * x;
            sumXY += x * y;
            ++rows;
        }
        Fit &fit = m_fits[column];
        if (rows >= 2) {
            fit.dK = (rows * sumXY - sumX * sumY) / (rows * sumXX - sumX * sumX);
        } else {
            fit.dK = m_fits[column - 1].dK; // column 0 always has every row
        }
        fit.dA = std::exp((sumY - fit.dK * sumX) / std::max(rows, 1));
    }
}

double CFittedTable::Kbps(double pixels, int column) const
{
    const Fit &fit = m_fits.at(std::clamp(column, 0, kColumns - 1));
    return std::max(kFloorKbps, fit.dA * std::pow(std::max(pixels, 1.0), fit.dK));
}

double CFittedTable::MaxRowError(int column) const
{
    double worst = 0;
    for (int resolution = 0; resolution < NordaVocab::kResolutionCount; ++resolution) {
        const double cell = TableCell(resolution, column);
        if (cell > kFloorKbps)
            worst = std::max(worst, std::abs(Kbps(Pixels(resolution), column) / cell - 1));
    }
    return worst;
}

int RecommendedKbps(const STRU_CAMERA &camera, int standard, const STRU_CODEC_FACTORS &factors)
{
    CBitrateCalculator calculator;
    calculator.SetStandard(standard);
    double kbps = calculator.RecommendedBitrate(camera.iType, camera.iResolution, camera.dFramerate, camera.iLevel);
    int width = 0;
    int height = 0;
    NordaVocab::NominalSize(camera.iResolution, &width, &height);
    const bool ownRow =
        camera.iWidth <= 0 || camera.iHeight <= 0 || (camera.iWidth == width && camera.iHeight == height);
    if (camera.iType != NordaVocab::TypeDVR && !ownRow) {
        const double framerate = NordaVocab::SafeFramerate(camera.dFramerate);
        kbps = CFittedTable::Instance().Kbps(double(camera.iWidth) * camera.iHeight,
                                             CBitrateCalculator::FramerateColumn(framerate));
    }
    const int codec = camera.iCodec >= 0 && camera.iCodec < kCodecCount ? camera.iCodec : H264;
    const int percent = factors.iPercent[codec];
    // 100 % leaves the table's value exactly as it is.
    return static_cast<int>(percent == 100 ? kbps : kbps * percent / 100);
}

} // namespace NordaStorage
