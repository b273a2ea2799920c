// resources/manual/: the user manuals. manual_en.html and manual_zh.html are the texts,
// manual.css their common look; CManualPrinter (run at build time by norda_manualpdf) typesets
// one of them into an A4 PDF with a title page, a table of contents and numbered pages.
//
// A source is ordinary HTML as QTextDocument reads it. The generator takes from it:
//   <title>                                      the manual's title (title page, running header)
//   <meta name="product|subtitle|version|contents|page-label|footnote" content="...">
//     product, subtitle, version and footnote go on the title page; contents captions the
//     table of contents; page-label is the footer text, %1 the page and %2 the page count.
// <h1> starts a chapter on a new page, <h1> and <h2> are numbered and listed in the contents.
#pragma once

#include <QList>
#include <QMap>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QStringList>

class QPainter;
class QPdfWriter;
class QTextDocument;

class CManualPrinter
{
public:
    explicit CManualPrinter(const QString &fontFamily, const QStringList &fallbackFamilies = {});
    ~CManualPrinter();
    CManualPrinter(const CManualPrinter &) = delete;
    CManualPrinter &operator=(const CManualPrinter &) = delete;

    // Reads the source and the style sheet. False with LastError() when either is unreadable
    // or the source lacks its title.
    bool Load(const QString &htmlPath, const QString &cssPath);
    // Writes the PDF. False with LastError() when the file can't be written or the font
    // lacks a glyph the manual needs (a missing glyph would print as an empty box).
    bool Print(const QString &pdfPath);

    QString LastError() const { return m_strError; }
    int PageCount() const { return m_iPageCount; }

private:
    struct Heading
    {
        int iLevel = 0;
        QString strText;
        int iBodyPage = 0;
    };

    void NumberHeadings(QTextDocument &doc);
    void LocateHeadings(QTextDocument &doc, qreal pageHeight);
    void BuildContents(QTextDocument &toc, int firstBodyPage) const;
    QSet<char32_t> DocumentCharacters(const QTextDocument &doc) const;
    QString MissingGlyphs(const QTextDocument &doc) const;
    bool RepairTextMap(const QString &pdfPath, const QSet<char32_t> &characters);
    void PaintTitlePage(QPainter &painter, const QRectF &page) const;
    void PaintDocumentPage(QPainter &painter, QTextDocument &doc, int index) const;
    void PaintFrame(QPainter &painter, int pageNumber, int pageCount) const;

    QString m_strFamily;
    QStringList m_listFallbacks;
    QString m_strHtml;
    QString m_strCss;
    QString m_strTitle;
    QMap<QString, QString> m_mapMeta;
    QList<Heading> m_listHeadings;
    QString m_strError;
    int m_iPageCount = 0;

    // Geometry in device pixels of the writer, set by Print().
    qreal m_dPixelsPerMm = 0;
    QRectF m_rectPage;
    QRectF m_rectBody;
};
