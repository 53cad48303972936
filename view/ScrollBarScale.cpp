// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ScrollBarScale.h"

#include <algorithm>

namespace qv {

ScrollBarScale::ScrollBarScale(const ScrollBarState& state)
    : maximum_(std::max<int64_t>(state.maximum, 0)),
      page_(std::max<int64_t>(state.page, 1)),
      position_(std::clamp<int64_t>(state.position, 0, std::max<int64_t>(state.maximum, 0)))
{
    // The smallest step that brings the whole range (and a page) within the bar.
    const int64_t range = std::max(maximum_, page_);
    step_ = range <= kMaxBarSteps ? 1 : (range + kMaxBarSteps - 1) / kMaxBarSteps;
}

int ScrollBarScale::BarMaximum() const
{
    return static_cast<int>((maximum_ + step_ - 1) / step_);
}

int ScrollBarScale::BarPage() const
{
    return static_cast<int>(std::max<int64_t>(page_ / step_, 1));
}

int ScrollBarScale::BarValueOf(int64_t position) const
{
    position = std::clamp<int64_t>(position, 0, maximum_);
    // The last line is the bar's end even where the step does not divide the range.
    if (position == maximum_) return BarMaximum();
    return static_cast<int>(position / step_);
}

int64_t ScrollBarScale::PositionOf(int barValue) const
{
    if (barValue >= BarMaximum()) return maximum_;
    return std::clamp<int64_t>(static_cast<int64_t>(barValue) * step_, 0, maximum_);
}

}  // namespace qv
