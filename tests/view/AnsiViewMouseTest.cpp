// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse handling of the line view: clicks, drag autoscroll, double-click hold-off,
// right-button panning and the context menu, focus and dropped files.
#include <gtest/gtest.h>

#include "tests/view/AnsiViewTestKit.h"

namespace qv::test {
namespace {

using C = RecordingLineView::CursorCall;

class AnsiViewMouse : public LineViewFixture {};

TEST_F(AnsiViewMouse, ClickMapsPixelsToCellsRoundingToTheNearerColumnEdge)
{
    struct Case {
        int32_t x, y, column, line;
    };
    // column = left + (x + width / 2 - margin) div width, line = top + y div height
    for (Case c : {Case{0, 0, 0, 0}, Case{3, 15, 0, 1 - 1}, Case{4, 16, 1, 1}, Case{83, 33, 10, 2}}) {
        view.cursorCalls.clear();
        view.HandleMouseDown(MouseButton::Left, MouseLeft, c.x, c.y);
        view.HandleMouseUp(MouseButton::Left, 0, c.x, c.y);
        ASSERT_EQ(view.cursorCalls.size(), 1u) << c.x;
        EXPECT_EQ(view.cursorCalls[0], (C{c.column, c.line, 0x18})) << c.x << "," << c.y;
    }
    EXPECT_GE(host.focusRequests, 1);
}

TEST_F(AnsiViewMouse, MarginClicksGoToTheMarginHook)
{
    view.SetLeftMargin(20);
    view.HandleMouseDown(MouseButton::Left, MouseLeft, 5, 40);
    view.HandleMouseUp(MouseButton::Left, 0, 5, 40);
    view.HandleMouseDown(MouseButton::Right, MouseRight, 5, 40);
    view.HandleMouseUp(MouseButton::Right, 0, 5, 40);
    view.HandleDoubleClick(MouseButton::Left, MouseLeft, 5, 40);
    ASSERT_EQ(view.marginCodes.size(), 5u);
    EXPECT_EQ(view.marginCodes[0], MouseLeft | 0x4800u);
    EXPECT_EQ(view.marginCodes[1], 0x8800u);
    EXPECT_EQ(view.marginCodes[2], MouseRight | 0x4400u);
    EXPECT_EQ(view.marginCodes[3], 0x8400u);
    EXPECT_EQ(view.marginCodes[4], MouseLeft | 0x2800u);
    EXPECT_EQ(view.marginLines[0], 2);
    // left of the left column the drag is a margin drag and moves report 0x1000
    EXPECT_EQ(view.Drag(), DragMode::None);
    view.HandleMouseDown(MouseButton::Left, MouseLeft, 5, 40);
    EXPECT_EQ(view.Drag(), DragMode::Margin);
    view.HandleMouseMove(MouseLeft, 6, 60);
    EXPECT_EQ(view.marginCodes.back(), MouseLeft | 0x1000u);
    EXPECT_TRUE(view.cursorCalls.empty());
}

TEST_F(AnsiViewMouse, DragInsideFollowsTheMouseAndEndsOnRelease)
{
    view.HandleMouseDown(MouseButton::Left, MouseLeft, 8, 16);
    EXPECT_EQ(view.Drag(), DragMode::Text);
    EXPECT_TRUE(host.captured);
    view.HandleMouseMove(MouseLeft, 80, 48);
    EXPECT_EQ(view.cursorCalls.back(), (C{10, 3, 10}));
    EXPECT_TRUE(host.timers.empty());
    view.HandleMouseUp(MouseButton::Left, 0, 80, 48);
    EXPECT_EQ(view.Drag(), DragMode::None);
    EXPECT_FALSE(host.captured);
}

TEST_F(AnsiViewMouse, DragPastAnEdgeAutoscrollsWithOddSteps)
{
    struct Case {
        int32_t x, y, stepX, stepY;
    };
    // pane 320 x 640; steps start one cell before the far edges and left of the margin / above the top
    for (Case c : {Case{312, 100, 1, 0}, Case{312 + 16, 100, 3, 0}, Case{312 + 41, 100, 5, 0},
                   Case{100, 624 + 24, 0, 3}, Case{-1, 100, -1, 0}, Case{100, -9, 0, -2}, Case{-16, -8, -2, -1}}) {
        view.HandleMouseDown(MouseButton::Left, MouseLeft, 100, 100);
        view.cursorCalls.clear();
        view.HandleMouseMove(MouseLeft, c.x, c.y);
        ASSERT_EQ(host.timers.count(kAutoScrollTimer), 1u) << c.x << "," << c.y;
        EXPECT_EQ(host.timers[kAutoScrollTimer], 165);
        EXPECT_TRUE(view.cursorCalls.empty());
        view.HandleTimer(kAutoScrollTimer);
        ASSERT_EQ(view.cursorCalls.size(), 1u);
        EXPECT_EQ(view.cursorCalls[0], (C{c.stepX, c.stepY, 11})) << c.x << "," << c.y;
        view.HandleMouseUp(MouseButton::Left, 0, 100, 100);
        EXPECT_TRUE(host.timers.empty());
    }
}

TEST_F(AnsiViewMouse, DoubleClickPlacesCursorAndHoldsOffDragging)
{
    view.HandleDoubleClick(MouseButton::Left, MouseLeft, 40, 32);
    EXPECT_EQ(view.doubleClicks.back(), (C{5, 2, MouseLeft}));
    EXPECT_EQ(view.cursorCalls.back(), (C{5, 2, 8}));
    size_t calls = view.cursorCalls.size();
    host.now += 100;
    view.HandleMouseMove(MouseLeft, 120, 32);
    EXPECT_EQ(view.cursorCalls.size(), calls);  // within 300 ms nothing moves
    host.now += 250;
    view.HandleMouseMove(MouseLeft, 120, 32);
    EXPECT_EQ(view.cursorCalls.back(), (C{15, 2, 10}));
}

TEST_F(AnsiViewMouse, HandledDoubleClickOrCtrlClickSkipsTheDefault)
{
    view.handleDoubleClick = true;
    view.HandleDoubleClick(MouseButton::Left, MouseLeft, 40, 32);
    EXPECT_TRUE(view.cursorCalls.empty());
    view.HandleMouseDown(MouseButton::Left, MouseLeft | MouseCtrl, 40, 32);
    EXPECT_EQ(view.Drag(), DragMode::None);
    EXPECT_EQ(view.doubleClicks.size(), 2u);
}

TEST_F(AnsiViewMouse, StillRightClickShowsTheContextMenu)
{
    view.HandleMouseDown(MouseButton::Right, MouseRight, 50, 60);
    EXPECT_EQ(view.Right(), RightMode::Text);
    EXPECT_EQ(host.timers.count(kAutoScrollTimer), 1u);
    view.HandleMouseUp(MouseButton::Right, 0, 50, 60);
    ASSERT_EQ(host.menus.size(), 1u);
    const ContextMenu& menu = host.menus[0];
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].command, 57605);
    EXPECT_EQ(menu[0].text, "&Seite einrichten");
    EXPECT_FALSE(menu[0].enabled);  // nobody prints yet
    EXPECT_EQ(menu[1].command, 32784);
    EXPECT_EQ(menu[1].text, "&Farben einstellen");
    EXPECT_EQ(menu[2].command, 32783);
    EXPECT_EQ(menu[2].text, "Schri&ften einstellen");
    EXPECT_EQ(host.menuPoint.x, 50);
    EXPECT_EQ(view.Right(), RightMode::None);
    EXPECT_TRUE(host.timers.empty());
}

