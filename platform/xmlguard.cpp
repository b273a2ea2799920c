#include "platform/xmlguard.h"

#include <cstring>
#include <vector>

namespace XmlGuard {

namespace {

bool Refuse(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

// The position just after the first occurrence of terminator at or after from; null when absent.
const char *After(const char *from, const char *end, const char *terminator)
{
    const size_t length = std::strlen(terminator);
    for (const char *p = from; end - p >= static_cast<ptrdiff_t>(length); ++p) {
        p = static_cast<const char *>(std::memchr(p, terminator[0], static_cast<size_t>(end - p)));
        if (!p || end - p < static_cast<ptrdiff_t>(length))
            return nullptr;
        if (std::memcmp(p, terminator, length) == 0)
            return p + length;
    }
    return nullptr;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsWith(const char *p, const char *end, const char *text)
{
    const size_t length = std::strlen(text);
    return end - p >= static_cast<ptrdiff_t>(length) && std::memcmp(p, text, length) == 0;
}

} // namespace

bool Check(const QByteArray &xml, QString *why)
{
    const char *p = xml.constData();
    const char *const end = p + xml.size();
    int documentAttributes = 0;
    std::vector<int> declarations; // per open element
    int inScope = 0;
    // Text cannot hold a raw '<', so every '<' outside comments, CDATA and processing
    // instructions opens a tag.
    while (p < end) {
        p = static_cast<const char *>(std::memchr(p, '<', static_cast<size_t>(end - p)));
        if (!p || ++p == end)
            return true;
        if (StartsWith(p, end, "!--")) {
            p = After(p + 3, end, "-->");
        } else if (StartsWith(p, end, "![CDATA[")) {
            p = After(p + 8, end, "]]>");
        } else if (*p == '!') {
            return Refuse(why, QStringLiteral("markup declaration"));
        } else if (*p == '?') {
            p = After(p + 1, end, "?>");
        } else if (*p == '/') {
            if (!declarations.empty()) {
                inScope -= declarations.back();
                declarations.pop_back();
            }
        } else {
            int attributes = 0;
            int declared = 0;
            for (; p < end && *p != '>' && *p != '<'; ++p) {
                if (*p == '"' || *p == '\'') {
                    const char *close =
                        static_cast<const char *>(std::memchr(p + 1, *p, static_cast<size_t>(end - p - 1)));
                    if (!close)
                        return true;
                    if (close - p - 1 > kMaxAttributeValue)
                        return Refuse(why, QStringLiteral("attribute value too long"));
                    p = close;
                } else if (*p == '=') {
                    if (++attributes > kMaxAttributes || ++documentAttributes > kMaxDocumentAttributes)
                        return Refuse(why, QStringLiteral("too many attributes"));
                } else if (IsBlank(p[-1]) && StartsWith(p, end, "xmlns") && p + 5 < end
                           && (p[5] == ':' || p[5] == '=' || IsBlank(p[5]))) {
                    if (inScope + ++declared > kMaxNamespacesInScope)
                        return Refuse(why, QStringLiteral("too many namespace declarations"));
                }
            }
            if (p < end && *p == '>' && p[-1] != '/') {
                declarations.push_back(declared);
                inScope += declared;
            }
        }
        if (!p)
            return true;
    }
    return true;
}

} // namespace XmlGuard
