// The Chinese catalogue translates every user text of the code: lupdate extracts the texts of
// the sources now, and each must have a finished, non-empty translation in norda_zh.ts.
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
// (context, source) -> translation, and whether the entry is finished.
struct Entry
{
    QString translation;
    bool finished = false;
};

QHash<QPair<QString, QString>, Entry> readTs(const QString &path)
{
    QHash<QPair<QString, QString>, Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            Entry entry;
            entry.finished = type.isEmpty();
            entry.translation = xml.readElementText();
            if (type != QLatin1String("obsolete") && type != QLatin1String("vanished"))
                entries.insert({context, source}, entry);
        }
    }
    return entries;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void chineseCatalogueIsComplete()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fresh = dir.filePath(QStringLiteral("fresh_zh.ts"));
        QStringList args{QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none")};
        for (const char *folder : {"app", "arrays", "calc", "camdlg", "import", "measure", "storage", "toolkit"})
            args << QStringLiteral(NORDA_SOURCE_DIR "/") + QLatin1String(folder);
        args << QStringLiteral("-ts") << fresh;
        QProcess lupdate;
        lupdate.start(QStringLiteral(NORDA_LUPDATE), args);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        const auto extracted = readTs(fresh);
        QVERIFY(extracted.size() > 30);
        const auto catalogue = readTs(QStringLiteral(NORDA_SOURCE_DIR "/resources/translations/norda_zh.ts"));
        QStringList missing;
        for (auto it = extracted.cbegin(); it != extracted.cend(); ++it) {
            const Entry entry = catalogue.value(it.key());
            if (!entry.finished || entry.translation.isEmpty())
                missing << it.key().first + QStringLiteral(" | ") + it.key().second;
        }
        missing.sort();
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("untranslated:\n") + missing.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
