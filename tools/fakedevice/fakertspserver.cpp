// GLib's headers name members "signals": this file is built with QT_NO_KEYWORDS.
#include "tools/fakedevice/fakertspserver.h"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>
#include <gst/rtsp-server/rtsp-server.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <QMap>

#include <arpa/inet.h>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
// How long a "stop" stream runs.
constexpr GstClockTime kStopAfter = 2 * GST_SECOND;

// One clip in memory: its access units in decoding order.
struct CLIP
{
    bool bH265 = false;
    GstClockTime frameDuration = GST_SECOND / 25;
    std::vector<GBytes *> frames;
    std::vector<bool> keyFrames;

    ~CLIP()
    {
        for (GBytes *frame : frames)
            g_bytes_unref(frame);
    }
};

bool ReadClip(const QString &path, CLIP *clip, QString *error)
{
    AVFormatContext *format = nullptr;
    if (avformat_open_input(&format, path.toLocal8Bit().constData(), nullptr, nullptr) < 0) {
        *error = QStringLiteral("cannot read the clip %1").arg(path);
        return false;
    }
    const int video = avformat_find_stream_info(format, nullptr) >= 0
        ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
        : -1;
    const AVCodecID codec = video >= 0 ? format->streams[video]->codecpar->codec_id : AV_CODEC_ID_NONE;
    if (codec != AV_CODEC_ID_H264 && codec != AV_CODEC_ID_HEVC) {
        avformat_close_input(&format);
        *error = QStringLiteral("the clip %1 is neither H.264 nor H.265").arg(path);
        return false;
    }
    clip->bH265 = codec == AV_CODEC_ID_HEVC;
    const AVRational rate = format->streams[video]->avg_frame_rate.num > 0 ? format->streams[video]->avg_frame_rate
                                                                           : format->streams[video]->r_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        clip->frameDuration = gst_util_uint64_scale(GST_SECOND, rate.den, rate.num);
    AVPacket *packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == video && packet->size > 0) {
            clip->frames.push_back(g_bytes_new(packet->data, gsize(packet->size)));
            clip->keyFrames.push_back((packet->flags & AV_PKT_FLAG_KEY) != 0);
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    if (clip->frames.empty()) {
        *error = QStringLiteral("the clip %1 has no frames").arg(path);
        return false;
    }
    return true;
}

// What one client's pipeline sends next.
struct FEED
{
    std::shared_ptr<const CLIP> clip;
    bool bStop = false;
    quint64 iFrame = 0;
};

void OnNeedData(GstElement *source, guint, gpointer data)
{
    auto *feed = static_cast<FEED *>(data);
    const CLIP &clip = *feed->clip;
    const GstClockTime pts = feed->iFrame * clip.frameDuration;
    if (feed->bStop && pts >= kStopAfter) {
        gst_app_src_end_of_stream(GST_APP_SRC(source));
        return;
    }
    const size_t index = size_t(feed->iFrame % clip.frames.size());
    GstBuffer *buffer = gst_buffer_new_wrapped_bytes(clip.frames[index]);
    GST_BUFFER_PTS(buffer) = pts;
    GST_BUFFER_DTS(buffer) = pts;
    GST_BUFFER_DURATION(buffer) = clip.frameDuration;
    if (!clip.keyFrames[index])
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
    ++feed->iFrame;
    gst_app_src_push_buffer(GST_APP_SRC(source), buffer);
}

struct MOUNT
{
    std::shared_ptr<const CLIP> clip;
    bool bStop = false;
};

void OnMediaConfigure(GstRTSPMediaFactory *, GstRTSPMedia *media, gpointer data)
{
    const auto *mount = static_cast<const MOUNT *>(data);
    GstElement *bin = gst_rtsp_media_get_element(media);
    GstElement *source = gst_bin_get_by_name_recurse_up(GST_BIN(bin), "src");
    if (source) {
        GstCaps *caps = gst_caps_new_simple(mount->clip->bH265 ? "video/x-h265" : "video/x-h264", "stream-format",
                                            G_TYPE_STRING, "byte-stream", "alignment", G_TYPE_STRING, "au", nullptr);
        g_object_set(source, "caps", caps, "format", GST_FORMAT_TIME, nullptr);
        gst_caps_unref(caps);
        auto *feed = new FEED{mount->clip, mount->bStop, 0};
        g_object_set_data_full(G_OBJECT(media), "norda-feed", feed, [](gpointer p) { delete static_cast<FEED *>(p); });
        g_signal_connect(source, "need-data", G_CALLBACK(OnNeedData), feed);
        gst_object_unref(source);
    }
    gst_object_unref(bin);
}

