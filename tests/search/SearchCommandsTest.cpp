// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "search/SearchDialogModel.h"
#include "search/SearchEntry.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeSearchTarget.h"
#include "tests/support/ScriptedTaskRunner.h"
#include "tests/support/SparseByteSource.h"

namespace qv {
namespace {

using test::FakeSearchTarget;
using Mark = FakeSearchTarget::Mark;

class SearchCommandsTest : public ::testing::Test {
protected:
    // Scripts one opening of "Wert suchen": the user types `text`, adjusts the options and
    // presses OK (or "Weitersuchen").
    void WillSearch(std::string text, std::function<void(SearchDialogModel&)> adjust = {}, bool again = false)
    {
        dialogs.steps.push_back([=, this](DialogModel& model) {
            auto& dialog = static_cast<SearchDialogModel&>(model);
            initialTexts.push_back(dialog.Text());
            dialog.TypeText(text);
            if (adjust) adjust(dialog);
            return dialog.Accept(again);
        });
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : prompt.shown) texts.push_back(shown.text);
        return texts;
    }

    SearchState state;
    FakeSearchTarget target;
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::ScriptedTaskRunner runner;
    SearchCommands commands{target, prompt, dialogs, runner, state};
    std::vector<std::string> initialTexts;
};

const std::vector<uint8_t> kAbc{'a', 'b', 'c', 'x', 'a', 'b', 'c', 'y', 'a', 'b', 'c', 'z'};

TEST_F(SearchCommandsTest, ForwardSearchStartsAfterTheCursorAndWraps)
{
    target.bytes = kAbc;
    target.cursor = 4;
    WillSearch("abc");
    commands.Search();
    EXPECT_EQ(target.cursor, 8);
    ASSERT_TRUE(target.selection);
    EXPECT_EQ(target.selection->lowest, 8);
    EXPECT_EQ(target.selection->highest, 10);
    EXPECT_EQ(target.marks[0], (Mark{8, 3}));
    EXPECT_EQ(runner.titles, std::vector<std::string>{kSearchTaskTitle});  // the search ran as long work

    WillSearch("abc");  // wraps to the start without asking
    commands.Search();
    EXPECT_EQ(target.cursor, 0);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SearchCommandsTest, AMatchOnlyAtTheCursorIsNotFoundByTheDialogButByFindNext)
{
    target.bytes = {0, 0, 'a', 'b', 0, 0};
    target.cursor = 2;
    WillSearch("ab");
    commands.Search();
    ASSERT_EQ(Messages(), (std::vector<std::string>{"Bereich wurde nicht gefunden !"}));
    EXPECT_EQ(prompt.shown[0].icon, PromptIcon::None);
    EXPECT_EQ(target.marks[0], Mark{});

    prompt.answers = {PromptAnswer::Ok};
    commands.FindNext();
    EXPECT_EQ(Messages()[1], "Ende erreicht. Am Anfang weiter suchen ?");
    EXPECT_EQ(prompt.shown[1].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(target.cursor, 2);
    EXPECT_EQ(target.marks[0], (Mark{2, 2}));
}

TEST_F(SearchCommandsTest, FindNextStopsWhenTheQuestionIsCancelledAndTellsWhenNothingIsLeft)
{
    target.bytes = kAbc;
    state.pattern = MultiString::FromList({"0", *BuildSearchEntry({"\"q\"", 4, ValueWidth::Variable})});
    target.cursor = 5;
    prompt.answers = {PromptAnswer::Cancel};
    commands.FindNext();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Ende erreicht. Am Anfang weiter suchen ?"}));

    prompt.answers = {PromptAnswer::Ok};
    commands.FindNext();
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[2].text, "Bereich wurde nicht gefunden !");
    EXPECT_EQ(prompt.shown[2].icon, PromptIcon::Information);
    EXPECT_TRUE(dialogs.opened.empty());
}

TEST_F(SearchCommandsTest, BackwardSearches)
{
    target.bytes = kAbc;
    target.cursor = 0;
    auto backward = [](SearchDialogModel& d) {
        d.ClickDirection(true);
        d.SetWholeMemory(true);
    };
    auto backwardNoWrap = [](SearchDialogModel& d) {
        d.ClickDirection(true);
        d.SetWholeMemory(false);
    };
    WillSearch("abc", backwardNoWrap);
    commands.Search();  // nothing below position 0
    EXPECT_EQ(Messages().size(), 1u);

    WillSearch("abc", backward);
    commands.Search();  // wraps: from the last valid start down to the cursor
    EXPECT_EQ(target.cursor, 8);
    WillSearch("abc", backward);
    commands.Search();
    EXPECT_EQ(target.cursor, 4);

    // "Weitersuchen" after a backward dialog search still searches forward.
    commands.FindNext();
    EXPECT_EQ(target.cursor, 8);
}

TEST_F(SearchCommandsTest, BackwardFromNearTheEndBeginsAtTheLastValidStart)
{
    target.bytes = {'a', 'b', 'c', 0, 'a', 'b', 'c'};
    target.cursor = 6;  // "abc" cannot start at 5
    WillSearch("abc", [](SearchDialogModel& d) {
        d.ClickDirection(true);
        d.SetWholeMemory(false);
    });
    commands.Search();
    EXPECT_EQ(target.cursor, 4);
}

TEST_F(SearchCommandsTest, SearchOnlyInTheSelection)
{
    auto inSelection = [](SearchDialogModel& d) { d.ClickInSelection(true); };
    // A 4-byte value in a 2-byte selection at the end of the document is not found ...
    target.bytes = {1, 2, 3, 4, 1, 2};
    target.selection = ISearchTarget::Range{4, 5};
    WillSearch(":01 02 03 04", inSelection);
    commands.Search();
    EXPECT_EQ(Messages().size(), 1u);
    // ... but one starting in the selection and running past it is.
    target.bytes = {9, 9, 1, 2, 3, 4, 9};
    target.selection = ISearchTarget::Range{1, 2};
    WillSearch(":01 02 03 04", inSelection);
    commands.Search();
    EXPECT_EQ(target.cursor, 2);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(SearchCommandsTest, FromTheStartFindsTheFirstMatchWhateverTheCursor)
{
    target.bytes = kAbc;
    target.cursor = 9;
    WillSearch("abc", [](SearchDialogModel& d) {
        d.ClickDirection(true);
        d.ClickFromStart(true);
    });
    commands.Search();
    EXPECT_EQ(target.cursor, 0);
}

TEST_F(SearchCommandsTest, TheInitialTextComesFromTheSelection)
{
    target.bytes = {'a', '"', 'b', '\\', 0x00, 0x41};
    target.selection = ISearchTarget::Range{0, 3};
    EXPECT_EQ(commands.InitialTextFromSelection(), "\"a\\\"b\\\\\"");
    target.selection = ISearchTarget::Range{3, 5};
    EXPECT_EQ(commands.InitialTextFromSelection(), ":5C 00 41 ");
    target.selection.reset();
    EXPECT_EQ(commands.InitialTextFromSelection(), "");

    target.bytes.assign(100, 'q');
    target.selection = ISearchTarget::Range{0, 99};
    EXPECT_EQ(commands.InitialTextFromSelection(), "\"" + std::string(64, 'q') + "\"");
}

TEST_F(SearchCommandsTest, SearchAgainReopensTheDialogWithTheSameInitialText)
{
    target.bytes = kAbc;
    target.selection = ISearchTarget::Range{0, 1};
    WillSearch("abc", {}, true);
    WillSearch("abc", {}, false);
    commands.Search();
    EXPECT_EQ(dialogs.opened.size(), 2u);
    EXPECT_EQ(initialTexts, (std::vector<std::string>{"\"ab\"", "\"ab\""}));
    EXPECT_EQ(target.cursor, 8);
}

TEST_F(SearchCommandsTest, CancelSearchesNothing)
{
    target.bytes = kAbc;
    target.cursor = 3;
    commands.Search();  // no scripted step: the dialog is cancelled
    EXPECT_EQ(target.cursor, 3);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(state.pattern.IsAbsent());
}

TEST_F(SearchCommandsTest, AValueWithoutBytesEndsTheSearchAndLeavesNoPattern)
{
    target.bytes = kAbc;
    state.pattern = MultiString::FromList({"0", *BuildSearchEntry({"abc", 4, ValueWidth::Variable})});
    WillSearch("\"\"");
    commands.Search();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Bereich wurde nicht gefunden !"}));
    EXPECT_TRUE(state.pattern.IsAbsent());
    EXPECT_FALSE(SearchCommands::CanFindNext(state));
    commands.FindNext();  // without a pattern it opens the dialog
    EXPECT_EQ(dialogs.opened.size(), 2u);
}

TEST_F(SearchCommandsTest, FindSelectionSearchesTheFirst64SelectedBytes)
{
    target.bytes.assign(300, 0);
    for (int i = 0; i < 100; ++i) target.bytes[i] = target.bytes[150 + i] = static_cast<uint8_t>(0x20 + (i * 37) % 95);
    target.bytes[150 + 80] = '!';  // differs only beyond the first 64 bytes
    target.selection = ISearchTarget::Range{0, 99};
    target.cursor = 99;
    commands.FindSelection();
    EXPECT_EQ(target.cursor, 150);
    EXPECT_EQ(target.marks[0], (Mark{150, 64}));
    ASSERT_EQ(state.pattern.Count(), 2u);
    EXPECT_EQ(*state.pattern.Get(0), "64");
    std::string entry(*state.pattern.Get(1));
    EXPECT_EQ(entry.substr(0, 16), "T:0x0040    :20 ");
    EXPECT_EQ(entry.size(), 13 + 64 * 3u);
    EXPECT_EQ(std::string(*state.history.Get(0)).substr(0, 4), "\" Ej");
}

TEST_F(SearchCommandsTest, FindSelectionWithIgnoreCaseComparesFoldedBytes)
{
    target.bytes = {0x01, 'a', 'B', 0x00, 0x01, 'A', 'b'};
    target.selection = ISearchTarget::Range{0, 2};
    state.flags |= kSearchIgnoreCase;
    commands.FindSelection();
    EXPECT_EQ(std::string(*state.pattern.Get(1)), "U:0x0003 /G :01 61 42 ");
    EXPECT_EQ(target.cursor, 4);
    EXPECT_EQ(std::string(*state.history.Get(0)), ":01 61 42 ");
}

TEST_F(SearchCommandsTest, FindSelectionWithoutSelectionOpensTheDialog)
{
    target.bytes = kAbc;
    commands.FindSelection();
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{SearchDialogModel::kName}));
}

