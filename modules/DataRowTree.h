// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tree over the flat rows of a run: a row's children are the following rows exactly
// one level deeper, up to the first row that is not deeper than the row itself. Child
// lists are built when they are first asked for, so a long run costs nothing until it is
// expanded; rows nested more than 7 levels deep are not expanded.
#include <cstdint>
#include <vector>

#include "modules/ModuleRecords.h"

namespace qv {

class DataRowTree {
public:
    static constexpr int kMaxExpandIndent = 7;
    static constexpr int kTop = -1;  // the invisible parent of the top-level rows

    // The rows must outlive the tree or the next Reset.
    void Reset(const std::vector<ResultRow>* rows);

    // The next row is deeper, and the row may be expanded.
    bool HasChildren(int row) const;
    int ChildCount(int parent) { return static_cast<int>(Children(parent).size()); }
    // Row number of a child; -1 when out of range.
    int Child(int parent, int index);
    // Parent row (kTop for a top-level row) and position under it, of a row handed out by Child.
    int Parent(int row) const { return Known(row) ? parent_[static_cast<size_t>(row)] : kTop; }
    int Position(int row) const { return Known(row) ? position_[static_cast<size_t>(row)] : 0; }

private:
    const std::vector<int>& Children(int parent);
    bool Known(int row) const { return row >= 0 && static_cast<size_t>(row) < parent_.size(); }

    const std::vector<ResultRow>* rows_ = nullptr;
    std::vector<std::vector<int>> children_;  // index parent + 1
    std::vector<bool> built_;
    std::vector<int> parent_;
    std::vector<int> position_;
};

}  // namespace qv
