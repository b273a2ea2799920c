// A SOAP request as the fake device reads it: the envelope version, the operation (the body's
// first element, by namespace URI and local name), its direct arguments and the WS-Security
// UsernameToken of the header.
#pragma once

#include "tools/fakedevice/onvifauth.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace OnvifNs {
inline const QString kSoap12 = QStringLiteral("http://www.w3.org/2003/05/soap-envelope");
inline const QString kSoap11 = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
inline const QString kWsse =
    QStringLiteral("http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd");
inline const QString kWsu =
    QStringLiteral("http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd");
inline const QString kDevice = QStringLiteral("http://www.onvif.org/ver10/device/wsdl");
inline const QString kMedia = QStringLiteral("http://www.onvif.org/ver10/media/wsdl");
inline const QString kMedia2 = QStringLiteral("http://www.onvif.org/ver20/media/wsdl");
inline const QString kRecording = QStringLiteral("http://www.onvif.org/ver10/recording/wsdl");
inline const QString kSchema = QStringLiteral("http://www.onvif.org/ver10/schema");
inline const QString kError = QStringLiteral("http://www.onvif.org/ver10/error");
inline const QString kNetwork = QStringLiteral("http://www.onvif.org/ver10/network/wsdl");
} // namespace OnvifNs

struct SOAP_REQUEST
{
    bool bWellFormed = false;
    QString strEnvelopeNs;
    QString strServiceNs;
    QString strOperation;
    QList<QPair<QString, QString>> arguments; // local name, text (nested text run together)
    OnvifAuth::USERNAME_TOKEN token;

    QString Argument(const QString &name) const;
    QStringList Arguments(const QString &name) const;
    bool HasArgument(const QString &name) const { return Arguments(name).size() > 0; }
};

SOAP_REQUEST ParseSoapRequest(const QByteArray &body);
