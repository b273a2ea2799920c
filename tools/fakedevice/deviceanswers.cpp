// Device management: clock, identity, scopes, services and capabilities.
#include "tools/fakedevice/onvifanswers.h"

#include <QUrl>

namespace {
const QString &tt = OnvifNs::kSchema;
const QString &tds = OnvifNs::kDevice;

QString Bool(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

void WriteDateTime(QXmlStreamWriter &xml, const QString &name, const QDateTime &when)
{
    xml.writeStartElement(tt, name);
    xml.writeStartElement(tt, QStringLiteral("Time"));
    xml.writeTextElement(tt, QStringLiteral("Hour"), QString::number(when.time().hour()));
    xml.writeTextElement(tt, QStringLiteral("Minute"), QString::number(when.time().minute()));
    xml.writeTextElement(tt, QStringLiteral("Second"), QString::number(when.time().second()));
    xml.writeEndElement();
    xml.writeStartElement(tt, QStringLiteral("Date"));
    xml.writeTextElement(tt, QStringLiteral("Year"), QString::number(when.date().year()));
    xml.writeTextElement(tt, QStringLiteral("Month"), QString::number(when.date().month()));
    xml.writeTextElement(tt, QStringLiteral("Day"), QString::number(when.date().day()));
    xml.writeEndElement();
    xml.writeEndElement();
}

void WriteVersion(QXmlStreamWriter &xml, const QString &ns, const QString &name, int major, int minor)
{
    xml.writeStartElement(ns, name);
    xml.writeTextElement(tt, QStringLiteral("Major"), QString::number(major));
    xml.writeTextElement(tt, QStringLiteral("Minor"), QString::number(minor));
    xml.writeEndElement();
}

struct SERVICE
{
    QString strNamespace;
    QString strPath;
    void (*writeCapabilities)(QXmlStreamWriter &, const FAKE_ONVIF_DEVICE &);
};

QVector<SERVICE> Services(const FAKE_ONVIF_DEVICE &device)
{
    QVector<SERVICE> services{{OnvifNs::kDevice, "/onvif/device_service", WriteDeviceServiceCapabilities},
                              {OnvifNs::kMedia, "/onvif/media_service", WriteMediaServiceCapabilities}};
    if (device.bMedia2)
        services.append({OnvifNs::kMedia2, "/onvif/media2_service", WriteMedia2ServiceCapabilities});
    if (device.bRecorder)
        services.append({OnvifNs::kRecording, "/onvif/recording_service", WriteRecordingServiceCapabilities});
    return services;
}

QString Encoded(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "/"));
}

