// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ui/DataRowModel.h"

#include "modules/DataWindow.h"
#include "platform/qt/QtText.h"

namespace qv {

DataRowModel::DataRowModel(DataWnd& window, int page, QObject* parent)
    : QAbstractItemModel(parent), window_(window), page_(page)
{
    tree_.Reset(&window_.Rows(page_));
}

void DataRowModel::Reload()
{
    beginResetModel();
    tree_.Reset(&window_.Rows(page_));
    endResetModel();
}

int DataRowModel::RowOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex DataRowModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= kColumnCount) return {};
    const int child = tree_.Child(parent.isValid() ? RowOf(parent) : DataRowTree::kTop, row);
    return child < 0 ? QModelIndex() : createIndex(row, column, static_cast<quintptr>(child));
}

QModelIndex DataRowModel::parent(const QModelIndex& child) const
{
    const int parentRow = tree_.Parent(RowOf(child));
    if (!child.isValid() || parentRow == DataRowTree::kTop) return {};
    return createIndex(tree_.Position(parentRow), 0, static_cast<quintptr>(parentRow));
}

int DataRowModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0) return 0;
    return tree_.ChildCount(parent.isValid() ? RowOf(parent) : DataRowTree::kTop);
}

int DataRowModel::columnCount(const QModelIndex&) const
{
    return kColumnCount;
}

bool DataRowModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid()) return window_.RowCount(page_) > 0;
    return parent.column() == 0 && tree_.HasChildren(RowOf(parent));
}

QVariant DataRowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return ToQt(window_.ColumnText(page_, RowOf(index), index.column()));
}

QVariant DataRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kTitles[kColumnCount] = {"Typ", "Inhalt", "Offset", "Größe", "Adresse"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return {};
    return QString::fromUtf8(kTitles[section]);
}

}  // namespace qv
