// Reads one live stream for a while and measures it: RTSP over TCP with libavformat, packets of
// the video stream counted by size and timestamp, nothing decoded. Blocks the calling thread.
//
// Time limits, whatever the device does: the stream must start (first video packet) within
// kStartTimeoutMs, may pause at most kStallTimeoutMs, and the whole measurement ends at the
// window's length plus kGraceMs at the latest. Credentials go to the device only: they are never
// logged, and the addresses that may be logged (Redacted) never carry them; libavformat's own
// log is silenced, since its messages may quote the address it was given.
#pragma once

#include "measure/streamfigures.h"

#include <atomic>

struct STREAM_SOURCE
{
    QString strUri; // rtsp://host[:port]/path, without credentials
    QString strUser;
    QString strPassword;
};

namespace StreamReader {
constexpr int kStartTimeoutMs = 10000;
constexpr int kStallTimeoutMs = 5000;
constexpr int kGraceMs = 10000;

// cancel may be null; progress (may be null) receives the part of the window done, in 1/1000.
STREAM_MEASUREMENT Measure(const STREAM_SOURCE &source, double seconds, const std::atomic<bool> *cancel = nullptr,
                           std::atomic<int> *progress = nullptr);

// The address without user name and password, for logs and messages.
QString Redacted(const QString &uri);
} // namespace StreamReader
