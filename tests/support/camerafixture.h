// Camera list entries for tests: one built field by field, and a comparison of every field.
#pragma once

#include "calc/camera.h"

inline STRU_CAMERA MakeCamera(const char *name, int type, int resolution, int level, double rate, int bitrate,
                              int recommended = 0)
{
    STRU_CAMERA camera;
    camera.strName = name;
    camera.iType = type;
    camera.iResolution = resolution;
    camera.iLevel = level;
    camera.dFramerate = rate;
    camera.iBitrate = bitrate;
    camera.iRecommendedBitrate = recommended;
    return camera;
}

inline bool Same(const STRU_CAMERA &a, const STRU_CAMERA &b)
{
    return a.strName == b.strName && a.strDeviceIP == b.strDeviceIP && a.iPort == b.iPort && a.iChannel == b.iChannel
        && a.iType == b.iType && a.iResolution == b.iResolution && a.iLevel == b.iLevel && a.dFramerate == b.dFramerate
        && a.iBitrate == b.iBitrate && a.iRecommendedBitrate == b.iRecommendedBitrate && a.iWidth == b.iWidth
        && a.iHeight == b.iHeight && a.iCodec == b.iCodec && a.iAverageShare == b.iAverageShare
        && a.strGroup == b.strGroup;
}