void WriteCapabilities(QXmlStreamWriter &xml, const QStringList &categories, const ANSWER_CONTEXT &context)
{
    const FAKE_ONVIF_DEVICE &device = *context.pDevice;
    auto wanted = [&](const char *category) {
        return categories.isEmpty() || categories.contains(QLatin1String("All"))
            || categories.contains(QLatin1String(category));
    };
    xml.writeStartElement(tds, QStringLiteral("Capabilities"));
    if (wanted("Device")) {
        xml.writeStartElement(tt, QStringLiteral("Device"));
        xml.writeTextElement(tt, QStringLiteral("XAddr"), context.strBaseUrl + "/onvif/device_service");
        xml.writeStartElement(tt, QStringLiteral("Network"));
        for (const char *name : {"IPFilter", "ZeroConfiguration", "IPVersion6", "DynDNS"})
            xml.writeTextElement(tt, QLatin1String(name), Bool(false));
        xml.writeEndElement();
        xml.writeStartElement(tt, QStringLiteral("System"));
        xml.writeTextElement(tt, QStringLiteral("DiscoveryResolve"), Bool(false));
        xml.writeTextElement(tt, QStringLiteral("DiscoveryBye"), Bool(true));
        for (const char *name : {"RemoteDiscovery", "SystemBackup", "SystemLogging", "FirmwareUpgrade"})
            xml.writeTextElement(tt, QLatin1String(name), Bool(false));
        WriteVersion(xml, tt, QStringLiteral("SupportedVersions"), 2, 60);
        xml.writeEndElement();
        xml.writeStartElement(tt, QStringLiteral("Security"));
        for (const char *name : {"TLS1.1", "TLS1.2", "OnboardKeyGeneration", "AccessPolicyConfig", "X.509Token",
                                 "SAMLToken", "KerberosToken", "RELToken"})
            xml.writeTextElement(tt, QLatin1String(name), Bool(false));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (wanted("Media")) {
        xml.writeStartElement(tt, QStringLiteral("Media"));
        xml.writeTextElement(tt, QStringLiteral("XAddr"), context.strBaseUrl + "/onvif/media_service");
        xml.writeStartElement(tt, QStringLiteral("StreamingCapabilities"));
        xml.writeTextElement(tt, QStringLiteral("RTPMulticast"), Bool(false));
        xml.writeTextElement(tt, QStringLiteral("RTP_TCP"), Bool(true));
        xml.writeTextElement(tt, QStringLiteral("RTP_RTSP_TCP"), Bool(true));
        xml.writeEndElement();
        xml.writeStartElement(tt, QStringLiteral("Extension"));
        xml.writeStartElement(tt, QStringLiteral("ProfileCapabilities"));
        int profiles = 0;
        for (int c = 0; c < device.iChannels; ++c)
            profiles += device.Streams(c).size();
        xml.writeTextElement(tt, QStringLiteral("MaximumNumberOfProfiles"), QString::number(profiles));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    }
    if (device.bRecorder && (categories.isEmpty() || categories.contains(QLatin1String("All")))) {
        xml.writeStartElement(tt, QStringLiteral("Extension"));
        xml.writeStartElement(tt, QStringLiteral("Recording"));
        xml.writeTextElement(tt, QStringLiteral("XAddr"), context.strBaseUrl + "/onvif/recording_service");
        xml.writeTextElement(tt, QStringLiteral("ReceiverSource"), Bool(false));
        xml.writeTextElement(tt, QStringLiteral("MediaProfileSource"), Bool(true));
        xml.writeTextElement(tt, QStringLiteral("DynamicRecordings"), Bool(false));
        xml.writeTextElement(tt, QStringLiteral("DynamicTracks"), Bool(false));
        xml.writeTextElement(tt, QStringLiteral("MaxStringLength"), QStringLiteral("64"));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}
} // namespace

void WriteDeviceServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device)
{
    xml.writeStartElement(tds, QStringLiteral("Capabilities"));
    xml.writeEmptyElement(tds, QStringLiteral("Network"));
    xml.writeAttribute(QStringLiteral("IPFilter"), Bool(false));
    xml.writeAttribute(QStringLiteral("ZeroConfiguration"), Bool(false));
    xml.writeAttribute(QStringLiteral("IPVersion6"), Bool(false));
    xml.writeAttribute(QStringLiteral("DynDNS"), Bool(false));
    xml.writeEmptyElement(tds, QStringLiteral("Security"));
    xml.writeAttribute(QStringLiteral("UsernameToken"), Bool(device.auth == FakeOnvifAuth::WsSecurity));
    xml.writeAttribute(QStringLiteral("HttpDigest"), Bool(device.auth == FakeOnvifAuth::HttpDigest));
    xml.writeEmptyElement(tds, QStringLiteral("System"));
    xml.writeAttribute(QStringLiteral("DiscoveryResolve"), Bool(false));
    xml.writeAttribute(QStringLiteral("DiscoveryBye"), Bool(true));
    xml.writeAttribute(QStringLiteral("RemoteDiscovery"), Bool(false));
    xml.writeAttribute(QStringLiteral("SystemBackup"), Bool(false));
    xml.writeAttribute(QStringLiteral("SystemLogging"), Bool(false));
    xml.writeEndElement();
}