TEST_F(SearchCommandsTest, GroupsMarkEightValuesAndSelectTheFirst)
{
    target.bytes.assign(64, 0);
    for (int i = 0; i < 10; ++i) target.bytes[10 + 2 * i] = static_cast<uint8_t>(0x41 + i);
    state.flags |= kSearchGroup | kSearchGroupOrdered;
    std::vector<std::string> group{"100"};
    for (int i = 0; i < 10; ++i) {
        const char hex[] = "0123456789ABCDEF";
        std::string dump = {':', hex[(0x41 + i) >> 4], hex[(0x41 + i) & 15]};
        group.push_back(*BuildSearchEntry({dump, 5, ValueWidth::Variable}));
    }
    state.pattern = MultiString::FromList(group);
    target.marks[7] = Mark{1, 1};
    EXPECT_EQ(commands.FindAndShow(0, 64), 10);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(target.marks[i], (Mark{10 + 2 * i, 1})) << i;
    EXPECT_EQ(target.cursor, 10);
    EXPECT_EQ(target.selection->highest, 10);
}

TEST_F(SearchCommandsTest, AMatchSpanningLinesScrollsItsLastLineIntoView)
{
    target.bytes.assign(1024, 0);
    std::fill(target.bytes.begin() + 500, target.bytes.begin() + 540, 0x55);
    target.rows = {16, 4, 0, 20};  // row phase 4: offset 12 starts line 1
    std::string dump = ":";
    for (int i = 0; i < 40; ++i) dump += "55 ";
    state.pattern = MultiString::FromList({"0", *BuildSearchEntry({dump, 5, ValueWidth::Variable})});
    EXPECT_EQ(commands.FindAndShow(0, 1024), 500);
    // Lines 31 .. 33; the window shows 20 lines from line 14 on.
    ASSERT_EQ(target.scrolledTo, (std::vector<int64_t>{14 * 16 - 4}));

    // Taller than half the window: no scrolling beyond the cursor's own.
    target.rows = {16, 4, 0, 5};
    target.scrolledTo.clear();
    EXPECT_EQ(commands.FindAndShow(0, 1024), 500);
    EXPECT_TRUE(target.scrolledTo.empty());
}

