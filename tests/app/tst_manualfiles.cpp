// The user manuals the build typesets beside the program: real PDF files with several pages,
// the right title in each, every font embedded, and text that maps back to its characters
// (the Chinese manual drawn with the CJK font, searchable for its ideographs).
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {
QByteArray ReadManual(const QString &name)
{
    QFile file(QDir(QStringLiteral(NORDA_OUTPUT_DIR)).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// A PDF literal string starting after its "(": escapes resolved, nesting respected;
// UTF-16BE when it starts with the byte-order mark, as QPdfWriter writes document info.
QString LiteralString(const QByteArray &pdf, qsizetype pos)
{
    QByteArray bytes;
    int depth = 0;
    for (; pos < pdf.size(); ++pos) {
        const char c = pdf.at(pos);
        if (c == '\\' && pos + 1 < pdf.size()) {
            const char next = pdf.at(++pos);
            if (next >= '0' && next <= '7') {
                int value = 0;
                for (int digits = 0; digits < 3 && pos < pdf.size() && pdf.at(pos) >= '0' && pdf.at(pos) <= '7';
                     ++digits)
                    value = value * 8 + (pdf.at(pos++) - '0');
                --pos;
                bytes.append(char(value));
            } else {
                static const QByteArray from("nrtbf"), to("\n\r\t\b\f");
                const qsizetype special = from.indexOf(next);
                bytes.append(special >= 0 ? to.at(special) : next);
            }
            continue;
        }
        if (c == '(')
            ++depth;
        if (c == ')' && depth-- == 0)
            break;
        bytes.append(c);
    }
    if (bytes.startsWith("\xfe\xff")) {
        QString text;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            text.append(QChar(char16_t((uchar(bytes.at(i)) << 8) | uchar(bytes.at(i + 1)))));
        return text;
    }
    return QString::fromLatin1(bytes);
}

// The characters each ToUnicode map sends its glyphs to, by the font's base name.
QMap<QString, QSet<char32_t>> TextMapTargets(const QByteArray &pdf)
{
    static const QRegularExpression reference(QStringLiteral("/ToUnicode (\\d+) 0 R"));
    static const QRegularExpression baseFont(QStringLiteral("/BaseFont /(?:[A-Z]{6}\\+)?([A-Za-z0-9-]+)"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]{4})>"));
    const QString text = QString::fromLatin1(pdf);
    QMap<QString, QSet<char32_t>> result;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch ref = it.next();
        const qsizetype dict = text.lastIndexOf(QLatin1String(" obj"), ref.capturedStart());
        const QString font = baseFont.match(text.mid(dict, ref.capturedStart() - dict)).captured(1);
        const qsizetype object = text.indexOf(QLatin1Char('\n') + ref.captured(1) + QLatin1String(" 0 obj"));
        const qsizetype begin = text.indexOf(QLatin1String("begincmap"), object);
        const qsizetype end = text.indexOf(QLatin1String("endcmap"), begin);
        if (object < 0 || begin < 0 || end < 0)
            continue;
        QSet<char32_t> &targets = result[font];
        for (const QString &line : text.mid(begin, end - begin).split(QLatin1Char('\n'))) {
            QStringList codes;
            for (auto h = hex.globalMatch(line); h.hasNext();)
                codes.append(h.next().captured(1));
            // "<lo> <hi> [<t> ...]" and "<lo> <hi> <t>": targets after the source range
            for (qsizetype i = 2; i < codes.size(); ++i)
                targets.insert(codes.at(i).toUInt(nullptr, 16));
        }
    }
    return result;
}
} // namespace

class TestManualFiles : public QObject
{
    Q_OBJECT

private slots:
    void structure_data();
    void structure();
    void fonts_data();
    void fonts();
};

void TestManualFiles::structure_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::newRow("English") << QStringLiteral("Vovu Rivoz Ezevivuvov User Manual.pdf")
                             << QStringLiteral("Vovu Rivoz Ezevivuvov User Manual");
    QTest::newRow("Chinese") << QStringLiteral("硬盘计算工具用户使用手册.pdf")
                             << QStringLiteral("硬盘计算工具用户使用手册");
}

