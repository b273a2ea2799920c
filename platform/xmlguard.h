// A linear scan of a peer's XML before QXmlStreamReader sees it. The reader checks an element's
// attributes against each other pairwise, and looks every prefix up through all namespace
// declarations in scope, so one element with thousands of attributes costs seconds of CPU and
// many declarations make every attribute slow; such documents, and markup declarations
// (entities), are refused here at the cost of one pass over the bytes.
#pragma once

#include <QByteArray>
#include <QString>

namespace XmlGuard {
constexpr int kMaxAttributes = 64;            // per element, namespace declarations included
constexpr int kMaxAttributeValue = 64 * 1024; // bytes of one attribute value as written
constexpr int kMaxDocumentAttributes = 16384; // in the whole document
constexpr int kMaxNamespacesInScope = 128;    // declared by an element and the elements around it

// False, with the reason, when the document exceeds one of the limits above or holds a markup
// declaration. Malformed input is left for the reader to refuse.
bool Check(const QByteArray &xml, QString *why = nullptr);
} // namespace XmlGuard