TEST_F(SearchCommandsTest, ACancelledSearchLeavesCursorSelectionAndMarksAsTheyWere)
{
    target.bytes = kAbc;
    target.cursor = 5;
    target.selection = ISearchTarget::Range{5, 6};
    target.marks[2] = Mark{1, 2};
    const auto before = std::make_tuple(target.cursor, target.selection->lowest, target.selection->highest, target.marks);
    auto unchanged = [&] {
        ASSERT_TRUE(target.selection);
        EXPECT_EQ(std::make_tuple(target.cursor, target.selection->lowest, target.selection->highest, target.marks), before);
        EXPECT_TRUE(prompt.shown.empty());  // neither "not found" nor the question to wrap
    };
    runner.cancelNext = true;
    WillSearch("abc", [](SearchDialogModel& d) { d.SetWholeMemory(true); }, true);  // "Weitersuchen" is not repeated
    commands.Search();
    unchanged();
    EXPECT_EQ(dialogs.opened.size(), 1u);
    runner.cancelNext = true;
    commands.FindNext();
    unchanged();
    runner.cancelNext = true;
    commands.FindSelection();  // its search starts from the selection without moving the cursor first
    unchanged();
}

TEST_F(SearchCommandsTest, FindsAndSelectsPastFourGiB)
{
    test::SparseByteSource large(int64_t{6} << 30);
    const int64_t at = 0x160000000;
    large.Plant(at, {'Q', 'u', 'a', 'r', 'k'});
    target.largeSource = &large;
    target.cursor = at - 0x10000;
    WillSearch("Quark");
    commands.Search();
    EXPECT_EQ(target.cursor, at);
    ASSERT_TRUE(target.selection);
    EXPECT_EQ(target.selection->highest, at + 4);
    EXPECT_EQ(target.marks[0], (Mark{at, 5}));

    // "Bereich suchen" from there: only the wrap to the start is left, and it is declined.
    prompt.answers = {PromptAnswer::Cancel};
    commands.FindSelection();
    EXPECT_EQ(Messages(), std::vector<std::string>{kWrapQuestion});
    EXPECT_EQ(target.cursor, at);
}

}  // namespace
}  // namespace qv
