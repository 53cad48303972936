// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a line view draws with: text runs in one of the eight font variants and two
// colours, and filled rectangles. The screen widget and the printer each supply one.
#include <cstdint>
#include <string_view>

namespace qv {

// 0x00BBGGRR; kDefaultColor stands for the system colour of the place it is used in
// (window text for text, window background for backgrounds and fills).
using Color = int32_t;
inline constexpr Color kDefaultColor = -1;

struct LinePoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Pixel rectangle, right and bottom exclusive.
struct LineRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Intersects(const LineRect& o) const
    {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool operator==(const LineRect&) const = default;
};

// Size of one character cell of the fixed-pitch font, both at least 1.
struct CellMetrics {
    int32_t width = 10;
    int32_t height = 13;
    bool operator==(const CellMetrics&) const = default;
};

// Index of a font variant: bold + 2 * italic + 4 * underline.
inline constexpr int kFontVariantCount = 8;

class ILineDrawing {
public:
    virtual ~ILineDrawing() = default;

    // Draws 8-bit (Windows-1252) text with its first cell's top-left corner at (x, y),
    // every cell filled with the background. Returns the width drawn in pixels
    // (characters times the cell width), so a caller can place the next run.
    virtual int32_t DrawText(int32_t x, int32_t y, std::string_view text, int fontVariant, Color textColor,
                             Color background) = 0;
    virtual void FillRect(const LineRect& rect, Color color) = 0;
    // Limits drawing to a rectangle until ClearClip.
    virtual void SetClip(const LineRect& rect) = 0;
    virtual void ClearClip() = 0;
    // Cell size of the font this drawing uses (the printer's may differ from the screen's).
    virtual CellMetrics Cell() const = 0;
    // True when drawing goes to paper (print colour rules apply).
    virtual bool IsPrinting() const = 0;
};

// Font variant of a colour entry's font style (-1 or 0: the base font).
inline int FontVariantOfStyle(int32_t fontStyle)
{
    return fontStyle < 0 ? 0 : static_cast<int>(fontStyle & 7);
}

}  // namespace qv
