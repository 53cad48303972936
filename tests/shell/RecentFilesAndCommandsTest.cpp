// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "shell/CommandRouter.h"
#include "shell/CommandTable.h"
#include "shell/RecentFileList.h"
#include "tests/support/FakeSettingsStore.h"

namespace qv {
namespace {

TEST(RecentFileListTest, KeepsEightMostRecentFirstWithoutDoubles)
{
    RecentFileList list;
    for (int i = 1; i <= 10; ++i) list.Add("/tmp/f" + std::to_string(i));
    ASSERT_EQ(list.Entries().size(), 8u);
    EXPECT_EQ(list.Entries().front(), "/tmp/f10");
    EXPECT_EQ(list.Entries().back(), "/tmp/f3");
    list.Add("/tmp/f5");
    EXPECT_EQ(list.Entries().front(), "/tmp/f5");
    EXPECT_EQ(list.Entries().size(), 8u);

    test::FakeSettingsStore store;
    list.Save(store);
    EXPECT_EQ(store.ReadString("Recent File List", "File1"), "/tmp/f5");
    EXPECT_EQ(store.ReadString("Recent File List", "File8"), "/tmp/f3");
    RecentFileList loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.Entries(), list.Entries());

    loaded.Remove(0);
    loaded.Save(store);
    EXPECT_FALSE(store.ReadString("Recent File List", "File8"));

    loaded.RemovePath("/tmp/f9");  // a file that failed to open
    EXPECT_EQ(loaded.Entries().size(), 6u);
    EXPECT_EQ(std::count(loaded.Entries().begin(), loaded.Entries().end(), "/tmp/f9"), 0);
    loaded.RemovePath("/tmp/none");
    EXPECT_EQ(loaded.Entries().size(), 6u);
}

TEST(CommandRouterTest, FirstTargetInRouteOrderHandlesTheCommand)
{
    CommandRouter router;
    std::vector<std::string> ran;
    router.Add(CommandTarget::Application, 1, {[&] { ran.push_back("app"); }, {}});
    router.Add(CommandTarget::View, 1, {[&] { ran.push_back("view"); }, {}});
    router.Add(CommandTarget::Frame, 2, {[&] { ran.push_back("frame"); }, [] { return CommandState{true, true}; }});
    router.Add(CommandTarget::Document, 3, {[&] { ran.push_back("doc"); }, [] { return CommandState{false, false}; }});

    EXPECT_TRUE(router.Execute(1));
    EXPECT_TRUE(router.Execute(2));
    EXPECT_FALSE(router.Execute(3));  // disabled: not run
    EXPECT_FALSE(router.Execute(4));  // nobody handles it
    EXPECT_EQ(ran, (std::vector<std::string>{"view", "frame"}));
    EXPECT_TRUE(router.State(2).checked);
    EXPECT_FALSE(router.State(4).enabled);
}

TEST(CommandTableTest, MenusHoldEveryCommandInOrderWithTheirTexts)
{
    const auto& menu = MainMenu();
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0].title, "&Datei");
    EXPECT_EQ(menu[4].title, "&?");
    // Every menu command is described, and the module menu names 32808 in its own words.
    std::set<int> seen;
    for (const auto& popup : menu)
        for (const auto& entry : popup.entries)
            if (entry.kind == MainMenuEntry::Command) {
                ASSERT_NE(FindCommand(entry.id), nullptr) << entry.id;
                seen.insert(entry.id);
            }
    // With the four compare commands, the value inspector, the hashes and the entropy strip.
    EXPECT_EQ(seen.size(), 55u);
    EXPECT_EQ(menu[3].entries[6].text, "Datenfenster &aktuallisieren\tF8");
    EXPECT_EQ(FindCommand(32808)->menuText, "Daten &erneuern\tF8");

    // The font command's label names its own key, Ctrl+T, not the save key.
    EXPECT_EQ(FindCommand(32783)->menuText, "Sch&rift einstellen\tStrg+T");
    EXPECT_EQ(FindCommand(32783)->keys, std::vector<std::string>{"Ctrl+T"});
    EXPECT_EQ(FindCommand(57643)->keys, (std::vector<std::string>{"Ctrl+Z", "Alt+Backspace"}));
    EXPECT_EQ(FindCommand(57665)->keys, std::vector<std::string>{"Esc"});
}

TEST(CommandTableTest, StatusAndToolTipTextsSplitAtTheNewline)
{
    EXPECT_EQ(StatusTextOf(*FindCommand(32771)), "Suche weiter nach dem vorherigen Ausdruck");
    EXPECT_EQ(ToolTipOf(*FindCommand(32771)), "Weitersuchen");
    EXPECT_EQ(ToolTipOf(*FindCommand(32784)), "");
    const auto& bar = ToolbarLayout();
    EXPECT_EQ(std::count(bar.begin(), bar.end(), 0), 9);  // nine gaps between 21 buttons (three compare)
    EXPECT_EQ(bar.size(), 30u);
}

}  // namespace
}  // namespace qv

#include "shell/StatusPaneLayout.h"

namespace qv {
namespace {

TEST(StatusPaneLayoutTest, WidthsCountsAndIndexes)
{
    EXPECT_EQ(PaneCharacterWidth(8, 15), 8);
    EXPECT_EQ(PaneCharacterWidth(std::nullopt, 15), 10);  // two thirds of the height
    EXPECT_EQ(PaneCharacterWidth(40, 60), 25);             // capped
    EXPECT_EQ(PaneCharacterWidth(std::nullopt, std::nullopt), 7);

    const std::vector<int32_t> values = {1, 2, 0, 4};
    const std::vector<int32_t> widths = {-20, -23, 30, 40};
    EXPECT_EQ(ResolvePaneWidths(values, &widths, 2, 8), (std::vector<int32_t>{160, 184}));
    EXPECT_EQ(ResolvePaneWidths(values, nullptr, -1, 8), (std::vector<int32_t>{50, 50}));  // up to the first 0
    EXPECT_TRUE(ResolvePaneWidths(values, &widths, 0, 8).empty());
    const std::vector<int32_t> many(12, 1);
    EXPECT_EQ(ResolvePaneWidths(many, nullptr, 12, 8).size(), 8u);

    EXPECT_EQ(ResolvePaneIndex(1, 2), 1);
    EXPECT_EQ(ResolvePaneIndex(-1, 2), 1);
    EXPECT_FALSE(ResolvePaneIndex(5, 2));  // only two panes: nothing changes
    EXPECT_FALSE(ResolvePaneIndex(0, 0));
}

}  // namespace
}  // namespace qv
