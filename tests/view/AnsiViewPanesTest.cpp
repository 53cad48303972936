// SPDX-License-Identifier: GPL-3.0-or-later
// Pane geometry, hit tests and splitting of the line view.
#include <gtest/gtest.h>

#include "tests/view/AnsiViewTestKit.h"
#include "view/LinePanes.h"

namespace qv::test {
namespace {

LinePaneLayout SplitLayout()
{
    // 400 x 300 client, 16-pixel strips: text area 384 x 284
    LinePaneLayout layout;
    layout.SetClient(400, 300);
    layout.AllowSplits(true, true);
    layout.SetStrips(true, true, 16);
    layout.SetSplit(SplitSideBySide | SplitTopBottom, 100, 150);
    return layout;
}

TEST(LinePaneLayout, HitTestFindsPanesBarsAndBoxes)
{
    LinePaneLayout layout = SplitLayout();
    struct Case {
        int32_t x, y;
        int code;
        LinePoint origin;
    };
    for (Case c : {Case{0, 0, HitText + 0, {0, 0}}, Case{99, 149, HitText + 0, {0, 0}},
                   Case{107, 10, HitText + 1, {107, 0}}, Case{10, 157, HitText + 2, {0, 157}},
                   Case{383, 283, HitText + 3, {107, 157}}, Case{100, 10, HitVerticalBar, {}},
                   Case{106, 200, HitVerticalBar, {}}, Case{50, 153, HitHorizontalBar, {}},
                   Case{103, 153, HitBothBars, {}}, Case{3, 290, HitSplitBoxSideBySide, {}},
                   Case{390, 3, HitSplitBoxTopBottom, {}}, Case{200, 290, HitNothing, {}},
                   Case{390, 100, HitNothing, {}}, Case{-1, 5, HitNothing, {}}, Case{5, 400, HitNothing, {}}}) {
        PaneHit hit = layout.HitTest(c.x, c.y);
        EXPECT_EQ(hit.code, c.code) << c.x << "," << c.y;
        if (c.code >= HitText && c.code < HitSplitBoxSideBySide) {
            EXPECT_EQ(hit.pane, c.code - HitText);
            EXPECT_EQ(hit.origin.x, c.origin.x);
            EXPECT_EQ(hit.origin.y, c.origin.y);
        }
    }
}

TEST(LinePaneLayout, ScrollBarsSitUnderAndBesideTheirPanes)
{
    LinePaneLayout layout = SplitLayout();
    EXPECT_EQ(layout.ScrollBarRect(ScrollBarHorizontalLeft), (LineRect{7, 284, 100, 300}));
    EXPECT_EQ(layout.ScrollBarRect(ScrollBarHorizontalRight), (LineRect{107, 284, 384, 300}));
    EXPECT_EQ(layout.ScrollBarRect(ScrollBarVerticalTop), (LineRect{384, 7, 400, 150}));
    EXPECT_EQ(layout.ScrollBarRect(ScrollBarVerticalBottom), (LineRect{384, 157, 400, 284}));
    layout.SetSplit(0, 0, 0);
    EXPECT_TRUE(layout.ScrollBarRect(ScrollBarHorizontalRight).IsEmpty());
    EXPECT_FALSE(layout.PaneExists(1));
    EXPECT_EQ(layout.PaneRect(0), (LineRect{0, 0, 384, 284}));
}

TEST(LinePaneLayout, SplitsTooCloseToAnEdgeOrNotAllowedAreRemoved)
{
    struct Case {
        int32_t x;
        bool kept;
    };
    for (Case c : {Case{2, false}, Case{3, true}, Case{384 - 9, true}, Case{384 - 8, false}}) {
        LinePaneLayout layout = SplitLayout();
        layout.SetSplit(SplitSideBySide, c.x, 0);
        EXPECT_EQ((layout.Split() & SplitSideBySide) != 0, c.kept) << c.x;
    }
    LinePaneLayout layout = SplitLayout();
    layout.AllowSplits(false, true);
    EXPECT_EQ(layout.Split(), SplitTopBottom);
    EXPECT_TRUE(layout.SplitBoxRect(SplitSideBySide).IsEmpty());
}

class AnsiViewPanes : public LineViewFixture {};

TEST_F(AnsiViewPanes, DoubleClickOnSplitBoxSplitsAndUnsplits)
{
    // only top/bottom splitting is allowed by default: its box tops the vertical strip
    view.HandleDoubleClick(MouseButton::Left, MouseLeft, 320 + 8, 3);
    EXPECT_EQ(view.Layout().Split(), SplitTopBottom);
    EXPECT_EQ(view.paneChanges, (std::vector<uint32_t>{SplitTopBottom}));
    EXPECT_TRUE(host.bars[ScrollBarVerticalBottom].visible);
    EXPECT_EQ(view.PaneRows(), (640 - 7) / 2 / 16 + 1);
    view.HandleDoubleClick(MouseButton::Left, MouseLeft, 320 + 8, 3);
    EXPECT_EQ(view.Layout().Split(), 0u);
    EXPECT_FALSE(host.bars[ScrollBarVerticalBottom].visible);
    EXPECT_EQ(view.PaneRows(), 40);
}

TEST_F(AnsiViewPanes, PanesKeepTheirOwnLinesAndShareColumns)
{
    view.SetOptions(view.Options() | OptSplitSideBySide);
    view.SetSplit(SplitTopBottom | SplitSideBySide, 160, 320);
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::ThumbTrack, 30);
    view.HandleScroll(ScrollBarVerticalBottom, ScrollAction::ThumbTrack, 60);
    EXPECT_EQ(view.ActivePane(), 2);
    EXPECT_EQ(view.Pane(0).topLine, 30);
    EXPECT_EQ(view.Pane(1).topLine, 30);  // beside pane 0: same lines
    EXPECT_EQ(view.Pane(2).topLine, 60);
    EXPECT_EQ(view.Pane(3).topLine, 60);
    view.HandleScroll(ScrollBarHorizontalRight, ScrollAction::LineDown, 0);
    EXPECT_EQ(view.ActivePane(), 3);
    EXPECT_EQ(view.Pane(3).leftColumn, 1);
    EXPECT_EQ(view.Pane(1).leftColumn, 1);  // above pane 3: same columns
    EXPECT_EQ(view.Pane(0).leftColumn, 0);
}

TEST_F(AnsiViewPanes, CtrlTabCyclesThroughExistingPanes)
{
    view.SetOptions(view.Options() | OptSplitSideBySide);
    view.SetSplit(SplitSideBySide, 160, 0);
    EXPECT_EQ(view.ActivePane(), 0);
    view.HandleChar(KeyTab, 1, KeyFlagCtrl);
    EXPECT_EQ(view.ActivePane(), 1);
    view.HandleChar(KeyTab, 1, KeyFlagCtrl);
    EXPECT_EQ(view.ActivePane(), 0);
    view.HandleChar(KeyTab, 1, KeyFlagCtrl | KeyFlagShift);
    EXPECT_EQ(view.ActivePane(), 1);
    view.HandleChar(KeyTab, 1, 0);  // a plain Tab is the derived view's business
    EXPECT_EQ(view.ActivePane(), 1);
}

TEST_F(AnsiViewPanes, DraggingASplitterMovesItAndDraggingToTheEdgeRemovesIt)
{
    view.SetSplit(SplitTopBottom, 0, 300);
    EXPECT_EQ(view.CursorShapeAt(100, 303), CursorShape::SizeNorthSouth);
    view.HandleMouseDown(MouseButton::Left, MouseLeft, 100, 303);
    EXPECT_TRUE(host.captured);
    view.HandleMouseMove(MouseLeft, 100, 203);
    EXPECT_EQ(view.Layout().SplitY(), 200);
    view.HandleMouseUp(MouseButton::Left, 0, 100, 203);
    EXPECT_FALSE(host.captured);
    EXPECT_EQ(view.Layout().Split(), SplitTopBottom);
    view.HandleMouseDown(MouseButton::Left, MouseLeft, 100, 203);
    view.HandleMouseMove(MouseLeft, 100, 4);
    view.HandleMouseUp(MouseButton::Left, 0, 100, 4);
    EXPECT_EQ(view.Layout().Split(), 0u);
    EXPECT_EQ(view.ActivePane(), 0);
}

TEST_F(AnsiViewPanes, ClickInALowerPaneActivatesIt)
{
    view.SetSplit(SplitTopBottom, 0, 320);
    view.HandleScroll(ScrollBarVerticalBottom, ScrollAction::ThumbTrack, 50);
    view.HandleScroll(ScrollBarVerticalTop, ScrollAction::ThumbTrack, 0);
    EXPECT_EQ(view.ActivePane(), 0);
    view.HandleMouseDown(MouseButton::Left, MouseLeft, 16, 327 + 32);
    view.HandleMouseUp(MouseButton::Left, 0, 16, 327 + 32);
    EXPECT_EQ(view.ActivePane(), 2);
    EXPECT_EQ(view.cursorCalls.back(), (RecordingLineView::CursorCall{2, 52, 0x18}));
}

TEST_F(AnsiViewPanes, ForbiddingTheSplitRemovesThePanes)
{
    view.SetSplit(SplitTopBottom, 0, 320);
    view.HandleScroll(ScrollBarVerticalBottom, ScrollAction::LineDown, 0);
    EXPECT_EQ(view.ActivePane(), 2);
    view.SetOptions(0);
    EXPECT_EQ(view.Layout().Split(), 0u);
    EXPECT_EQ(view.ActivePane(), 0);
    EXPECT_EQ(view.paneChanges.back(), 0u);
}

}  // namespace
}  // namespace qv::test
