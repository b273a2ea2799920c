// The SOAP answers of the fake device: device management, media, media2 and the recording
// service's capabilities. Each answer is built from the device's description and the request;
// the transport (HTTP, authentication, faults on purpose) is the server's business.
#pragma once

#include "tools/fakedevice/fakeonvifdevice.h"
#include "tools/fakedevice/soaprequest.h"

#include <QByteArray>
#include <QDateTime>
#include <QXmlStreamWriter>

#include <functional>

struct ANSWER_CONTEXT
{
    const FAKE_ONVIF_DEVICE *pDevice = nullptr;
    QString strBaseUrl; // "http://host:port" as the request addressed the device
    QDateTime now;      // the device's clock, UTC
};

struct SOAP_ANSWER
{
    int iHttpStatus = 200;
    QByteArray body;
};

// Writes one SOAP envelope; the body's content comes from the callback. Every prefix the answers
// use is declared on the envelope.
SOAP_ANSWER SoapEnvelope(const QString &envelopeNs, const std::function<void(QXmlStreamWriter &)> &body,
                         int httpStatus = 200);
// env:Sender (HTTP 400) or env:Receiver (HTTP 500) with nested ter: subcodes.
SOAP_ANSWER SoapFault(const QString &envelopeNs, bool sender, const QStringList &subcodes, const QString &reason);

// The access class of an operation lets it through without credentials.
bool IsPreAuthOperation(const SOAP_REQUEST &request, bool strict);

// The answer to any request the device understands; a fault (ActionNotSupported) otherwise.
SOAP_ANSWER AnswerOnvif(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context);

// The tokens both media services use; channel and stream are 0-based.
namespace FakeOnvifTokens {
QString Profile(int channel, int stream);
QString VideoSource(int channel);
QString VideoSourceConfiguration(int channel);
QString VideoEncoder(int channel, int stream);
// Channel and stream of a profile or encoder token of this device; false if there is none.
bool Find(const FAKE_ONVIF_DEVICE &device, const QString &token, bool profile, int *channel, int *stream);
} // namespace FakeOnvifTokens

// Service answers, called by AnswerOnvif. Each returns false when it does not know the operation.
bool AnswerDeviceService(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer);
bool AnswerMediaService(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer);
bool AnswerMedia2Service(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer);
bool AnswerRecordingService(const SOAP_REQUEST &request, const ANSWER_CONTEXT &context, SOAP_ANSWER *answer);

// Service capability elements, shared by GetServiceCapabilities and GetServices.
void WriteDeviceServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device);
void WriteMediaServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device);
void WriteMedia2ServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device);
void WriteRecordingServiceCapabilities(QXmlStreamWriter &xml, const FAKE_ONVIF_DEVICE &device);

// The device's scopes, as GetScopes and discovery tell them.
QStringList FakeOnvifScopes(const FAKE_ONVIF_DEVICE &device);
// A channel's video source configuration, as element ns:name (media and media2 share it).
void WriteVideoSourceConfiguration(QXmlStreamWriter &xml, const QString &ns, const QString &name,
                                   const FAKE_ONVIF_DEVICE &device, int channel);
