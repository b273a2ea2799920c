#include "pdftextmap.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRegularExpression>

#include <algorithm>

namespace {
// The glyphs a font draws the document's characters with, and the reverse lookup.
struct FontGlyphs
{
    QRawFont font;
    QHash<quint32, char32_t> documentCharacterOfGlyph;
};

quint32 GlyphOf(const QRawFont &font, char32_t c)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.size() == 1 ? glyphs.first() : 0;
}

// "ABCDEF+NotoSansCJKsc-Bold" -> the family of `families` it names, with its weight and slant.
bool FontOfBaseName(const QByteArray &baseName, const QStringList &families, QFont *font)
{
    QByteArray name = baseName.mid(baseName.indexOf('+') + 1);
    const int dash = name.indexOf('-');
    const QByteArray style = dash >= 0 ? name.mid(dash + 1) : QByteArray();
    name.truncate(dash >= 0 ? dash : name.size());
    for (const QString &family : families) {
        if (QString(family).remove(QLatin1Char(' ')).compare(QString::fromLatin1(name), Qt::CaseInsensitive) == 0) {
            *font = QFont(family);
            font->setBold(style.contains("Bold"));
            font->setItalic(style.contains("Italic") || style.contains("Oblique"));
            return true;
        }
    }
    return false;
}

FontGlyphs GlyphsOf(const QFont &font, const QList<char32_t> &used)
{
    FontGlyphs result;
    result.font = QRawFont::fromFont(font);
    for (const char32_t c : used) {
        const quint32 glyph = GlyphOf(result.font, c);
        if (glyph != 0 && !result.documentCharacterOfGlyph.contains(glyph))
            result.documentCharacterOfGlyph.insert(glyph, c);
    }
    return result;
}

// Rewrites the targets of one CMap (the text between "begincmap" and "endcmap").
int RepairCMap(QByteArray &cmap, const QSet<char32_t> &used, const FontGlyphs &glyphs)
{
    static const QRegularExpression hexPattern(QStringLiteral("<([0-9A-Fa-f]+)>"));
    int replaced = 0;
    int sourceTokens = 0; // 2 inside bfrange (low, high), 1 inside bfchar, -1 outside
    qsizetype lineStart = 0;
    while (lineStart < cmap.size()) {
        qsizetype lineEnd = cmap.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = cmap.size();
        const QByteArray line = cmap.mid(lineStart, lineEnd - lineStart);
        if (line.endsWith("beginbfrange")) {
            sourceTokens = 2;
        } else if (line.endsWith("beginbfchar")) {
            sourceTokens = 1;
        } else if (line.endsWith("endbfrange") || line.endsWith("endbfchar")) {
            sourceTokens = -1;
        } else if (sourceTokens > 0) {
            int token = 0;
            for (auto it = hexPattern.globalMatch(QString::fromLatin1(line)); it.hasNext(); ++token) {
                const QRegularExpressionMatch match = it.next();
                const QString hex = match.captured(1);
                if (token < sourceTokens || hex.size() != 4)
                    continue;
                const char32_t target = hex.toUInt(nullptr, 16);
                if (used.contains(target))
                    continue;
                const quint32 glyph = GlyphOf(glyphs.font, target);
                const char32_t better = glyphs.documentCharacterOfGlyph.value(glyph, 0);
                if (glyph == 0 || better == 0)
                    continue;
                QString text = QStringLiteral("%1").arg(uint(better), 4, 16, QLatin1Char('0'));
                text = hex == hex.toLower() ? text.toLower() : text.toUpper();
                cmap.replace(lineStart + match.capturedStart(1), 4, text.toLatin1());
                ++replaced;
            }
        }
        lineStart = lineEnd + 1;
    }
    return replaced;
}
} // namespace

int RepairPdfTextMap(QByteArray &pdf, const QSet<char32_t> &used, const QStringList &families)
{
    QList<char32_t> usedSorted(used.cbegin(), used.cend());
    std::sort(usedSorted.begin(), usedSorted.end());

    static const QRegularExpression referencePattern(QStringLiteral("/ToUnicode (\\d+) 0 R"));
    static const QRegularExpression baseFontPattern(QStringLiteral("/BaseFont /([A-Za-z0-9+_-]+)"));
    const QString text = QString::fromLatin1(pdf);
    int replaced = 0;
    for (auto it = referencePattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch reference = it.next();
        // The font dictionary that names this CMap starts at the last "obj" before it.
        const qsizetype dictStart = text.lastIndexOf(QLatin1String(" obj"), reference.capturedStart());
        const QRegularExpressionMatch baseFont =
            baseFontPattern.match(text.mid(dictStart, reference.capturedStart() - dictStart));
        QFont font;
        if (dictStart < 0 || !baseFont.hasMatch() || !FontOfBaseName(baseFont.captured(1).toLatin1(), families, &font))
            continue;

        const QByteArray objectHeader = "\n" + reference.captured(1).toLatin1() + " 0 obj";
        const qsizetype object = pdf.indexOf(objectHeader);
        const qsizetype begin = object < 0 ? -1 : pdf.indexOf("begincmap", object);
        const qsizetype end = begin < 0 ? -1 : pdf.indexOf("endcmap", begin);
        const qsizetype streamEnd = begin < 0 ? -1 : pdf.indexOf("endstream", begin);
        if (end < 0 || streamEnd < end)
            continue; // not a plain-text CMap: leave it alone

        QByteArray cmap = pdf.mid(begin, end - begin);
        const int count = RepairCMap(cmap, used, GlyphsOf(font, usedSorted));
        if (count > 0) {
            pdf.replace(begin, cmap.size(), cmap);
            replaced += count;
        }
    }
    return replaced;
}
