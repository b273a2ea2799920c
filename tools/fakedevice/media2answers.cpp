// Media2: profiles with their configurations by type, encoder configurations and options. The
// encodings carry media2's names (H264, H265, JPEG, MPV4-ES).
#include "tools/fakedevice/onvifanswers.h"

namespace {
const QString &tt = OnvifNs::kSchema;
const QString &tr2 = OnvifNs::kMedia2;

QString Media2Encoding(const QString &encoding)
{
    return encoding == QLatin1String("MPEG4") ? QStringLiteral("MPV4-ES") : encoding;
}

void WriteResolution(QXmlStreamWriter &xml, const QString &name, int width, int height)
{
    xml.writeStartElement(tt, name);
    xml.writeTextElement(tt, QStringLiteral("Width"), QString::number(width));
    xml.writeTextElement(tt, QStringLiteral("Height"), QString::number(height));
    xml.writeEndElement();
}

void WriteEncoder(QXmlStreamWriter &xml, const QString &ns, const QString &name, const FAKE_ONVIF_DEVICE &device,
                  int channel, int stream)
{
    const FAKE_ONVIF_ENCODER &encoder = device.Streams(channel)[stream];
    xml.writeStartElement(ns, name);
    xml.writeAttribute(QStringLiteral("token"), FakeOnvifTokens::VideoEncoder(channel, stream));
    if (encoder.strEncoding != QLatin1String("JPEG"))
        xml.writeAttribute(QStringLiteral("GovLength"), QString::number(encoder.iGovLength));
    if (encoder.strEncoding == QLatin1String("H264") || encoder.strEncoding == QLatin1String("H265"))
        xml.writeAttribute(QStringLiteral("Profile"), QStringLiteral("Main"));
    xml.writeTextElement(tt, QStringLiteral("Name"),
                         QStringLiteral("VideoEncoder %1-%2").arg(channel + 1).arg(stream + 1));
    xml.writeTextElement(tt, QStringLiteral("UseCount"), QStringLiteral("1"));
    xml.writeTextElement(tt, QStringLiteral("Encoding"), Media2Encoding(encoder.strEncoding));
    WriteResolution(xml, QStringLiteral("Resolution"), encoder.iWidth, encoder.iHeight);
    xml.writeStartElement(tt, QStringLiteral("RateControl"));
    xml.writeAttribute(QStringLiteral("ConstantBitRate"), QStringLiteral("false"));
    xml.writeTextElement(tt, QStringLiteral("FrameRateLimit"), QString::number(encoder.iFrameRateLimit));
    xml.writeTextElement(tt, QStringLiteral("BitrateLimit"), QString::number(encoder.iBitrateLimit));
    xml.writeEndElement();
    xml.writeTextElement(tt, QStringLiteral("Quality"), QString::number(encoder.dQuality));
    xml.writeEndElement();
}

// One Options element per encoding the device can produce, the given encoder's own first, all
// with that encoder's ranges.
void WriteOptions(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device, const FAKE_ONVIF_ENCODER &encoder)
{
    QStringList encodings{encoder.strEncoding};
    for (int c = 0; c < device.iChannels; ++c)
        for (const FAKE_ONVIF_ENCODER &other : device.Streams(c))
            if (!encodings.contains(other.strEncoding))
                encodings.append(other.strEncoding);
    QStringList frameRates;
    for (int rate : {60, 50, 30, 25, 20, 15, 12, 10, 8, 6, 5, 4, 2, 1})
        if (rate <= encoder.iFrameRateMax)
            frameRates.append(QString::number(rate));
    if (!frameRates.contains(QString::number(encoder.iFrameRateMax)))
        frameRates.prepend(QString::number(encoder.iFrameRateMax));
    for (const QString &encoding : encodings) {
        xml.writeStartElement(tr2, QStringLiteral("Options"));
        if (encoding != QLatin1String("JPEG"))
            xml.writeAttribute(QStringLiteral("GovLengthRange"),
                               QStringLiteral("1 %1").arg(qMax(encoder.iGovLength, 250)));
        xml.writeAttribute(QStringLiteral("FrameRatesSupported"), frameRates.join(' '));
        if (encoding == QLatin1String("H264"))
            xml.writeAttribute(QStringLiteral("ProfilesSupported"), QStringLiteral("Baseline Main High"));
        else if (encoding == QLatin1String("H265"))
            xml.writeAttribute(QStringLiteral("ProfilesSupported"), QStringLiteral("Main"));
        xml.writeAttribute(QStringLiteral("ConstantBitRateSupported"), QStringLiteral("true"));
        xml.writeTextElement(tt, QStringLiteral("Encoding"), Media2Encoding(encoding));
        xml.writeStartElement(tt, QStringLiteral("QualityRange"));
        xml.writeTextElement(tt, QStringLiteral("Min"), QString::number(encoder.dQualityMin));
        xml.writeTextElement(tt, QStringLiteral("Max"), QString::number(encoder.dQualityMax));
        xml.writeEndElement();
        for (const QSize &size : encoder.resolutions.isEmpty() ? QVector<QSize>{QSize(encoder.iWidth, encoder.iHeight)}
                                                               : encoder.resolutions)
            WriteResolution(xml, QStringLiteral("ResolutionsAvailable"), size.width(), size.height());
        xml.writeStartElement(tt, QStringLiteral("BitrateRange"));
        xml.writeTextElement(tt, QStringLiteral("Min"), QString::number(encoder.iBitrateMin));
        xml.writeTextElement(tt, QStringLiteral("Max"), QString::number(encoder.iBitrateMax));
        xml.writeEndElement();
        xml.writeEndElement();
    }
}

SOAP_ANSWER NoSuch(const SOAP_REQUEST &request, const char *subcode, const QString &token)
{
    return SoapFault(request.strEnvelopeNs, true, {"ter:InvalidArgVal", QLatin1String(subcode)},
                     QStringLiteral("No such token: %1").arg(token));
}
} // namespace

