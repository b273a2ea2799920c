#include "platform/onvif/onvifreplies.h"

#include <QSet>
#include <QUrl>

namespace OnvifReplies {

namespace {

using namespace OnvifUri;

QVector<ONVIF_CHANNEL> Group(const std::vector<std::pair<QString, ONVIF_CHANNEL>> &profiles)
{
    QVector<ONVIF_CHANNEL> channels;
    QSet<QString> sources;
    for (const auto &profile : profiles) {
        if (profile.second.encoder.bValid && !sources.contains(profile.first)) {
            sources.insert(profile.first);
            channels << profile.second;
        }
    }
    return channels;
}

// A profile without a video source configuration is its own source.
QString SourceKey(const COnvifElement &sourceConfiguration, const QString &profileToken)
{
    const QString source = sourceConfiguration.TextAt(kSchema, {"SourceToken"});
    if (!source.isEmpty())
        return QStringLiteral("s:") + source;
    const QString configuration = sourceConfiguration.Attribute("token");
    return configuration.isEmpty() ? QStringLiteral("p:") + profileToken : QStringLiteral("c:") + configuration;
}

} // namespace

ONVIF_ENDPOINT EndpointOf(const QString &xaddr, const QString &loginHost, quint16 loginPort)
{
    ONVIF_ENDPOINT endpoint;
    // A device may list several addresses separated by blanks; the first will do.
    const QUrl url(xaddr.trimmed().section(QLatin1Char(' '), 0, 0), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return endpoint;
    endpoint.strHost = loginHost;
    endpoint.uPort = loginPort;
    // An address on another host keeps the login's port, and with it what the login learnt of TLS there.
    const bool https = url.scheme() == QLatin1String("https");
    if ((https || url.scheme() == QLatin1String("http")) && url.host() == loginHost) {
        endpoint.uPort = static_cast<quint16>(url.port(https ? 443 : 80));
        endpoint.bTls = https;
    }
    endpoint.strPath = url.path(QUrl::FullyEncoded).toLatin1();
    if (endpoint.strPath.isEmpty())
        endpoint.strPath = "/";
    if (url.hasQuery())
        endpoint.strPath += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    return endpoint;
}

ONVIF_SERVICES Services(const COnvifElement &response, const QString &loginHost, quint16 loginPort)
{
    ONVIF_SERVICES services;
    for (const COnvifElement &service : response.Children(kDevice, "Service")) {
        const QString ns = service.TextAt(kDevice, {"Namespace"});
        const ONVIF_ENDPOINT endpoint = EndpointOf(service.TextAt(kDevice, {"XAddr"}), loginHost, loginPort);
        if (ns == QLatin1String(kDevice))
            services.device = endpoint;
        else if (ns == QLatin1String(kMedia))
            services.media = endpoint;
        else if (ns == QLatin1String(kMedia2))
            services.media2 = endpoint;
        else if (ns == QLatin1String(kRecording))
            services.bRecording = true;
    }
    return services;
}

ONVIF_SERVICES Capabilities(const COnvifElement &response, const QString &loginHost, quint16 loginPort)
{
    ONVIF_SERVICES services;
    const COnvifElement capabilities = response.Child(kDevice, "Capabilities");
    services.device = EndpointOf(capabilities.TextAt(kSchema, {"Device", "XAddr"}), loginHost, loginPort);
    services.media = EndpointOf(capabilities.TextAt(kSchema, {"Media", "XAddr"}), loginHost, loginPort);
    services.bRecording = !capabilities.TextAt(kSchema, {"Extension", "Recording", "XAddr"}).isEmpty();
    return services;
}

QDateTime DeviceUtc(const COnvifElement &response)
{
    const COnvifElement utc = response.Child(kDevice, "SystemDateAndTime").Child(kSchema, "UTCDateTime");
    double year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!utc.NumberAt(kSchema, {"Date", "Year"}, &year) || !utc.NumberAt(kSchema, {"Date", "Month"}, &month)
        || !utc.NumberAt(kSchema, {"Date", "Day"}, &day) || !utc.NumberAt(kSchema, {"Time", "Hour"}, &hour)
        || !utc.NumberAt(kSchema, {"Time", "Minute"}, &minute) || !utc.NumberAt(kSchema, {"Time", "Second"}, &second))
        return QDateTime();
    // Out-of-range numbers must not reach the int conversions.
    if (year < 1970 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23
        || minute < 0 || minute > 59 || second < 0 || second > 60)
        return QDateTime();
    const QDate date(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    const QTime time(static_cast<int>(hour), static_cast<int>(minute), std::min(59, static_cast<int>(second)));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

Role RoleOfScopes(const COnvifElement &response)
{
    Role role = RoleUnknown;
    for (const COnvifElement &scope : response.Children(kDevice, "Scopes")) {
        const QString item = scope.TextAt(kSchema, {"ScopeItem"}).toLower();
        const QString prefix = QStringLiteral("onvif://www.onvif.org/type/");
        if (!item.startsWith(prefix))
            continue;
        QString type = item.mid(prefix.size());
        type.remove(QLatin1Char('_'));
        if (type.contains(QLatin1String("recorder")) || type.contains(QLatin1String("storage"))
            || type == QLatin1String("nvr") || type == QLatin1String("dvr"))
            return RoleRecorder;
        if (type.contains(QLatin1String("transmitter")) || type.contains(QLatin1String("videoencoder"))
            || type == QLatin1String("nvt") || type == QLatin1String("ptz"))
            role = RoleCamera;
    }
    return role;
}

ONVIF_ENCODER Encoder(const COnvifElement &configuration)
{
    ONVIF_ENCODER encoder;
    if (configuration.IsNull())
        return encoder;
    encoder.bValid = true;
    encoder.strToken = configuration.Attribute("token");
    encoder.strEncoding = configuration.TextAt(kSchema, {"Encoding"});
    double value = 0;
    if (configuration.NumberAt(kSchema, {"Resolution", "Width"}, &value))
        encoder.dWidth = value;
    if (configuration.NumberAt(kSchema, {"Resolution", "Height"}, &value))
        encoder.dHeight = value;
    if (configuration.NumberAt(kSchema, {"RateControl", "FrameRateLimit"}, &value))
        encoder.dFrameRate = value;
    if (configuration.NumberAt(kSchema, {"RateControl", "BitrateLimit"}, &value))
        encoder.dBitrate = value;
    if (configuration.NumberAt(kSchema, {"Quality"}, &value))
        encoder.dQuality = value;
    return encoder;
}

QVector<ONVIF_CHANNEL> ChannelsOfMedia1(const COnvifElement &response)
{
    std::vector<std::pair<QString, ONVIF_CHANNEL>> profiles;
    for (const COnvifElement &profile : response.Children(kMedia, "Profiles")) {
        const COnvifElement source = profile.Child(kSchema, "VideoSourceConfiguration");
        ONVIF_CHANNEL channel;
        channel.strProfileToken = profile.Attribute("token");
        channel.strSourceToken = source.TextAt(kSchema, {"SourceToken"});
        channel.encoder = Encoder(profile.Child(kSchema, "VideoEncoderConfiguration"));
        profiles.emplace_back(SourceKey(source, channel.strProfileToken), channel);
    }
    return Group(profiles);
}

QVector<ONVIF_CHANNEL> ChannelsOfMedia2(const COnvifElement &response)
{
    std::vector<std::pair<QString, ONVIF_CHANNEL>> profiles;
    for (const COnvifElement &profile : response.Children(kMedia2, "Profiles")) {
        const COnvifElement configurations = profile.Child(kMedia2, "Configurations");
        const COnvifElement source = configurations.Child(kMedia2, "VideoSource");
        ONVIF_CHANNEL channel;
        channel.strProfileToken = profile.Attribute("token");
        channel.strSourceToken = source.TextAt(kSchema, {"SourceToken"});
        channel.encoder = Encoder(configurations.Child(kMedia2, "VideoEncoder"));
        profiles.emplace_back(SourceKey(source, channel.strProfileToken), channel);
    }
    return Group(profiles);
}

ONVIF_RANGE QualityRange(const COnvifElement &response, const char *ns, const QString &encoding, bool exact)
{
    const std::vector<COnvifElement> options = response.Children(ns, "Options");
    COnvifElement chosen = options.empty() ? COnvifElement() : options.front();
    bool named = false;
    bool found = false;
    for (const COnvifElement &option : options) {
        const QString name = option.TextAt(kSchema, {"Encoding"});
        named = named || !name.isEmpty();
        if (name.compare(encoding, Qt::CaseInsensitive) == 0) {
            chosen = option;
            found = true;
            break;
        }
    }
    if (exact && named && !found)
        return ONVIF_RANGE();
    ONVIF_RANGE range;
    range.bKnown = chosen.NumberAt(kSchema, {"QualityRange", "Min"}, &range.dMin)
        && chosen.NumberAt(kSchema, {"QualityRange", "Max"}, &range.dMax) && range.dMax >= range.dMin;
    return range;
}

} // namespace OnvifReplies
