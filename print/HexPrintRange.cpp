// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/HexPrintRange.h"

#include <algorithm>

#include "view/HexView.h"

namespace qv {

namespace {
// Wider than any row: the last line is printed whole.
constexpr int32_t kWholeRow = 10000;
}  // namespace

std::optional<PrintRange> BytesPrintRange(const CHexView& view, int64_t first, int64_t last)
{
    const int64_t length = view.Buffer().Length();
    if (length <= 0) return std::nullopt;
    const HexLayout& layout = view.RowLayout();
    const int64_t perRow = std::max(1, layout.bytesPerRow);
    auto rowOf = [&](int64_t offset) { return (std::clamp<int64_t>(offset, 0, length - 1) + layout.Phase()) / perRow; };
    const int64_t top = rowOf(std::min(first, last));
    const int64_t bottom = rowOf(std::max(first, last));
    return PrintRange{top, bottom - top + 1, 0, kWholeRow};
}

std::optional<PrintRange> SelectionPrintRange(const CHexView& view)
{
    if (!view.HasSelection()) return std::nullopt;
    const HighlightMark& selection = view.Mark(0);
    return BytesPrintRange(view, selection.first, selection.last);
}

}  // namespace qv
