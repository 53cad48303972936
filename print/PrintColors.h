// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours a print job draws with: one entry per colour entry of the view, as black
// on white, as grey levels with enough contrast, or as they are.
#include <cstdint>

#include "view/ColorTable.h"

namespace qv {

struct GreyPair {
    int text = 0;
    int background = 255;
    bool operator==(const GreyPair&) const = default;
};

// Luminance 0..255 of a 0x00BBGGRR colour.
int GreyLevel(Color color);
// Text and background levels moved at least 200 apart.
GreyPair ContrastGreys(int text, int background);

// Default colours count as black text on a white background. The font style of an entry
// that keeps a separate print style (0x100) becomes that style.
ColorTable MakePrintColorTable(const ColorTable& view, uint32_t printFlags);

}  // namespace qv
