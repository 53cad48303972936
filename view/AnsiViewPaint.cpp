// SPDX-License-Identifier: GPL-3.0-or-later
// Painting of CAnsiView: each pane's visible lines, margins, splitter bars and boxes.
#include <algorithm>
#include <string_view>

#include "view/AnsiView.h"

namespace qv {

namespace {

Color EdgeShade(Color color)
{
    auto channel = [&](int shift) { return (((color >> shift) & 0xFF) * 3 / 4) << shift; };
    return channel(0) | channel(8) | channel(16);
}

}  // namespace

const ColorTable& CAnsiView::ColorsFor(uint32_t printLineFlags) const
{
    return (printLineFlags & 1) && printColors_ ? *printColors_ : style_->colors;
}

int32_t CAnsiView::PrintLine(ILineDrawing& dc, const LineRect& rect, int64_t line, int32_t firstColumn,
                             int32_t count, uint32_t flags)
{
    if (line < 0 || line >= lineCount_ || count < 1 || firstColumn < 0) return 0;
    std::string_view text = kNullLineText;
    if (static_cast<size_t>(firstColumn) >= text.size()) return 0;
    text = text.substr(static_cast<size_t>(firstColumn), static_cast<size_t>(count));
    const ColorEntry& standard = ColorsFor(flags).ForAttribute(0);
    dc.DrawText(rect.left, rect.top, text, FontVariantOfStyle(standard.fontStyle), standard.text,
                standard.background);
    return static_cast<int32_t>(text.size());
}

void CAnsiView::DrawMargin(ILineDrawing& dc, const LineRect& rect, int64_t /*line*/)
{
    dc.FillRect(rect, marginColor_);
}

void CAnsiView::HandlePaint(ILineDrawing& dc, const LineRect& clip)
{
    SyncActivePane();
    for (int pane = 0; pane < kMaxPanes; ++pane) {
        if (layout_.PaneExists(pane)) DrawPane(dc, clip, pane);
    }
    dc.ClearClip();
    Color face = host_ ? host_->SystemColorOf(SystemColor::ButtonFace) : kDefaultColor;
    if (face == kDefaultColor) face = 0xC0C0C0;
    LineRect corner{layout_.TextWidth(), layout_.TextHeight(), clientWidth_, clientHeight_};
    for (const LineRect& rect : {layout_.VerticalBarRect(), layout_.HorizontalBarRect(),
                                 layout_.SplitBoxRect(SplitSideBySide), layout_.SplitBoxRect(SplitTopBottom)}) {
        if (rect.IsEmpty() || !rect.Intersects(clip)) continue;
        dc.FillRect(rect, face);
        // a darker edge on the far sides makes bar and box stand out
        dc.FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, EdgeShade(face));
        dc.FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, EdgeShade(face));
    }
    if (layout_.HorizontalStrip() && layout_.VerticalStrip() && corner.Intersects(clip)) dc.FillRect(corner, face);
}

void CAnsiView::DrawPane(ILineDrawing& dc, const LineRect& clip, int pane)
{
    LineRect rect = layout_.PaneRect(pane);
    if (rect.IsEmpty() || !rect.Intersects(clip)) return;
    const PaneState& state = panes_[static_cast<size_t>(pane)];
    bool active = pane == activePane_;
    int32_t subX = active ? subScrollX_ : 0;
    int32_t subY = active ? subScrollY_ : 0;
    int32_t columns = state.columns + (subX ? 1 : 0);
    const ColorEntry& standard = style_->colors.ForAttribute(0);
    LineRect textArea{std::min(rect.right, rect.left + leftMargin_), rect.top, rect.right, rect.bottom};
    int64_t line = state.topLine;
    for (int32_t y = rect.top - subY; y < rect.bottom; y += charHeight_, ++line) {
        LineRect row{rect.left, y, rect.right, y + charHeight_};
        if (!row.Intersects(clip)) continue;
        if (!textArea.IsEmpty()) {
            dc.SetClip(textArea);
            LineRect lineRect{textArea.left - subX, y, rect.right, y + charHeight_};
            int32_t drawn = std::max(0, PrintLine(dc, lineRect, line, state.leftColumn, columns, 0));
            int32_t end = lineRect.left + drawn * charWidth_;
            if (end < rect.right) dc.FillRect({end, y, rect.right, y + charHeight_}, standard.background);
        }
        if (leftMargin_ > 0) {
            dc.SetClip(rect);
            DrawMargin(dc, {rect.left, y, textArea.left, y + charHeight_}, line);
        }
    }
}

}  // namespace qv
