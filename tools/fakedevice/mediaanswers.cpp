// Media (version 1): video sources, profiles, encoder configurations and their options. Media 1
// knows no H.265: such an encoder is left out (its profile has no encoder) unless the device is
// told to name it anyway, as some devices do.
#include "tools/fakedevice/onvifanswers.h"

namespace {
const QString &tt = OnvifNs::kSchema;
const QString &trt = OnvifNs::kMedia;

bool Visible(const FAKE_ONVIF_DEVICE &device, const FAKE_ONVIF_ENCODER &encoder)
{
    return encoder.strEncoding != QLatin1String("H265") || device.bMedia1H265AsIs;
}

void WriteResolution(QXmlStreamWriter &xml, const QString &name, int width, int height)
{
    xml.writeStartElement(tt, name);
    xml.writeTextElement(tt, QStringLiteral("Width"), QString::number(width));
    xml.writeTextElement(tt, QStringLiteral("Height"), QString::number(height));
    xml.writeEndElement();
}

void WriteRange(QXmlStreamWriter &xml, const QString &name, double min, double max)
{
    xml.writeStartElement(tt, name);
    xml.writeTextElement(tt, QStringLiteral("Min"), QString::number(min));
    xml.writeTextElement(tt, QStringLiteral("Max"), QString::number(max));
    xml.writeEndElement();
}

const FAKE_ONVIF_ENCODER &MainStream(const FAKE_ONVIF_DEVICE &device, int channel)
{
    return device.Streams(channel).first();
}

int MaxFrameRate(const FAKE_ONVIF_DEVICE &device, int channel)
{
    int rate = 0;
    for (const FAKE_ONVIF_ENCODER &encoder : device.Streams(channel))
        rate = qMax(rate, encoder.iFrameRateLimit);
    return rate;
}

void WriteEncoder(QXmlStreamWriter &xml, const QString &ns, const QString &name, const FAKE_ONVIF_DEVICE &device,
                  int channel, int stream)
{
    const FAKE_ONVIF_ENCODER &encoder = device.Streams(channel)[stream];
    xml.writeStartElement(ns, name);
    xml.writeAttribute(QStringLiteral("token"), FakeOnvifTokens::VideoEncoder(channel, stream));
    xml.writeTextElement(tt, QStringLiteral("Name"),
                         QStringLiteral("VideoEncoder %1-%2").arg(channel + 1).arg(stream + 1));
    xml.writeTextElement(tt, QStringLiteral("UseCount"), QStringLiteral("1"));
    xml.writeTextElement(tt, QStringLiteral("Encoding"), encoder.strEncoding);
    WriteResolution(xml, QStringLiteral("Resolution"), encoder.iWidth, encoder.iHeight);
    xml.writeTextElement(tt, QStringLiteral("Quality"), QString::number(encoder.dQuality));
    xml.writeStartElement(tt, QStringLiteral("RateControl"));
    xml.writeTextElement(tt, QStringLiteral("FrameRateLimit"), QString::number(encoder.iFrameRateLimit));
    xml.writeTextElement(tt, QStringLiteral("EncodingInterval"), QStringLiteral("1"));
    xml.writeTextElement(tt, QStringLiteral("BitrateLimit"), QString::number(encoder.iBitrateLimit));
    xml.writeEndElement();
    if (encoder.strEncoding == QLatin1String("H264") || encoder.strEncoding == QLatin1String("MPEG4")) {
        const bool h264 = encoder.strEncoding == QLatin1String("H264");
        xml.writeStartElement(tt, h264 ? QStringLiteral("H264") : QStringLiteral("MPEG4"));
        xml.writeTextElement(tt, QStringLiteral("GovLength"), QString::number(encoder.iGovLength));
        xml.writeTextElement(tt, h264 ? QStringLiteral("H264Profile") : QStringLiteral("Mpeg4Profile"),
                             h264 ? QStringLiteral("Main") : QStringLiteral("SP"));
        xml.writeEndElement();
    }
    xml.writeStartElement(tt, QStringLiteral("Multicast"));
    xml.writeStartElement(tt, QStringLiteral("Address"));
    xml.writeTextElement(tt, QStringLiteral("Type"), QStringLiteral("IPv4"));
    xml.writeTextElement(tt, QStringLiteral("IPv4Address"), QStringLiteral("0.0.0.0"));
    xml.writeEndElement();
    xml.writeTextElement(tt, QStringLiteral("Port"), QStringLiteral("0"));
    xml.writeTextElement(tt, QStringLiteral("TTL"), QStringLiteral("1"));
    xml.writeTextElement(tt, QStringLiteral("AutoStart"), QStringLiteral("false"));
    xml.writeEndElement();
    xml.writeTextElement(tt, QStringLiteral("SessionTimeout"), QStringLiteral("PT60S"));
    xml.writeEndElement();
}

void WriteProfile(QXmlStreamWriter &xml, const QString &name, const FAKE_ONVIF_DEVICE &device, int channel, int stream)
{
    xml.writeStartElement(trt, name);
    xml.writeAttribute(QStringLiteral("token"), FakeOnvifTokens::Profile(channel, stream));
    xml.writeAttribute(QStringLiteral("fixed"), QStringLiteral("true"));
    xml.writeTextElement(tt, QStringLiteral("Name"),
                         QStringLiteral("Channel%1_Stream%2").arg(channel + 1).arg(stream + 1));
    WriteVideoSourceConfiguration(xml, tt, QStringLiteral("VideoSourceConfiguration"), device, channel);
    if (Visible(device, device.Streams(channel)[stream]))
        WriteEncoder(xml, tt, QStringLiteral("VideoEncoderConfiguration"), device, channel, stream);
    xml.writeEndElement();
}

// Options of one encoder: its encoding's resolutions, frame rates, intervals, profiles and the
// bitrate range (which media 1 keeps in the extension).
void WriteOptions(QXmlStreamWriter &xml, const FAKE_ONVIF_ENCODER &encoder)
{
    xml.writeStartElement(trt, QStringLiteral("Options"));
    WriteRange(xml, QStringLiteral("QualityRange"), qRound(encoder.dQualityMin), qRound(encoder.dQualityMax));
    const QString &encoding = encoder.strEncoding;
    const QString element = encoding == QLatin1String("H264") ? QStringLiteral("H264")
        : encoding == QLatin1String("JPEG")                   ? QStringLiteral("JPEG")
        : encoding == QLatin1String("MPEG4")                  ? QStringLiteral("MPEG4")
                                                              : QString();
    auto writeBody = [&](bool withBitrate) {
        for (const QSize &size : encoder.resolutions.isEmpty() ? QVector<QSize>{QSize(encoder.iWidth, encoder.iHeight)}
                                                               : encoder.resolutions)
            WriteResolution(xml, QStringLiteral("ResolutionsAvailable"), size.width(), size.height());
        if (element != QLatin1String("JPEG"))
            WriteRange(xml, QStringLiteral("GovLengthRange"), 1, qMax(encoder.iGovLength, 250));
        WriteRange(xml, QStringLiteral("FrameRateRange"), 1, encoder.iFrameRateMax);
        WriteRange(xml, QStringLiteral("EncodingIntervalRange"), 1, 1);
        if (element == QLatin1String("H264"))
            for (const char *profile : {"Baseline", "Main", "High"})
                xml.writeTextElement(tt, QStringLiteral("H264ProfilesSupported"), QLatin1String(profile));
        if (element == QLatin1String("MPEG4"))
            xml.writeTextElement(tt, QStringLiteral("Mpeg4ProfilesSupported"), QStringLiteral("SP"));
        if (withBitrate)
            WriteRange(xml, QStringLiteral("BitrateRange"), encoder.iBitrateMin, encoder.iBitrateMax);
    };
    if (!element.isEmpty()) {
        xml.writeStartElement(tt, element);
        writeBody(false);
        xml.writeEndElement();
        xml.writeStartElement(tt, QStringLiteral("Extension"));
        xml.writeStartElement(tt, element);
        writeBody(true);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

SOAP_ANSWER NoSuch(const SOAP_REQUEST &request, const char *subcode, const QString &token)
{
    return SoapFault(request.strEnvelopeNs, true, {"ter:InvalidArgVal", QLatin1String(subcode)},
                     QStringLiteral("No such token: %1").arg(token));
}
} // namespace

void WriteVideoSourceConfiguration(QXmlStreamWriter &xml, const QString &ns, const QString &name,
                                   const FAKE_ONVIF_DEVICE &device, int channel)
{
    const FAKE_ONVIF_ENCODER &main = MainStream(device, channel);
    xml.writeStartElement(ns, name);
    xml.writeAttribute(QStringLiteral("token"), FakeOnvifTokens::VideoSourceConfiguration(channel));
    xml.writeTextElement(tt, QStringLiteral("Name"), QStringLiteral("VideoSource %1").arg(channel + 1));
    xml.writeTextElement(tt, QStringLiteral("UseCount"), QString::number(device.Streams(channel).size()));
    xml.writeTextElement(tt, QStringLiteral("SourceToken"), FakeOnvifTokens::VideoSource(channel));
    xml.writeEmptyElement(tt, QStringLiteral("Bounds"));
    xml.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("width"), QString::number(main.iWidth));
    xml.writeAttribute(QStringLiteral("height"), QString::number(main.iHeight));
    xml.writeEndElement();
}

void WriteMediaServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device)
{
    int profiles = 0;
    for (int c = 0; c < device.iChannels; ++c)
        profiles += device.Streams(c).size();
    xml.writeStartElement(trt, QStringLiteral("Capabilities"));
    xml.writeAttribute(QStringLiteral("SnapshotUri"), QStringLiteral("false"));
    xml.writeEmptyElement(trt, QStringLiteral("ProfileCapabilities"));
    xml.writeAttribute(QStringLiteral("MaximumNumberOfProfiles"), QString::number(profiles));
    xml.writeEmptyElement(trt, QStringLiteral("StreamingCapabilities"));
    xml.writeAttribute(QStringLiteral("RTPMulticast"), QStringLiteral("false"));
    xml.writeAttribute(QStringLiteral("RTP_TCP"), QStringLiteral("true"));
    xml.writeAttribute(QStringLiteral("RTP_RTSP_TCP"), QStringLiteral("true"));
    xml.writeEndElement();
}

