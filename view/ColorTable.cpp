// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ColorTable.h"

#include <algorithm>

namespace qv {

int32_t ColorTable::Add(Color text, Color background, std::string_view name, int32_t index, int32_t fontStyle)
{
    if (index != 0 && FindByIndex(index) >= 0) index = 0;
    entries_.push_back(ColorEntry{background, text, index, fontStyle, std::string(name)});
    return Count() - 1;
}

void ColorTable::AddDefaults(const std::vector<ColorEntry>& defaults)
{
    for (const ColorEntry& entry : defaults) {
        if (entry.index > 0 && FindByIndex(entry.index) >= 0) continue;
        Add(entry.text, entry.background, entry.name, entry.index, entry.fontStyle);
    }
}

int32_t ColorTable::FindByName(std::string_view name) const
{
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const ColorEntry& e) { return e.name == name; });
    return it == entries_.end() ? -1 : static_cast<int32_t>(it - entries_.begin());
}

int32_t ColorTable::FindByIndex(int32_t index) const
{
    if (index <= 0) return -1;  // index 0 marks entries that are never looked up
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const ColorEntry& e) { return e.index == index; });
    return it == entries_.end() ? -1 : static_cast<int32_t>(it - entries_.begin());
}

bool ColorTable::UpdateByIndex(const ColorEntry& entry)
{
    int32_t position = FindByIndex(entry.index);
    if (position < 0) return false;
    entries_[static_cast<size_t>(position)] = entry;
    return true;
}

const ColorEntry& ColorTable::ForAttribute(int attribute) const
{
    if (attribute < 0 || attribute >= Count()) attribute = 0;
    return entries_.at(static_cast<size_t>(attribute));
}

}  // namespace qv
