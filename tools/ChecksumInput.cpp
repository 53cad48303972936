// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChecksumInput.h"

#include <algorithm>
#include <limits>

#include "view/HexView.h"

namespace qv {
namespace {

// Windows small enough to stay in the processor's caches while every pass of a tool runs
// over them, and to notice a cancel within a fraction of a millisecond.
constexpr int64_t kToolWindow = int64_t{1} << 20;

}  // namespace

ToolBytes ToolInputBytes(const IByteSource& source, int64_t selectionStart, int64_t selectionLength)
{
    const int64_t size = source.Size();
    if (selectionLength <= 0) return {&source, 0, std::min(size, kToolUnselectedLimit)};
    if (selectionStart >= size) return {&source, size, 0};
    return {&source, selectionStart, std::min(selectionLength, size - selectionStart)};
}

ToolBytes ToolInputOfView(const CHexView& view)
{
    int64_t start = 0, selected = 0;
    if (!view.GetSelectionRange(&start, &selected, false, std::numeric_limits<int64_t>::max())) selected = 0;
    return ToolInputBytes(view.Bytes(), std::max<int64_t>(start, 0), selected);
}

bool ReadToolBytes(const ToolBytes& input, TaskProgress& progress,
                   const std::function<void(std::span<const uint8_t>)>& visit)
{
    progress.Report(0, input.length);
    if (progress.Cancelled()) return false;
    if (!input.source) return true;
    return ForEachWindow(*input.source, input.offset, input.length, kToolWindow,
                         [&](int64_t offset, std::span<const uint8_t> bytes) {
                             visit(bytes);
                             progress.Report(offset + static_cast<int64_t>(bytes.size()) - input.offset, input.length);
                             return !progress.Cancelled();
                         }) &&
           !progress.Cancelled();
}

bool IsRememberedPlaceUsable(int left, int top, int screenWidth, int screenHeight)
{
    return left >= -99 && left <= screenWidth - 101 && top >= -9 && top <= screenHeight - 101;
}

}  // namespace qv
