// The addresses a user types for a search beyond the multicast segment: single IPv4 addresses,
// ranges ("192.168.1.10-200" or "192.168.1.10-192.168.1.200"), networks ("10.0.5.0/24", without
// their network and broadcast addresses) and lists of them, separated by commas, semicolons or
// blanks. The expansion is bounded before anything is allocated, so "0.0.0.0/0" costs nothing.
#pragma once

#include <QString>
#include <QVector>

namespace AddressRange {

constexpr int kMaxAddresses = 4096;

// The addresses in the order typed, each once. False with *error (translated) for a text that
// names no address, a piece that is not an address, range or network, a range that ends before
// it starts, an address no device can have (0.x, multicast, reserved), or more than
// kMaxAddresses addresses.
bool Parse(const QString &text, QVector<quint32> *addresses, QString *error);

constexpr int kMaxPorts = 16;
// "80, 8000, 8080": ports from 1 to 65535 in the order typed, each once; false with *error.
bool ParsePorts(const QString &text, QVector<quint16> *ports, QString *error);

QString Text(quint32 address);

} // namespace AddressRange
