#include "tools/fakedevice/onvifanswers.h"

SOAP_ANSWER SoapEnvelope(const QString &envelopeNs, const std::function<void(QXmlStreamWriter &)> &body, int httpStatus)
{
    SOAP_ANSWER answer;
    answer.iHttpStatus = httpStatus;
    QXmlStreamWriter xml(&answer.body);
    xml.writeStartDocument();
    xml.writeNamespace(envelopeNs, QStringLiteral("env"));
    xml.writeNamespace(OnvifNs::kSchema, QStringLiteral("tt"));
    xml.writeNamespace(OnvifNs::kDevice, QStringLiteral("tds"));
    xml.writeNamespace(OnvifNs::kMedia, QStringLiteral("trt"));
    xml.writeNamespace(OnvifNs::kMedia2, QStringLiteral("tr2"));
    xml.writeNamespace(OnvifNs::kRecording, QStringLiteral("trc"));
    xml.writeNamespace(OnvifNs::kError, QStringLiteral("ter"));
    xml.writeStartElement(envelopeNs, QStringLiteral("Envelope"));
    xml.writeEmptyElement(envelopeNs, QStringLiteral("Header"));
    xml.writeStartElement(envelopeNs, QStringLiteral("Body"));
    body(xml);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return answer;
}

SOAP_ANSWER SoapFault(const QString &envelopeNs, bool sender, const QStringList &subcodes, const QString &reason)
{
    const bool soap11 = envelopeNs == OnvifNs::kSoap11;
    return SoapEnvelope(
        envelopeNs,
        [&](QXmlStreamWriter &xml) {
            xml.writeStartElement(envelopeNs, QStringLiteral("Fault"));
            if (soap11) {
                // SOAP 1.1 has one fault code and no subcodes: the most specific one stands.
                xml.writeTextElement(QStringLiteral("faultcode"),
                                     subcodes.isEmpty() ? QStringLiteral("env:") + (sender ? "Client" : "Server")
                                                        : subcodes.last());
                xml.writeTextElement(QStringLiteral("faultstring"), reason);
            } else {
                xml.writeStartElement(envelopeNs, QStringLiteral("Code"));
                xml.writeTextElement(envelopeNs, QStringLiteral("Value"),
                                     sender ? QStringLiteral("env:Sender") : QStringLiteral("env:Receiver"));
                for (const QString &subcode : subcodes) {
                    xml.writeStartElement(envelopeNs, QStringLiteral("Subcode"));
                    xml.writeTextElement(envelopeNs, QStringLiteral("Value"), subcode);
                }
                for (int i = 0; i < subcodes.size(); ++i)
                    xml.writeEndElement();
                xml.writeEndElement();
                xml.writeStartElement(envelopeNs, QStringLiteral("Reason"));
                xml.writeStartElement(envelopeNs, QStringLiteral("Text"));
                xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("en"));
                xml.writeCharacters(reason);
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        },
        sender ? 400 : 500);
}

bool IsPreAuthOperation(const SOAP_REQUEST &request, bool strict)
{
    if (request.strServiceNs != OnvifNs::kDevice)
        return false;
    if (request.strOperation == QLatin1String("GetSystemDateAndTime"))
        return true;
    return !strict
        && (request.strOperation == QLatin1String("GetServices")
            || request.strOperation == QLatin1String("GetServiceCapabilities")
            || request.strOperation == QLatin1String("GetCapabilities"));
}

SOAP_ANSWER AnswerOnvif(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context)
{
    SOAP_ANSWER answer;
    const FAKE_ONVIF_DEVICE &device = *context.pDevice;
    bool known = false;
    if (request.strServiceNs == OnvifNs::kDevice)
        known = AnswerDeviceService(request, context, &answer);
    else if (request.strServiceNs == OnvifNs::kMedia)
        known = AnswerMediaService(request, context, &answer);
    else if (request.strServiceNs == OnvifNs::kMedia2 && device.bMedia2)
        known = AnswerMedia2Service(request, context, &answer);
    else if (request.strServiceNs == OnvifNs::kRecording && device.bRecorder)
        known = AnswerRecordingService(request, context, &answer);
    if (!known)
        return SoapFault(request.strEnvelopeNs, false, {"ter:ActionNotSupported"},
                         QStringLiteral("Optional Action Not Implemented"));
    return answer;
}

namespace FakeOnvifTokens {
QString Profile(int channel, int stream)
{
    return QStringLiteral("Profile_%1_%2").arg(channel + 1).arg(stream + 1);
}
QString VideoSource(int channel)
{
    return QStringLiteral("VideoSource_%1").arg(channel + 1);
}
QString VideoSourceConfiguration(int channel)
{
    return QStringLiteral("VideoSourceConfig_%1").arg(channel + 1);
}
QString VideoEncoder(int channel, int stream)
{
    return QStringLiteral("VideoEncoder_%1_%2").arg(channel + 1).arg(stream + 1);
}
bool Find(const FAKE_ONVIF_DEVICE &device, const QString &token, bool profile, int *channel, int *stream)
{
    for (int c = 0; c < device.iChannels; ++c)
        for (int s = 0; s < device.Streams(c).size(); ++s)
            if (token == (profile ? Profile(c, s) : VideoEncoder(c, s))) {
                *channel = c;
                *stream = s;
                return true;
            }
    return false;
}
} // namespace FakeOnvifTokens

void WriteRecordingServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device)
{
    xml.writeStartElement(OnvifNs::kRecording, QStringLiteral("Capabilities"));
    xml.writeAttribute(QStringLiteral("DynamicRecordings"), QStringLiteral("false"));
    xml.writeAttribute(QStringLiteral("DynamicTracks"), QStringLiteral("false"));
    xml.writeAttribute(QStringLiteral("Encoding"), QStringLiteral("H264 H265 JPEG"));
    xml.writeAttribute(QStringLiteral("MaxRecordings"), QString::number(device.iChannels));
    xml.writeAttribute(QStringLiteral("MaxRecordingJobs"), QString::number(device.iChannels));
    xml.writeEndElement();
}

bool AnswerRecordingService(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer)
{
    if (request.strOperation != QLatin1String("GetServiceCapabilities"))
        return false;
    *answer = SoapEnvelope(request.strEnvelopeNs, [&](QXmlStreamWriter &xml) {
        xml.writeStartElement(OnvifNs::kRecording, QStringLiteral("GetServiceCapabilitiesResponse"));
        WriteRecordingServiceCapabilities(xml, *context.pDevice);
        xml.writeEndElement();
    });
    return true;
}
