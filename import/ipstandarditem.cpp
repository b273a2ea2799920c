#include "import/ipstandarditem.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>

CIpStandardItem::CIpStandardItem(const QString &address) : QStandardItem(address)
{
}

QByteArray CIpStandardItem::SortKey(const QString &address)
{
    const QStringList pieces = address.split(QLatin1Char('.'));
    QByteArray key;
    key.reserve(12);
    for (int i = 0; i < 4; ++i) {
        // A leading decimal number, as the C library reads it; a hostile text such as
        // "99999999999" must not overflow or widen the key.
        long value = 0;
        if (i < pieces.size()) {
            const QByteArray piece = pieces.at(i).left(12).toLatin1();
            value = std::strtol(piece.constData(), nullptr, 10);
        }
        value = std::clamp(value, 0L, 999L);
        key += QByteArray::number(static_cast<int>(value)).rightJustified(3, '0');
    }
    return key;
}

bool CIpStandardItem::operator<(const QStandardItem &other) const
{
    return SortKey(text()) < SortKey(other.text());
}
