// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/RecentFileList.h"

#include "common/PathHelpers.h"

namespace qv {

void RecentFileList::Load(const ISettingsStore& store)
{
    entries_.clear();
    for (size_t i = 1; i <= kSize; ++i) {
        auto entry = store.ReadString(kSection, "File" + std::to_string(i));
        if (entry && !entry->empty()) entries_.push_back(*entry);
    }
}

void RecentFileList::Save(ISettingsStore& store) const
{
    for (size_t i = 0; i < kSize; ++i) {
        const std::string name = "File" + std::to_string(i + 1);
        if (i < entries_.size())
            store.WriteString(kSection, name, entries_[i]);
        else
            store.DeleteValue(kSection, name);
    }
}

void RecentFileList::Add(const std::string& path)
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (SamePath(entries_[i], path)) {
            entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kSize) entries_.resize(kSize);
}

void RecentFileList::Remove(size_t index)
{
    if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFileList::RemovePath(const std::string& path)
{
    std::erase_if(entries_, [&](const std::string& entry) { return SamePath(entry, path); });
}

}  // namespace qv
