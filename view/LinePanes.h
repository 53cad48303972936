// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Geometry of a line view's client area: up to four panes (bit 0 of a pane number: right,
// bit 1: lower), the splitter bars between them, the scroll-bar strips with their split
// boxes, and the hit test that maps a point to one of them.
#include <cstdint>

#include "view/LineDrawing.h"

namespace qv {

inline constexpr uint32_t SplitSideBySide = 0x1;
inline constexpr uint32_t SplitTopBottom = 0x2;

inline constexpr int kMaxPanes = 4;
inline constexpr int32_t kSplitterWidth = 7;

enum HitCode : int {
    HitNothing = 0,
    HitVerticalBar = 1,    // the bar between left and right panes
    HitHorizontalBar = 2,  // the bar between upper and lower panes
    HitBothBars = 3,       // where the two bars cross
    HitText = 4,           // + pane number
    HitSplitBoxSideBySide = 8,  // box at the start of the horizontal scroll strip
    HitSplitBoxTopBottom = 9,   // box at the start of the vertical scroll strip
};

struct PaneHit {
    int code = HitNothing;
    int pane = 0;        // for text hits
    LinePoint origin;    // the pane's top-left corner in client pixels
};

class LinePaneLayout {
public:
    // Client size and which scroll strips take room (strip = scroll-bar thickness).
    void SetClient(int32_t width, int32_t height);
    void SetStrips(bool horizontal, bool vertical, int32_t extent);
    // Which split boxes exist (option bits 0x400 / 0x800).
    void AllowSplits(bool sideBySide, bool topBottom);
    // Sets the split; positions are left/top edges of the splitter bars in pixels. A split
    // closer than 3 pixels to the start or within 9 pixels of the far end is removed, and
    // a split that is not allowed is removed.
    void SetSplit(uint32_t flags, int32_t x, int32_t y);

    uint32_t Split() const { return split_; }
    int32_t SplitX() const { return splitX_; }
    int32_t SplitY() const { return splitY_; }
    bool PaneExists(int pane) const;

    int32_t ClientWidth() const { return width_; }
    int32_t ClientHeight() const { return height_; }
    // Client area less the scroll strips.
    int32_t TextWidth() const;
    int32_t TextHeight() const;
    bool HorizontalStrip() const { return hStrip_; }
    bool VerticalStrip() const { return vStrip_; }

    LineRect PaneRect(int pane) const;
    LineRect VerticalBarRect() const;
    LineRect HorizontalBarRect() const;
    LineRect SplitBoxRect(uint32_t which) const;  // SplitSideBySide or SplitTopBottom; empty when absent
    LineRect ScrollBarRect(int bar) const;        // ScrollBarId; empty when the strip is off
    bool ScrollBarNeeded(int bar) const;          // its row/column of panes exists and the strip is on

    PaneHit HitTest(int32_t x, int32_t y) const;

private:
    int32_t PaneColumnLeft(int column) const;
    int32_t PaneColumnRight(int column) const;
    int32_t PaneRowTop(int row) const;
    int32_t PaneRowBottom(int row) const;

    int32_t width_ = 0;
    int32_t height_ = 0;
    bool hStrip_ = false;
    bool vStrip_ = false;
    int32_t extent_ = 0;
    bool allowSideBySide_ = false;
    bool allowTopBottom_ = false;
    uint32_t split_ = 0;
    int32_t splitX_ = 0;
    int32_t splitY_ = 0;
};

}  // namespace qv
