// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChecksumInput.h"

#include <limits>

#include "view/HexView.h"

namespace qv {

ToolBytes ToolInputBytes(const uint8_t* buffer, size_t bufferLength, size_t selectionStart, size_t selectionLength)
{
    if (buffer == nullptr) return {};
    if (selectionLength == 0) return {buffer, bufferLength < kToolUnselectedLimit ? bufferLength : kToolUnselectedLimit};
    if (selectionStart >= bufferLength) return {buffer + bufferLength, 0};
    const size_t available = bufferLength - selectionStart;
    return {buffer + selectionStart, selectionLength < available ? selectionLength : available};
}

ToolBytes ToolInputOfView(const CHexView& view)
{
    int64_t length = 0;
    const uint8_t* buffer = view.GetBuffer(&length, nullptr);
    int64_t start = 0, selected = 0;
    if (!view.GetSelectionRange(&start, &selected, false, std::numeric_limits<int64_t>::max())) selected = 0;
    return ToolInputBytes(buffer, length > 0 ? static_cast<size_t>(length) : 0, start > 0 ? static_cast<size_t>(start) : 0,
                          static_cast<size_t>(selected));
}

bool IsRememberedPlaceUsable(int left, int top, int screenWidth, int screenHeight)
{
    return left >= -99 && left <= screenWidth - 101 && top >= -9 && top <= screenHeight - 101;
}

}  // namespace qv
