// A small read-only element tree over QXmlStreamReader for devices' SOAP answers. Elements are
// found by namespace URI and local name, never by prefix, and an answer is refused whole when it
// is not well-formed or exceeds the depth and size limits, before any of it is used.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

namespace OnvifUri {
constexpr char kSoap[] = "http://www.w3.org/2003/05/soap-envelope";
constexpr char kDevice[] = "http://www.onvif.org/ver10/device/wsdl";
constexpr char kMedia[] = "http://www.onvif.org/ver10/media/wsdl";
constexpr char kMedia2[] = "http://www.onvif.org/ver20/media/wsdl";
constexpr char kRecording[] = "http://www.onvif.org/ver10/recording/wsdl";
constexpr char kSchema[] = "http://www.onvif.org/ver10/schema";
constexpr char kError[] = "http://www.onvif.org/ver10/error";
constexpr char kWsse[] = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd";
constexpr char kWsu[] = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd";
} // namespace OnvifUri

class COnvifDocument;

// One element of a parsed document, or a null element. Cheap to copy; valid while its document lives.
class COnvifElement
{
public:
    COnvifElement() = default;

    bool IsNull() const { return m_pDocument == nullptr; }
    QString NamespaceUri() const;
    QString LocalName() const;
    bool Is(const char *ns, const char *name) const;
    // The element's own text, trimmed.
    QString Text() const;
    // Attribute by local name (attributes of ONVIF types are unqualified).
    QString Attribute(const char *name) const;

    // First child element with that namespace and local name, or a null element.
    COnvifElement Child(const char *ns, const char *name) const;
    std::vector<COnvifElement> Children(const char *ns, const char *name) const;
    COnvifElement FirstChild() const;
    // First element of that name below this one, at any depth, in document order.
    COnvifElement Find(const char *ns, const char *name) const;

    // Text of a chain of children in one namespace ("Resolution", "Width"); empty when a link is missing.
    QString TextAt(const char *ns, std::initializer_list<const char *> path) const;
    // A number of that chain: false when missing, not a number, or not finite.
    bool NumberAt(const char *ns, std::initializer_list<const char *> path, double *value) const;

    // The namespace URI a prefix is bound to here (for QName texts such as fault codes).
    QString ResolvePrefix(const QString &prefix) const;

private:
    friend class COnvifDocument;
    COnvifElement(const COnvifDocument *document, int index) : m_pDocument(document), m_iIndex(index) {}
    const COnvifDocument *m_pDocument = nullptr;
    int m_iIndex = -1;
};

class COnvifDocument
{
public:
    static constexpr int kMaxDepth = 48;
    static constexpr int kMaxElements = 100000;

    // False (and an empty document) for anything that is not one well-formed XML element tree
    // within the limits above and those of XmlGuard; a document type declaration is refused, and
    // so is a document not parsed before the deadline.
    bool Parse(const QByteArray &xml, QString *error = nullptr,
               const QDeadlineTimer &deadline = QDeadlineTimer(QDeadlineTimer::Forever));
    // The last Parse failed because its deadline passed.
    bool TimedOut() const { return m_bTimedOut; }
    COnvifElement Root() const;

private:
    friend class COnvifElement;
    struct NODE
    {
        QString strNamespace;
        QString strName;
        QString strText;
        std::vector<std::pair<QString, QString>> attributes;   // local name, value
        std::vector<std::pair<QString, QString>> declarations; // prefix, namespace URI
        int iParent = -1;
        std::vector<int> children;
    };
    std::vector<NODE> m_nodes;
    bool m_bTimedOut = false;
};

// A number in an element text: QString's parser, and only finite values.
bool OnvifNumber(const QString &text, double *value);
// Text made safe inside an XML element or attribute.
QByteArray OnvifEscape(const QString &text);