GstRTSPFilterResult RemoveClient(GstRTSPServer *, GstRTSPClient *, gpointer)
{
    return GST_RTSP_FILTER_REMOVE;
}
} // namespace

struct CFakeRtspServer::PRIVATE
{
    GMainContext *pContext = nullptr;
    GMainLoop *pLoop = nullptr;
    std::thread loopThread;
    struct SERVED
    {
        GstRTSPServer *pServer = nullptr;
        GSource *pSource = nullptr;
    };
    // Added on the caller's thread, read in the loop's: the hand-over is this lock, which the
    // thread sanitizer sees, rather than GLib's.
    std::mutex serversMutex;
    std::vector<SERVED> servers;
    std::vector<int> muteSockets;
    std::vector<std::unique_ptr<MOUNT>> mounts;
    QMap<QString, std::shared_ptr<const CLIP>> clips;

    std::shared_ptr<const CLIP> Clip(const QString &path, QString *error)
    {
        auto found = clips.constFind(path);
        if (found != clips.constEnd())
            return found.value();
        auto clip = std::make_shared<CLIP>();
        if (!ReadClip(path, clip.get(), error))
            return nullptr;
        clips.insert(path, clip);
        return clip;
    }

    void StartLoop()
    {
        if (pLoop)
            return;
        static std::once_flag once;
        std::call_once(once, [] { gst_init(nullptr, nullptr); });
        pContext = g_main_context_new();
        pLoop = g_main_loop_new(pContext, FALSE);
        loopThread = std::thread([this] {
            g_main_context_push_thread_default(pContext);
            g_main_loop_run(pLoop);
            g_main_context_pop_thread_default(pContext);
        });
    }
};

CFakeRtspServer::CFakeRtspServer() : d(new PRIVATE)
{
}

CFakeRtspServer::~CFakeRtspServer()
{
    Stop();
}

QString CFakeRtspServer::DefaultClip(const QString &encoding)
{
    const bool h265 = encoding == QLatin1String("H265");
    return QStringLiteral(NORDA_CLIP_DIR)
        + (h265 ? QStringLiteral("/clip-h265.h265") : QStringLiteral("/clip-h264.h264"));
}