TEST_F(AnsiViewMouse, ContextMenuChoiceRunsTheCommandThroughTheParent)
{
    parent.enabledCommands = {57605};
    host.menuChoice = 57605;
    view.SetNoStyle(true);
    view.HandleMouseDown(MouseButton::Right, MouseRight, 50, 60);
    view.HandleMouseUp(MouseButton::Right, 0, 50, 60);
    ASSERT_EQ(host.menus.size(), 1u);
    EXPECT_EQ(host.menus[0].size(), 2u);  // no colour entry without a style
    EXPECT_TRUE(host.menus[0][0].enabled);
    EXPECT_EQ(parent.executed, (std::vector<int>{57605}));
}

TEST_F(AnsiViewMouse, HoldingTheRightButtonStillStartsPanning)
{
    view.SetCaretMode(CaretShown);
    view.HandleSetFocus(0);
    EXPECT_TRUE(host.caretShown);
    view.HandleMouseDown(MouseButton::Right, MouseRight, 50, 60);
    host.mouse = {51, 62};  // within 3 pixels
    for (int tick = 0; tick < 4; ++tick) view.HandleTimer(kAutoScrollTimer);
    EXPECT_EQ(view.Right(), RightMode::Text);
    view.HandleTimer(kAutoScrollTimer);
    EXPECT_EQ(view.Right(), RightMode::Panning);
    EXPECT_EQ(host.cursor, CursorShape::Hand);
    EXPECT_TRUE(host.captured);
    EXPECT_FALSE(host.caretShown);
    EXPECT_TRUE(host.timers.empty());
    view.HandleMouseUp(MouseButton::Right, 0, 50, 60);
    EXPECT_TRUE(host.menus.empty());
    EXPECT_EQ(host.cursor, CursorShape::Arrow);
    EXPECT_FALSE(host.captured);
}

