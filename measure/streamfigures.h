// The result of measuring one stream, and the arithmetic that turns its packets into figures.
//
// Bitrates are in kbit/s (1,000 bit/s), the unit of a camera's bitrate field. A window of the
// measurement holds the packets whose timestamps fall into it, counted from the first packet:
// the average is all bytes of the window over its length, the peak the largest one-second slice,
// the 95th percentile the slice at or below which 95 % of the slices lie (nearest rank).
#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

enum class StreamState {
    Measured,           // every figure below is valid
    DidNotStart,        // no answer, no stream description, or no packet before the start timeout
    Stopped,            // packets came, then the stream ended or stalled before the window was full
    NoVideo,            // the stream carries no video
    CredentialsRefused, // the device refused the user name or password
    Cancelled,
};

struct STREAM_MEASUREMENT
{
    StreamState state = StreamState::DidNotStart;
    QString strCodec; // "H.264", "H.265", "MJPEG" or the codec's own name
    int iWidth = 0;   // as sent; 0: unknown
    int iHeight = 0;
    double dFrameRate = 0; // frames per second in the window
    double dAverageKbps = 0;
    double dPeakKbps = 0;         // largest one-second slice
    double dP95Kbps = 0;          // 95th percentile of the one-second slices
    double dKeyFrameInterval = 0; // seconds between key frames; 0: fewer than two key frames
    qint64 iBytes = 0;            // in the window
    int iFrames = 0;              // in the window
    double dSeconds = 0;          // the window's length
    QDateTime started;            // when the first packet came, in UTC (shown in local time)

    bool IsMeasured() const { return state == StreamState::Measured; }
};

// Collects packets (timestamp in seconds, size, key frame) and computes the figures of the
// window [first timestamp, first timestamp + seconds).
class CStreamFigures
{
public:
    explicit CStreamFigures(double seconds) : m_dSeconds(seconds) {}

    // False once a packet lies at or beyond the window's end (that packet is not counted).
    bool Add(double timestamp, int bytes, bool keyFrame);
    bool HasPackets() const { return m_bStarted; }
    // How much of the window the packets cover, 0..1.
    double Covered() const;
    // Fills the figures of *result (codec, size, state and time stay as they are).
    void Fill(STREAM_MEASUREMENT *result) const;

private:
    const double m_dSeconds;
    bool m_bStarted = false;
    double m_dFirst = 0;
    double m_dLast = 0;
    QVector<qint64> m_slices; // bytes per one-second slice
    qint64 m_iBytes = 0;
    int m_iFrames = 0;
    double m_dFirstKey = -1;
    double m_dLastKey = -1;
    int m_iKeyFrames = 0;
};
