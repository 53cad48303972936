// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeLineViewHost.h"
#include "tests/view/HexViewTesting.h"
#include "view/HexViewGotoDialog.h"

namespace qv::test {
namespace {

class HexViewCursor : public testing::Test {
protected:
    void SetUp() override { h.Load(CountingBytes(100)); }

    int32_t SelectionLength() const
    {
        int64_t length = 0;
        h.view.GetSelection(false, &length);
        return length;
    }

    HexViewHarness h;
};

TEST_F(HexViewCursor, NewBlockPutsCursorOnFirstByte)
{
    EXPECT_EQ(h.view.CursorOffset(), 0);
    EXPECT_EQ(h.view.ActiveArea(), AreaHex);
    EXPECT_EQ(h.view.CursorColumn(), 8);
    EXPECT_EQ(h.view.FirstDigit(), 1);
    EXPECT_EQ(h.view.LineCount(), 7);
    EXPECT_EQ(h.view.LineLength(), 76);
}

TEST_F(HexViewCursor, ShiftRightInTextAreaSelectsTwoBytes)
{
    h.ToTextArea();
    h.view.SetCursorOffset(5, false);
    h.Key(KeyRight, KeyFlagShift);
    EXPECT_EQ(h.view.Mark(0).first, 5);
    EXPECT_EQ(h.view.Mark(0).last, 6);
    EXPECT_EQ(SelectionLength(), 2);
}

TEST_F(HexViewCursor, ShiftRightInHexAreaSelectsByteThenExtends)
{
    h.view.SetCursorOffset(5, false);
    h.Key(KeyRight, KeyFlagShift);
    EXPECT_TRUE(h.view.HasSelection());
    EXPECT_EQ(SelectionLength(), 1);
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 5u);
    EXPECT_TRUE(h.view.OnSecondDigit());
    h.Key(KeyRight, KeyFlagShift);
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 5u);
    EXPECT_EQ(SelectionLength(), 2);
    EXPECT_EQ(h.view.CursorOffset(), 6);
    EXPECT_FALSE(h.view.OnSecondDigit());
}

TEST_F(HexViewCursor, PlainMoveTowardsAnchorLandsOnAnchor)
{
    h.view.SetCursorOffset(10, false);
    int32_t column = 0;
    int64_t line = 0;
    h.view.PositionOfOffset(20, column, line);
    h.view.SetCursorPos(column, line, CursorExtend);
    ASSERT_EQ(SelectionLength(), 11);
    ASSERT_EQ(h.view.CursorOffset(), 20);
    h.Key(KeyLeft);
    EXPECT_EQ(h.view.CursorOffset(), 10);
    EXPECT_FALSE(h.view.HasSelection());
}

TEST_F(HexViewCursor, RightFromLastByteOfRowGoesToNextRow)
{
    h.view.SetCursorOffset(15, false);
    h.Key(KeyRight);
    EXPECT_TRUE(h.view.OnSecondDigit());
    EXPECT_EQ(h.view.CursorOffset(), 15);
    h.Key(KeyRight);
    EXPECT_EQ(h.view.CursorOffset(), 16);
    EXPECT_EQ(h.view.CursorColumn(), 8);
    EXPECT_EQ(h.view.CursorLine(), 1);
    h.Key(KeyLeft);
    EXPECT_EQ(h.view.CursorOffset(), 15);
    EXPECT_TRUE(h.view.OnSecondDigit());
}

TEST_F(HexViewCursor, KeyboardMovesSkipBlankColumns)
{
    h.view.SetCursorOffset(3, false);
    h.Key(KeyRight);  // second digit of byte 3
    h.Key(KeyRight);  // over the element and group blanks
    EXPECT_EQ(h.view.CursorOffset(), 4);
    EXPECT_EQ(h.view.CursorColumn(), 21);
    h.Key(KeyLeft);
    EXPECT_EQ(h.view.CursorOffset(), 3);
    EXPECT_EQ(h.view.CursorColumn(), 18);
    h.Key(KeyHome);
    EXPECT_EQ(h.view.CursorOffset(), 0);
    h.Key(KeyEnd);
    EXPECT_EQ(h.view.CursorOffset(), 15);
    EXPECT_TRUE(h.view.OnSecondDigit());
}

