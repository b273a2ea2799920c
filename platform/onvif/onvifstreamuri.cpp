// COnvifBackend::GetStreamUri: where a channel's live stream is, for measuring what it sends.
#include "platform/onvif/onvifbackend.h"

#include <QUrl>

using namespace OnvifUri;

namespace {
constexpr int kMaxUriLength = 2048;

// The device's answer as an RTSP address on the host the user logged in to: a device behind a
// port mapping tells its inner address, and streams go only where the user pointed NORDA.
QString StreamUriOf(const QString &text, const QString &loginHost)
{
    if (text.size() > kMaxUriLength)
        return {};
    QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().compare(QLatin1String("rtsp"), Qt::CaseInsensitive) != 0 || url.host().isEmpty())
        return {};
    url.setUserInfo(QString());
    url.setHost(loginHost);
    return url.toString(QUrl::FullyEncoded);
}
} // namespace

bool COnvifBackend::GetStreamUri(int userID, int channel, QString *uri, uint32_t *error)
{
    QString profileToken, host;
    ONVIF_SERVICES services;
    ONVIF_AUTH_STATE auth;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto session = m_sessions.constFind(userID);
        if (session == m_sessions.constEnd()) {
            *error = NET_DVR_BAD_USERID;
            return false;
        }
        const int index = channel - kFirstChannel;
        if (index < 0 || index >= session->channels.size()) {
            *error = NET_DVR_BAD_CHANNEL;
            return false;
        }
        profileToken = session->channels.at(index).strProfileToken;
        host = session->strHost;
        services = session->services;
        auth = session->auth;
    }

    const QByteArray profile = OnvifField("ProfileToken", profileToken);
    ONVIF_RESULT result;
    if (services.media2.IsValid()) {
        result = OnvifCall(services.media2, kMedia2, "GetStreamUri",
                           OnvifField("Protocol", QStringLiteral("RTSP")) + profile, &auth, m_limits);
        if (result.IsOk())
            *uri = StreamUriOf(result.response.Child(kMedia2, "Uri").Text(), host);
    }
    if ((!result.IsOk() || uri->isEmpty()) && services.media.IsValid()) {
        const QByteArray setup = "<m:StreamSetup><Stream xmlns=\"" + QByteArray(kSchema)
            + "\">RTP-Unicast</Stream><Transport xmlns=\"" + QByteArray(kSchema)
            + "\"><Protocol>RTSP</Protocol></Transport></m:StreamSetup>";
        result = OnvifCall(services.media, kMedia, "GetStreamUri", setup + profile, &auth, m_limits);
        if (result.IsOk())
            *uri = StreamUriOf(result.response.Child(kMedia, "MediaUri").Child(kSchema, "Uri").Text(), host);
    }
    if (result.IsOk() && !uri->isEmpty())
        return true;
    uri->clear();
    *error = result.IsTransportFailure()                ? NET_DVR_CONNECT_FAILED
        : result.eOutcome == ONVIF_RESULT::Unauthorized ? NET_DVR_BAD_CREDENTIALS
                                                        : NET_DVR_READ_FAILED;
    return false;
}
