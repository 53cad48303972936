// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexRow.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr std::array<char, 256> MakeTextChars()
{
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[static_cast<size_t>(b)] = (b < 0x20 || (b >= 0x7F && b <= 0x9F)) ? '.' : static_cast<char>(b);
    return table;
}
constexpr std::array<char, 256> kTextChars = MakeTextChars();

// The two hex digits of every byte, written with one copy.
constexpr std::array<std::array<char, 2>, 256> MakeHexPairs()
{
    std::array<std::array<char, 2>, 256> table{};
    for (int b = 0; b < 256; ++b) table[static_cast<size_t>(b)] = {kHexDigits[b >> 4], kHexDigits[b & 0xF]};
    return table;
}
constexpr std::array<std::array<char, 2>, 256> kHexPairs = MakeHexPairs();

}  // namespace

char HexTextChar(uint8_t byte)
{
    return kTextChars[byte];
}

void BuildHexRow(const HexLayout& layout, const uint8_t* data, int64_t length, uint64_t base, int64_t row,
                 const HighlightMark* marks, RowText& out)
{
    BuildHexRow(layout, BlockByteSource(data, length), base, row, marks, out);
}

void BuildHexRow(const HexLayout& layout, const IByteSource& source, uint64_t base, int64_t row,
                 const HighlightMark* marks, RowText& out, RowEmphasis emphasis)
{
    const int32_t b = layout.bytesPerRow;
    const int64_t start = row * b - layout.Phase();
    const int32_t columns = std::min(layout.lineLength, kMaxRowColumns);
    out.length = columns;
    char* chars = out.chars.data();
    std::memset(chars, ' ', static_cast<size_t>(columns));

    if (layout.addressWidth > 0) {
        // The lowest digits of the (wrapped-around) address, most significant first.
        const uint64_t address = base + static_cast<uint64_t>(start);
        const int32_t digits = std::min(layout.AddressDigits(), 16);
        for (int32_t k = 0; k < digits; ++k) chars[digits - 1 - k] = kHexDigits[(address >> (4 * k)) & 0xF];
    }

    const bool hexShown = layout.hexWidth > 0;
    const bool textShown = layout.textWidth > 0;
    char* text = chars + layout.textStart;
    // Bytes of the row that lie inside the source; every other position stays blank. Each
    // byte sits at its own display position, so an element cut by either end of the source
    // shows its present bytes where they belong (right-aligned with inversion at the end).
    const int32_t first = static_cast<int32_t>(std::max<int64_t>(0, -start));
    const std::span<const uint8_t> bytes = source.Window(start + first, b - first, out.scratch);
    const int32_t last = first + static_cast<int32_t>(bytes.size());
    for (int32_t i = first; i < last; ++i) {
        const uint8_t byte = bytes[static_cast<size_t>(i - first)];
        if (hexShown) std::memcpy(chars + layout.HexColumn(i), kHexPairs[byte].data(), 2);
        if (textShown) text[i] = kTextChars[byte];
    }

    uint8_t* attributes = out.attributes.data();
    std::memset(attributes, AttrAddress, static_cast<size_t>(layout.addressWidth));
    std::memset(attributes + layout.hexStart, AttrHexArea, static_cast<size_t>(layout.hexWidth));
    std::memset(attributes + layout.textStart, AttrStandard, static_cast<size_t>(layout.textWidth));
    for (int32_t i = first; emphasis.flags && i < last; ++i) {
        if (!emphasis.flags[i]) continue;
        if (textShown) attributes[layout.textStart + i] = emphasis.attribute;
        if (hexShown) std::memset(attributes + layout.HexColumn(i), emphasis.attribute, 2);
    }
    if (!marks) return;

    // From mark 8 down to the selection, so the selection is drawn over the others.
    for (int n = kHighlightMarkCount - 1; n >= 0; --n) {
        const HighlightMark& mark = marks[n];
        if (!mark.active) continue;
        const uint8_t attribute = n == 0 ? AttrSelection : AttrRange;
        const int64_t low = std::max<int64_t>(std::min(mark.first, mark.last) - start, 0);
        const int64_t high = std::min<int64_t>(std::max(mark.first, mark.last) - start, b - 1);
        for (int64_t i = low; i <= high; ++i) {
            const int32_t index = static_cast<int32_t>(i);
            if (textShown) attributes[layout.textStart + index] = attribute;
            if (hexShown) {
                const int32_t column = layout.HexColumn(index);
                attributes[column] = attribute;
                attributes[column + 1] = attribute;
            }
        }
    }
}

}  // namespace qv
