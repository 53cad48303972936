#include "view/HexSettings.h"

namespace qv {

namespace {

// A stored list that does not fit the limit is left out, as a damaged value would be.
MultiString ReadList(const ISettingsStore& store, const char* name)
{
    const auto list = store.ReadMultiString("", name);
    if (!list) return {};
    MultiString result = MultiString::FromList(*list);
    return result.Size() <= kMaxStoredSearchList ? result : MultiString{};
}

}  // namespace

HexSearchSettings& SharedHexSearchSettings()
{
    static HexSearchSettings settings;
    return settings;
}

void LoadHexSearchLists(const ISettingsStore& store)
{
    HexSearchSettings& shared = SharedHexSearchSettings();
    if (shared.listsLoaded) return;
    shared.findHistory = ReadList(store, "HexFind");
    shared.groupList = ReadList(store, "HexGroup");
    shared.listsLoaded = true;
}

void SaveHexSearchLists(ISettingsStore& store)
{
    const HexSearchSettings& shared = SharedHexSearchSettings();
    if (!shared.findHistory.IsAbsent()) store.WriteMultiString("", "HexFind", shared.findHistory.ToList());
    if (!shared.groupList.IsAbsent()) store.WriteMultiString("", "HexGroup", shared.groupList.ToList());
}

}  // namespace qv
