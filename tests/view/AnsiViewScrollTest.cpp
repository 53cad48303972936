// SPDX-License-Identifier: GPL-3.0-or-later
// Scroll recomputation of the line view: clamping, paging, scroll bars, notifications.
#include <gtest/gtest.h>

#include "tests/view/AnsiViewTestKit.h"

namespace qv::test {
namespace {

class AnsiViewScroll : public LineViewFixture {
protected:
    void Key(int key, uint32_t flags = 0, int repeat = 1) { view.HandleKeyDown(key, repeat, flags); }
};

TEST(AnsiViewDefaults, NullViewHasEightyColumnsAndHundredLines)
{
    CAnsiView view;
    EXPECT_EQ(view.ViewName(), "Null");
    EXPECT_EQ(view.LineLength(), 80);
    EXPECT_EQ(view.LineCount(), 100);
    EXPECT_EQ(view.Options(), 0x800u);
    EXPECT_EQ(view.CharWidth(), 10);
    EXPECT_EQ(view.CharHeight(), 13);
    ASSERT_EQ(view.Style().colors.Count(), 1);
    EXPECT_EQ(view.Style().colors.At(0).name, "Standard");
    EXPECT_EQ(view.Style().colors.At(0).index, 1);
    EXPECT_EQ(view.Style().colors.At(0).text, kDefaultColor);
    CAnsiView longer("Null", 120, 28);
    EXPECT_EQ(longer.LineCount(), 128);
    EXPECT_EQ(longer.LineLength(), 120);
}

TEST(AnsiViewWithoutWindow, CursorMovesBeforeSizingDoNotScroll)
{
    test::FakeLineViewHost host;
    CAnsiView view("NoWindowYet");
    view.SetCursorPos(60, 70, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.LeftColumn(), 0);
    EXPECT_EQ(view.TopLine(), 0);
    view.AttachHost(&host);
    view.HandleSize(40 * 8 + 16, 40 * 16 + 16);  // 40 x 40 cells, as in the fixture
    // once there is a window the cursor is brought into view
    EXPECT_EQ(view.LeftColumn(), 60 - 40 + 1);
    EXPECT_EQ(view.TopLine(), 70 - 40 + 1);
    view.HandleSize(16 + 4, 16 + 4);  // one partly visible cell still follows the cursor
    view.SetCursorPos(5, 3, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.LeftColumn(), 5);
    EXPECT_EQ(view.TopLine(), 3);
    view.DetachHost();
}

TEST_F(AnsiViewScroll, PaneSizeFollowsClientLessStrips)
{
    EXPECT_EQ(view.PaneColumns(), 40);
    EXPECT_EQ(view.PaneRows(), 40);
    EXPECT_EQ(view.Pane(0).lastRowPartial, 0);
    view.HandleSize(kWidth + 4, kHeight + 8);  // half a row and half a column more
    EXPECT_EQ(view.PaneColumns(), 41);
    EXPECT_EQ(view.PaneRows(), 41);
    EXPECT_EQ(view.Pane(0).lastColumnPartial, 1);
    EXPECT_EQ(view.Pane(0).lastRowPartial, 1);
}

TEST_F(AnsiViewScroll, LineCountZeroKeepsCursorAndTopAtZero)
{
    view.SetLineCount(0);
    view.SetCaretMode(CaretShown);
    Key(KeyDown, 0, 5);
    Key(KeyPageDown);
    view.HandleKeyDown(KeyPageDown, 1, KeyFlagCtrl);
    EXPECT_EQ(view.CursorLine(), 0);
    EXPECT_EQ(view.TopLine(), 0);
}

TEST_F(AnsiViewScroll, PageDownMovesTopAndCursorByRowsLessOne)
{
    view.SetCaretMode(CaretShown);
    Key(KeyPageDown);
    EXPECT_EQ(view.TopLine(), 39);
    EXPECT_EQ(view.CursorLine(), 39);
    Key(KeyPageUp);
    EXPECT_EQ(view.TopLine(), 0);
    EXPECT_EQ(view.CursorLine(), 0);
}

TEST_F(AnsiViewScroll, CursorJumpLeavesCursorOnLastFullyVisibleRow)
{
    view.SetCursorPos(0, 100 - 1, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.TopLine(), 99 - 40 + 1);
    // with a partly visible last row the cursor still lands on a fully visible one
    view.HandleSize(kWidth, kHeight + 8);
    view.SetCursorPos(0, 0, 0);
    view.UpdateScroll(0);
    view.SetCursorPos(0, 90, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.TopLine(), 90 - 40 + 1);
}

TEST_F(AnsiViewScroll, CursorIsClampedToLineCountAndLineLength)
{
    view.SetCursorPos(500, 500, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.CursorLine(), 100);
    EXPECT_EQ(view.CursorColumn(), 79);
    view.SetCursorPos(-5, -7, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.CursorLine(), 0);
    EXPECT_EQ(view.CursorColumn(), 0);
}

TEST_F(AnsiViewScroll, ScrollingAloneStopsWithLastLineInTheMiddle)
{
    // Ctrl+Page Down scrolls without moving the cursor
    for (int i = 0; i < 10; ++i) view.HandleKeyDown(KeyPageDown, 1, KeyFlagCtrl);
    EXPECT_EQ(view.TopLine(), 100 - 40 / 2);
    EXPECT_EQ(view.CursorLine(), 0);
    for (int i = 0; i < 10; ++i) view.HandleKeyDown(KeyRight, 1, KeyFlagCtrl);
    EXPECT_EQ(view.LeftColumn(), 10);
    for (int i = 0; i < 60; ++i) view.HandleKeyDown(KeyRight, 1, KeyFlagCtrl);
    EXPECT_EQ(view.LeftColumn(), 80 - 40 / 2);
    view.HandleKeyDown(KeyUp, 1, KeyFlagCtrl);
    EXPECT_EQ(view.TopLine(), 79);
    EXPECT_EQ(view.scrollKeys.back(), KeyUp);
}

TEST_F(AnsiViewScroll, CursorColumnRightOfPaneScrollsLeftColumn)
{
    view.SetCursorPos(60, 0, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.LeftColumn(), 60 - 40 + 1);
    view.SetCursorPos(5, 0, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.LeftColumn(), 5);
}

TEST_F(AnsiViewScroll, ScrollLocksKeepPositionsAtZero)
{
    view.SetOptions(view.Options() | OptNoHorizontalScroll | OptNoVerticalScroll);
    view.SetCursorPos(70, 90, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.LeftColumn(), 0);
    EXPECT_EQ(view.TopLine(), 0);
    EXPECT_FALSE(host.bars[ScrollBarHorizontalLeft].visible);
}

TEST_F(AnsiViewScroll, WithoutCaretArrowsScrollInsteadOfMovingTheCursor)
{
    Key(KeyDown);
    EXPECT_EQ(view.TopLine(), 1);
    EXPECT_EQ(view.CursorLine(), 0);
    view.SetCaretMode(CaretShown);
    Key(KeyDown);
    EXPECT_EQ(view.CursorLine(), 1);
}

TEST_F(AnsiViewScroll, NavigationKeysMoveRelativeWithShiftAndCtrlFlags)
{
    view.SetCaretMode(CaretShown);
    view.SetCursorPos(10, 5, 0);
    view.UpdateScroll(0);
    view.cursorCalls.clear();
    Key(KeyRight);
    Key(KeyLeft, KeyFlagShift);
    Key(KeyEnd);
    Key(KeyHome, KeyFlagShift);
    Key(KeyDown, KeyFlagCtrl | KeyFlagShift);
    using C = RecordingLineView::CursorCall;
    std::vector<C> expected = {{1, 0, 0x1}, {-1, 0, 0x3}, {80 - 10, 0, 0x1}, {-79, 0, 0x3}, {0, 1, 0x7}};
    EXPECT_EQ(view.cursorCalls, expected);
    Key(KeyEnd, KeyFlagCtrl | KeyFlagShift);
    EXPECT_EQ(view.cursorCalls.back(), (C{0, 99, 0x2}));
    Key(KeyHome, KeyFlagCtrl);
    EXPECT_EQ(view.cursorCalls.back(), (C{0, 0, 0x0}));
}

TEST_F(AnsiViewScroll, KeyRepeatIsCutToThirtyAndDrawsOnce)
{
    view.SetCaretMode(CaretShown);
    host.ClearRecords();
    Key(KeyDown, 0, 50);
    EXPECT_EQ(view.CursorLine(), 30);
    EXPECT_EQ(view.keysDown.size(), 30u);
    EXPECT_EQ(host.paints, 1);
    view.HandleKeyUp(KeyDown, 50, 0);
    EXPECT_EQ(view.keysUp.size(), 30u);
}

TEST_F(AnsiViewScroll, HandledKeyStopsTheDefaultMove)
{
    view.SetCaretMode(CaretShown);
    view.handleKeys = true;
    Key(KeyDown, 0, 3);
    EXPECT_EQ(view.CursorLine(), 0);
    EXPECT_EQ(view.keysDown.size(), 3u);
}

TEST_F(AnsiViewScroll, ClearKeyActsAsDoubleClickOnCursor)
{
    view.SetCursorPos(7, 3, 0);
    view.UpdateScroll(0);
    Key(KeyClear);
    ASSERT_EQ(view.doubleClicks.size(), 1u);
    EXPECT_EQ(view.doubleClicks[0], (RecordingLineView::CursorCall{7, 3, 0}));
    Key(KeyClear, KeyFlagShift);
    EXPECT_EQ(view.doubleClicks.size(), 1u);
}

TEST_F(AnsiViewScroll, ScrollChangeNotifiesUnlessSuppressed)
{
    int before = view.scrolled;
    view.SetCursorPos(0, 80, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(view.scrolled, before + 1);
    ASSERT_GE(parent.Count(NotifyScrolled), 1);
    EXPECT_EQ(parent.notes.back().code, NotifyScrolled);
    EXPECT_EQ(parent.notes.back().b, 80 - 40 + 1);
    int notes = parent.Count(NotifyScrolled);
    view.SetCursorPos(0, 0, 0);
    view.UpdateScroll(UpdateNoScrollNotify);
    EXPECT_EQ(view.TopLine(), 0);
    EXPECT_EQ(view.scrolled, before + 1);
    EXPECT_EQ(parent.Count(NotifyScrolled), notes);
}

TEST_F(AnsiViewScroll, SizeChangeReportsCountsAndDeltas)
{
    view.sizeChanges.clear();
    view.HandleSize(kWidth + 80, kHeight - 160);
    ASSERT_EQ(view.sizeChanges.size(), 1u);
    EXPECT_EQ(view.sizeChanges[0], (std::vector<int32_t>{50, 30, 10, -10}));
}

TEST_F(AnsiViewScroll, ScrollBarsShowRangesAndHideWhenNotNeeded)
{
    const ScrollBarState& vertical = host.bars[ScrollBarVerticalTop];
    EXPECT_TRUE(vertical.visible);
    EXPECT_EQ(vertical.page, 40);
    EXPECT_EQ(vertical.maximum, 100 + 20 - 40);  // range extended by half a page
    const ScrollBarState& horizontal = host.bars[ScrollBarHorizontalLeft];
    EXPECT_TRUE(horizontal.visible);
    EXPECT_EQ(horizontal.maximum, 80 - 40);
    EXPECT_EQ(horizontal.where, (LineRect{0, 640, 320, 656}));
    // wide enough for every column: the horizontal strip goes and a row comes back
    view.HandleSize(81 * 8 + 16, kHeight);
    EXPECT_FALSE(host.bars[ScrollBarHorizontalLeft].visible);
    EXPECT_EQ(view.PaneRows(), 41);
    // the vertical bar stays (splitting allowed) but is disabled when everything fits
    view.HandleSize(kWidth, 200 * 16);
    EXPECT_TRUE(host.bars[ScrollBarVerticalTop].visible);
    EXPECT_FALSE(host.bars[ScrollBarVerticalTop].enabled);
}

TEST_F(AnsiViewScroll, ScrollBarActionsMoveTheView)
{
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::PageDown, 0);
    EXPECT_EQ(view.TopLine(), 39);
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::LineUp, 0);
    EXPECT_EQ(view.TopLine(), 38);
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::ThumbTrack, 70);
    EXPECT_EQ(view.TopLine(), 70);
    EXPECT_EQ(host.bars[ScrollBarVerticalTop].position, 70);
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::Bottom, 0);
    EXPECT_EQ(view.TopLine(), 80);
    view.HandleScroll(ScrollBarHorizontalLeft, ScrollAction::LineDown, 0);
    EXPECT_EQ(view.LeftColumn(), 1);
    EXPECT_EQ(view.CursorLine(), 0);
}

