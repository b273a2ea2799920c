// An ONVIF encoder configuration in the device SDK's compression codes.
//
// ONVIF reports pixels, frames per second, kbit/s and a quality on the device's own scale
// (higher is better); the compression block carries codes from fixed tables. Each value goes to
// the nearest code, so a camera with an unlisted size or rate still yields a row.
#pragma once

#include "platform/netdvr.h"
#include "platform/onvif/onvifreplies.h"

namespace OnvifCodes {

// The resolution code whose picture size is nearest (on a logarithmic scale, so a size twice
// too wide is as far as one half as wide); 0 (unsupported) for sizes no camera has.
int ResolutionCode(double width, double height);
// The frame-rate code nearest on a logarithmic scale; 0 (full rate) for rates nearer 25 than
// 22 and for unknown rates.
uint32_t FrameRateCode(double framesPerSecond);
// A user-defined bitrate code (bit 31 set) for kbit/s; 0 (no setting, so the recommendation
// applies) for unknown limits and for limits the code cannot carry, which are "no limit" markers
// such as 2147483647 rather than real rates.
uint32_t BitrateCode(double kbps);
// 2,097,151 kbit/s: the code carries whole kbit/s, so the division rounds down on purpose.
constexpr double kMaxBitrateKbps = 0x7FFFFFFF / 1024; // NOLINT(bugprone-integer-division)
// Picture quality 0 (best) .. 5 from a quality on the device's scale: the range split into six
// even steps. Unknown quality: 0. A range of one value (Min = Max): that value is the device's
// best, 0. Unknown range: 0..10 for qualities up to 10, else 0..100, the two scales devices use.
uint8_t QualityLevel(double quality, const ONVIF_RANGE &range);

// The block's video encoding (1 H.264, 2 H.265, 3 MJPEG) of an encoder's Encoding ("H264", "H265",
// "JPEG", as Media and Media2 name them); 0 for others and unknown ones.
uint8_t VideoEncType(const QString &encoding);

// The compression block of one encoder, with its picture size and encoding.
NET_DVR_COMPRESS_BLOCK Block(const ONVIF_ENCODER &encoder, const ONVIF_RANGE &qualityRange);

} // namespace OnvifCodes
