#include "platform/onvif/onvifcodes.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace OnvifCodes {

namespace {

struct SIZE_CODE
{
    int iCode;
    double dWidth;
    double dHeight;
};

// The CIF family comes in PAL and NTSC heights.
constexpr SIZE_CODE kSizes[] = {
    {1, 352, 288},   {1, 352, 240},    {2, 176, 144},    {2, 176, 120},    {3, 704, 576},   {3, 704, 480},
    {4, 704, 288},   {4, 704, 240},    {16, 640, 480},   {17, 1600, 1200}, {19, 1280, 720}, {20, 1280, 960},
    {21, 1600, 912}, {27, 1920, 1080}, {28, 2560, 1920}, {30, 2048, 1536},
};

// Frames per second of codes 1..16; code 0 is the full rate of the video standard.
constexpr double kRates[] = {0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8, 10, 12, 16, 20, 15, 18, 22};
constexpr double kFullRate = 25;

constexpr double kMaxPixels = 16384;

} // namespace

int ResolutionCode(double width, double height)
{
    if (!(width >= 1 && width <= kMaxPixels && height >= 1 && height <= kMaxPixels))
        return 0;
    int best = 0;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const SIZE_CODE &size : kSizes) {
        const double dx = std::log(width / size.dWidth);
        const double dy = std::log(height / size.dHeight);
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = size.iCode;
        }
    }
    return best;
}

uint32_t FrameRateCode(double framesPerSecond)
{
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond))
        return 0;
    uint32_t best = 0;
    double bestDistance = std::fabs(std::log(framesPerSecond / kFullRate));
    for (uint32_t code = 1; code <= sizeof(kRates) / sizeof(kRates[0]); ++code) {
        const double distance = std::fabs(std::log(framesPerSecond / kRates[code - 1]));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = code;
        }
    }
    return best;
}

uint32_t BitrateCode(double kbps)
{
    if (!(kbps >= 1) || !(kbps <= kMaxBitrateKbps))
        return 0;
    return 0x80000000u | (static_cast<uint32_t>(std::lround(kbps)) * 1024u);
}

uint8_t QualityLevel(double quality, const ONVIF_RANGE &range)
{
    if (!(quality >= 0) || !std::isfinite(quality))
        return 0;
    double low = range.dMin;
    double high = range.dMax;
    // A device that offers one quality only offers its best.
    if (range.bKnown && low == high && std::isfinite(low))
        return 0;
    if (!range.bKnown || !(high > low) || !std::isfinite(low) || !std::isfinite(high)) {
        low = 0;
        high = quality <= 10 ? 10 : 100;
    }
    const double clamped = std::min(std::max(quality, low), high);
    const double worse = (high - clamped) / (high - low); // 0 best .. 1 worst
    return static_cast<uint8_t>(std::lround(worse * 5));
}

uint8_t VideoEncType(const QString &encoding)
{
    const QString key = encoding.trimmed().toUpper().remove(QLatin1Char('.'));
    if (key == QLatin1String("H264"))
        return 1;
    if (key == QLatin1String("H265") || key == QLatin1String("HEVC"))
        return 2;
    if (key == QLatin1String("JPEG") || key == QLatin1String("MJPEG"))
        return 3;
    return 0;
}

NET_DVR_COMPRESS_BLOCK Block(const ONVIF_ENCODER &encoder, const ONVIF_RANGE &qualityRange)
{
    NET_DVR_COMPRESS_BLOCK block;
    std::memset(&block, 0, sizeof(block));
    block.byResolution = static_cast<uint8_t>(ResolutionCode(encoder.dWidth, encoder.dHeight));
    block.byPicQuality = QualityLevel(encoder.dQuality, qualityRange);
    block.dwVideoBitrate = BitrateCode(encoder.dBitrate);
    block.dwFrameRate = FrameRateCode(encoder.dFrameRate);
    // The true size beside the nearest code; sizes the block cannot carry stay unknown.
    if (encoder.dWidth >= 1 && encoder.dWidth <= 65535 && encoder.dHeight >= 1 && encoder.dHeight <= 65535) {
        block.wWidth = static_cast<uint16_t>(encoder.dWidth);
        block.wHeight = static_cast<uint16_t>(encoder.dHeight);
    }
    block.byVideoEncType = VideoEncType(encoder.strEncoding);
    return block;
}

} // namespace OnvifCodes
