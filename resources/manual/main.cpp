// norda_manualpdf: typesets one manual source into a PDF at build time.
//   norda_manualpdf --font <family> [--fallback <family>]... --css <style sheet> <source.html> <output.pdf>
#include "manualprinter.h"

#include <QCommandLineParser>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // A build machine has no display; the offscreen platform still provides fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Typesets a NORDA user manual into a PDF file."));
    const QCommandLineOption fontOption(QStringLiteral("font"), QStringLiteral("Font family."),
                                        QStringLiteral("family"));
    const QCommandLineOption cssOption(QStringLiteral("css"), QStringLiteral("Style sheet."), QStringLiteral("file"));
    const QCommandLineOption fallbackOption(QStringLiteral("fallback"),
                                            QStringLiteral("Font family for characters the main one lacks."),
                                            QStringLiteral("family"));
    parser.addOption(fontOption);
    parser.addOption(fallbackOption);
    parser.addOption(cssOption);
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("source"), QStringLiteral("Manual source (HTML)."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("PDF file to write."));
    parser.process(app);

    const QStringList files = parser.positionalArguments();
    if (files.size() != 2 || !parser.isSet(fontOption) || !parser.isSet(cssOption)) {
        err << parser.helpText();
        return 2;
    }

    // Qt would silently substitute another font, and a Chinese manual would then come out in
    // whatever the fallback is, or as empty boxes: refuse instead.
    const QString family = parser.value(fontOption);
    const QStringList fallbacks = parser.values(fallbackOption);
    const QStringList installed = QFontDatabase::families();
    for (const QString &wanted : QStringList(family) + fallbacks) {
        if (!installed.contains(wanted, Qt::CaseInsensitive)) {
            err << "norda_manualpdf: font family \"" << wanted << "\" is not installed\n";
            return 1;
        }
    }

    CManualPrinter printer(family, fallbacks);
    if (!printer.Load(files.at(0), parser.value(cssOption)) || !printer.Print(files.at(1))) {
        err << "norda_manualpdf: " << printer.LastError() << '\n';
        return 1;
    }
    QTextStream(stdout) << "Wrote " << files.at(1) << " (" << printer.PageCount() << " pages)\n";
    return 0;
}
