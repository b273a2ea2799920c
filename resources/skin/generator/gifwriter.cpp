#include "gifwriter.h"

#include <QHash>

namespace {

class BitWriter
{
public:
    void Put(int code, int width)
    {
        m_uAcc |= quint32(code) << m_iBits;
        m_iBits += width;
        while (m_iBits >= 8) {
            m_data.append(char(m_uAcc & 0xFF));
            m_uAcc >>= 8;
            m_iBits -= 8;
        }
    }
    QByteArray Finish()
    {
        if (m_iBits > 0)
            m_data.append(char(m_uAcc & 0xFF));
        m_uAcc = 0;
        m_iBits = 0;
        return m_data;
    }

private:
    QByteArray m_data;
    quint32 m_uAcc = 0;
    int m_iBits = 0;
};

void PutLe16(QByteArray &out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

} // namespace

QByteArray GifLzw(const QByteArray &indices, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter out;
    QHash<quint32, int> table; // (prefix code << 8 | byte) -> code
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;

    out.Put(clearCode, codeSize);
    if (indices.isEmpty()) {
        out.Put(endCode, codeSize);
        return out.Finish();
    }
    int prefix = quint8(indices.at(0));
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const quint8 c = quint8(indices.at(i));
        const quint32 key = (quint32(prefix) << 8) | c;
        const auto it = table.constFind(key);
        if (it != table.constEnd()) {
            prefix = it.value();
            continue;
        }
        out.Put(prefix, codeSize);
        if (nextCode < 4096) {
            table.insert(key, nextCode++);
            // The decoder adds its entry one code later, so widen once the table passed 2^n.
            if (nextCode > (1 << codeSize) && codeSize < 12)
                ++codeSize;
        } else {
            out.Put(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = c;
    }
    out.Put(prefix, codeSize);
    out.Put(endCode, codeSize);
    return out.Finish();
}

QByteArray EncodeGif(QSize size, const QList<QRgb> &palette, const QList<GifFrame> &frames)
{
    const qsizetype pixels = qsizetype(size.width()) * size.height();
    if (palette.size() != 256 || frames.isEmpty() || size.isEmpty() || size.width() > 0xFFFF || size.height() > 0xFFFF)
        return {};
    for (const GifFrame &f : frames) {
        if (f.indices.size() != pixels)
            return {};
    }

    QByteArray out("GIF89a");
    PutLe16(out, size.width());
    PutLe16(out, size.height());
    out.append(char(0xF7)); // global palette, 8 bits of colour resolution, 256 entries
    out.append(char(0));    // background colour index
    out.append(char(0));    // square pixels
    for (QRgb c : palette) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    // Loop for ever.
    out.append("\x21\xFF\x0B"
               "NETSCAPE2.0"
               "\x03\x01",
               16);
    PutLe16(out, 0);
    out.append(char(0));

    for (const GifFrame &f : frames) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(0x04)); // dispose: leave in place (each frame is opaque and full-size)
        PutLe16(out, f.delayCs);
        out.append(char(0)); // no transparent index
        out.append(char(0));

        out.append(char(0x2C));
        PutLe16(out, 0);
        PutLe16(out, 0);
        PutLe16(out, size.width());
        PutLe16(out, size.height());
        out.append(char(0)); // no local palette, not interlaced

        const int minCodeSize = 8;
        out.append(char(minCodeSize));
        const QByteArray data = GifLzw(f.indices, minCodeSize);
        for (qsizetype pos = 0; pos < data.size(); pos += 255) {
            const qsizetype n = qMin<qsizetype>(255, data.size() - pos);
            out.append(char(n));
            out.append(data.constData() + pos, n);
        }
        out.append(char(0));
    }
    out.append(char(0x3B));
    return out;
}
