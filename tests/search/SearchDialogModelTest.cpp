// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchDialogModel.h"

#include <gtest/gtest.h>

#include "search/SearchEntry.h"

namespace qv {
namespace {

std::vector<std::string> List(const MultiString& list) { return list.ToList(); }

TEST(SearchDialogModel, OpensWithTheInitialTextOrTheLatestHistoryText)
{
    SearchState state;
    state.history = MultiString::FromList({"\"abc\"", "0x10"});
    state.width = ValueWidth::Word;
    SearchDialogModel withInitial(state, ":12 34 ");
    EXPECT_EQ(withInitial.Text(), ":12 34 ");
    EXPECT_EQ(withInitial.Kind(), static_cast<int>(ValueKind::HexDump));
    EXPECT_EQ(withInitial.Width(), ValueWidth::Variable);
    EXPECT_EQ(withInitial.HistoryLines(), (std::vector<std::string>{"\"abc\"", "0x10"}));

    state.history = MultiString::FromList({"0x10", "\"abc\""});
    SearchDialogModel fromHistory(state, "");
    EXPECT_EQ(fromHistory.Text(), "0x10");
    EXPECT_EQ(fromHistory.Kind(), static_cast<int>(ValueKind::Hex));
    EXPECT_EQ(fromHistory.Width(), ValueWidth::Word);

    SearchState empty;
    SearchDialogModel nothing(empty, "");
    EXPECT_EQ(nothing.Text(), "");
    EXPECT_EQ(nothing.Kind(), -1);
    EXPECT_EQ(nothing.Width(), ValueWidth::DWord);
    EXPECT_EQ(nothing.RangeText(), "1000");
    EXPECT_TRUE(nothing.Current().wholeMemory);  // the flags of a fresh installation
}

TEST(SearchDialogModel, ReadsTheGroupListAndReplacesABadRange)
{
    SearchState state;
    std::vector<std::string> group{"250"};
    for (int i = 0; i < 20; ++i) group.push_back("H:1\t:41\t\t\t\t\t(0x41)");
    state.groupList = MultiString::FromList(group);
    SearchDialogModel dialog(state, "");
    EXPECT_EQ(dialog.RangeText(), "250");
    EXPECT_EQ(dialog.Lines().size(), 16u);

    for (const char* range : {"0", "-5", "x"}) {
        state.groupList = MultiString::FromList({range, "H:1\t:41\t\t\t\t\t(0x41)"});
        EXPECT_EQ(SearchDialogModel(state, "").RangeText(), "1000") << range;
    }
}

TEST(SearchDialogModel, ChangingTheKindRewritesTheText)
{
    SearchState state;
    struct Case {
        const char* text;
        ValueKind kind;
        const char* result;
    };
    const Case cases[] = {
        {"0x41", ValueKind::Decimal, "65"},
        {"0x41", ValueKind::Text, "\"A\""},
        {"0x41", ValueKind::HexDump, ":41 00 00 00"},
        {"0x41", ValueKind::Binary, "0b1000001"},
        {"\"AB\"", ValueKind::Hex, "0x4241"},
        {"", ValueKind::Hex, "0x"},
        {" ", ValueKind::Binary, "0b"},
        {"", ValueKind::Octal, "0o"},
        {"", ValueKind::Text, "\""},
        {"", ValueKind::HexDump, ":"},
        {"", ValueKind::BitMask, ":"},
        {"", ValueKind::Decimal, ""},
    };
    for (const Case& c : cases) {
        SearchDialogModel dialog(state, "");
        dialog.TypeText(c.text);
        dialog.ClickKind(c.kind);
        EXPECT_EQ(dialog.Text(), c.result) << c.text;
        EXPECT_EQ(dialog.Kind(), static_cast<int>(c.kind));
        bool variable = c.kind == ValueKind::Text || c.kind == ValueKind::HexDump || c.kind == ValueKind::BitMask;
        if (variable) {
            EXPECT_EQ(dialog.Width(), ValueWidth::Variable) << c.text;
        }
    }
}

TEST(SearchDialogModel, TheOldWidthLimitsTheRewrittenText)
{
    SearchState state;
    SearchDialogModel dialog(state, "");
    dialog.TypeText(":41 42 43");
    dialog.ClickKind(ValueKind::Hex);  // read with width Variable
    EXPECT_EQ(dialog.Text(), "0x434241");
    dialog.ClickWidth(ValueWidth::Byte);
    EXPECT_EQ(dialog.Text(), "0x434241");  // numbers are never cut
    EXPECT_EQ(dialog.Width(), ValueWidth::Byte);
    dialog.TypeText("abc");
    EXPECT_EQ(dialog.Kind(), static_cast<int>(ValueKind::Text));
    EXPECT_EQ(dialog.Width(), ValueWidth::Variable);  // typing text forces Variable
    dialog.ClickWidth(ValueWidth::Word);
    EXPECT_EQ(dialog.Width(), ValueWidth::Variable);
    EXPECT_EQ(dialog.Text(), "\"abc\"");
}

TEST(SearchDialogModel, EnablingRules)
{
    SearchState state;
    SearchDialogModel dialog(state, "0x41");
    EXPECT_FALSE(dialog.InSelectionEnabled());
    EXPECT_TRUE(dialog.DirectionEnabled());
    EXPECT_TRUE(dialog.BigEndianEnabled());  // number, DWord
    EXPECT_FALSE(dialog.TextOptionsEnabled());
    dialog.ClickWidth(ValueWidth::Byte);
    EXPECT_FALSE(dialog.BigEndianEnabled());
    dialog.ClickWidth(ValueWidth::Word);
    EXPECT_TRUE(dialog.BigEndianEnabled());
    dialog.ClickWidth(ValueWidth::Variable);
    EXPECT_FALSE(dialog.BigEndianEnabled());
    dialog.ClickKind(ValueKind::Text);
    EXPECT_TRUE(dialog.TextOptionsEnabled());
    EXPECT_FALSE(dialog.BigEndianEnabled());

    dialog.ClickFromStart(true);
    EXPECT_FALSE(dialog.DirectionEnabled());
    dialog.ClickInSelection(true);  // excludes "from the start"
    EXPECT_FALSE(dialog.Current().fromStart);
    EXPECT_TRUE(dialog.DirectionEnabled());  // no selection exists
    dialog.ClickFromStart(true);
    EXPECT_FALSE(dialog.Current().inSelection);

    state.flags = kSearchInSelection | kSearchSelectionExists;
    SearchDialogModel withSelection(state, "");
    EXPECT_TRUE(withSelection.InSelectionEnabled());
    EXPECT_FALSE(withSelection.DirectionEnabled());
}

TEST(SearchDialogModel, GroupListButtons)
{
    SearchState state;
    SearchDialogModel dialog(state, "");
    dialog.TypeText("0x41");
    EXPECT_FALSE(dialog.AddEnabled());  // group search is off
    EXPECT_FALSE(dialog.GroupShown());
    dialog.ClickGroup(true);
    EXPECT_TRUE(dialog.GroupShown());
    EXPECT_TRUE(dialog.AddEnabled());
    EXPECT_FALSE(dialog.DeleteAllEnabled());
    dialog.Add();
    dialog.TypeText("\"x\"");
    dialog.Add();
    dialog.TypeText("\"\"");
    dialog.Add();  // yields no bytes: no line
    dialog.TypeText(":01");
    dialog.Add();
    ASSERT_EQ(dialog.Lines().size(), 3u);
    EXPECT_EQ(dialog.Lines()[0], "H:4\t:41 00 00 00\t\t\t\t(0x41)");
    EXPECT_EQ(dialog.Lines()[1], "T:1\t:78\t\t\t\t\t(\"x\")");
    EXPECT_EQ(List(state.history), (std::vector<std::string>{":01", "\"\"", "\"x\"", "0x41"}));
    EXPECT_TRUE(dialog.MoveEnabled());

    dialog.SelectLines({0}, 0);
    dialog.MoveUp();  // the first line goes to the end
    EXPECT_EQ(dialog.Lines()[2], "H:4\t:41 00 00 00\t\t\t\t(0x41)");
    EXPECT_EQ(dialog.CaretLine(), 2);
    dialog.MoveDown();  // the last line goes to the front
    EXPECT_EQ(dialog.Lines()[0], "H:4\t:41 00 00 00\t\t\t\t(0x41)");
    EXPECT_EQ(dialog.CaretLine(), 0);
    dialog.MoveDown();
    EXPECT_EQ(dialog.Lines()[1], "H:4\t:41 00 00 00\t\t\t\t(0x41)");
    EXPECT_EQ(dialog.CaretLine(), 1);

    dialog.SelectLines({0, 2, 7}, 2);
    EXPECT_TRUE(dialog.DeleteEnabled());
    dialog.DeleteSelected();
    EXPECT_EQ(dialog.Lines(), (std::vector<std::string>{"H:4\t:41 00 00 00\t\t\t\t(0x41)"}));
    EXPECT_FALSE(dialog.DeleteEnabled());
    EXPECT_FALSE(dialog.MoveEnabled());
    dialog.DeleteAll();
    EXPECT_TRUE(dialog.Lines().empty());

    for (int i = 0; i < 20; ++i) dialog.Add();
    EXPECT_EQ(dialog.Lines().size(), 16u);
    EXPECT_FALSE(dialog.AddEnabled());
}

TEST(SearchDialogModel, DoubleClickReadsALineBack)
{
    SearchState state;
    state.groupList = MultiString::FromList({"100", "H:2 /B\t:00 41\t\t\t\t\t(0x41)", "N:4 /G\t:61 00 62 00\t\t\t\t(\"ab\")"});
    SearchDialogModel dialog(state, "abc");
    dialog.ReadBackLine(0);
    EXPECT_EQ(dialog.Text(), "0x41");
    EXPECT_EQ(dialog.Kind(), static_cast<int>(ValueKind::Hex));
    EXPECT_EQ(dialog.Width(), ValueWidth::Word);
    EXPECT_TRUE(dialog.Current().bigEndian);
    dialog.ReadBackLine(1);
    EXPECT_EQ(dialog.Text(), "\"ab\"");
    EXPECT_EQ(dialog.Width(), ValueWidth::Variable);
    EXPECT_TRUE(dialog.Current().ignoreCase);
    EXPECT_TRUE(dialog.Current().unicode);
    dialog.ReadBackLine(5);  // no such line: nothing changes
    EXPECT_EQ(dialog.Text(), "\"ab\"");
}

TEST(SearchDialogModel, OkBuildsThePatternAndKeepsTheChoices)
{
    SearchState state;
    state.flags = kSearchWholeMemory | kSearchSelectionExists | 0x10000;
    SearchDialogModel dialog(state, "");
    dialog.TypeText("0x41");
    dialog.ClickWidth(ValueWidth::Word);
    dialog.SetBigEndian(true);
    dialog.SetRangeText("0x20+12");
    ASSERT_TRUE(dialog.Accept(false));
    EXPECT_EQ(dialog.Result(), SearchDialogModel::kResultOk);
    EXPECT_EQ(List(state.pattern), (std::vector<std::string>{"0", "H:2 /B\t:00 41\t\t\t\t\t(0x41)"}));
    EXPECT_EQ(List(state.groupList), (std::vector<std::string>{"44"}));
    EXPECT_EQ(List(state.history), (std::vector<std::string>{"0x41"}));
    EXPECT_EQ(state.width, ValueWidth::Word);
    EXPECT_EQ(state.flags, kSearchWholeMemory | kSearchBigEndian);  // bits 0-8 only

    SearchDialogModel again(state, "");
    again.ClickGroup(true);
    ASSERT_TRUE(again.Accept(true));
    EXPECT_EQ(again.Result(), SearchDialogModel::kResultSearchAgain);
    EXPECT_EQ(List(state.pattern), (std::vector<std::string>{"44"}));  // an empty group: only the window
}

TEST(SearchDialogModel, ARangeThatIsNoNumberKeepsTheDialogOpen)
{
    SearchState state;
    SearchDialogModel dialog(state, "0x41");
    dialog.SetRangeText("zehn");
    EXPECT_FALSE(dialog.Accept(false));
    EXPECT_EQ(dialog.ErrorText(), "Geben Sie bitte eine ganze Zahl ein.");
    EXPECT_TRUE(state.pattern.IsAbsent());
    EXPECT_TRUE(state.history.IsAbsent());
    dialog.SetRangeText("");
    EXPECT_FALSE(dialog.Accept(false));
    dialog.SetRangeText("10");
    EXPECT_TRUE(dialog.Accept(false));
    EXPECT_EQ(dialog.ErrorText(), "");
}

TEST(SearchDialogModel, CancelKeepsOnlyOptionsThatWereReadBack)
{
    SearchState state;
    state.flags = kSearchWholeMemory | kSearchSelectionExists;
    state.width = ValueWidth::Byte;
    SearchDialogModel dialog(state, "0x41");
    dialog.SetIgnoreCase(true);     // a plain check box: not read back
    dialog.ClickWidth(ValueWidth::DWord);
    dialog.ClickDirection(true);    // a radio click reads back every option ...
    dialog.SetUnicode(true);        // ... but not later changes
    dialog.Cancel();
    EXPECT_EQ(dialog.Result(), SearchDialogModel::kResultCancel);
    EXPECT_EQ(state.flags, kSearchWholeMemory | kSearchBackward | kSearchIgnoreCase);
    EXPECT_EQ(state.width, ValueWidth::Byte);
    EXPECT_TRUE(state.pattern.IsAbsent());
    EXPECT_TRUE(state.history.IsAbsent());
}

TEST(SearchDialogModel, RemembersWhereItWasClosed)
{
    SearchState state;
    SearchDialogModel dialog(state, "");
    EXPECT_FALSE(dialog.PlacementOn(1920, 1080));
    dialog.RememberPosition({-99, -9});
    ASSERT_TRUE(dialog.PlacementOn(1920, 1080));
    EXPECT_EQ(dialog.PlacementOn(1920, 1080)->x, -99);
    dialog.RememberPosition({1819, 979});
    EXPECT_TRUE(SearchDialogModel(state, "").PlacementOn(1920, 1080));
    for (DialogPosition p : {DialogPosition{-100, 0}, DialogPosition{1820, 0}, DialogPosition{0, -10}, DialogPosition{0, 980}}) {
        dialog.RememberPosition(p);
        EXPECT_FALSE(dialog.PlacementOn(1920, 1080)) << p.x << "," << p.y;
    }
}

}  // namespace
}  // namespace qv
