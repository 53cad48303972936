// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/ModuleList.h"

#include <algorithm>
#include <cstdlib>

#include "modules/NameCompare.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace qv {
namespace {

std::string EntryName(int number) { return "List" + std::to_string(number); }

// Number of a "ListN" value for ordering; names without a number sort last.
long NumberOf(const std::string& name)
{
    const std::string digits = name.substr(4);
    char* end = nullptr;
    const long number = std::strtol(digits.c_str(), &end, 10);
    return !digits.empty() && end && *end == 0 ? number : 1L << 30;
}

}  // namespace

bool SamePathText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldNameCase(static_cast<uint8_t>(x)) == FoldNameCase(static_cast<uint8_t>(y));
           });
}

bool ModuleList::Add(const std::string& path)
{
    const std::string full = FullPath(path);
    int firstFree = 0;
    for (int i = 1; i <= kMaxEntries; ++i) {
        auto value = store_.ReadString(kSection, EntryName(i));
        if (!value) {
            if (firstFree == 0) firstFree = i;
        } else if (SamePathText(*value, full)) {
            return true;
        }
    }
    if (firstFree == 0) return false;
    store_.WriteString(kSection, EntryName(firstFree), full);
    return true;
}

std::vector<std::string> ModuleList::Paths() const
{
    std::vector<std::string> names;
    for (const std::string& name : store_.ValueNames(kSection))
        if (name.size() > 4 && name.compare(0, 4, "List") == 0) names.push_back(name);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return NumberOf(a) < NumberOf(b); });
    std::vector<std::string> paths;
    for (const std::string& name : names)
        if (auto value = store_.ReadString(kSection, name); value && !value->empty()) paths.push_back(*value);
    return paths;
}

void ModuleList::Remove(const std::string& path)
{
    for (int i = 1; i <= kMaxEntries; ++i) {
        auto value = store_.ReadString(kSection, EntryName(i));
        if (value && SamePathText(*value, path)) {
            store_.DeleteValue(kSection, EntryName(i));
            return;
        }
    }
}

}  // namespace qv
