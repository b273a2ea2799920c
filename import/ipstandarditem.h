// A table cell holding a dotted IPv4 address that sorts by the address's numbers, so that
// 10.0.0.2 comes before 10.0.0.10.
#pragma once

#include <QByteArray>
#include <QStandardItem>

class CIpStandardItem : public QStandardItem
{
public:
    explicit CIpStandardItem(const QString &address);

    bool operator<(const QStandardItem &other) const override;

    // The twelve-digit key the order compares: the first four dot-separated numbers, three
    // digits each. Pieces that are no number count as 0, numbers are cut into 0..999, missing
    // pieces count as 0.
    static QByteArray SortKey(const QString &address);
};
