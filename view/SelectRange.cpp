// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/SelectRange.h"

#include <algorithm>

#include "view/HexView.h"

namespace qv {

void SelectRange(CHexView& view, uint32_t offset, uint32_t length)
{
    view.SetCursorOffset(offset, false);
    if (length < 1 || length > 255) return;
    // A field that runs past the end is selected up to the last byte.
    int32_t blockLength = 0;
    view.GetBuffer(&blockLength, nullptr);
    const uint64_t end = std::min<uint64_t>(uint64_t{offset} + length, static_cast<uint64_t>(std::max(blockLength, 0)));
    if (end > offset) view.SelectTo(static_cast<uint32_t>(end), false);
}

}  // namespace qv