TEST_F(AnsiViewScroll, LineViewControlMovesAndQueries)
{
    auto pack = [](uint32_t column, uint32_t line) { return column | line << 16; };
    EXPECT_EQ(view.LineViewControl(0, pack(5, 7)), pack(0, 0));
    EXPECT_EQ(view.CursorColumn(), 5);
    EXPECT_EQ(view.cursorCalls.back().flags, 0u);
    EXPECT_EQ(view.LineViewControl(1, 0), pack(5, 7));
    EXPECT_EQ(view.LineViewControl(5, 0), pack(5, 7));
    EXPECT_EQ(view.LineViewControl(4, pack(9, 8)), pack(5, 7));
    EXPECT_EQ(view.cursorCalls.back().flags, CursorExtend);
    EXPECT_EQ(view.LineViewControl(2, pack(3, 50)), pack(0, 0));
    EXPECT_EQ(view.LineViewControl(3, 0), pack(3, 50));
    EXPECT_EQ(view.LineViewControl(6, 0), 0u);
}

TEST_F(AnsiViewScroll, WheelScrollsThreeNineOrAPage)
{
    view.HandleWheel(0, -120);
    EXPECT_EQ(view.TopLine(), 3);
    view.HandleWheel(MouseShift, -120);
    EXPECT_EQ(view.TopLine(), 12);
    view.HandleWheel(MouseCtrl, -120);
    EXPECT_EQ(view.TopLine(), 51);
    view.HandleWheel(0, 120);
    EXPECT_EQ(view.TopLine(), 48);
    EXPECT_EQ(view.scrollKeys, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(view.wheelDeltas.size(), 4u);
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::Top, 0);
    size_t keys = view.scrollKeys.size();
    view.HandleWheel(0, 120);  // already at the top: nothing moved, no scroll key
    EXPECT_EQ(view.scrollKeys.size(), keys);
}

TEST_F(AnsiViewScroll, ExtraMouseButtonsPage)
{
    view.SetCaretMode(CaretShown);
    view.HandleMouseDown(MouseButton::Extra1, 0, 10, 10);
    EXPECT_EQ(view.TopLine(), 39);
    view.HandleMouseDown(MouseButton::Extra2, 0, 10, 10);
    EXPECT_EQ(view.TopLine(), 0);
    EXPECT_EQ(view.keysUp, (std::vector<int>{KeyPageDown, KeyPageUp}));
}

}  // namespace
}  // namespace qv::test
