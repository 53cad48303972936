// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/LinePanes.h"

#include <algorithm>

namespace qv {

namespace {
// A split this close to the start, or this close to the far end, is removed.
constexpr int32_t kSplitMinStart = 3;
constexpr int32_t kSplitMinEnd = 9;
}  // namespace

void LinePaneLayout::SetClient(int32_t width, int32_t height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    SetSplit(split_, splitX_, splitY_);
}

void LinePaneLayout::SetStrips(bool horizontal, bool vertical, int32_t extent)
{
    hStrip_ = horizontal;
    vStrip_ = vertical;
    extent_ = std::max(0, extent);
    SetSplit(split_, splitX_, splitY_);
}

void LinePaneLayout::AllowSplits(bool sideBySide, bool topBottom)
{
    allowSideBySide_ = sideBySide;
    allowTopBottom_ = topBottom;
    SetSplit(split_, splitX_, splitY_);
}

void LinePaneLayout::SetSplit(uint32_t flags, int32_t x, int32_t y)
{
    split_ = 0;
    if ((flags & SplitSideBySide) && allowSideBySide_ && x >= kSplitMinStart && x <= TextWidth() - kSplitMinEnd) {
        split_ |= SplitSideBySide;
        splitX_ = x;
    }
    if ((flags & SplitTopBottom) && allowTopBottom_ && y >= kSplitMinStart && y <= TextHeight() - kSplitMinEnd) {
        split_ |= SplitTopBottom;
        splitY_ = y;
    }
    if (!(split_ & SplitSideBySide)) splitX_ = 0;
    if (!(split_ & SplitTopBottom)) splitY_ = 0;
}

bool LinePaneLayout::PaneExists(int pane) const
{
    if (pane < 0 || pane >= kMaxPanes) return false;
    if ((pane & 1) && !(split_ & SplitSideBySide)) return false;
    if ((pane & 2) && !(split_ & SplitTopBottom)) return false;
    return true;
}

int32_t LinePaneLayout::TextWidth() const
{
    return std::max(0, width_ - (vStrip_ ? extent_ : 0));
}

int32_t LinePaneLayout::TextHeight() const
{
    return std::max(0, height_ - (hStrip_ ? extent_ : 0));
}

int32_t LinePaneLayout::PaneColumnLeft(int column) const
{
    return column == 0 ? 0 : splitX_ + kSplitterWidth;
}

int32_t LinePaneLayout::PaneColumnRight(int column) const
{
    return column == 0 && (split_ & SplitSideBySide) ? splitX_ : TextWidth();
}

int32_t LinePaneLayout::PaneRowTop(int row) const
{
    return row == 0 ? 0 : splitY_ + kSplitterWidth;
}

int32_t LinePaneLayout::PaneRowBottom(int row) const
{
    return row == 0 && (split_ & SplitTopBottom) ? splitY_ : TextHeight();
}

LineRect LinePaneLayout::PaneRect(int pane) const
{
    if (!PaneExists(pane)) return {};
    int column = pane & 1;
    int row = pane >> 1;
    return {PaneColumnLeft(column), PaneRowTop(row), PaneColumnRight(column), PaneRowBottom(row)};
}

LineRect LinePaneLayout::VerticalBarRect() const
{
    if (!(split_ & SplitSideBySide)) return {};
    return {splitX_, 0, std::min(splitX_ + kSplitterWidth, TextWidth()), TextHeight()};
}

LineRect LinePaneLayout::HorizontalBarRect() const
{
    if (!(split_ & SplitTopBottom)) return {};
    return {0, splitY_, TextWidth(), std::min(splitY_ + kSplitterWidth, TextHeight())};
}

LineRect LinePaneLayout::SplitBoxRect(uint32_t which) const
{
    if (which == SplitSideBySide && allowSideBySide_ && hStrip_)
        return {0, TextHeight(), std::min(kSplitterWidth, TextWidth()), height_};
    if (which == SplitTopBottom && allowTopBottom_ && vStrip_)
        return {TextWidth(), 0, width_, std::min(kSplitterWidth, TextHeight())};
    return {};
}

bool LinePaneLayout::ScrollBarNeeded(int bar) const
{
    switch (bar) {
    case 0: return hStrip_;
    case 1: return hStrip_ && (split_ & SplitSideBySide);
    case 2: return vStrip_;
    case 3: return vStrip_ && (split_ & SplitTopBottom);
    default: return false;
    }
}

LineRect LinePaneLayout::ScrollBarRect(int bar) const
{
    if (!ScrollBarNeeded(bar)) return {};
    if (bar <= 1) {
        int32_t left = PaneColumnLeft(bar);
        if (bar == 0 && !SplitBoxRect(SplitSideBySide).IsEmpty()) left = kSplitterWidth;
        return {left, TextHeight(), std::max(left, PaneColumnRight(bar)), height_};
    }
    int row = bar - 2;
    int32_t top = PaneRowTop(row);
    if (row == 0 && !SplitBoxRect(SplitTopBottom).IsEmpty()) top = kSplitterWidth;
    return {TextWidth(), top, width_, std::max(top, PaneRowBottom(row))};
}

PaneHit LinePaneLayout::HitTest(int32_t x, int32_t y) const
{
    PaneHit hit;
    if (SplitBoxRect(SplitSideBySide).Contains(x, y)) {
        hit.code = HitSplitBoxSideBySide;
        return hit;
    }
    if (SplitBoxRect(SplitTopBottom).Contains(x, y)) {
        hit.code = HitSplitBoxTopBottom;
        return hit;
    }
    if (x < 0 || y < 0 || x >= TextWidth() || y >= TextHeight()) return hit;
    bool onVertical = VerticalBarRect().Contains(x, y);
    bool onHorizontal = (split_ & SplitTopBottom) && y >= splitY_ && y < splitY_ + kSplitterWidth;
    if (onVertical || onHorizontal) {
        bool crossing = (split_ & SplitSideBySide) && x >= splitX_ && x < splitX_ + kSplitterWidth && onHorizontal;
        hit.code = crossing ? HitBothBars : onHorizontal ? HitHorizontalBar : HitVerticalBar;
        return hit;
    }
    int pane = 0;
    if ((split_ & SplitSideBySide) && x >= splitX_ + kSplitterWidth) pane |= 1;
    if ((split_ & SplitTopBottom) && y >= splitY_ + kSplitterWidth) pane |= 2;
    LineRect rect = PaneRect(pane);
    hit.code = HitText + pane;
    hit.pane = pane;
    hit.origin = {rect.left, rect.top};
    return hit;
}

}  // namespace qv
