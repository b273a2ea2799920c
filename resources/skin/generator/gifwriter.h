// A small GIF89a writer: Qt reads GIF but cannot write it, and the skin's busy animation is
// the one GIF the program ships. Frames share one 256-colour global palette.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QSize>

struct GifFrame
{
    QByteArray indices; // width * height palette indices, row by row
    int delayCs = 8;    // display time in hundredths of a second
};

// Builds the whole file: header, global palette, endless-loop extension, frames, trailer.
// Returns an empty array when the input is inconsistent (wrong index count, palette size).
QByteArray EncodeGif(QSize size, const QList<QRgb> &palette, const QList<GifFrame> &frames);

// LZW compression as GIF uses it (variable code width 9..12 bits, LSB first, clear code when
// the table is full). Exposed for the generator's self-check.
QByteArray GifLzw(const QByteArray &indices, int minCodeSize);
