// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scroll bar of the window counts in int, a view in 64-bit lines: a file of 100 GiB has
// billions of rows. Up to kMaxBarSteps the bar counts lines one to one; beyond, each bar
// step stands for `Step()` lines, so that the thumb, its size and dragging still cover
// the whole range. The bar's end is the range's end: dragging to the bottom reaches the
// last line exactly. Line and page steps do not go through the scale: the window passes
// them to the view as actions, so they move by one line and one page however long the view.
#include <cstdint>

#include "view/LineViewHost.h"

namespace qv {

class ScrollBarScale {
public:
    static constexpr int64_t kMaxBarSteps = int64_t{1} << 30;

    explicit ScrollBarScale(const ScrollBarState& state);

    int64_t Step() const { return step_; }
    int BarMaximum() const;
    int BarPage() const;
    int BarValue() const { return BarValueOf(position_); }
    int BarValueOf(int64_t position) const;
    // The line (column) that a bar value stands for.
    int64_t PositionOf(int barValue) const;

private:
    int64_t maximum_ = 0;
    int64_t page_ = 1;
    int64_t position_ = 0;
    int64_t step_ = 1;
};

}  // namespace qv
