// The fake devices' RTSP side: every device with bRtsp streams each of its encoders at
// rtsp://address:port/chC/sS from a pre-encoded H.264 or H.265 clip, looped for ever with
// timestamps that keep counting, paced in real time. GStreamer's RTSP server does the protocol
// (RTP over UDP or interleaved in the TCP connection, basic and digest authentication); the
// clips are read once with libavformat and kept in memory, shared by all streams that send them.
//
// Stream faults: "stop" ends every stream after 2 s, "mute" only accepts TCP connections and
// never answers, "novideo" sends an audio stream only. A stream password other than the
// device's is what a device with separate stream accounts shows a client using the wrong one.
#pragma once

#include "tools/fakedevice/fakeonvifdevice.h"

#include <QString>

#include <memory>

class CFakeRtspServer
{
public:
    CFakeRtspServer();
    ~CFakeRtspServer();
    CFakeRtspServer(const CFakeRtspServer &) = delete;
    CFakeRtspServer &operator=(const CFakeRtspServer &) = delete;

    // Serves the device's streams and sets its iRtspPort to the port served (a port of 0 takes
    // a free one). False with *error when its port or a clip cannot be used.
    bool Add(FAKE_ONVIF_DEVICE *device, QString *error);
    // Closes every stream and connection.
    void Stop();

    // The clip built for an encoding ("H264" or "H265"), in the build's clip folder.
    static QString DefaultClip(const QString &encoding);

private:
    struct PRIVATE;
    std::unique_ptr<PRIVATE> d;
};