struct ClickCase {
    int32_t column;
    int32_t offset;
    bool second;
    int area;
};

class HexViewClick : public HexViewCursor, public testing::WithParamInterface<ClickCase> {};

TEST_P(HexViewClick, ColumnDecidesByteDigitAndArea)
{
    const ClickCase& c = GetParam();
    h.view.SetCursorPos(c.column, 1, CursorFromMouse | CursorDragOrigin);
    EXPECT_EQ(h.view.CursorOffset(), c.offset);
    EXPECT_EQ(h.view.OnSecondDigit(), c.second);
    EXPECT_EQ(h.view.ActiveArea(), c.area);
}

INSTANTIATE_TEST_SUITE_P(Cases, HexViewClick,
                         testing::Values(ClickCase{16, 18, true, AreaHex},   // blank after byte 2
                                         ClickCase{19, 19, true, AreaHex},   // element blank after byte 3
                                         ClickCase{20, 20, false, AreaHex},  // group blank after byte 3
                                         ClickCase{59, 31, true, AreaHex},   // blanks after the last byte
                                         ClickCase{61, 17, false, AreaText},
                                         ClickCase{2, 16, false, AreaAddress}));

TEST_F(HexViewCursor, MouseDragSelectsAndClickWithoutMoveDoesNot)
{
    h.view.SetCursorPos(8, 0, CursorFromMouse | CursorDragOrigin);
    h.view.SetCursorPos(8, 0, CursorFromMouse | CursorExtend);
    EXPECT_FALSE(h.view.HasSelection());
    h.view.SetCursorPos(14, 1, CursorFromMouse | CursorExtend);
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 0u);
    EXPECT_EQ(SelectionLength(), 19);
}

TEST_F(HexViewCursor, ScrollToOffsetRealignsRowsWithoutRaster)
{
    h.view.ApplyRasterSettings(-16, 0, -1, -1);
    ASSERT_EQ(h.view.HexFlags() & FlagRaster, 0u);
    EXPECT_EQ(h.view.ScrollToOffset(5, false), 0u);
    EXPECT_EQ(h.view.RowLayout().rowPhase, 11);
    EXPECT_EQ(h.view.TopOffset(false), 5u);
    EXPECT_EQ(h.view.TopLine(), 1);
    EXPECT_EQ(h.view.LineCount(), 7);
}

TEST_F(HexViewCursor, ScrollToOffsetWithRasterKeepsTargetVisible)
{
    ASSERT_NE(h.view.HexFlags() & FlagRaster, 0u);
    h.view.ScrollToOffset(37, false);
    const uint32_t top = h.view.TopOffset(false);
    EXPECT_LE(top, 37u);
    EXPECT_GT(top + 16, 37u);
    EXPECT_EQ(h.view.RowLayout().rowPhase % 4, 0);
}

TEST_F(HexViewCursor, SelectionRasterWidensToElements)
{
    h.view.SetLayout(-1, -1, -1, -1, 2, -1);
    h.view.ApplyRasterSettings(-16, 4, -1, 1);
    h.ToTextArea();
    h.view.SetCursorOffset(5, false);
    h.Key(KeyRight, KeyFlagShift);
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 4u);
    EXPECT_EQ(SelectionLength(), 4);
}

TEST_F(HexViewCursor, GotoTakesSelectedNumberPlusBase)
{
    std::vector<uint8_t> bytes(0x2000, 0);
    bytes[0x10] = 0x34;
    bytes[0x11] = 0x12;
    h.Load(bytes, HexViewHarness::kEditable, 0x10000);
    h.view.SetCursorOffset(0x10, false);
    h.view.SelectTo(0x14, false);
    ASSERT_EQ(SelectionLength(), 4);

    FakeDialogService dialogs;
    std::string shown;
    dialogs.steps.push_back([&](DialogModel& model) {
        shown = static_cast<GotoDialog&>(model).text;
        return true;
    });
    EXPECT_EQ(h.view.GotoAddress(dialogs), 0x11234);
    EXPECT_EQ(shown, "0x11234");
    EXPECT_EQ(h.view.CursorOffset(), 0x1234);
    EXPECT_EQ(h.view.GotoHistory().Count(), 1u);
}