bool CFakeRtspServer::Add(FAKE_ONVIF_DEVICE *device, QString *error)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(device->iRtspPort);
    inet_pton(AF_INET, device->strAddress.toLatin1().constData(), &address.sin_addr);
    if (device->streamFault == FakeStreamFault::Mute) {
        // Connections complete in the listen queue and are never accepted: nothing ever answers.
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        socklen_t length = sizeof address;
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(fd, 64) != 0
            || getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
            *error = QStringLiteral("RTSP %1:%2 cannot be opened").arg(device->strAddress).arg(device->iRtspPort);
            if (fd >= 0)
                close(fd);
            return false;
        }
        d->muteSockets.push_back(fd);
        device->iRtspPort = ntohs(address.sin_port);
        return true;
    }

    d->StartLoop();
    GstRTSPServer *server = gst_rtsp_server_new();
    gst_rtsp_server_set_address(server, device->strAddress.toLatin1().constData());
    gst_rtsp_server_set_service(server, QByteArray::number(device->iRtspPort).constData());

    const QByteArray user = device->strUser.toUtf8();
    const QByteArray password =
        (device->strStreamPassword.isEmpty() ? device->strPassword : device->strStreamPassword).toUtf8();
    GstRTSPAuth *auth = gst_rtsp_auth_new();
    GstRTSPToken *token =
        gst_rtsp_token_new(GST_RTSP_TOKEN_MEDIA_FACTORY_ROLE, G_TYPE_STRING, user.constData(), nullptr);
    gchar *basic = gst_rtsp_auth_make_basic(user.constData(), password.constData());
    gst_rtsp_auth_add_basic(auth, basic, token);
    g_free(basic);
    gst_rtsp_auth_add_digest(auth, user.constData(), password.constData(), token);
    gst_rtsp_token_unref(token);
    gst_rtsp_auth_set_supported_methods(auth, GstRTSPAuthMethod(GST_RTSP_AUTH_BASIC | GST_RTSP_AUTH_DIGEST));
    gst_rtsp_server_set_auth(server, auth);
    g_object_unref(auth);

    GstRTSPMountPoints *mounts = gst_rtsp_server_get_mount_points(server);
    bool ok = true;
    for (int c = 0; c < device->iChannels && ok; ++c) {
        const QVector<FAKE_ONVIF_ENCODER> &streams = device->Streams(c);
        for (int s = 0; s < streams.size() && ok; ++s) {
            GstRTSPMediaFactory *factory = gst_rtsp_media_factory_new();
            gst_rtsp_media_factory_set_protocols(
                factory, GstRTSPLowerTrans(GST_RTSP_LOWER_TRANS_TCP | GST_RTSP_LOWER_TRANS_UDP));
            if (device->streamFault == FakeStreamFault::NoVideo) {
                gst_rtsp_media_factory_set_launch(factory,
                                                  "( audiotestsrc is-live=true ! audioconvert ! audioresample "
                                                  "! audio/x-raw,rate=8000,channels=1 ! mulawenc "
                                                  "! rtppcmupay name=pay0 pt=0 )");
            } else {
                const QString path =
                    streams[s].strClip.isEmpty() ? DefaultClip(streams[s].strEncoding) : streams[s].strClip;
                std::shared_ptr<const CLIP> clip = d->Clip(path, error);
                if (!clip) {
                    g_object_unref(factory);
                    ok = false;
                    break;
                }
                d->mounts.push_back(std::make_unique<MOUNT>(MOUNT{clip, device->streamFault == FakeStreamFault::Stop}));
                gst_rtsp_media_factory_set_launch(factory,
                                                  clip->bH265 ? "( appsrc name=src ! h265parse "
                                                                "! rtph265pay name=pay0 pt=96 config-interval=-1 )"
                                                              : "( appsrc name=src ! h264parse "
                                                                "! rtph264pay name=pay0 pt=96 config-interval=-1 )");
                g_signal_connect(factory, "media-configure", G_CALLBACK(OnMediaConfigure), d->mounts.back().get());
            }
            gst_rtsp_media_factory_add_role(factory, user.constData(), GST_RTSP_PERM_MEDIA_FACTORY_ACCESS,
                                            G_TYPE_BOOLEAN, TRUE, GST_RTSP_PERM_MEDIA_FACTORY_CONSTRUCT, G_TYPE_BOOLEAN,
                                            TRUE, nullptr);
            const QByteArray mountPath = QStringLiteral("/ch%1/s%2").arg(c + 1).arg(s + 1).toLatin1();
            gst_rtsp_mount_points_add_factory(mounts, mountPath.constData(), factory);
        }
    }
    g_object_unref(mounts);
    GError *gerror = nullptr;
    GSource *source = ok ? gst_rtsp_server_create_source(server, nullptr, &gerror) : nullptr;
    if (!source) {
        if (ok)
            *error = QStringLiteral("RTSP %1:%2 cannot be opened: %3")
                         .arg(device->strAddress)
                         .arg(device->iRtspPort)
                         .arg(QString::fromUtf8(gerror ? gerror->message : ""));
        g_clear_error(&gerror);
        g_object_unref(server);
        return false;
    }
    device->iRtspPort = quint16(gst_rtsp_server_get_bound_port(server));
    g_source_attach(source, d->pContext);
    {
        std::lock_guard<std::mutex> lock(d->serversMutex);
        d->servers.push_back({server, source});
    }
    return true;
}

void CFakeRtspServer::Stop()
{
    for (int fd : d->muteSockets)
        close(fd);
    d->muteSockets.clear();
    if (!d->pLoop)
        return;
    // Clients are closed in the loop's thread, where their connections live; then the loop ends.
    g_main_context_invoke(
        d->pContext,
        [](gpointer data) -> gboolean {
            auto *p = static_cast<PRIVATE *>(data);
            std::lock_guard<std::mutex> lock(p->serversMutex);
            for (const PRIVATE::SERVED &served : p->servers) {
                g_source_destroy(served.pSource);
                gst_rtsp_server_client_filter(served.pServer, RemoveClient, nullptr);
            }
            g_main_loop_quit(p->pLoop);
            return G_SOURCE_REMOVE;
        },
        d.get());
    d->loopThread.join();
    std::lock_guard<std::mutex> lock(d->serversMutex);
    for (const PRIVATE::SERVED &served : d->servers) {
        g_source_unref(served.pSource);
        g_object_unref(served.pServer);
    }
    d->servers.clear();
    g_main_loop_unref(d->pLoop);
    g_main_context_unref(d->pContext);
    d->pLoop = nullptr;
    d->pContext = nullptr;
}
