// Writes SQLite tables the way the video-management client keeps its devices.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace SampleDb {

inline constexpr char kDeviceTable[] = "TInfo_Device";

// The device table's column declarations, in the order of a device row's values.
QStringList DeviceColumns();

struct DeviceOptions
{
    int iCount = 4;
    QByteArray strAddressBase = "127.0.0.1"; // the first device's address
    int iPort = 8000;                        // the first device's port
    // false: consecutive addresses, one port; true: the base address, consecutive ports.
    bool bSameAddress = false;
    QByteArray strUserName = "admin";
    QByteArray strPassword = "12345";
};

// Device rows for DeviceColumns(), named "Device 1" ... Sets error and returns false for a bad
// base address, or when the addresses or ports would run past their range.
bool MakeDeviceRows(const DeviceOptions &options, QList<QVariantList> *rows, QString *error);

// Adds a table to the database file (created when missing) and fills it in one transaction.
// A row's values bind in column order: an invalid QVariant as NULL, QByteArray as a blob,
// QString as text, integers and doubles as numbers.
bool WriteTable(const QString &path, const QString &table, const QStringList &columns, const QList<QVariantList> &rows,
                QString *error);

} // namespace SampleDb