TEST_F(HexViewCursor, GotoEvaluatesExpressionsAndCancelReturnsMinusOne)
{
    FakeDialogService dialogs;
    dialogs.steps.push_back([](DialogModel& model) {
        static_cast<GotoDialog&>(model).text = "0x10+20";
        return true;
    });
    EXPECT_EQ(h.view.GotoAddress(dialogs), 36);
    EXPECT_EQ(h.view.CursorOffset(), 36);
    EXPECT_EQ(h.view.GotoAddress(dialogs), -1);  // no step: cancelled
    EXPECT_EQ(h.view.CursorOffset(), 36);
}

TEST(GotoHistory, MostRecentFirstWithoutCaseDuplicates)
{
    MultiString history;
    for (int i = 0; i < 20; ++i) AddToGotoHistory(history, "0x" + std::to_string(i));
    EXPECT_EQ(history.Count(), 16u);
    AddToGotoHistory(history, "0X5");
    EXPECT_EQ(*history.Get(0), "0X5");
    EXPECT_EQ(history.Find("0x5"), -1);
    AddToGotoHistory(history, std::string(1500, '1'));
    AddToGotoHistory(history, std::string(1000, '2'));
    EXPECT_LE(history.Size(), 2044u);
    EXPECT_EQ(history.Get(0)->size(), 1000u);
}

TEST_F(HexViewCursor, SetMarkRules)
{
    EXPECT_FALSE(h.view.SetMark(8, 0, 4));
    for (int n = 1; n < kHighlightMarkCount; ++n) EXPECT_FALSE(h.view.Mark(n).active);
    EXPECT_TRUE(h.view.SetMark(2, 10, 3));
    EXPECT_TRUE(h.view.Mark(3).active);
    EXPECT_EQ(h.view.Mark(3).last, 12);
    EXPECT_TRUE(h.view.SetMark(-1, 20, 1));
    EXPECT_EQ(h.view.Mark(1).first, 20);
    EXPECT_TRUE(h.view.SetMark(2, 0, 0));
    EXPECT_FALSE(h.view.Mark(3).active);
    for (int i = 0; i < 8; ++i) h.view.SetMark(-1, i, 1);
    EXPECT_FALSE(h.view.SetMark(-1, 50, 1));
    h.view.SetMark(-2, 0, 0);
    for (int n = 1; n < kHighlightMarkCount; ++n) EXPECT_FALSE(h.view.Mark(n).active);
}

TEST_F(HexViewCursor, SelectToAndQueries)
{
    h.view.SetCursorOffset(10, false);
    EXPECT_TRUE(h.view.SelectTo(20, false));
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 10u);
    EXPECT_EQ(SelectionLength(), 10);
    EXPECT_EQ(h.view.MarkPosition(false), 10u);

    EXPECT_TRUE(h.view.SelectTo(4, false));
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 5u);
    EXPECT_EQ(SelectionLength(), 6);

    EXPECT_TRUE(h.view.SelectTo(10, false));
    EXPECT_FALSE(h.view.HasSelection());

    EXPECT_TRUE(h.view.SelectTo(100, false));  // the length itself is inside
    EXPECT_EQ(SelectionLength(), 90);
    EXPECT_FALSE(h.view.SelectTo(500, false));
    EXPECT_EQ(SelectionLength(), 89);

    uint8_t bytes[200] = {};
    EXPECT_EQ(h.view.CopySelectionBytes(bytes, 4), 4);
    EXPECT_EQ(bytes[0], 10);
    EXPECT_EQ(h.view.CopySelectionBytes(bytes, 200), 89);
    EXPECT_EQ(bytes[88], 98);

    int64_t start = 0;
    int64_t length = 0;
    EXPECT_EQ(h.view.GetSelectionRange(&start, &length, true, 16), 1);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(length, 16);

    h.view.SetCursorOffset(97, false);
    EXPECT_EQ(h.view.GetSelectionRange(&start, &length, false, 16), 0);
    EXPECT_EQ(start, 97);
    EXPECT_EQ(h.view.CopySelectionBytes(bytes, 4), 0);
    EXPECT_EQ(h.view.CopyBytesAtCursor(bytes, 8), 3);
    EXPECT_EQ(bytes[2], 99);
}

