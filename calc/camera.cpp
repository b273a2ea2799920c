#include "calc/camera.h"

#include <QCoreApplication>

#include <algorithm>

namespace NordaVocab {

namespace {
const char *const kResolutionTexts[kResolutionCount] = {
    "2560*1920",
    "QXGA(2048*1536)",
    "1080P(1920*1080)",
    "UXGA(1600*1200)",
    "1600*912",
    "1280*960",
    "720P(1280*760)",
    "VGA(640*480)",
    "4CIF",
    "2CIF",
    "CIF",
    "QCIF",
};

const char *const kLevelTexts[kLevelCount] = {
    QT_TRANSLATE_NOOP("CCalculateWidget", "Level1(best)"), QT_TRANSLATE_NOOP("CCalculateWidget", "Level2"),
    QT_TRANSLATE_NOOP("CCalculateWidget", "Level3"),       QT_TRANSLATE_NOOP("CCalculateWidget", "Level4"),
    QT_TRANSLATE_NOOP("CCalculateWidget", "Level5"),       QT_TRANSLATE_NOOP("CCalculateWidget", "Level6"),
};

const char *const kHeaders[kColumnCount] = {
    QT_TRANSLATE_NOOP("CCalculateWidget", "Device Type"),       QT_TRANSLATE_NOOP("CCalculateWidget", "Camera Name"),
    QT_TRANSLATE_NOOP("CCalculateWidget", "Picture Quality"),   QT_TRANSLATE_NOOP("CCalculateWidget", "Resolution"),
    QT_TRANSLATE_NOOP("CCalculateWidget", "Framerate"),         QT_TRANSLATE_NOOP("CCalculateWidget", "Bitrate"),
    QT_TRANSLATE_NOOP("CCalculateWidget", "Recommand Bitrate"),
};

QString tr(const char *text)
{
    return QCoreApplication::translate("CCalculateWidget", text);
}
} // namespace

int FullRate(int standard)
{
    return standard == PAL ? 25 : 30;
}

QString DeviceTypeText(int type)
{
    return type == TypeDVR ? tr(QT_TRANSLATE_NOOP("CCalculateWidget", "DVR"))
                           : tr(QT_TRANSLATE_NOOP("CCalculateWidget", "IPC"));
}

QString ResolutionText(int resolution)
{
    if (resolution < 0 || resolution >= kResolutionCount)
        return QString();
    return QString::fromLatin1(kResolutionTexts[resolution]);
}

void NominalSize(int resolution, int *width, int *height)
{
    static const int kSizes[kResolutionCount][2] = {
        {2560, 1920}, {2048, 1536}, {1920, 1080}, {1600, 1200}, {1600, 912}, {1280, 960},
        {1280, 720},  {640, 480},   {704, 576},   {704, 288},   {352, 288},  {176, 144},
    };
    const bool known = resolution >= 0 && resolution < kResolutionCount;
    *width = known ? kSizes[resolution][0] : 0;
    *height = known ? kSizes[resolution][1] : 0;
}

QString ResolutionCellText(const STRU_CAMERA &camera)
{
    int width = 0;
    int height = 0;
    NominalSize(camera.iResolution, &width, &height);
    if (camera.iWidth <= 0 || camera.iHeight <= 0 || (camera.iWidth == width && camera.iHeight == height))
        return ResolutionText(camera.iResolution);
    return QString::number(camera.iWidth) + QLatin1Char('*') + QString::number(camera.iHeight);
}

QString LevelText(int level)
{
    if (level < 0 || level >= kLevelCount)
        return QString();
    return tr(kLevelTexts[level]);
}

QString FramerateText(double framerate)
{
    if (framerate == 0.5)
        return QStringLiteral("1/2");
    if (framerate == 0.25)
        return QStringLiteral("1/4");
    if (framerate == 0.125)
        return QStringLiteral("1/8");
    if (framerate == 0.0625)
        return QStringLiteral("1/16");
    return QString::number(framerate, 'g', 6);
}

QVector<double> FramerateChoices(int type, int resolution, int standard)
{
    const double full = FullRate(standard);
    if (type == TypeDVR)
        return {full, 0.0625, 0.125, 0.25, 0.5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 15, 16, 18, 20, 22};
    if (resolution == 0)
        return {8, 0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8};
    if (resolution == 1)
        return {20, 0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8, 10, 12.5, 15, 18, 20};
    return {full, 0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 6, 8, 10, 12.5, 15, 18, 20, 22};
}

QStringList CameraRowTexts(const STRU_CAMERA &camera)
{
    return {
        DeviceTypeText(camera.iType),
        QString::fromLocal8Bit(camera.strName),
        LevelText(camera.iLevel),
        ResolutionCellText(camera),
        FramerateText(camera.dFramerate),
        QString::number(camera.iBitrate),
        QString::number(camera.iRecommendedBitrate),
    };
}

QStringList ColumnHeaders()
{
    QStringList headers;
    for (const char *header : kHeaders)
        headers << tr(header);
    return headers;
}

double SafeFramerate(double framerate)
{
    if (!(framerate >= 0)) // NaN too
        return 0;
    return std::min(framerate, kMaxFramerate);
}

bool SanitizeCamera(STRU_CAMERA &camera)
{
    const STRU_CAMERA before = camera;
    if (camera.iType != TypeDVR)
        camera.iType = TypeIPC;
    camera.iResolution = std::clamp(camera.iResolution, 0, kResolutionCount - 1);
    camera.iLevel = std::clamp(camera.iLevel, 0, kLevelCount - 1);
    camera.dFramerate = SafeFramerate(camera.dFramerate);
    camera.iBitrate = std::max(camera.iBitrate, 0);
    camera.iRecommendedBitrate = std::max(camera.iRecommendedBitrate, 0);
    if (camera.iWidth <= 0 || camera.iHeight <= 0 || camera.iWidth > kMaxPictureSide
        || camera.iHeight > kMaxPictureSide)
        camera.iWidth = camera.iHeight = 0;
    if (camera.iCodec < 0 || camera.iCodec >= kCodecCount)
        camera.iCodec = 0;
    camera.iAverageShare = std::clamp(camera.iAverageShare, 0, kMaxAverageShare);
    // A NaN rate became 0, which does not compare equal to it: reported as mended.
    return camera.iType == before.iType && camera.iResolution == before.iResolution && camera.iLevel == before.iLevel
        && camera.dFramerate == before.dFramerate && camera.iBitrate == before.iBitrate
        && camera.iRecommendedBitrate == before.iRecommendedBitrate && camera.iWidth == before.iWidth
        && camera.iHeight == before.iHeight && camera.iCodec == before.iCodec
        && camera.iAverageShare == before.iAverageShare;
}

} // namespace NordaVocab