bool AnswerMediaService(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer)
{
    const FAKE_ONVIF_DEVICE &device = *context.pDevice;
    const QString &operation = request.strOperation;
    int channel = 0, stream = 0;
    std::function<void(QXmlStreamWriter &)> body;
    if (operation == QLatin1String("GetProfiles")) {
        body = [&](QXmlStreamWriter &xml) {
            for (int c = 0; c < device.iChannels; ++c)
                for (int s = 0; s < device.Streams(c).size(); ++s)
                    WriteProfile(xml, QStringLiteral("Profiles"), device, c, s);
        };
    } else if (operation == QLatin1String("GetProfile")) {
        const QString token = request.Argument(QStringLiteral("ProfileToken"));
        if (!FakeOnvifTokens::Find(device, token, true, &channel, &stream)) {
            *answer = NoSuch(request, "ter:NoProfile", token);
            return true;
        }
        body = [&](QXmlStreamWriter &xml) { WriteProfile(xml, QStringLiteral("Profile"), device, channel, stream); };
    } else if (operation == QLatin1String("GetVideoSources")) {
        body = [&](QXmlStreamWriter &xml) {
            for (int c = 0; c < device.iChannels; ++c) {
                const FAKE_ONVIF_ENCODER &main = MainStream(device, c);
                xml.writeStartElement(trt, QStringLiteral("VideoSources"));
                xml.writeAttribute(QStringLiteral("token"), FakeOnvifTokens::VideoSource(c));
                xml.writeTextElement(tt, QStringLiteral("Framerate"), QString::number(MaxFrameRate(device, c)));
                WriteResolution(xml, QStringLiteral("Resolution"), main.iWidth, main.iHeight);
                xml.writeEndElement();
            }
        };
    } else if (operation == QLatin1String("GetVideoEncoderConfigurations")) {
        body = [&](QXmlStreamWriter &xml) {
            for (int c = 0; c < device.iChannels; ++c)
                for (int s = 0; s < device.Streams(c).size(); ++s)
                    if (Visible(device, device.Streams(c)[s]))
                        WriteEncoder(xml, trt, QStringLiteral("Configurations"), device, c, s);
        };
    } else if (operation == QLatin1String("GetVideoEncoderConfiguration")) {
        const QString token = request.Argument(QStringLiteral("ConfigurationToken"));
        if (!FakeOnvifTokens::Find(device, token, false, &channel, &stream)
            || !Visible(device, device.Streams(channel)[stream])) {
            *answer = NoSuch(request, "ter:NoConfig", token);
            return true;
        }
        body = [&](QXmlStreamWriter &xml) {
            WriteEncoder(xml, trt, QStringLiteral("Configuration"), device, channel, stream);
        };
    } else if (operation == QLatin1String("GetVideoEncoderConfigurationOptions")) {
        // The configuration token decides; else the profile's; else the device's first encoder.
        const QString configuration = request.Argument(QStringLiteral("ConfigurationToken"));
        const QString profile = request.Argument(QStringLiteral("ProfileToken"));
        if (!configuration.isEmpty() && !FakeOnvifTokens::Find(device, configuration, false, &channel, &stream)) {
            *answer = NoSuch(request, "ter:NoConfig", configuration);
            return true;
        }
        if (configuration.isEmpty() && !profile.isEmpty()
            && !FakeOnvifTokens::Find(device, profile, true, &channel, &stream)) {
            *answer = NoSuch(request, "ter:NoProfile", profile);
            return true;
        }
        body = [&](QXmlStreamWriter &xml) { WriteOptions(xml, device.Streams(channel)[stream]); };
    } else if (operation == QLatin1String("GetStreamUri")) {
        const QString token = request.Argument(QStringLiteral("ProfileToken"));
        if (!FakeOnvifTokens::Find(device, token, true, &channel, &stream)) {
            *answer = NoSuch(request, "ter:NoProfile", token);
            return true;
        }
        body = [&](QXmlStreamWriter &xml) {
            xml.writeStartElement(trt, QStringLiteral("MediaUri"));
            xml.writeTextElement(tt, QStringLiteral("Uri"), device.StreamUri(channel, stream));
            xml.writeTextElement(tt, QStringLiteral("InvalidAfterConnect"), QStringLiteral("false"));
            xml.writeTextElement(tt, QStringLiteral("InvalidAfterReboot"), QStringLiteral("false"));
            xml.writeTextElement(tt, QStringLiteral("Timeout"), QStringLiteral("PT0S"));
            xml.writeEndElement();
        };
    } else if (operation == QLatin1String("GetServiceCapabilities")) {
        body = [&](QXmlStreamWriter &xml) { WriteMediaServiceCapabilities(xml, device); };
    } else {
        return false;
    }
    *answer = SoapEnvelope(request.strEnvelopeNs, [&](QXmlStreamWriter &xml) {
        xml.writeStartElement(trt, operation + QStringLiteral("Response"));
        body(xml);
        xml.writeEndElement();
    });
    return true;
}
