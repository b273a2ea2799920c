// The device's encoding codes in the camera vocabulary, and the camera row of one channel.
//
// A device reports resolution, frame rate and bitrate as codes of its own; the camera list speaks
// resolution indexes, frames per second and kbit/s. Nothing outside this file sees device codes.
#pragma once

#include "calc/camera.h"
#include "platform/netdvr.h"

#include <QString>

class CBitrateCalculator;
struct STRU_DEVICE;

namespace DeviceCodes {

// Resolution index of a resolution code, -1 when the code is not supported.
int ResolutionIndex(int code);
// Frames per second of a frame-rate code; 0 and unknown codes are the full rate of the standard
// (30 under NTSC = 1, else 25).
double FrameRate(uint32_t code, int standard);
// kbit/s of a bitrate code. Bit 31 set: the low 31 bits are bit/s, divided by 1024. Codes
// without an entry (0, 1, 28 and more) give the recommended bitrate.
int Bitrate(uint32_t code, int recommended);
// Level index of a picture quality byte. Quality runs 0..5; anything above is taken as the
// lowest level so that the level tables are never indexed beyond their end.
int Level(int quality);

// Builds the camera row of one channel. False (no row) when the resolution code is not supported.
// The calculator is switched to the standard for the recommended bitrate.
bool BuildCamera(const NET_DVR_COMPRESS_BLOCK &block, const QString &name, const STRU_DEVICE &device, int channel,
                 int deviceType, int standard, CBitrateCalculator &calculator, STRU_CAMERA *camera);

} // namespace DeviceCodes
