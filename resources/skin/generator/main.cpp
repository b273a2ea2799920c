// skingen: draws every image of the skin into a folder at build time.
// Usage: skingen <image list> <output folder>
//        skingen --app-icons <output folder>   (the desktop's icon sizes, <n>x<n>/apps/norda.png)
// The list (images.txt) names every file; the generator fails when it draws a file the list
// does not name or misses one it does, so the resource list can never go stale silently.
#include "gifwriter.h"
#include "skinpaint.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QRandomGenerator>
#include <QSet>
#include <QTextStream>

#include <cstdio>

namespace {

int Fail(const QString &message)
{
    std::fprintf(stderr, "skingen: %s\n", qPrintable(message));
    return 1;
}

// Round trip through Qt's GIF reader: a noise image fills the LZW table several times, so the
// table reset path is exercised along with the ordinary one.
bool GifSelfCheck(QString *why)
{
    const QSize size(200, 150);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette << qRgb(i, 255 - i, (i * 7) & 0xFF);
    GifFrame noise;
    QRandomGenerator rng(42);
    noise.indices.resize(size.width() * size.height());
    for (qsizetype i = 0; i < noise.indices.size(); ++i)
        noise.indices[i] = char(i % 3 == 0 ? rng.bounded(256) : (i / 97) & 0xFF);
    QByteArray data = EncodeGif(size, palette, {noise});
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QImage img = reader.read();
    if (img.size() != size) {
        *why = "GIF self-check: Qt could not read the encoded image: " + reader.errorString();
        return false;
    }
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int index = quint8(noise.indices.at(y * size.width() + x));
            if ((img.pixel(x, y) & 0xFFFFFF) != (palette.at(index) & 0xFFFFFF)) {
                *why = QString("GIF self-check: pixel %1,%2 differs").arg(x).arg(y);
                return false;
            }
        }
    }
    return true;
}

// The application icon in every size a desktop's icon theme looks for, each drawn for its size
// rather than scaled from the large one.
int WriteAppIcons(const QString &folder)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir) || !DrawAppIcon(size).save(dir + "/norda.png", "PNG"))
            return Fail("cannot write the application icon into " + dir);
    }
    return 0;
}

} // namespace

void QuietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // The offscreen platform's start-up chatter (runtime folder) is noise in a build log.
    if (type != QtDebugMsg && !message.startsWith("QStandardPaths:"))
        std::fprintf(stderr, "skingen: %s\n", qPrintable(message));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--app-icons"))
        return WriteAppIcons(args.at(2));
    if (args.size() != 3)
        return Fail("usage: skingen <image list> <output folder>");

    QFile listFile(args.at(1));
    if (!listFile.open(QIODevice::ReadOnly | QIODevice::Text))
        return Fail("cannot read " + args.at(1));
    QSet<QString> wanted;
    QTextStream in(&listFile);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith('#'))
            wanted.insert(line);
    }

    QString why;
    if (!GifSelfCheck(&why))
        return Fail(why);

    ImageMap images;
    DrawChrome(images);
    DrawControls(images);
    DrawIcons(images);
    QMap<QString, QByteArray> files;
    for (auto it = images.cbegin(); it != images.cend(); ++it) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (it.value().isNull() || !it.value().convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG"))
            return Fail("cannot encode " + it.key());
        files.insert(it.key(), png);
    }
    files.insert("images/Loading.gif", DrawLoadingGif());
    if (files.value("images/Loading.gif").isEmpty())
        return Fail("cannot encode the busy animation");

    const QStringList drawnList = files.keys();
    const QSet<QString> drawn(drawnList.cbegin(), drawnList.cend());
    for (const QString &name : wanted - drawn)
        return Fail("listed but not drawn: " + name);
    for (const QString &name : drawn - wanted)
        return Fail("drawn but not listed: " + name);

    const QDir outDir(args.at(2));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = outDir.filePath(it.key());
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(it.value()) != it.value().size())
            return Fail("cannot write " + path);
    }
    return 0;
}