TEST_F(HexViewCursor, SetCursorOffsetReportsWhetherInside)
{
    EXPECT_TRUE(h.view.SetCursorOffset(99, false));
    EXPECT_FALSE(h.view.SetCursorOffset(100, false));
    EXPECT_EQ(h.view.CursorOffset(), 99);
    h.Load(CountingBytes(100), HexViewHarness::kEditable, 0x1000);
    EXPECT_FALSE(h.view.SetCursorOffset(0x10, true));
    EXPECT_EQ(h.view.CursorOffset(), 0);
    EXPECT_TRUE(h.view.SetCursorOffset(0x1010, true));
    EXPECT_EQ(h.view.CursorOffset(), 0x10);
}

TEST_F(HexViewCursor, SetBaseAddressKeepsOffsetsAndChangedMark)
{
    h.Type("AB");
    ASSERT_TRUE(h.view.IsModified());
    ASSERT_TRUE(h.view.CanUndo());
    h.view.SetCursorOffset(30, false);
    h.view.SelectTo(20, false);  // backwards: 21..30 with the cursor on 30
    h.view.SetMark(0, 5, 2);
    EXPECT_EQ(h.view.SetBaseAddress(0x4000), 0u);
    EXPECT_EQ(h.view.BaseAddress(), 0x4000u);
    EXPECT_TRUE(h.view.IsModified());
    EXPECT_FALSE(h.view.CanUndo());
    EXPECT_FALSE(h.view.Mark(1).active);
    EXPECT_NE(h.view.HexFlags() & FlagOwnsBuffer, 0u);
    EXPECT_EQ(h.view.GetSelection(false, nullptr), 22u);
    EXPECT_EQ(h.view.GetSelection(true, nullptr), 0x4016u);
    EXPECT_EQ(h.view.SetBaseAddress(0x4000), 0x4000u);
}

TEST_F(HexViewCursor, ViewControlOperations)
{
    EXPECT_EQ(h.view.ViewControl(0, 40), 1);
    EXPECT_EQ(h.view.CursorOffset(), 40);
    EXPECT_EQ(h.view.ViewControl(1, 0), 40);
    EXPECT_EQ(h.view.ViewControl(4, 44), 1);
    EXPECT_EQ(h.view.ViewControl(5, 0), 40);
    EXPECT_EQ(h.view.ViewControl(6, 0x100), 1);
    EXPECT_EQ(h.view.ViewControl(7, 0), 0x100);
    EXPECT_EQ(h.view.ViewControl(8, 0), 100);
    EXPECT_EQ(h.view.ViewControl(9, 0), 0);
    EXPECT_EQ(h.view.ViewControl(2, 32), 1);
    EXPECT_EQ(h.view.ViewControl(3, 0), 32);
}

