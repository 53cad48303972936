// SPDX-License-Identifier: GPL-3.0-or-later
// Painting of the line view through the drawing interface, and its redraw requests.
#include <gtest/gtest.h>

#include "tests/support/RecordingDrawing.h"
#include "tests/view/AnsiViewTestKit.h"

namespace qv::test {
namespace {

class AnsiViewPaint : public LineViewFixture {};

TEST_F(AnsiViewPaint, NullViewDrawsItsTextOncePerVisibleLine)
{
    RecordingDrawing dc;
    view.HandlePaint(dc, {0, 0, kWidth, kHeight});
    EXPECT_EQ(view.printed.size(), 40u);  // only the visible lines
    ASSERT_EQ(dc.runs.size(), 40u);       // one run per line
    EXPECT_EQ(dc.runs[0].text, std::string(CAnsiView::kNullLineText).substr(0, 40));
    EXPECT_EQ(dc.runs[3].y, 3 * 16);
    EXPECT_EQ(dc.runs[0].text_color, kDefaultColor);
    // scrolled right the text ends inside the pane and the rest of the line is filled
    view.HandleScroll(ScrollBarHorizontalLeft, ScrollAction::ThumbTrack, 20);
    dc.fills.clear();
    view.HandlePaint(dc, {0, 0, kWidth, 16});
    bool filled = false;
    for (const auto& fill : dc.fills) filled |= fill.rect == LineRect{27 * 8, 0, 320, 16};
    EXPECT_TRUE(filled);
}

TEST_F(AnsiViewPaint, PaintingAStripDrawsOnlyTheLinesInIt)
{
    RecordingDrawing dc;
    view.HandlePaint(dc, {0, 16 * 5 + 3, 50, 16 * 7});
    EXPECT_EQ(view.printed, (std::vector<int64_t>{5, 6}));
}

TEST_F(AnsiViewPaint, TextStartsAtTheLeftColumnAndStopsAtTheLineCount)
{
    view.SetLineCount(3);
    view.HandleScroll(ScrollBarHorizontalLeft, ScrollAction::ThumbTrack, 10);
    RecordingDrawing dc;
    view.HandlePaint(dc, {0, 0, kWidth, kHeight});
    ASSERT_EQ(dc.runs.size(), 3u);
    EXPECT_EQ(dc.runs[0].text, std::string(CAnsiView::kNullLineText).substr(10));
    EXPECT_EQ(dc.runs[0].x, 0);
}

TEST_F(AnsiViewPaint, PrintLineHonoursColumnAndCount)
{
    RecordingDrawing dc;
    struct Case {
        int32_t line, first, count;
        std::string text;
    };
    std::string full = CAnsiView::kNullLineText;
    for (const Case& c : {Case{0, 0, 9, full.substr(0, 9)}, Case{99, 40, 80, full.substr(40)},
                          Case{100, 0, 80, ""}, Case{-1, 0, 80, ""}, Case{0, 0, 0, ""}, Case{0, 200, 5, ""}}) {
        dc.runs.clear();
        int32_t drawn = view.CAnsiView::PrintLine(dc, {0, 0, 100, 16}, c.line, c.first, c.count, 0);
        EXPECT_EQ(drawn, static_cast<int32_t>(c.text.size())) << c.line << "/" << c.first;
        if (!c.text.empty()) {
            ASSERT_EQ(dc.runs.size(), 1u);
            EXPECT_EQ(dc.runs[0].text, c.text);
        } else {
            EXPECT_TRUE(dc.runs.empty());
        }
    }
}

TEST_F(AnsiViewPaint, MarginIsGreyAndSharedByTheStyleGroup)
{
    RecordingLineView other;  // same view name: same style
    view.SetLeftMargin(12);
    EXPECT_EQ(other.LeftMargin(), 12);
    EXPECT_EQ(view.PaneColumns(), (320 - 12 + 7) / 8);
    RecordingDrawing dc;
    view.HandlePaint(dc, {0, 0, 20, 16});
    ASSERT_FALSE(dc.fills.empty());
    bool margin = false;
    for (const auto& fill : dc.fills) margin |= fill.rect == LineRect{0, 0, 12, 16} && fill.color == 0xC0C0C0;
    EXPECT_TRUE(margin);
    EXPECT_EQ(dc.runs.at(0).x, 12);
    view.SetLeftMargin(2001);
    EXPECT_EQ(view.LeftMargin(), 0);
    EXPECT_EQ(other.LeftMargin(), 0);
    view.SetLeftMargin(-1);
    EXPECT_EQ(view.LeftMargin(), 0);
}

TEST_F(AnsiViewPaint, SystemColourChangeDerivesTheMarginGrey)
{
    view.SetLeftMargin(4);
    host.buttonFace = 0x808080;
    view.HandleSystemColorsChanged();
    RecordingDrawing dc;
    view.HandlePaint(dc, {0, 0, 4, 16});
    bool found = false;
    for (const auto& fill : dc.fills) found |= fill.color == 0x707070;
    EXPECT_TRUE(found);
}

TEST_F(AnsiViewPaint, LineRequestsInvalidateOnlyTheirRows)
{
    host.ClearRecords();
    view.InvalidateLine(3);
    view.Redraw();
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], (LineRect{0, 48, 320, 64}));
    EXPECT_EQ(host.paints, 1);
    host.ClearRecords();
    view.InvalidateLines(200, 2);  // below the pane
    view.Redraw();
    EXPECT_TRUE(host.invalidated.empty());
    host.ClearRecords();
    view.Redraw(false);
    ASSERT_EQ(host.invalidated.size(), 1u);
    EXPECT_EQ(host.invalidated[0], (LineRect{0, 0, kWidth, kHeight}));
}

