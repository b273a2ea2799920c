#include "import/addressrange.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

namespace AddressRange {

namespace {

// 0..255 in decimal without leading zeros (some systems read those as octal).
bool ParseOctet(const QString &text, quint32 *octet)
{
    if (text.isEmpty() || text.size() > 3 || (text.size() > 1 && text.at(0) == QLatin1Char('0')))
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    *octet = text.toUInt();
    return *octet <= 255;
}

bool ParseAddress(const QString &text, quint32 *address)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QString &part : parts) {
        quint32 octet = 0;
        if (!ParseOctet(part, &octet))
            return false;
        value = (value << 8) | octet;
    }
    *address = value;
    return true;
}

// Where a device can be: not "this network" (0.x), not multicast, reserved or broadcast.
bool IsDeviceAddress(quint32 address)
{
    const quint32 first = address >> 24;
    return first != 0 && first < 224;
}

struct SPAN
{
    quint32 first = 0;
    quint32 last = 0;
};

// One piece of the list as a span of addresses; false with *error.
bool ParsePiece(const QString &piece, SPAN *span, QString *error)
{
    const int slash = piece.indexOf(QLatin1Char('/'));
    const int dash = piece.indexOf(QLatin1Char('-'));
    if (slash >= 0) {
        quint32 base = 0;
        quint32 prefix = 0;
        const QString length = piece.mid(slash + 1);
        if (!ParseAddress(piece.left(slash), &base) || !ParseOctet(length, &prefix) || prefix > 32) {
            *error = QCoreApplication::translate("AddressRange", "\"%1\" is not an IPv4 network such as 10.0.5.0/24.")
                         .arg(piece);
            return false;
        }
        const quint32 mask = prefix == 0 ? 0 : ~quint32(0) << (32 - prefix);
        span->first = base & mask;
        span->last = span->first | ~mask;
        // A network's own address and its broadcast address are no device's.
        if (prefix <= 30) {
            ++span->first;
            --span->last;
        }
        return true;
    }
    if (dash >= 0) {
        const QString from = piece.left(dash);
        const QString to = piece.mid(dash + 1);
        bool ok = ParseAddress(from, &span->first);
        if (ok && !to.contains(QLatin1Char('.'))) {
            // "192.168.1.10-200": the end replaces the last part of the start.
            quint32 octet = 0;
            ok = ParseOctet(to, &octet);
            span->last = (span->first & 0xffffff00u) | octet;
        } else if (ok) {
            ok = ParseAddress(to, &span->last);
        }
        if (!ok) {
            *error =
                QCoreApplication::translate("AddressRange", "\"%1\" is not an IPv4 range such as 192.168.1.10-200.")
                    .arg(piece);
            return false;
        }
        if (span->last < span->first) {
            *error = QCoreApplication::translate("AddressRange", "The range \"%1\" ends before it starts.").arg(piece);
            return false;
        }
        return true;
    }
    if (!ParseAddress(piece, &span->first)) {
        *error = QCoreApplication::translate("AddressRange", "\"%1\" is not an IPv4 address.").arg(piece);
        return false;
    }
    span->last = span->first;
    return true;
}

} // namespace

bool Parse(const QString &text, QVector<quint32> *addresses, QString *error)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    // Blanks around a dash or slash belong to the piece: "10.0.0.1 - 20" is one range.
    static const QRegularExpression joined(QStringLiteral("\\s*([-/])\\s*"));
    QString normalised = text;
    normalised.replace(joined, QStringLiteral("\\1"));
    const QStringList pieces = normalised.split(separators, Qt::SkipEmptyParts);
    if (pieces.isEmpty()) {
        *error = QCoreApplication::translate(
            "AddressRange", "Enter the addresses to search, for example 192.168.1.10-200 or 10.0.5.0/24.");
        return false;
    }
    QVector<SPAN> spans;
    qint64 total = 0;
    for (const QString &piece : pieces) {
        SPAN span;
        if (!ParsePiece(piece, &span, error))
            return false;
        if (!IsDeviceAddress(span.first) || !IsDeviceAddress(span.last)) {
            *error =
                QCoreApplication::translate("AddressRange", "\"%1\" holds addresses no device can have.").arg(piece);
            return false;
        }
        total += qint64(span.last) - span.first + 1;
        if (total > kMaxAddresses) {
            *error = QCoreApplication::translate("AddressRange", "At most %1 addresses can be searched at once.")
                         .arg(kMaxAddresses);
            return false;
        }
        spans.append(span);
    }
    addresses->clear();
    addresses->reserve(int(total));
    QSet<quint32> seen;
    for (const SPAN &span : spans) {
        for (quint64 address = span.first; address <= span.last; ++address) {
            if (!seen.contains(quint32(address))) {
                seen.insert(quint32(address));
                addresses->append(quint32(address));
            }
        }
    }
    return true;
}

bool ParsePorts(const QString &text, QVector<quint16> *ports, QString *error)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    ports->clear();
    for (const QString &piece : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint port = piece.toUInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            *error = QCoreApplication::translate("AddressRange", "\"%1\" is not a port from 1 to 65535.").arg(piece);
            return false;
        }
        if (!ports->contains(quint16(port)))
            ports->append(quint16(port));
    }
    if (ports->isEmpty() || ports->size() > kMaxPorts) {
        *error =
            QCoreApplication::translate("AddressRange", "Enter 1 to %1 ports, such as 80, 8000, 8080.").arg(kMaxPorts);
        return false;
    }
    return true;
}

QString Text(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}

} // namespace AddressRange
