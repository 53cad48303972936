// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ColorPalette.h"

#include <algorithm>

namespace qv {

int PaletteSwatchOf(Color color)
{
    auto it = std::find(kColorPalette.begin(), kColorPalette.end(), color);
    return it == kColorPalette.end() ? kPaletteSize - 1 : static_cast<int>(it - kColorPalette.begin());
}

int PaletteSwatchSize(int listHeight)
{
    int size = listHeight >= 282 ? listHeight / 12 : listHeight / 9;
    return std::max(11, size);
}

}  // namespace qv