bool AnswerDeviceService(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer)
{
    const FAKE_ONVIF_DEVICE &device = *context.pDevice;
    const QString &operation = request.strOperation;
    std::function<void(QXmlStreamWriter &)> body;
    if (operation == QLatin1String("GetSystemDateAndTime")) {
        body = [&](QXmlStreamWriter &xml) {
            xml.writeStartElement(tds, QStringLiteral("SystemDateAndTime"));
            xml.writeTextElement(tt, QStringLiteral("DateTimeType"), QStringLiteral("Manual"));
            xml.writeTextElement(tt, QStringLiteral("DaylightSavings"), Bool(false));
            xml.writeStartElement(tt, QStringLiteral("TimeZone"));
            xml.writeTextElement(tt, QStringLiteral("TZ"), QStringLiteral("UTC0"));
            xml.writeEndElement();
            WriteDateTime(xml, QStringLiteral("UTCDateTime"), context.now);
            WriteDateTime(xml, QStringLiteral("LocalDateTime"), context.now);
            xml.writeEndElement();
        };
    } else if (operation == QLatin1String("GetDeviceInformation")) {
        body = [&](QXmlStreamWriter &xml) {
            xml.writeTextElement(tds, QStringLiteral("Manufacturer"), device.strManufacturer);
            xml.writeTextElement(tds, QStringLiteral("Model"), device.Model());
            xml.writeTextElement(tds, QStringLiteral("FirmwareVersion"), device.strFirmware);
            xml.writeTextElement(tds, QStringLiteral("SerialNumber"), device.Serial());
            xml.writeTextElement(tds, QStringLiteral("HardwareId"), device.strHardwareId);
        };
    } else if (operation == QLatin1String("GetScopes")) {
        body = [&](QXmlStreamWriter &xml) {
            for (const QString &scope : FakeOnvifScopes(device)) {
                xml.writeStartElement(tds, QStringLiteral("Scopes"));
                xml.writeTextElement(tt, QStringLiteral("ScopeDef"), QStringLiteral("Fixed"));
                xml.writeTextElement(tt, QStringLiteral("ScopeItem"), scope);
                xml.writeEndElement();
            }
        };
    } else if (operation == QLatin1String("GetServices")) {
        const bool withCapabilities = request.Argument(QStringLiteral("IncludeCapability")) == QLatin1String("true");
        body = [&, withCapabilities](QXmlStreamWriter &xml) {
            for (const SERVICE &service : Services(device)) {
                xml.writeStartElement(tds, QStringLiteral("Service"));
                xml.writeTextElement(tds, QStringLiteral("Namespace"), service.strNamespace);
                xml.writeTextElement(tds, QStringLiteral("XAddr"), context.strBaseUrl + service.strPath);
                if (withCapabilities) {
                    xml.writeStartElement(tds, QStringLiteral("Capabilities"));
                    service.writeCapabilities(xml, device);
                    xml.writeEndElement();
                }
                WriteVersion(xml, tds, QStringLiteral("Version"), 2, 60);
                xml.writeEndElement();
            }
        };
    } else if (operation == QLatin1String("GetServiceCapabilities")) {
        body = [&](QXmlStreamWriter &xml) { WriteDeviceServiceCapabilities(xml, device); };
    } else if (operation == QLatin1String("GetCapabilities")) {
        const QStringList categories = request.Arguments(QStringLiteral("Category"));
        static const QStringList kServed{"All", "Device", "Media"};
        bool served = categories.isEmpty();
        for (const QString &category : categories)
            served = served || kServed.contains(category);
        if (!served) {
            *answer = SoapFault(request.strEnvelopeNs, false, {"ter:ActionNotSupported", "ter:NoSuchService"},
                                QStringLiteral("The requested category is not served"));
            return true;
        }
        body = [&, categories](QXmlStreamWriter &xml) { WriteCapabilities(xml, categories, context); };
    } else {
        return false;
    }
    *answer = SoapEnvelope(request.strEnvelopeNs, [&](QXmlStreamWriter &xml) {
        xml.writeStartElement(tds, operation + QStringLiteral("Response"));
        body(xml);
        xml.writeEndElement();
    });
    return true;
}

QStringList FakeOnvifScopes(const FAKE_ONVIF_DEVICE &device)
{
    const QString base = QStringLiteral("onvif://www.onvif.org/");
    QStringList scopes{base + "type/video_encoder", base + "type/NetworkVideoTransmitter", base + "Profile/Streaming"};
    if (device.bMedia2)
        scopes.append(base + "Profile/T");
    if (device.bRecorder)
        scopes << base + "type/NetworkVideoRecorder" << base + "Profile/G";
    scopes << base + "hardware/" + Encoded(device.Model()) << base + "name/" + Encoded(device.Name())
           << base + "location/country/nowhere";
    return scopes + device.extraScopes;
}
