#pragma once
// The search lists and flags that are stored with the hex view's settings but belong to
// the search: one set per process, shared by every hex view.
#include <cstdint>

#include "common/MultiString.h"
#include "platform/SettingsStore.h"

namespace qv {

struct HexSearchSettings {
    MultiString findHistory;   // "HexFind"
    MultiString groupList;     // "HexGroup"
    uint32_t findFlags = 0;    // "HexFindFlags"
    bool listsLoaded = false;  // the lists are read once per process
};

HexSearchSettings& SharedHexSearchSettings();

// Longest stored list that is taken over, in bytes.
inline constexpr size_t kMaxStoredSearchList = 2048;

// Reads the two lists (once per process) from the root section of the store.
void LoadHexSearchLists(const ISettingsStore& store);
// Writes the lists that are present.
void SaveHexSearchLists(ISettingsStore& store);

}  // namespace qv
