// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One row of the hex view as characters and drawing attributes: address column, hex
// digits and the bytes as Windows-1252 characters. Built from scratch for every paint,
// for printing and for the CLI dump alike.
#include <array>
#include <cstdint>
#include <vector>

#include "view/ByteSource.h"
#include "view/HexLayout.h"

namespace qv {

// Drawing attributes: positions of the colour entries in the view's colour table.
enum HexAttribute : uint8_t {
    AttrStandard = 0,   // text area
    AttrAddress = 1,    // address column
    AttrHexArea = 2,    // hex area with its blanks
    AttrSelection = 3,  // bytes of the selection (mark 0)
    AttrRange = 4,      // bytes of the highlight marks 1..8
};

// Mark 0 is the selection, marks 1..8 show found values. The ends are inclusive, in either order.
struct HighlightMark {
    bool active = false;
    int64_t first = 0;
    int64_t last = 0;
};
inline constexpr int kHighlightMarkCount = 9;

// Widest possible row: 18 address columns (16 digits of a 64-bit address and two blanks)
// plus 5 columns per byte plus 2.
inline constexpr int32_t kMaxRowColumns = 18 + 5 * kMaxBytesPerRow + 2;

struct RowText {
    std::array<char, kMaxRowColumns> chars;
    std::array<uint8_t, kMaxRowColumns> attributes;
    int32_t length = 0;  // the layout's line length
    std::vector<uint8_t> scratch;  // the row's bytes when the source does not hold them in one piece
};

// Bytes of a row drawn in a colour of their own, below the highlight marks (a compare's
// differing bytes): one flag per byte of the row, non-zero for the emphasised ones.
struct RowEmphasis {
    const uint8_t* flags = nullptr;
    uint8_t attribute = 0;
};

// How a byte shows in the text area: control characters and 0x7F..0x9F as '.'.
char HexTextChar(uint8_t byte);

// Builds row `row` of the bytes of `source` at base address `base`. Highlight marks are
// applied when `marks` points to kHighlightMarkCount marks (null when printing).
// Positions outside the source stay blank; bytes outside it are never read. The address
// column shows the lowest AddressDigits() digits of the row's (wrapped-around) address.
void BuildHexRow(const HexLayout& layout, const IByteSource& source, uint64_t base, int64_t row,
                 const HighlightMark* marks, RowText& out, RowEmphasis emphasis = {});
// The same for a block of `length` bytes in memory.
void BuildHexRow(const HexLayout& layout, const uint8_t* data, int64_t length, uint64_t base, int64_t row,
                 const HighlightMark* marks, RowText& out);

}  // namespace qv
