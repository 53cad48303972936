// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/DataRowTree.h"

namespace qv {

void DataRowTree::Reset(const std::vector<ResultRow>* rows)
{
    rows_ = rows;
    const size_t count = rows ? rows->size() : 0;
    children_.assign(count + 1, {});
    built_.assign(count + 1, false);
    parent_.assign(count, kTop);
    position_.assign(count, 0);
}

bool DataRowTree::HasChildren(int row) const
{
    if (!rows_ || row < 0 || static_cast<size_t>(row) + 1 >= rows_->size()) return false;
    const auto& rows = *rows_;
    const int32_t indent = rows[static_cast<size_t>(row)].indent;
    return indent <= kMaxExpandIndent && rows[static_cast<size_t>(row) + 1].indent > indent;
}

int DataRowTree::Child(int parent, int index)
{
    const auto& children = Children(parent);
    return index >= 0 && static_cast<size_t>(index) < children.size() ? children[static_cast<size_t>(index)] : -1;
}

const std::vector<int>& DataRowTree::Children(int parent)
{
    static const std::vector<int> kNone;
    const size_t slot = static_cast<size_t>(parent + 1);
    if (parent < kTop || slot >= children_.size()) return kNone;
    if (parent != kTop && !HasChildren(parent)) return kNone;
    if (built_[slot]) return children_[slot];
    built_[slot] = true;
    const auto& rows = *rows_;
    const int32_t level = parent == kTop ? -1 : rows[static_cast<size_t>(parent)].indent;
    std::vector<int>& children = children_[slot];
    for (size_t r = static_cast<size_t>(parent + 1); r < rows.size() && rows[r].indent > level; ++r) {
        if (rows[r].indent != level + 1) continue;
        parent_[r] = parent;
        position_[r] = static_cast<int>(children.size());
        children.push_back(static_cast<int>(r));
    }
    return children;
}

}  // namespace qv