TEST_F(HexViewCursor, TabSwitchesAreasOnTheSameByte)
{
    h.view.SetCursorOffset(21, false);
    h.view.HandleChar(KeyTab, 1, 0);
    EXPECT_EQ(h.view.ActiveArea(), AreaText);
    EXPECT_EQ(h.view.CursorOffset(), 21);
    h.view.HandleChar(KeyTab, 1, 0);
    EXPECT_EQ(h.view.ActiveArea(), AreaAddress);
    EXPECT_EQ(h.view.CursorColumn(), 0);
    h.view.HandleChar(KeyTab, 1, 0);
    EXPECT_EQ(h.view.ActiveArea(), AreaHex);
    EXPECT_EQ(h.view.CursorOffset(), 21);
    h.view.HandleChar(KeyTab, 1, KeyFlagShift);
    EXPECT_EQ(h.view.ActiveArea(), AreaAddress);

    CHexView hidden(FlagHideHex);
    EXPECT_EQ(hidden.ActiveArea(), AreaText);
    hidden.SwitchArea(false);
    EXPECT_EQ(hidden.ActiveArea(), AreaAddress);
    hidden.SwitchArea(false);
    EXPECT_EQ(hidden.ActiveArea(), AreaText);
}

TEST_F(HexViewCursor, NotifiesSelectionChanges)
{
    RecordingEvents events;
    h.view.SetEvents(&events);
    h.view.SetCursorOffset(3, false);
    auto selectionEvents = [&] {
        std::erase_if(events.seen, [](const RecordedNotification& n) { return n.code != NotifyCursorMoved; });
    };
    selectionEvents();
    EXPECT_TRUE(events.seen.empty());
    h.Key(KeyRight, KeyFlagShift);
    h.Key(KeyRight, KeyFlagShift);
    h.Key(KeyDown);
    selectionEvents();
    ASSERT_EQ(events.seen.size(), 3u);
    EXPECT_EQ(events.seen[0].code, NotifyCursorMoved);
    EXPECT_EQ(events.seen[1].a, 3);
    EXPECT_EQ(events.seen[1].b, 4);
    EXPECT_EQ(events.seen[1].c, 1);
    EXPECT_EQ(events.seen[2].c, 0);
}

TEST_F(HexViewCursor, EveryHandOverIsAnnouncedEvenOfABlockAtTheSameAddress)
{
    RecordingEvents events;
    h.view.SetEvents(&events);
    int64_t length = 0;
    uint8_t* block = h.view.GetBuffer(&length, nullptr);
    h.view.SetBuffer(block, 8, 0, ViewWritable | KeepOldBuffer);
    h.view.SetBuffer(nullptr, 0, 0, 0);
    ASSERT_EQ(events.seen.size(), 2u);
    EXPECT_EQ(events.seen[0].code, NotifyBufferReplaced);
    EXPECT_EQ(events.seen[0].a, 8);
    EXPECT_EQ(events.seen[1].code, NotifyBufferReplaced);
    EXPECT_EQ(events.seen[1].a, 0);
    h.view.SetBuffer(block, length, 0, ViewWritable | ViewOwnsBuffer);  // owned again, released with the view
}

TEST_F(HexViewCursor, StatusPanesFollowFocusAndCursor)
{
    RecordingStatusPanes panes;
    h.view.SetStatusPanes(&panes);
    h.view.SetCursorOffset(0x20, false);
    EXPECT_TRUE(panes.defined.empty());
    h.view.StatusFocusGained();
    ASSERT_EQ(panes.defined.size(), 1u);
    ASSERT_EQ(panes.defined[0].size(), 2u);
    EXPECT_EQ(panes.defined[0][0].width, -20);
    EXPECT_EQ(panes.defined[0][1].width, -23);
    EXPECT_EQ(panes.texts[0], " Adr: 0x20 / 32");
    EXPECT_EQ(panes.texts[1], " Wert: 0x23222120 / 589439264");

    const int writes = panes.writes;
    h.view.SetCursorOffset(0x20, false);
    EXPECT_EQ(panes.writes, writes);  // nothing changed, nothing rewritten

    h.view.SelectTo(0x1E, false);
    EXPECT_EQ(panes.texts[0], " Adr: 0x20 / M: -2");
    EXPECT_EQ(panes.texts[1], " Wert: 0x201F / 8223");
    h.view.ApplyRasterSettings(4, 4, 2 | HexDistances, -1);
    h.view.SelectTo(0x40, false);
    EXPECT_EQ(panes.texts[0], " Adr: 0x20 / M: +0x20");

    h.view.StatusFocusLost();
    EXPECT_TRUE(panes.defined.back().empty());
    const int writesAfter = panes.writes;
    h.view.SetCursorOffset(50, false);
    EXPECT_EQ(panes.writes, writesAfter);
}

