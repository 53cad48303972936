// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchState.h"

#include <gtest/gtest.h>

#include "tests/support/FakeSettingsStore.h"

namespace qv {
namespace {

TEST(SearchState, SettingsRoundTripInTheRootSection)
{
    test::FakeSettingsStore store;
    SearchState state;
    state.history = MultiString::FromList({"0x41", "\"abc\""});
    state.groupList = MultiString::FromList({"1000", "H:1\t:41\t\t\t\t\t(0x41)"});
    state.flags = kSearchBackward | kSearchGroup | kSearchSelectionExists;
    SaveSearchSettings(state, store);
    EXPECT_EQ(store.ReadDword("", "HexFindFlags"), kSearchBackward | kSearchGroup);
    state.flags &= ~kSearchSelectionExists;

    SearchState loaded;
    LoadSearchSettings(loaded, store);
    EXPECT_EQ(loaded.history, state.history);
    EXPECT_EQ(loaded.groupList, state.groupList);
    EXPECT_EQ(loaded.flags, state.flags);
}

TEST(SearchState, ListsAreReadOnlyWhileEmptyAndAbsentOnesAreNotWritten)
{
    test::FakeSettingsStore store;
    store.WriteMultiString("", "HexFind", {"stored"});
    SearchState state;
    state.history = MultiString::FromList({"typed"});
    LoadSearchSettings(state, store);
    EXPECT_EQ(state.history.ToList(), (std::vector<std::string>{"typed"}));
    EXPECT_EQ(state.flags, kDefaultSearchFlags);  // no stored flags: the default stays

    test::FakeSettingsStore empty;
    SaveSearchSettings(SearchState{}, empty);
    EXPECT_FALSE(empty.ReadMultiString("", "HexFind"));
    EXPECT_FALSE(empty.ReadMultiString("", "HexGroup"));
    EXPECT_EQ(empty.ReadDword("", "HexFindFlags"), 4u);
}

TEST(SearchState, OversizedStoredListsKeepTheirLeadingTexts)
{
    test::FakeSettingsStore store;
    std::vector<std::string> texts;
    for (int i = 0; i < 100; ++i) texts.push_back(std::string(1000, static_cast<char>('a' + i % 26)));
    store.WriteMultiString("", "HexFind", texts);
    SearchState state;
    LoadSearchSettings(state, store);
    ASSERT_GT(state.history.Count(), 16u);
    EXPECT_LT(state.history.Size(), 64u * 1024);
    EXPECT_EQ(*state.history.Get(0), texts[0]);
}

}  // namespace
}  // namespace qv