TEST_F(AnsiViewMouse, PanningDragsTheTextByCharactersAndRoundsTheRest)
{
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::ThumbTrack, 30);
    view.HandleScroll(ScrollBarHorizontalLeft, ScrollAction::ThumbTrack, 10);
    view.HandleMouseDown(MouseButton::Right, MouseRight, 100, 100);
    view.HandleMouseMove(MouseRight, 100, 104);  // 4 pixels: panning starts
    EXPECT_EQ(view.Right(), RightMode::Panning);
    view.HandleMouseMove(MouseRight, 100 - 20, 100 + 16 * 5 + 6);  // 2.5 columns left, 5 rows and 6 px down
    EXPECT_EQ(view.TopLine(), 30 - 6);
    EXPECT_EQ(view.LeftColumn(), 12);
    view.HandleMouseUp(MouseButton::Right, 0, 80, 186);
    // 10 of 16 pixels past line 24 are more than half a line: one line further
    EXPECT_EQ(view.TopLine(), 25);
    EXPECT_EQ(view.LeftColumn(), 12);
    EXPECT_TRUE(host.menus.empty());
}

TEST_F(AnsiViewMouse, FocusChangesNotifyAndToggleTheCaret)
{
    view.SetCaretMode(CaretShown | CaretThin);
    view.HandleSetFocus(ModShift);
    EXPECT_TRUE(view.HasFocus());
    EXPECT_EQ(view.ModifierState(), ModShift);
    EXPECT_EQ(host.caretWidth, 2);
    EXPECT_EQ(host.caretHeight, 16);
    EXPECT_TRUE(host.caretShown);
    EXPECT_EQ(CAnsiView::ActiveView(), &view);
    view.HandleKillFocus();
    EXPECT_FALSE(host.caretShown);
    view.SetCaretMode(CaretShown);
    view.HandleSetFocus(0);
    EXPECT_EQ(host.caretWidth, 8 + 1);
    EXPECT_EQ(parent.Count(NotifyFocusGained), 2);
    EXPECT_EQ(parent.Count(NotifyFocusLost), 1);
}

TEST_F(AnsiViewMouse, CaretSitsOnTheCursorCellAndHidesOutsideThePane)
{
    view.SetLeftMargin(2);
    view.SetCaretMode(CaretShown);
    view.HandleSetFocus(0);
    view.SetCursorPos(3, 2, 0);
    view.UpdateScroll(0);
    EXPECT_EQ(host.caretPos.x, 2 + 3 * 8);
    EXPECT_EQ(host.caretPos.y, 2 * 16);
    EXPECT_TRUE(host.caretShown);
    view.HandleWheel(0, -120);  // the cursor line scrolls out of sight
    EXPECT_FALSE(host.caretShown);
}

TEST_F(AnsiViewMouse, DroppedFilesGoToTheParentOnlyWhenAccepted)
{
    view.HandleDroppedFiles({"/tmp/a.bin", "/tmp/b.bin"});
    EXPECT_TRUE(parent.dropped.empty());
    view.EnableDroppedFiles(true);
    EXPECT_TRUE(host.acceptsFiles);
    view.HandleDroppedFiles({});
    view.HandleDroppedFiles({"/tmp/a.bin", "/tmp/b.bin"});
    EXPECT_EQ(parent.dropped, (std::vector<std::string>{"/tmp/a.bin"}));
}

}  // namespace
}  // namespace qv::test