TEST_F(HexViewCursor, EmptyBlockKeepsCursorAtZero)
{
    h.Load({});
    EXPECT_EQ(h.view.LineCount(), 0);
    EXPECT_EQ(h.view.CursorOffset(), 0);
    h.Key(KeyRight);
    h.Key(KeyDown, KeyFlagShift);
    EXPECT_EQ(h.view.CursorOffset(), 0);
    EXPECT_FALSE(h.view.HasSelection());
    EXPECT_FALSE(h.view.SetCursorOffset(0, false));
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

class RecordingParent : public ILineViewParent {
public:
    void OnLineViewNotify(CAnsiView&, int code, int64_t, int64_t) override { codes.push_back(code); }
    bool ExecuteCommand(int command) override
    {
        commands.push_back(command);
        return true;
    }
    bool IsCommandEnabled(int) override { return true; }
    void OnFileDropped(CAnsiView&, const std::string&) override {}
    std::vector<int> codes;
    std::vector<int> commands;
};

TEST(HexViewFocus, FocusShowsStatusPanesBeforeTheWindowHears)
{
    HexViewHarness h;
    h.Load(CountingBytes(8));
    RecordingParent parent;
    RecordingStatusPanes panes;
    RecordingEvents events;
    h.view.SetParent(&parent);
    h.view.SetStatusPanes(&panes);
    h.view.SetEvents(&events);
    h.view.HandleSetFocus(0);
    ASSERT_EQ(panes.defined.size(), 1u);
    EXPECT_EQ(panes.texts[0], " Adr: 0x0 / 0");
    EXPECT_EQ(parent.codes, std::vector<int>{NotifyFocusGained});
    ASSERT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(events.seen[0].code, NotifyViewFocusGained);
    h.view.HandleKillFocus();
    EXPECT_TRUE(panes.defined.back().empty());
    EXPECT_EQ(parent.codes.back(), NotifyFocusLost);
    EXPECT_EQ(events.seen.back().code, NotifyViewFocusLost);

    h.Key('C', KeyFlagCtrl);  // commands of other parts go to the window
    EXPECT_EQ(parent.commands, std::vector<int>{CmdCopy});
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

TEST(HexViewNewBlock, StatusPanesShowTheNewCursorAtOnce)
{
    // The cursor offset stays 0, but the address changes with the base address.
    HexViewHarness h;
    h.Load(CountingBytes(64), HexViewHarness::kEditable, 0x1000);
    RecordingStatusPanes panes;
    h.view.SetStatusPanes(&panes);
    h.view.StatusFocusGained();
    ASSERT_EQ(panes.texts[0], " Adr: 0x1000 / 4096");
    h.Load(std::vector<uint8_t>(256, 0x11));
    EXPECT_EQ(panes.texts[0], " Adr: 0x0 / 0");
    EXPECT_EQ(panes.texts[1], " Wert: 0x11111111 / 286331153");
    h.Load(std::vector<uint8_t>(16, 0x11), HexViewHarness::kEditable | KeepCursor, 0x20);
    EXPECT_EQ(panes.texts[0], " Adr: 0x20 / 32");
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

TEST(HexViewMarks, ClearingTheSearchMarksRedrawsTheirRows)
{
    HexViewHarness h;
    FakeLineViewHost host;
    h.view.AttachHost(&host);
    h.view.HandleSize(800, 400);
    h.Load(CountingBytes(256));
    h.view.SetMark(0, 0x40, 4);
    h.view.SetMark(1, 0x80, 2);
    host.ClearRecords();
    h.view.SetMark(-2, 0, 0);
    EXPECT_FALSE(h.view.Redraws().Pending());
    EXPECT_GT(host.paints, 0);
    EXPECT_FALSE(host.invalidated.empty());
    h.view.DetachHost();
}

}  // namespace
}  // namespace qv::test
