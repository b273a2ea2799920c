#include "platform/onvif/onvifxml.h"

#include "platform/xmlguard.h"

#include <QXmlStreamReader>

#include <cmath>

namespace {

bool Same(const QString &text, const char *latin1)
{
    return text == QLatin1String(latin1);
}

} // namespace

bool COnvifDocument::Parse(const QByteArray &xml, QString *error, const QDeadlineTimer &deadline)
{
    m_nodes.clear();
    m_bTimedOut = false;
    QString failure;
    XmlGuard::Check(xml, &failure);
    QXmlStreamReader reader(failure.isEmpty() ? xml : QByteArray());
    std::vector<int> open; // indexes of the elements not yet closed
    for (int tokens = 0; failure.isEmpty() && !reader.atEnd(); ++tokens) {
        // The clock is read now and then: parsing is part of the request's time.
        if (tokens % 256 == 255 && deadline.hasExpired()) {
            m_bTimedOut = true;
            failure = QStringLiteral("deadline passed while parsing");
            break;
        }
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            failure = QStringLiteral("document type declaration");
            break;
        case QXmlStreamReader::StartElement: {
            if (open.empty() && !m_nodes.empty()) {
                failure = QStringLiteral("second root element");
                break;
            }
            if (static_cast<int>(open.size()) >= kMaxDepth || static_cast<int>(m_nodes.size()) >= kMaxElements) {
                failure = QStringLiteral("document too deep or too large");
                break;
            }
            NODE node;
            node.strNamespace = reader.namespaceUri().toString();
            node.strName = reader.name().toString();
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                node.attributes.emplace_back(attribute.name().toString(), attribute.value().toString());
            for (const QXmlStreamNamespaceDeclaration &declaration : reader.namespaceDeclarations())
                node.declarations.emplace_back(declaration.prefix().toString(), declaration.namespaceUri().toString());
            node.iParent = open.empty() ? -1 : open.back();
            const int index = static_cast<int>(m_nodes.size());
            if (node.iParent >= 0)
                m_nodes[static_cast<size_t>(node.iParent)].children.push_back(index);
            m_nodes.push_back(std::move(node));
            open.push_back(index);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty())
                m_nodes[static_cast<size_t>(open.back())].strText += reader.text();
            break;
        default:
            break;
        }
    }
    if (failure.isEmpty() && reader.hasError())
        failure = reader.errorString();
    if (failure.isEmpty() && m_nodes.empty())
        failure = QStringLiteral("no element");
    if (!failure.isEmpty()) {
        m_nodes.clear();
        if (error)
            *error = failure;
        return false;
    }
    return true;
}

COnvifElement COnvifDocument::Root() const
{
    return m_nodes.empty() ? COnvifElement() : COnvifElement(this, 0);
}

QString COnvifElement::NamespaceUri() const
{
    return IsNull() ? QString() : m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].strNamespace;
}

QString COnvifElement::LocalName() const
{
    return IsNull() ? QString() : m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].strName;
}

bool COnvifElement::Is(const char *ns, const char *name) const
{
    if (IsNull())
        return false;
    const auto &node = m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)];
    return Same(node.strName, name) && Same(node.strNamespace, ns);
}

QString COnvifElement::Text() const
{
    return IsNull() ? QString() : m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].strText.trimmed();
}

QString COnvifElement::Attribute(const char *name) const
{
    if (IsNull())
        return QString();
    for (const auto &attribute : m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].attributes)
        if (Same(attribute.first, name))
            return attribute.second;
    return QString();
}

COnvifElement COnvifElement::Child(const char *ns, const char *name) const
{
    if (IsNull())
        return COnvifElement();
    for (int child : m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].children) {
        const COnvifElement element(m_pDocument, child);
        if (element.Is(ns, name))
            return element;
    }
    return COnvifElement();
}

std::vector<COnvifElement> COnvifElement::Children(const char *ns, const char *name) const
{
    std::vector<COnvifElement> found;
    if (IsNull())
        return found;
    for (int child : m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].children) {
        const COnvifElement element(m_pDocument, child);
        if (element.Is(ns, name))
            found.push_back(element);
    }
    return found;
}

COnvifElement COnvifElement::FirstChild() const
{
    if (IsNull() || m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].children.empty())
        return COnvifElement();
    return COnvifElement(m_pDocument, m_pDocument->m_nodes[static_cast<size_t>(m_iIndex)].children.front());
}

COnvifElement COnvifElement::Find(const char *ns, const char *name) const
{
    if (IsNull())
        return COnvifElement();
    // Nodes are stored in document order, and a subtree is one contiguous run after its root.
    const auto &nodes = m_pDocument->m_nodes;
    for (size_t i = static_cast<size_t>(m_iIndex) + 1; i < nodes.size(); ++i) {
        int ancestor = nodes[i].iParent;
        while (ancestor > m_iIndex)
            ancestor = nodes[static_cast<size_t>(ancestor)].iParent;
        if (ancestor != m_iIndex)
            break;
        const COnvifElement element(m_pDocument, static_cast<int>(i));
        if (element.Is(ns, name))
            return element;
    }
    return COnvifElement();
}

QString COnvifElement::TextAt(const char *ns, std::initializer_list<const char *> path) const
{
    COnvifElement element = *this;
    for (const char *name : path)
        element = element.Child(ns, name);
    return element.Text();
}

bool COnvifElement::NumberAt(const char *ns, std::initializer_list<const char *> path, double *value) const
{
    return OnvifNumber(TextAt(ns, path), value);
}

QString COnvifElement::ResolvePrefix(const QString &prefix) const
{
    for (int index = m_iIndex; !IsNull() && index >= 0;) {
        const auto &node = m_pDocument->m_nodes[static_cast<size_t>(index)];
        for (const auto &declaration : node.declarations)
            if (declaration.first == prefix)
                return declaration.second;
        index = node.iParent;
    }
    return QString();
}

bool OnvifNumber(const QString &text, double *value)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

QByteArray OnvifEscape(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}
