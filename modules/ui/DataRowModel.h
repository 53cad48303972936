// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of one data window page for a QTreeView: an item per row, children made when
// their parent is first expanded, the five column texts from DataWnd.
#include <QAbstractItemModel>

#include "modules/DataRowTree.h"

namespace qv {

class DataWnd;

class DataRowModel : public QAbstractItemModel {
    Q_OBJECT
public:
    DataRowModel(DataWnd& window, int page, QObject* parent = nullptr);

    // Takes the page's rows again after a run.
    void Reload();
    // Row number of the run behind an index, -1 for none.
    static int RowOf(const QModelIndex& index);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    DataWnd& window_;
    int page_;
    mutable DataRowTree tree_;  // builds child lists on first use
};

}  // namespace qv
