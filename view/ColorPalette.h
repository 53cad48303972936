// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 63 colour swatches of the colour dialog: swatch 0 is the system default colour,
// then seven rows of nine (the last row has eight).
#include <array>
#include <cstdint>

#include "view/LineDrawing.h"

namespace qv {

inline constexpr int kPaletteSize = 63;
inline constexpr int kPaletteColumns = 9;

inline constexpr std::array<Color, kPaletteSize> kColorPalette = {
    kDefaultColor,
    0x400020, 0x400040, 0x000040, 0x002040, 0x004040, 0x004000, 0x404000, 0x400000, 0x000000,
    0x800040, 0x800080, 0x000080, 0x004080, 0x008080, 0x008000, 0x808000, 0x800000, 0x343434,
    0xC00060, 0xC000C0, 0x0000C0, 0x0060C0, 0x00C0C0, 0x00C000, 0xC0C000, 0xC00000, 0x676767,
    0xFF0080, 0xFF00FF, 0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0x9A9A9A,
    0xFF40A0, 0xFF40FF, 0x4040FF, 0x40A0FF, 0x40FFFF, 0x40FF40, 0xFFFF40, 0xFF4040, 0xCDCDCD,
    0xFF80C0, 0xFF80FF, 0x8080FF, 0x80C0FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFF8080, 0xFFFFFF,
    0xFFC0E0, 0xFFC0FF, 0xC0C0FF, 0xC0EFFF, 0xC0FFFF, 0xC0FFC0, 0xFFFFC0, 0xFFC0C0,
};

// The swatch to highlight for a colour: its position, or the last swatch when the
// colour is not in the palette.
int PaletteSwatchOf(Color color);

// Edge length of a swatch in a list of the given height: a ninth of it (a twelfth from
// 282 pixels on), at least 11 pixels.
int PaletteSwatchSize(int listHeight);

}  // namespace qv
