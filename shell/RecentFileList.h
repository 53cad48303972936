// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The eight most recently used files, kept as "File1".."File8" in "Recent File List".
#include <string>
#include <vector>

#include "platform/SettingsStore.h"

namespace qv {

class RecentFileList {
public:
    static constexpr size_t kSize = 8;
    static constexpr const char* kSection = "Recent File List";

    void Load(const ISettingsStore& store);
    void Save(ISettingsStore& store) const;
    // Puts path first; an entry naming the same file moves up instead of doubling.
    void Add(const std::string& path);
    void Remove(size_t index);
    // Drops the entry naming path (a file that could not be opened).
    void RemovePath(const std::string& path);
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace qv
