// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/SelectRange.h"

#include <algorithm>

#include "view/HexView.h"

namespace qv {

void SelectRange(CHexView& view, int64_t offset, int64_t length)
{
    view.SetCursorOffset(static_cast<uint64_t>(offset), false);
    if (length < 1 || length > 255 || offset < 0) return;
    // A field that runs past the end is selected up to the last byte.
    const int64_t end = std::min(offset + length, view.Length());
    if (end > offset) view.SelectTo(static_cast<uint64_t>(end), false);
}

}  // namespace qv
