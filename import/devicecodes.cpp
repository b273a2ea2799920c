#include "import/devicecodes.h"

#include "calc/bitratecalculator.h"
#include "import/device.h"

#include <algorithm>

namespace DeviceCodes {

int ResolutionIndex(int code)
{
    switch (code) {
    case 1:
        return 10; // CIF
    case 2:
        return 11; // QCIF
    case 3:
        return 8; // 4CIF
    case 4:
        return 9; // 2CIF
    case 16:
        return 7; // VGA
    case 17:
        return 3; // UXGA
    case 19:
        return 6; // 720P
    case 20:
        return 5; // 1280*960
    case 21:
        return 4; // 1600*912
    case 27:
        return 2; // 1080P
    case 28:
        return 0; // 2560*1920
    case 30:
        return 1; // QXGA
    default:
        return -1;
    }
}

double FrameRate(uint32_t code, int standard)
{
    // Codes 13 and 14 are 20 and 15: the device's order, not an increasing one.
    static const double kRates[] = {0, 0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8, 10, 12, 16, 20, 15, 18, 22};
    if (code >= 1 && code < sizeof(kRates) / sizeof(kRates[0]))
        return kRates[code];
    return standard == NordaVocab::NTSC ? 30 : 25;
}

int Bitrate(uint32_t code, int recommended)
{
    if (code & 0x80000000u)
        return static_cast<int>((code & 0x7FFFFFFFu) / 1024);
    static const int kKbps[] = {0,   0,   32,  48,  64,  80,   96,   128,  160,  192,  224,  256,  320,  384,
                                448, 512, 640, 768, 896, 1024, 1280, 1536, 1792, 2048, 3072, 4096, 8192, 16384};
    if (code >= 2 && code < sizeof(kKbps) / sizeof(kKbps[0]))
        return kKbps[code];
    return recommended;
}

int Level(int quality)
{
    return std::clamp(quality, 0, NordaVocab::kLevelCount - 1);
}

bool BuildCamera(const NET_DVR_COMPRESS_BLOCK &block, const QString &name, const STRU_DEVICE &device, int channel,
                 int deviceType, int standard, CBitrateCalculator &calculator, STRU_CAMERA *camera)
{
    const int resolution = ResolutionIndex(block.byResolution);
    if (resolution < 0)
        return false;
    const double frameRate = FrameRate(block.dwFrameRate, standard);
    const int level = Level(block.byPicQuality);
    calculator.SetStandard(standard);
    const int recommended = static_cast<int>(calculator.RecommendedBitrate(deviceType, resolution, frameRate, level));

    camera->strName = name.toLocal8Bit();
    camera->strDeviceIP = device.strIP;
    camera->iPort = device.iPort;
    camera->strMaker = device.identity.strMaker;
    camera->strModel = device.identity.strModel;
    camera->strFirmware = device.identity.strFirmware;
    camera->strSerial = device.identity.strSerial;
    camera->iChannel = channel;
    camera->iType = deviceType;
    camera->iResolution = resolution;
    camera->iLevel = level;
    camera->dFramerate = frameRate;
    camera->iBitrate = Bitrate(block.dwVideoBitrate, recommended);
    camera->iRecommendedBitrate = recommended;
    camera->iWidth = block.wWidth;
    camera->iHeight = block.wHeight;
    // Encodings 1..5 are the codecs in their order; the Storage page plans with them.
    camera->iCodec =
        block.byVideoEncType >= 1 && block.byVideoEncType <= NordaVocab::kCodecCount ? block.byVideoEncType - 1 : 0;
    // Whatever a device reports, the row that enters the list stays within the vocabulary.
    NordaVocab::SanitizeCamera(*camera);
    return true;
}

} // namespace DeviceCodes
