// The camera table of the calculation panel: its seven columns, and its rows kept in step with
// the camera list, so that row i shows camera i exactly as its record reads. The panel hands on
// what the list's commands report; a change of the list also takes away the sort indicator,
// which only a sort puts back.
#pragma once

#include <QString>

class CCameraList;
class QObject;
class QStandardItemModel;
class QTreeView;

class CCameraRows
{
public:
    // Sets up the model of 'table' (child of 'owner') with the headers, widths and selection.
    CCameraRows(QTreeView *table, QObject *owner);

    QStandardItemModel *Model() const { return m_pModel; }

    void Insert(const CCameraList &list, int first, int count);
    void Remove(int first, int count);
    void Write(const CCameraList &list, int first, int count);
    // Every row anew, for a list replaced as a whole.
    void Rebuild(const CCameraList &list);
    // The list is in the order of a column (-1: of none).
    void ShowSort(int column, bool ascending);

private:
    QTreeView *m_pTable;
    QStandardItemModel *m_pModel;
};
