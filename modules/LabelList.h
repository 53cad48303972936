// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The labels of the module being compiled, sorted by name without regard to case. A
// label's number is its position in this list. Of two definitions of one name, the one
// defined first comes first and is the one that references find.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qv {

class LabelList {
public:
    struct Entry {
        std::string name;
        int32_t statement;
    };

    // Enters a label; returns false when the name was entered before (it is kept anyway).
    // Labels are entered first and sorted once by Sort(); Find and At need the sorted list.
    bool Add(std::string_view name, int32_t statement);
    void Sort();

    // Label number of the first definition of name, or -1.
    int Find(std::string_view name) const;
    const Entry& At(int number) const { return entries_[static_cast<size_t>(number)]; }
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<Entry> entries_;
    std::unordered_set<std::string> folded_;  // the names seen, in capitals
};

}  // namespace qv
