#include "manualprinter.h"

#include "pdftextmap.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

#include <algorithm>

namespace {
const int kResolution = 600;        // dots per inch of the PDF's coordinate system
const qreal kMarginSide = 20.0;     // mm
const qreal kMarginTop = 24.0;      // mm, leaves room for the running header
const qreal kMarginBottom = 22.0;   // mm, leaves room for the page number
const qreal kBaseFontSize = 10.0;   // pt
const QColor kAccent(64, 131, 197); // the caption colour of the program's own windows
const QColor kDarkText(40, 40, 40);

QString ReadText(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

// y of the first line of a block in document coordinates (also inside table cells), after the
// layout has pushed the line to the next page where needed.
qreal FirstLineY(const QTextBlock &block)
{
    return block.document()->documentLayout()->blockBoundingRect(block).top();
}

// The layout puts a line pushed to the next page a fraction of a pixel above the page
// boundary, so a little tolerance keeps it on the page where it is drawn.
int PageOf(qreal y, qreal pageHeight)
{
    return int((y + 2.0) / pageHeight);
}

bool IsLayoutCharacter(char32_t c)
{
    return c < 0x20 || c == 0x2028 || c == 0x2029 || c == 0xfffc || c == 0xfdd0 || c == 0xfdd1;
}
} // namespace

CManualPrinter::CManualPrinter(const QString &fontFamily, const QStringList &fallbackFamilies)
    : m_strFamily(fontFamily), m_listFallbacks(fallbackFamilies)
{
    // Characters the main family lacks (a Chinese file name in the English manual) are taken
    // from these families, and from no other font that happens to be installed.
    if (!fallbackFamilies.isEmpty())
        QFont::insertSubstitutions(fontFamily, fallbackFamilies);
}

CManualPrinter::~CManualPrinter() = default;

bool CManualPrinter::Load(const QString &htmlPath, const QString &cssPath)
{
    m_strHtml = ReadText(htmlPath, &m_strError);
    if (m_strHtml.isEmpty())
        return false;
    m_strCss = ReadText(cssPath, &m_strError);
    if (m_strCss.isEmpty())
        return false;

    static const QRegularExpression metaPattern(
        QStringLiteral("<meta\\s+name=\"([^\"]+)\"\\s+content=\"([^\"]*)\"\\s*/?>"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = metaPattern.globalMatch(m_strHtml); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        m_mapMeta.insert(match.captured(1), QTextDocumentFragment::fromHtml(match.captured(2)).toPlainText());
    }
    QTextDocument probe;
    probe.setHtml(m_strHtml);
    m_strTitle = probe.metaInformation(QTextDocument::DocumentTitle).trimmed();
    if (m_strTitle.isEmpty()) {
        m_strError = QStringLiteral("%1 has no <title>").arg(htmlPath);
        return false;
    }
    return true;
}

void CManualPrinter::NumberHeadings(QTextDocument &doc)
{
    int chapter = 0;
    int section = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        QString number;
        if (level == 1) {
            number = QString::number(++chapter);
            section = 0;
        } else if (level == 2 && chapter > 0) {
            number = QStringLiteral("%1.%2").arg(chapter).arg(++section);
        } else {
            continue;
        }
        QTextCursor cursor(block);
        cursor.insertText(number + QStringLiteral("  "), cursor.charFormat());
    }
}

// A heading left alone at the foot of a page moves to the next page with its text.
static void KeepHeadingsWithText(QTextDocument &doc, qreal pageHeight)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlock next = block.next();
        if (block.blockFormat().headingLevel() == 0 || !next.isValid())
            continue;
        const int headingPage = PageOf(FirstLineY(block), pageHeight);
        const int textPage = PageOf(FirstLineY(next), pageHeight);
        if (headingPage != textPage) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
        }
    }
}

void CManualPrinter::LocateHeadings(QTextDocument &doc, qreal pageHeight)
{
    m_listHeadings.clear();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level != 1 && level != 2)
            continue;
        Heading heading;
        heading.iLevel = level;
        heading.strText = block.text().simplified();
        heading.iBodyPage = PageOf(FirstLineY(block), pageHeight);
        m_listHeadings.append(heading);
    }
}