void WriteMedia2ServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device)
{
    int profiles = 0;
    for (int c = 0; c < device.iChannels; ++c)
        profiles += device.Streams(c).size();
    xml.writeStartElement(tr2, QStringLiteral("Capabilities"));
    xml.writeAttribute(QStringLiteral("SnapshotUri"), QStringLiteral("false"));
    xml.writeEmptyElement(tr2, QStringLiteral("ProfileCapabilities"));
    xml.writeAttribute(QStringLiteral("MaximumNumberOfProfiles"), QString::number(profiles));
    xml.writeAttribute(QStringLiteral("ConfigurationsSupported"), QStringLiteral("VideoSource VideoEncoder"));
    xml.writeEmptyElement(tr2, QStringLiteral("StreamingCapabilities"));
    xml.writeAttribute(QStringLiteral("RTSPStreaming"), QStringLiteral("true"));
    xml.writeAttribute(QStringLiteral("RTPMulticast"), QStringLiteral("false"));
    xml.writeAttribute(QStringLiteral("RTP_RTSP_TCP"), QStringLiteral("true"));
    xml.writeEndElement();
}

bool AnswerMedia2Service(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer)
{
    const FAKE_ONVIF_DEVICE &device = *context.pDevice;
    const QString &operation = request.strOperation;
    const QString configurationToken = request.Argument(QStringLiteral("ConfigurationToken"));
    const QString profileToken =
        request.Argument(request.strOperation == QLatin1String("GetProfiles") ? QStringLiteral("Token")
                                                                              : QStringLiteral("ProfileToken"));
    int channel = -1, stream = -1;
    if (!profileToken.isEmpty() && !FakeOnvifTokens::Find(device, profileToken, true, &channel, &stream)) {
        *answer = NoSuch(request, "ter:NoProfile", profileToken);
        return true;
    }
    int configurationChannel = -1, configurationStream = -1;
    if (!configurationToken.isEmpty()
        && (!FakeOnvifTokens::Find(device, configurationToken, false, &configurationChannel, &configurationStream)
            || (channel >= 0 && (channel != configurationChannel || stream != configurationStream)))) {
        *answer = NoSuch(request, "ter:NoConfig", configurationToken);
        return true;
    }
    if (configurationChannel >= 0) {
        channel = configurationChannel;
        stream = configurationStream;
    }
    // The profiles or encoders the request selects: one by token, or all.
    auto forEachSelected = [&](const std::function<void(int, int)> &write) {
        for (int c = 0; c < device.iChannels; ++c)
            for (int s = 0; s < device.Streams(c).size(); ++s)
                if (channel < 0 || (c == channel && s == stream))
                    write(c, s);
    };
    std::function<void(QXmlStreamWriter &)> body;
    if (operation == QLatin1String("GetProfiles")) {
        const QStringList types = request.Arguments(QStringLiteral("Type"));
        const bool all = types.contains(QLatin1String("All"));
        const bool withSource = all || types.contains(QLatin1String("VideoSource"));
        const bool withEncoder = all || types.contains(QLatin1String("VideoEncoder"));
        body = [&, withSource, withEncoder](QXmlStreamWriter &xml) {
            forEachSelected([&](int c, int s) {
                xml.writeStartElement(tr2, QStringLiteral("Profiles"));
                xml.writeAttribute(QStringLiteral("token"), FakeOnvifTokens::Profile(c, s));
                xml.writeAttribute(QStringLiteral("fixed"), QStringLiteral("true"));
                xml.writeTextElement(tr2, QStringLiteral("Name"),
                                     QStringLiteral("Channel%1_Stream%2").arg(c + 1).arg(s + 1));
                if (withSource || withEncoder) {
                    xml.writeStartElement(tr2, QStringLiteral("Configurations"));
                    if (withSource)
                        WriteVideoSourceConfiguration(xml, tr2, QStringLiteral("VideoSource"), device, c);
                    if (withEncoder)
                        WriteEncoder(xml, tr2, QStringLiteral("VideoEncoder"), device, c, s);
                    xml.writeEndElement();
                }
                xml.writeEndElement();
            });
        };
    } else if (operation == QLatin1String("GetVideoEncoderConfigurations")) {
        body = [&](QXmlStreamWriter &xml) {
            forEachSelected(
                [&](int c, int s) { WriteEncoder(xml, tr2, QStringLiteral("Configurations"), device, c, s); });
        };
    } else if (operation == QLatin1String("GetVideoEncoderConfigurationOptions")) {
        body = [&](QXmlStreamWriter &xml) {
            WriteOptions(xml, device, device.Streams(qMax(channel, 0))[qMax(stream, 0)]);
        };
    } else if (operation == QLatin1String("GetStreamUri")) {
        if (channel < 0) {
            *answer = NoSuch(request, "ter:NoProfile", profileToken);
            return true;
        }
        body = [&](QXmlStreamWriter &xml) {
            xml.writeTextElement(tr2, QStringLiteral("Uri"), device.StreamUri(channel, stream));
        };
    } else if (operation == QLatin1String("GetServiceCapabilities")) {
        body = [&](QXmlStreamWriter &xml) { WriteMedia2ServiceCapabilities(xml, device); };
    } else {
        return false;
    }
    *answer = SoapEnvelope(request.strEnvelopeNs, [&](QXmlStreamWriter &xml) {
        xml.writeStartElement(tr2, operation + QStringLiteral("Response"));
        body(xml);
        xml.writeEndElement();
    });
    return true;
}
