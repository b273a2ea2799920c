#include "tools/fakedevice/soaprequest.h"

#include <QXmlStreamReader>

QString SOAP_REQUEST::Argument(const QString &name) const
{
    const QStringList values = Arguments(name);
    return values.isEmpty() ? QString() : values.first();
}

QStringList SOAP_REQUEST::Arguments(const QString &name) const
{
    QStringList values;
    for (const auto &argument : arguments)
        if (argument.first == name)
            values.append(argument.second);
    return values;
}

namespace {
void ReadUsernameToken(QXmlStreamReader &xml, OnvifAuth::USERNAME_TOKEN &token)
{
    token.bPresent = true;
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        const bool securityNs = xml.namespaceUri() == OnvifNs::kWsse || xml.namespaceUri() == OnvifNs::kWsu;
        if (!securityNs) {
            xml.skipCurrentElement();
        } else if (name == QLatin1String("Username")) {
            token.strUser = xml.readElementText().trimmed().toUtf8();
        } else if (name == QLatin1String("Password")) {
            token.bPasswordText =
                xml.attributes().value(QLatin1String("Type")).endsWith(QLatin1String("#PasswordText"));
            token.strPassword = xml.readElementText().trimmed().toUtf8();
        } else if (name == QLatin1String("Nonce")) {
            token.strNonce = xml.readElementText().trimmed().toLatin1();
        } else if (name == QLatin1String("Created")) {
            token.strCreated = xml.readElementText().trimmed().toLatin1();
        } else {
            xml.skipCurrentElement();
        }
    }
}

void ReadHeader(QXmlStreamReader &xml, SOAP_REQUEST &request)
{
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() == OnvifNs::kWsse && xml.name() == QLatin1String("Security")) {
            while (xml.readNextStartElement()) {
                if (xml.namespaceUri() == OnvifNs::kWsse && xml.name() == QLatin1String("UsernameToken"))
                    ReadUsernameToken(xml, request.token);
                else
                    xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
}

void ReadBody(QXmlStreamReader &xml, SOAP_REQUEST &request)
{
    if (!xml.readNextStartElement())
        return;
    request.strServiceNs = xml.namespaceUri().toString();
    request.strOperation = xml.name().toString();
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        request.arguments.append({name, xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()});
    }
    // At the operation's end now; anything after it in the body is not read.
    while (xml.readNextStartElement())
        xml.skipCurrentElement();
}
} // namespace

SOAP_REQUEST ParseSoapRequest(const QByteArray &body)
{
    SOAP_REQUEST request;
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Envelope")
        || (xml.namespaceUri() != OnvifNs::kSoap12 && xml.namespaceUri() != OnvifNs::kSoap11))
        return request;
    request.strEnvelopeNs = xml.namespaceUri().toString();
    bool bBodySeen = false;
    while (xml.readNextStartElement()) {
        if (xml.namespaceUri() != request.strEnvelopeNs) {
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("Header")) {
            ReadHeader(xml, request);
        } else if (xml.name() == QLatin1String("Body")) {
            ReadBody(xml, request);
            bBodySeen = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    while (!xml.atEnd())
        xml.readNext();
    request.bWellFormed = bBodySeen && !xml.hasError() && !request.strOperation.isEmpty();
    return request;
}