void CManualPrinter::BuildContents(QTextDocument &toc, int firstBodyPage) const
{
    toc.clear();
    QTextCursor cursor(&toc);

    QTextBlockFormat captionBlock;
    captionBlock.setHeadingLevel(0);
    captionBlock.setBottomMargin(toc.defaultFont().pointSizeF() * 2);
    QTextCharFormat captionChar;
    captionChar.setFontPointSize(20);
    captionChar.setFontWeight(QFont::Bold);
    captionChar.setForeground(kAccent);
    cursor.setBlockFormat(captionBlock);
    cursor.insertText(m_mapMeta.value(QStringLiteral("contents"), QStringLiteral("Contents")), captionChar);

    QTextTableFormat tableFormat;
    tableFormat.setBorder(0);
    tableFormat.setCellPadding(3);
    tableFormat.setCellSpacing(0);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 88), QTextLength(QTextLength::PercentageLength, 12)});
    QTextTable *table = cursor.insertTable(int(m_listHeadings.size()), 2, tableFormat);

    for (int row = 0; row < m_listHeadings.size(); ++row) {
        const Heading &heading = m_listHeadings.at(row);
        QTextCharFormat text;
        text.setFontWeight(heading.iLevel == 1 ? QFont::Bold : QFont::Normal);
        if (heading.iLevel == 1)
            text.setForeground(kAccent);

        QTextCursor titleCell = table->cellAt(row, 0).firstCursorPosition();
        QTextBlockFormat titleBlock;
        titleBlock.setLeftMargin(heading.iLevel == 1 ? 0 : 24);
        titleBlock.setTopMargin(heading.iLevel == 1 && row > 0 ? 6 : 0);
        titleCell.setBlockFormat(titleBlock);
        titleCell.insertText(heading.strText, text);

        QTextCursor pageCell = table->cellAt(row, 1).firstCursorPosition();
        QTextBlockFormat pageBlock;
        pageBlock.setAlignment(Qt::AlignRight);
        pageBlock.setTopMargin(titleBlock.topMargin());
        pageCell.setBlockFormat(pageBlock);
        pageCell.insertText(QString::number(firstBodyPage + heading.iBodyPage), text);
    }
}

QSet<char32_t> CManualPrinter::DocumentCharacters(const QTextDocument &doc) const
{
    QString text = doc.toPlainText();
    for (const QString &value : m_mapMeta)
        text += value;
    text += m_strTitle;
    QSet<char32_t> characters;
    for (const char32_t c : text.toUcs4()) {
        if (!IsLayoutCharacter(c))
            characters.insert(c);
    }
    return characters;
}

QString CManualPrinter::MissingGlyphs(const QTextDocument &doc) const
{
    // QRawFont is one family's own font file; QFontMetrics would accept any installed font.
    QList<QRawFont> fonts;
    for (const QString &family : QStringList(m_strFamily) + m_listFallbacks) {
        QFont regular(family);
        QFont bold(family);
        bold.setBold(true);
        fonts.append(QRawFont::fromFont(regular));
        fonts.append(QRawFont::fromFont(bold));
    }
    const auto covered = [&fonts](char32_t c) {
        // Both weights of one family must have the glyph.
        for (int i = 0; i + 1 < fonts.size(); i += 2) {
            if (fonts.at(i).supportsCharacter(uint(c)) && fonts.at(i + 1).supportsCharacter(uint(c)))
                return true;
        }
        return false;
    };
    const QSet<char32_t> used = DocumentCharacters(doc);
    QList<char32_t> characters(used.cbegin(), used.cend());
    std::sort(characters.begin(), characters.end());
    QString missing;
    for (const char32_t c : characters) {
        if (!covered(c))
            missing += QStringLiteral(" U+%1").arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    return missing;
}

void CManualPrinter::PaintTitlePage(QPainter &painter, const QRectF &page) const
{
    const qreal mm = m_dPixelsPerMm;
    const qreal left = kMarginSide * mm;
    const qreal width = page.width() - 2 * kMarginSide * mm;

    painter.fillRect(QRectF(0, 0, page.width(), 100 * mm), kAccent);

    QFont product(m_strFamily);
    product.setPointSizeF(40);
    product.setBold(true);
    painter.setFont(product);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(left, 30 * mm, width, 25 * mm), Qt::AlignLeft | Qt::AlignVCenter,
                     m_mapMeta.value(QStringLiteral("product")));

    QFont subtitle(m_strFamily);
    subtitle.setPointSizeF(14);
    painter.setFont(subtitle);
    painter.drawText(QRectF(left, 58 * mm, width, 30 * mm), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     m_mapMeta.value(QStringLiteral("subtitle")));

    QFont title(m_strFamily);
    title.setPointSizeF(26);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(kDarkText);
    painter.drawText(QRectF(left, 125 * mm, width, 40 * mm), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     m_strTitle);

    QFont version(m_strFamily);
    version.setPointSizeF(12);
    painter.setFont(version);
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF(left, 170 * mm, width, 10 * mm), Qt::AlignLeft | Qt::AlignVCenter,
                     m_mapMeta.value(QStringLiteral("version")));

    painter.setPen(QPen(kAccent, 0.6 * mm));
    painter.drawLine(QPointF(left, 183 * mm), QPointF(left + 60 * mm, 183 * mm));

    QFont note(m_strFamily);
    note.setPointSizeF(9);
    painter.setFont(note);
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF(left, page.height() - 50 * mm, width, 30 * mm),
                     Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, m_mapMeta.value(QStringLiteral("footnote")));
}

