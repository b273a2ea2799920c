// Repairs the text mapping (ToUnicode CMaps) of a PDF written by QPdfWriter.
//
// Qt maps every glyph back to one character. Fonts such as Noto Sans CJK draw a Kangxi radical
// (U+2F2F) and the ideograph it resembles (U+5DE5) with one glyph, and Qt may pick the radical:
// the page looks right, but searching or copying "工" finds nothing. Knowing which characters the
// document really contains, the wrong targets are replaced by the document's own character that
// the same font draws with the same glyph. Targets keep their width, so no offset in the file
// moves.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QStringList>

// Rewrites the CMaps of `pdf` in place; returns how many targets were replaced. `families` are
// the font families the PDF was typeset with, `used` the characters of its text.
int RepairPdfTextMap(QByteArray &pdf, const QSet<char32_t> &used, const QStringList &families);