TEST_F(AnsiViewPaint, UpdateBatchDrawsOnceWhenTheOutermostEnds)
{
    host.ClearRecords();
    view.BeginUpdateBatch();
    view.BeginUpdateBatch();
    view.InvalidateLine(1);
    view.UpdateScroll(0);
    view.InvalidateLine(2);
    view.EndUpdateBatch();
    EXPECT_EQ(host.paints, 0);
    EXPECT_TRUE(view.Redraws().InBatch());
    view.EndUpdateBatch();
    EXPECT_EQ(host.paints, 1);
    EXPECT_FALSE(view.Redraws().Pending());
    EXPECT_FALSE(view.Redraws().InBatch());
}

TEST(RedrawState, RequestsMergeIntoTheSmallestForm)
{
    struct Case {
        std::vector<std::pair<int, int>> lines;  // (first, count); count -1: to the end
        uint32_t expected;
    };
    for (const Case& c : std::vector<Case>{
             {{{5, 1}}, 0x01000005},
             {{{5, 1}, {5, 1}}, 0x01000005},
             {{{5, 1}, {6, 1}}, 0x04000005 | 2u << 17},
             {{{9, 1}, {5, 1}}, 0x04000005 | 5u << 17},
             {{{5, 1}, {40, 1}}, 0x02000005},
             {{{70000, 3}}, 0x04000000 | 70000 | 3u << 17},
             {{{200000, 3}}, 0x02000000 | 200000},
             {{{10, 1}, {3, -1}}, 0x02000003},
             {{{0x400000, 1}}, 0x80000000},
             {{{-4, 6}}, 0x04000000 | 2u << 17},
             {{{-4, 2}}, 0},
         }) {
        RedrawState state;
        for (auto [first, count] : c.lines) {
            if (count < 0)
                state.RequestFrom(first);
            else if (count == 1)
                state.RequestLine(first);
            else
                state.RequestLines(first, count);
        }
        EXPECT_EQ(state.Bits(), c.expected) << c.lines.size();
    }
}

TEST(RedrawState, FlagsCombineAndEverythingSwallowsLines)
{
    RedrawState state;
    state.Merge(RedrawCursorLine);
    state.RequestLine(4);
    state.Merge(RedrawCaret);
    EXPECT_EQ(state.Bits(), RedrawCursorLine | RedrawCaret | RedrawOneLine | 4);
    int64_t first = 0, last = 0;
    ASSERT_TRUE(state.LineRange(first, last));
    EXPECT_EQ(first, 4);
    EXPECT_EQ(last, 4);
    state.Merge(RedrawOneLine | RedrawFromLine | 3);  // two forms in one word
    EXPECT_EQ(state.Bits(), RedrawAll | RedrawCursorLine | RedrawCaret);
    EXPECT_FALSE(state.LineRange(first, last));
    state.RequestLine(9);
    EXPECT_EQ(state.Bits(), RedrawAll | RedrawCursorLine | RedrawCaret);
    state.SetBatch(true);
    state.Clear();
    EXPECT_EQ(state.Bits(), RedrawBatch);
    EXPECT_FALSE(state.Pending());
}

}  // namespace
}  // namespace qv::test
