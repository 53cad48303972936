// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the search keeps for the whole process, shared by every view: the history of typed
// texts ("HexFind"), the group list ("HexGroup"), the active pattern, the options
// ("HexFindFlags"), the width choice and where the dialog was last closed.
#include <cstdint>
#include <optional>
#include <string_view>

#include "common/MultiString.h"
#include "platform/SettingsStore.h"
#include "search/ValueKind.h"

namespace qv {

inline constexpr size_t kMaxHistory = 16;
// Typed texts are read up to this many characters: enough for every value of 256 bytes
// written as a dump, a bit mask or an escaped text.
inline constexpr size_t kMaxTypedText = 2048;

struct DialogPosition {
    int x = 0;
    int y = 0;
};

struct SearchState {
    MultiString history;    // typed texts, most recent first
    MultiString groupList;  // the group window in decimal, then the group entries
    MultiString pattern;    // the active pattern: window, then entries; absent when none
    uint32_t flags = kDefaultSearchFlags;
    ValueWidth width = ValueWidth::DWord;
    std::optional<DialogPosition> dialogPosition;  // not stored
};

// The one instance of the process.
SearchState& TheSearchState();

// The settings live in the root section, beside the hex view's layout values. The lists
// are read only while they are still empty in this process.
void LoadSearchSettings(SearchState& state, const ISettingsStore& store);
void SaveSearchSettings(const SearchState& state, ISettingsStore& store);

}  // namespace qv
