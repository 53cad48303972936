// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The persisted list of module files: string values "List1" to "List255" in the section
// "DataWindow", each the full path of a module file.
#include <string>
#include <vector>

namespace qv {

class ISettingsStore;

class ModuleList {
public:
    static constexpr const char* kSection = "DataWindow";
    static constexpr int kMaxEntries = 255;

    explicit ModuleList(ISettingsStore& store) : store_(store) {}

    // Makes the path absolute and writes it to the first free number unless it is listed
    // already (case ignored). False when it was neither listed nor written (list full).
    bool Add(const std::string& path);
    // Every value whose name starts with "List", in the order of their numbers.
    std::vector<std::string> Paths() const;
    // Deletes the first value "List1".."List255" that equals the path (case ignored).
    void Remove(const std::string& path);

private:
    ISettingsStore& store_;
};

// Case-blind equality of two paths in Windows-1252.
bool SamePathText(const std::string& a, const std::string& b);

}  // namespace qv
