// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexRow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

HexLayout MakeLayout(LayoutRequest request, uint32_t flags = 0x18E)
{
    HexLayout layout;
    layout.Apply(request, flags);
    return layout;
}

std::string RowString(const HexLayout& layout, const std::vector<uint8_t>& bytes, int32_t row, uint32_t base = 0,
                      const HighlightMark* marks = nullptr)
{
    RowText text;
    BuildHexRow(layout, bytes.data(), static_cast<int32_t>(bytes.size()), base, row, marks, text);
    return std::string(text.chars.data(), static_cast<size_t>(text.length));
}

std::vector<uint8_t> Counting(size_t n, uint8_t first = 0)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

TEST(HexRow, DefaultRowInsideTheBlock)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    std::vector<uint8_t> bytes(64, 0);
    for (int i = 0; i < 16; ++i) bytes[16 + i] = static_cast<uint8_t>(0x41 + i);
    EXPECT_EQ(RowString(layout, bytes, 1),
              "000010  41 42 43 44  45 46 47 48  49 4A 4B 4C  4D 4E 4F 50  ABCDEFGHIJKLMNOP");
}

TEST(HexRow, LastRowIsCutByTheBlockEnd)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    EXPECT_EQ(RowString(layout, Counting(20, 0x30), 1, 0x1000),
              "001010  40 41 42 43" + std::string(41, ' ') + "@ABC" + std::string(12, ' '));
}

TEST(HexRow, FirstRowWithPhaseStartsBeforeTheBlock)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    layout.rowPhase = 3;
    EXPECT_EQ(RowString(layout, Counting(40, 0x41), 0),
              "FFFFFD           41  42 43 44 45  46 47 48 49  4A 4B 4C 4D     ABCDEFGHIJKLM");
    EXPECT_EQ(RowString(layout, Counting(40, 0x41), 1, 0x100).substr(0, 11), "00010D  4E ");
}

TEST(HexRow, InvertedElementCutAtTheEndIsRightAligned)
{
    HexLayout layout = MakeLayout({8, 4, 1, 4, 2, 1}, 0x180);
    ASSERT_EQ(layout.invertMask, 3);
    std::vector<uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0x11, 0x22};
    EXPECT_EQ(RowString(layout, bytes, 0), "0000  04030201      2211  .....\"  ");
}

TEST(HexRow, TextAreaCharacters)
{
    HexLayout layout = MakeLayout({8, 0, 0, 2, 0, 0}, 0x180 | FlagHideHex);
    std::vector<uint8_t> bytes = {0x09, 0x7F, 0x80, 0x9F, 0xA0, 0xE4, 0x20, 0x7E};
    EXPECT_EQ(RowString(layout, bytes, 0), "00  ....\xA0\xE4 ~");
    EXPECT_EQ(HexTextChar(0x1F), '.');
    EXPECT_EQ(HexTextChar(0xFF), '\xFF');
}

TEST(HexRow, HiddenAreas)
{
    HexLayout noAddress = MakeLayout({4, 0, 1, 6, 0, 0}, 0x180 | FlagHideAddress);
    EXPECT_EQ(RowString(noAddress, Counting(4, 0x61), 0), "61 62 63 64  abcd");
    HexLayout hexOnly = MakeLayout({4, 0, 1, 6, 0, 0}, 0x180 | FlagHideText);
    EXPECT_EQ(RowString(hexOnly, Counting(4, 0x61), 0), "000000  61 62 63 64  ");
}

TEST(HexRow, AttributesAndMarks)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    std::vector<uint8_t> bytes = Counting(32);
    HighlightMark marks[kHighlightMarkCount];
    marks[0] = {true, 5, 2};  // a selection made backwards
    marks[3] = {true, 4, 9};  // a found value, partly under the selection

    RowText row;
    BuildHexRow(layout, bytes.data(), 32, 0, 0, marks, row);
    EXPECT_EQ(row.attributes[0], AttrAddress);
    EXPECT_EQ(row.attributes[7], AttrAddress);
    EXPECT_EQ(row.attributes[8], AttrHexArea);
    EXPECT_EQ(row.attributes[59], AttrHexArea);
    EXPECT_EQ(row.attributes[60], AttrStandard);
    for (int32_t i = 0; i < 16; ++i) {
        const int expected = (i >= 2 && i <= 5) ? int{AttrSelection} : (i >= 6 && i <= 9) ? int{AttrRange} : int{AttrHexArea};
        const int32_t column = layout.ColumnOfIndex(i, AreaHex);
        EXPECT_EQ(row.attributes[column], expected) << i;
        EXPECT_EQ(row.attributes[column + 1], expected) << i;
        EXPECT_EQ(row.attributes[60 + i], expected == AttrHexArea ? int{AttrStandard} : expected) << i;
    }
    EXPECT_EQ(row.attributes[16], AttrHexArea);  // the blank between two selected bytes

    // The next row holds none of the marked bytes; printing applies no marks at all.
    RowText next;
    BuildHexRow(layout, bytes.data(), 32, 0, 1, marks, next);
    for (int32_t c = 8; c < 60; ++c) EXPECT_EQ(next.attributes[c], AttrHexArea);
    RowText printed;
    BuildHexRow(layout, bytes.data(), 32, 0, 0, nullptr, printed);
    EXPECT_EQ(printed.attributes[layout.ColumnOfIndex(3, AreaHex)], AttrHexArea);
}

TEST(HexRow, InvertedMarksFollowTheDisplayPosition)
{
    HexLayout layout = MakeLayout({8, 0, 1, 6, 1, 1}, 0x180);
    std::vector<uint8_t> bytes = Counting(8);
    HighlightMark marks[kHighlightMarkCount];
    marks[0] = {true, 0, 0};
    RowText row;
    BuildHexRow(layout, bytes.data(), 8, 0, 0, marks, row);
    // Byte 0 is shown second within its word: "0100".
    EXPECT_EQ(std::string(row.chars.data() + 8, 4), "0100");
    EXPECT_EQ(row.attributes[10], AttrSelection);
    EXPECT_EQ(row.attributes[8], AttrHexArea);
}

TEST(HexRow, WidestRowFits)
{
    HexLayout layout = MakeLayout({256, 1, 1, 8, 0, 0}, 0x180);
    EXPECT_LE(layout.lineLength, kMaxRowColumns);
    std::vector<uint8_t> bytes = Counting(300);
    EXPECT_EQ(RowString(layout, bytes, 1).substr(0, 15), "00000100  00  0");
}

}  // namespace
}  // namespace qv
