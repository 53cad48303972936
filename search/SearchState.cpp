// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchState.h"

namespace qv {
namespace {

constexpr std::string_view kSection = "";

// Stored lists beyond this size are taken in part: the leading texts that fit. (Big
// enough for 16 texts of long values; a damaged value cannot flood the dialog.)
constexpr size_t kMaxStoredListBytes = 64 * 1024;

void LoadList(MultiString& list, const ISettingsStore& store, std::string_view name)
{
    if (list.Count() > 0) return;
    auto texts = store.ReadMultiString(kSection, name);
    if (!texts) return;
    MultiString loaded;
    for (const std::string& text : *texts) {
        if (text.empty()) continue;
        if (loaded.Size() + text.size() + 2 > kMaxStoredListBytes) break;
        loaded.Insert(loaded.Count(), text);
    }
    list = loaded;
}

}  // namespace

SearchState& TheSearchState()
{
    static SearchState state;
    return state;
}

void LoadSearchSettings(SearchState& state, const ISettingsStore& store)
{
    LoadList(state.history, store, "HexFind");
    LoadList(state.groupList, store, "HexGroup");
    if (auto flags = store.ReadDword(kSection, "HexFindFlags")) state.flags = *flags;
}

void SaveSearchSettings(const SearchState& state, ISettingsStore& store)
{
    if (!state.history.IsAbsent()) store.WriteMultiString(kSection, "HexFind", state.history.ToList());
    if (!state.groupList.IsAbsent()) store.WriteMultiString(kSection, "HexGroup", state.groupList.ToList());
    store.WriteDword(kSection, "HexFindFlags", state.flags & kSearchOptionMask);  // options only, no passing state
}

}  // namespace qv
