#include "measure/streamreader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}

#include <QUrl>

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {
using Clock = std::chrono::steady_clock;

struct INTERRUPT
{
    const std::atomic<bool> *pCancel = nullptr;
    Clock::time_point hardStop;  // the window plus the grace time
    Clock::time_point phaseStop; // the start or stall timeout of the moment
    bool Cancelled() const { return pCancel && pCancel->load(std::memory_order_relaxed); }
};

int OnInterrupt(void *data)
{
    const auto *interrupt = static_cast<const INTERRUPT *>(data);
    const Clock::time_point now = Clock::now();
    return interrupt->Cancelled() || now >= interrupt->hardStop || now >= interrupt->phaseStop;
}

QString CodecName(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_H264:
        return QStringLiteral("H.264");
    case AV_CODEC_ID_HEVC:
        return QStringLiteral("H.265");
    case AV_CODEC_ID_MJPEG:
        return QStringLiteral("MJPEG");
    default:
        return QString::fromLatin1(avcodec_get_name(id)).toUpper();
    }
}

bool IsRefusal(int error)
{
    return error == AVERROR_HTTP_UNAUTHORIZED || error == AVERROR_HTTP_FORBIDDEN || error == AVERROR(EACCES);
}

// Owns the demuxer, so every way out of Measure closes it.
struct INPUT
{
    AVFormatContext *pContext = nullptr;
    ~INPUT() { avformat_close_input(&pContext); }
};
} // namespace

namespace StreamReader {

QString Redacted(const QString &uri)
{
    QUrl url(uri);
    url.setUserInfo(QString());
    return url.toString();
}

STREAM_MEASUREMENT Measure(const STREAM_SOURCE &source, double seconds, const std::atomic<bool> *cancel,
                           std::atomic<int> *progress)
{
    static std::once_flag once;
    std::call_once(once, [] {
        av_log_set_level(AV_LOG_QUIET);
        avformat_network_init();
    });
    STREAM_MEASUREMENT result;
    const Clock::time_point begin = Clock::now();
    INTERRUPT interrupt;
    interrupt.pCancel = cancel;
    interrupt.hardStop = begin + std::chrono::milliseconds(qint64(seconds * 1000) + kGraceMs);
    interrupt.phaseStop = std::min(interrupt.hardStop, begin + std::chrono::milliseconds(kStartTimeoutMs));
    auto failed = [&](StreamState state) {
        result.state = interrupt.Cancelled() ? StreamState::Cancelled : state;
        return result;
    };

    QUrl url(source.strUri);
    url.setUserName(source.strUser);
    url.setPassword(source.strPassword);
    const QByteArray address = url.toString(QUrl::FullyEncoded).toUtf8();

    INPUT input;
    input.pContext = avformat_alloc_context();
    input.pContext->interrupt_callback.callback = OnInterrupt;
    input.pContext->interrupt_callback.opaque = &interrupt;
    AVDictionary *options = nullptr;
    av_dict_set(&options, "rtsp_transport", "tcp", 0);
    const int opened = avformat_open_input(&input.pContext, address.constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return failed(IsRefusal(opened) ? StreamState::CredentialsRefused : StreamState::DidNotStart);

    AVFormatContext *context = input.pContext;
    const int video = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0)
        return failed(context->nb_streams > 0 ? StreamState::NoVideo : StreamState::DidNotStart);
    for (unsigned i = 0; i < context->nb_streams; ++i)
        context->streams[i]->discard = int(i) == video ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    // Enough for the parser to see the parameter sets (size) without holding the stream back long;
    // the packets it reads are handed out again below.
    context->max_analyze_duration = AV_TIME_BASE;
    if (avformat_find_stream_info(context, nullptr) < 0)
        return failed(StreamState::DidNotStart);

    const AVStream *stream = context->streams[video];
    result.strCodec = CodecName(stream->codecpar->codec_id);
    const double timeBase = av_q2d(stream->time_base);
    CStreamFigures figures(seconds);
    AVPacket *packet = av_packet_alloc();
    bool full = false;
    int error = 0;
    qint64 lastStamp = AV_NOPTS_VALUE;
    while (!full) {
        error = av_read_frame(context, packet);
        if (error < 0)
            break;
        if (packet->stream_index == video) {
            const qint64 stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (stamp != AV_NOPTS_VALUE)
                lastStamp = stamp;
            if (lastStamp != AV_NOPTS_VALUE) {
                if (!figures.HasPackets())
                    result.started = QDateTime::currentDateTimeUtc(); // no time zone lookup on this thread
                full = !figures.Add(double(lastStamp) * timeBase, packet->size, packet->flags & AV_PKT_FLAG_KEY);
                interrupt.phaseStop =
                    std::min(interrupt.hardStop, Clock::now() + std::chrono::milliseconds(kStallTimeoutMs));
                if (progress)
                    progress->store(int(figures.Covered() * 1000), std::memory_order_relaxed);
            }
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    // The parser learns the size from the parameter sets, which may come after the description.
    result.iWidth = stream->codecpar->width;
    result.iHeight = stream->codecpar->height;
    if (!full)
        return failed(figures.HasPackets() ? StreamState::Stopped : StreamState::DidNotStart);
    figures.Fill(&result);
    result.state = StreamState::Measured;
    if (progress)
        progress->store(1000, std::memory_order_relaxed);
    return result;
}

} // namespace StreamReader