void TestManualFiles::structure()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    const QByteArray pdf = ReadManual(file);
    QVERIFY2(!pdf.isEmpty(), qPrintable(file + QStringLiteral(" is missing or empty")));

    QVERIFY(pdf.startsWith("%PDF-1."));
    QVERIFY2(pdf.right(64).contains("%%EOF") && pdf.right(64).contains("startxref"), "the file is cut short");

    // The page tree's count, and as many page objects: a title page, contents, chapters.
    const QRegularExpressionMatch count =
        QRegularExpression(QStringLiteral("/Type /Pages\\s*/Kids\\s*\\[[^\\]]*\\]\\s*/Count (\\d+)"))
            .match(QString::fromLatin1(pdf));
    QVERIFY2(count.hasMatch(), "no page tree");
    const int pages = count.captured(1).toInt();
    QCOMPARE(int(pdf.count("/Type /Page\n")), pages);
    QVERIFY2(pages >= 10, qPrintable(QStringLiteral("only %1 pages").arg(pages)));

    const qsizetype titlePos = pdf.indexOf("/Title (");
    QVERIFY(titlePos >= 0);
    QCOMPARE(LiteralString(pdf, titlePos + 8), title);
}

void TestManualFiles::fonts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("textFont");
    QTest::addColumn<QString>("sample");
    QTest::newRow("English") << QStringLiteral("Vovu Rivoz Ezevivuvov User Manual.pdf")
                             << QStringLiteral("LiberationSans") << QStringLiteral("Camera");
    QTest::newRow("Chinese") << QStringLiteral("硬盘计算工具用户使用手册.pdf") << QStringLiteral("NotoSansCJKsc")
                             << QStringLiteral("硬盘计算工具用户使用手册");
}

void TestManualFiles::fonts()
{
    QFETCH(QString, file);
    QFETCH(QString, textFont);
    QFETCH(QString, sample);
    const QByteArray pdf = ReadManual(file);
    QVERIFY(!pdf.isEmpty());

    // Every font described is carried in the file (a font program follows each descriptor).
    int described = 0;
    for (qsizetype pos = pdf.indexOf("/Type /FontDescriptor"); pos >= 0;
         pos = pdf.indexOf("/Type /FontDescriptor", pos + 1)) {
        ++described;
        const QByteArray dict = pdf.mid(pos, pdf.indexOf(">>", pos) - pos);
        QVERIFY2(dict.contains("/FontFile2 ") || dict.contains("/FontFile3 "), dict.left(80).constData());
    }
    QVERIFY(described > 0);

    const QMap<QString, QSet<char32_t>> targets = TextMapTargets(pdf);
    QSet<char32_t> textFontTargets;
    for (auto it = targets.cbegin(); it != targets.cend(); ++it) {
        if (it.key().startsWith(textFont))
            textFontTargets.unite(it.value());
        // Kangxi radicals and radical supplements never occur in the manuals' text.
        for (const char32_t c : it.value())
            QVERIFY2(c < 0x2e80 || c > 0x2fdf,
                     qPrintable(QStringLiteral("%1 maps a glyph to U+%2").arg(it.key()).arg(uint(c), 4, 16)));
    }
    QVERIFY2(!textFontTargets.isEmpty(), qPrintable(textFont + QStringLiteral(" is not used")));
    // The sample is drawn with the text font, not with some fallback or as empty boxes.
    for (const char32_t c : sample.toUcs4())
        QVERIFY2(textFontTargets.contains(c),
                 qPrintable(QStringLiteral("U+%1 not drawn with %2").arg(uint(c), 4, 16).arg(textFont)));
}

QTEST_GUILESS_MAIN(TestManualFiles)
#include "tst_manualfiles.moc"