void CManualPrinter::PaintFrame(QPainter &painter, int pageNumber, int pageCount) const
{
    const qreal mm = m_dPixelsPerMm;
    QFont small(m_strFamily);
    small.setPointSizeF(8);
    painter.setFont(small);
    painter.setPen(QColor(110, 110, 110));

    const QRectF header(m_rectBody.left(), 10 * mm, m_rectBody.width(), 6 * mm);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, m_strTitle);
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, m_mapMeta.value(QStringLiteral("product")));
    painter.setPen(QPen(kAccent, 0.25 * mm));
    painter.drawLine(QPointF(header.left(), header.bottom() + 1 * mm),
                     QPointF(header.right(), header.bottom() + 1 * mm));

    const QString label =
        m_mapMeta.value(QStringLiteral("page-label"), QStringLiteral("%1 / %2")).arg(pageNumber).arg(pageCount);
    painter.setPen(QColor(110, 110, 110));
    painter.drawText(QRectF(m_rectBody.left(), m_rectPage.height() - 14 * mm, m_rectBody.width(), 6 * mm),
                     Qt::AlignHCenter | Qt::AlignVCenter, label);
}

void CManualPrinter::PaintDocumentPage(QPainter &painter, QTextDocument &doc, int index) const
{
    const qreal height = m_rectBody.height();
    const QRectF clip(0, index * height, m_rectBody.width(), height);
    painter.save();
    painter.translate(m_rectBody.left(), m_rectBody.top() - index * height);
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    // Blocks whose first line starts the next page still reach into this one with their top
    // margin; a slightly smaller clip keeps their (invisible) text off this page.
    context.clip = clip.adjusted(0, 3, 0, -3);
    context.palette.setColor(QPalette::Text, kDarkText);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
}

bool CManualPrinter::Print(const QString &pdfPath)
{
    QPdfWriter writer(pdfPath);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(m_strTitle);
    writer.setCreator(QStringLiteral("NORDA manual generator"));

    m_dPixelsPerMm = kResolution / 25.4;
    m_rectPage = QRectF(0, 0, writer.width(), writer.height());
    m_rectBody = m_rectPage.adjusted(kMarginSide * m_dPixelsPerMm, kMarginTop * m_dPixelsPerMm,
                                     -kMarginSide * m_dPixelsPerMm, -kMarginBottom * m_dPixelsPerMm);

    QFont base(m_strFamily);
    base.setPointSizeF(kBaseFontSize);

    QTextDocument body;
    body.documentLayout()->setPaintDevice(&writer);
    body.setDefaultFont(base);
    body.setDocumentMargin(0);
    body.setDefaultStyleSheet(m_strCss);
    body.setHtml(m_strHtml);
    // The first chapter starts the first page anyway; its page break would leave a blank page.
    QTextBlockFormat first = body.begin().blockFormat();
    if (first.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
        first.setPageBreakPolicy(first.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(body.begin()).setBlockFormat(first);
    }
    NumberHeadings(body);
    body.setPageSize(m_rectBody.size());
    KeepHeadingsWithText(body, m_rectBody.height());
    // The moved headings relayout only the changed blocks; a full layout keeps the positions
    // of everything after them consistent for drawing.
    body.markContentsDirty(0, body.characterCount());

    const QString missing = MissingGlyphs(body);
    if (!missing.isEmpty()) {
        m_strError = QStringLiteral("font \"%1\" has no glyph for%2").arg(m_strFamily, missing);
        return false;
    }

    LocateHeadings(body, m_rectBody.height());

    QTextDocument toc;
    toc.documentLayout()->setPaintDevice(&writer);
    toc.setDefaultFont(base);
    toc.setDocumentMargin(0);
    toc.setPageSize(m_rectBody.size());
    BuildContents(toc, 2);
    const int tocPages = toc.pageCount();
    BuildContents(toc, 2 + tocPages);

    const int bodyPages = body.pageCount();
    m_iPageCount = 1 + tocPages + bodyPages;

    QPainter painter;
    if (!painter.begin(&writer)) {
        m_strError = QStringLiteral("cannot write %1").arg(pdfPath);
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    PaintTitlePage(painter, m_rectPage);
    for (int i = 0; i < tocPages; ++i) {
        writer.newPage();
        PaintFrame(painter, 2 + i, m_iPageCount);
        PaintDocumentPage(painter, toc, i);
    }
    for (int i = 0; i < bodyPages; ++i) {
        writer.newPage();
        PaintFrame(painter, 2 + tocPages + i, m_iPageCount);
        PaintDocumentPage(painter, body, i);
    }
    if (!painter.end()) {
        m_strError = QStringLiteral("cannot finish %1").arg(pdfPath);
        return false;
    }
    return RepairTextMap(pdfPath, DocumentCharacters(body));
}

bool CManualPrinter::RepairTextMap(const QString &pdfPath, const QSet<char32_t> &characters)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadWrite)) {
        m_strError = QStringLiteral("cannot reopen %1: %2").arg(pdfPath, file.errorString());
        return false;
    }
    QByteArray pdf = file.readAll();
    if (RepairPdfTextMap(pdf, characters, QStringList(m_strFamily) + m_listFallbacks) == 0)
        return true;
    // Same length as before: overwrite in place.
    if (!file.seek(0) || file.write(pdf) != pdf.size()) {
        m_strError = QStringLiteral("cannot rewrite %1: %2").arg(pdfPath, file.errorString());
        return false;
    }
    return true;
}
