// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/LabelList.h"

#include <algorithm>

#include "modules/NameCompare.h"

namespace qv {

bool LabelList::Add(std::string_view name, int32_t statement)
{
    std::string key(name);
    for (char& c : key) c = static_cast<char>(FoldNameCase(static_cast<uint8_t>(c)));
    bool isNew = folded_.insert(std::move(key)).second;
    entries_.push_back(Entry{std::string(name), statement});
    return isNew;
}

void LabelList::Sort()
{
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return CompareNames(a.name, b.name) < 0; });
}

int LabelList::Find(std::string_view name) const
{
    auto found = std::lower_bound(entries_.begin(), entries_.end(), name,
                                  [](const Entry& e, std::string_view n) { return CompareNames(e.name, n) < 0; });
    if (found == entries_.end() || CompareNames(found->name, name) != 0) return -1;
    return static_cast<int>(found - entries_.begin());
}

}  // namespace qv
