#include "calc/camerarows.h"

#include "calc/cameralist.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>

namespace {

// The camera name gets room for an imported IP channel's name ("192.168.100.200_IPCamera12").
const int kColumnWidths[NordaVocab::kColumnCount] = {100, 50, 150, 130, 80, 80, 100};
const char kLongCameraName[] = "192.168.100.200_IPCamera12";

QList<QStandardItem *> NewRowItems(const STRU_CAMERA &camera)
{
    QList<QStandardItem *> items;
    for (const QString &text : NordaVocab::CameraRowTexts(camera)) {
        auto item = new QStandardItem(text);
        item->setEditable(false);
        items << item;
    }
    return items;
}

} // namespace

CCameraRows::CCameraRows(QTreeView *table, QObject *owner)
    : m_pTable(table), m_pModel(new QStandardItemModel(0, NordaVocab::kColumnCount, owner))
{
    const QStringList headers = NordaVocab::ColumnHeaders();
    for (int column = 0; column < NordaVocab::kColumnCount; ++column) {
        m_pModel->setHeaderData(column, Qt::Horizontal, headers.at(column));
        m_pModel->setHeaderData(column, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter), Qt::TextAlignmentRole);
    }
    table->setModel(m_pModel);
    // A header click sorts the list itself (an undoable step), so row i stays camera i; the view
    // never sorts its model on its own. Set before the widths, as the indicator takes room.
    QHeaderView *header = table->header();
    table->setSortingEnabled(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    // The designed widths, widened where a translated header would be cut ("Camera Name" needs
    // more than 50 pixels); the last column takes what room is left.
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < NordaVocab::kColumnCount; ++column)
        table->setColumnWidth(column, std::max(kColumnWidths[column], header->sectionSizeHint(column)));
    table->setColumnWidth(NordaVocab::ColName,
                          std::max(table->columnWidth(NordaVocab::ColName),
                                   table->fontMetrics().horizontalAdvance(QString::fromLatin1(kLongCameraName)) + 16));
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void CCameraRows::Insert(const CCameraList &list, int first, int count)
{
    for (int i = first; i < first + count && i < list.Count(); ++i)
        m_pModel->insertRow(i, NewRowItems(list.At(i)));
    ShowSort(-1, true);
}

void CCameraRows::Remove(int first, int count)
{
    m_pModel->removeRows(first, count);
    ShowSort(-1, true);
}

void CCameraRows::Write(const CCameraList &list, int first, int count)
{
    const int end = std::min({first + count, list.Count(), m_pModel->rowCount()});
    for (int row = std::max(first, 0); row < end; ++row) {
        const QStringList texts = NordaVocab::CameraRowTexts(list.At(row));
        for (int column = 0; column < texts.size(); ++column) {
            QStandardItem *item = m_pModel->item(row, column);
            if (item && item->text() != texts.at(column))
                item->setText(texts.at(column));
        }
    }
    ShowSort(-1, true);
}

void CCameraRows::Rebuild(const CCameraList &list)
{
    m_pModel->removeRows(0, m_pModel->rowCount());
    for (const STRU_CAMERA &camera : list.Cameras())
        m_pModel->appendRow(NewRowItems(camera));
    ShowSort(-1, true);
}

void CCameraRows::ShowSort(int column, bool ascending)
{
    QHeaderView *header = m_pTable->header();
    const QSignalBlocker quiet(header);
    header->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->viewport()->update();
}
