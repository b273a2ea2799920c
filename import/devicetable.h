// Cells of the import dialogs' device tables.
#pragma once

#include <QStandardItem>
#include <QString>

// The port as "%5d" prints it, without the cost of a format string per row.
inline QString DevicePortText(int port)
{
    return QString::number(port).rightJustified(5, QLatin1Char(' '));
}

// Every cell of the device tables is read-only.
inline QStandardItem *ReadOnlyItem(QStandardItem *item)
{
    item->setEditable(false);
    return item;
}
