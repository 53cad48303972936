// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/StatusPaneLayout.h"

#include <algorithm>

namespace qv {

int32_t PaneCharacterWidth(std::optional<int32_t> averageWidth, std::optional<int32_t> height)
{
    if (!averageWidth && !height) return 7;
    int32_t width = (averageWidth && *averageWidth > 0) ? *averageWidth : (height ? *height * 2 / 3 : 7);
    return std::min(width, 25);
}

std::vector<int32_t> ResolvePaneWidths(const std::vector<int32_t>& values, const std::vector<int32_t>* widths,
                                       int32_t count, int32_t characterWidth)
{
    if (count < 0) {
        count = 0;
        while (static_cast<size_t>(count) < values.size() && values[static_cast<size_t>(count)] != 0) ++count;
    }
    count = std::min({count, kMaxExtraPanes, static_cast<int32_t>(values.size())});
    std::vector<int32_t> result;
    for (int32_t i = 0; i < count; ++i) {
        int32_t width = 50;
        if (widths && static_cast<size_t>(i) < widths->size()) {
            width = (*widths)[static_cast<size_t>(i)];
            if (width < 0) width = -width * characterWidth;
        }
        result.push_back(width);
    }
    return result;
}

std::optional<int32_t> ResolvePaneIndex(int32_t index, int32_t paneCount)
{
    if (paneCount <= 0) return std::nullopt;
    if (index < 0) index += paneCount;
    if (index < 0 || index >= paneCount) return std::nullopt;
    return index;
}

}  // namespace qv
