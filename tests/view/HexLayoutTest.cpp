// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexLayout.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr uint32_t kDefaultFlags = 0x18E;

HexLayout MakeLayout(LayoutRequest request, uint32_t flags = kDefaultFlags, int32_t widthRaster = 4)
{
    HexLayout layout;
    layout.effectiveWidthRaster = widthRaster;
    uint32_t hexFlags = flags;
    layout.Apply(request, hexFlags);
    return layout;
}

TEST(HexLayout, DefaultRowHasDocumentedColumns)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    EXPECT_EQ(layout.bytesPerRow, 16);
    EXPECT_EQ(layout.addressWidth, 8);
    EXPECT_EQ(layout.hexStart, 8);
    EXPECT_EQ(layout.hexWidth, 52);
    EXPECT_EQ(layout.textStart, 60);
    EXPECT_EQ(layout.lineLength, 76);
}

struct WidthCase {
    LayoutRequest request;
    uint32_t flags;
    int32_t bytesPerRow;
    int32_t effectiveExtraSpace;
    int32_t hexWidth;
    int32_t invertMask;
};

class HexLayoutWidths : public testing::TestWithParam<WidthCase> {};

TEST_P(HexLayoutWidths, ComputesRowGeometry)
{
    const WidthCase& c = GetParam();
    HexLayout layout = MakeLayout(c.request, c.flags);
    EXPECT_EQ(layout.bytesPerRow, c.bytesPerRow);
    EXPECT_EQ(layout.effectiveExtraSpace, c.effectiveExtraSpace);
    EXPECT_EQ(layout.hexWidth, c.hexWidth);
    EXPECT_EQ(layout.invertMask, c.invertMask);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexLayoutWidths,
    testing::Values(
        // dword elements: 10 bytes become 8, 2 bytes become one element of 4
        WidthCase{{10, 4, 1, 6, 2, 0}, kDefaultFlags, 8, 4, 16 + 2 + 1 + 1, 0},
        WidthCase{{10, 4, 1, 6, 2, 0}, 0, 8, 4, 16 + 2 + 1 + 1, 0},
        WidthCase{{2, 4, 1, 6, 2, 0}, kDefaultFlags, 4, 4, 8 + 2 + 0 + 0, 0},
        // extra space 6 with dwords gives groups of 8
        WidthCase{{16, 6, 1, 6, 2, 0}, 0, 16, 8, 32 + 2 + 3 + 1, 0},
        // extra space 0: no extra column at any width
        WidthCase{{256, 0, 1, 6, 0, 0}, 0, 256, kNoExtraSpace, 512 + 2 + 255, 0},
        WidthCase{{16, 0, 0, 6, 0, 0}, 0, 16, kNoExtraSpace, 34, 0},
        // extra space equal to the row width adds nothing
        WidthCase{{16, 16, 1, 6, 0, 0}, 0, 16, 16, 34 + 15, 0},
        // width raster 4: 18 becomes 16; fixed width 18 without the raster stays
        WidthCase{{18, 4, 1, 6, 0, 0}, kDefaultFlags, 16, 4, 52, 0},
        WidthCase{{18, 4, 1, 6, 0, 0}, 0x184, 18, 4, 36 + 2 + 17 + 4, 0},
        // inversion: only with elements above one byte
        WidthCase{{16, 4, 1, 6, 0, 1}, 0, 16, 4, 52, 0},
        WidthCase{{16, 4, 1, 6, 1, 1}, 0, 16, 4, 34 + 7 + 3, 1},
        WidthCase{{16, 4, 1, 6, 3, 1}, 0, 16, 8, 34 + 1 + 1, 7},
        // limits
        WidthCase{{1000, 4, 0, 6, 0, 0}, 0, 256, 4, 514 + 63, 0},
        WidthCase{{0, 4, 0, 6, 0, 0}, 0, 1, 4, 4, 0}));

TEST(HexLayout, AddressColumnWidthAndHiding)
{
    HexLayout eight = MakeLayout({16, 4, 1, 8, 0, 0});
    EXPECT_EQ(eight.addressWidth, 10);
    EXPECT_EQ(eight.hexStart, 10);

    HexLayout clamped = MakeLayout({16, 4, 1, 12, 0, 0});
    EXPECT_EQ(clamped.addressLength, 8);

    HexLayout hidden = MakeLayout({16, 4, 1, 8, 0, 0}, kDefaultFlags | FlagHideAddress);
    EXPECT_EQ(hidden.addressWidth, 0);
    EXPECT_EQ(hidden.hexStart, 0);
    EXPECT_EQ(hidden.textStart, 52);

    HexLayout textOnly = MakeLayout({16, 4, 1, 6, 0, 0}, kDefaultFlags | FlagHideHex);
    EXPECT_EQ(textOnly.hexWidth, 0);
    EXPECT_EQ(textOnly.textStart, 8);
    EXPECT_EQ(textOnly.activeArea, AreaText);

    HexLayout addressOnly = MakeLayout({16, 4, 1, 6, 0, 0}, kDefaultFlags | FlagHideHex | FlagHideText);
    EXPECT_EQ(addressOnly.lineLength, 8);
    EXPECT_EQ(addressOnly.activeArea, AreaAddress);
}

TEST(HexLayout, UnchangedRequestDoesNothing)
{
    HexLayout layout;
    uint32_t flags = kDefaultFlags;
    ASSERT_TRUE(layout.Apply(layout.Complete(16, 4, 1, 6, 0, 0), flags));
    EXPECT_FALSE(layout.Apply(layout.Complete(-1, -1, -1, -1, -1, -1), flags));

    flags |= FlagRelayout;
    EXPECT_TRUE(layout.Apply(layout.Complete(-1, -1, -1, -1, -1, -1), flags));
    EXPECT_EQ(flags & FlagRelayout, 0u);

    flags |= FlagHideText;
    EXPECT_TRUE(layout.Apply(layout.Complete(-1, -1, -1, -1, -1, -1), flags));
    EXPECT_EQ(layout.textWidth, 0);

    // Extra space off stays "unchanged" on the next call too.
    ASSERT_TRUE(layout.Apply(layout.Complete(-1, 0, -1, -1, -1, -1), flags));
    EXPECT_FALSE(layout.Apply(layout.Complete(-1, -1, -1, -1, -1, -1), flags));
    EXPECT_EQ(layout.extraSpace, 0);
}

TEST(HexLayout, ConfiguredValuesKeepTheirForm)
{
    HexLayout layout = MakeLayout({18, 6, 1, 6, 2, 1}, kDefaultFlags);
    EXPECT_EQ(layout.lineWidth, 16);   // after the width raster, before element rounding
    EXPECT_EQ(layout.extraSpace, 6);   // unrounded
    EXPECT_EQ(layout.effectiveExtraSpace, 8);
    EXPECT_EQ(layout.invertMask, 3);
}

TEST(HexLayout, ColumnOfIndexMatchesDefaultRow)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    const int32_t expected[16] = {8, 11, 14, 17, 21, 24, 27, 30, 34, 37, 40, 43, 47, 50, 53, 56};
    for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(layout.ColumnOfIndex(i, AreaHex), expected[i]) << i;
    EXPECT_EQ(layout.ColumnOfIndex(3, AreaText), 63);
    EXPECT_EQ(layout.ColumnOfIndex(3, AreaAddress), 3);
    EXPECT_EQ(layout.ColumnOfIndex(17, AreaHex), 11);  // taken modulo the row
}

TEST(HexLayout, IndexOfColumnOnBlanks)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    EXPECT_EQ(layout.IndexOfColumn(16, AreaHex), 2);  // blank after byte 2
    EXPECT_EQ(layout.IndexOfColumn(19, AreaHex), 3);  // element blank after byte 3
    EXPECT_EQ(layout.IndexOfColumn(20, AreaHex), 3);  // group blank after byte 3
    EXPECT_EQ(layout.IndexOfColumn(0, AreaHex), 0);
    EXPECT_EQ(layout.IndexOfColumn(59, AreaHex), 15);  // the blanks after the area
    EXPECT_EQ(layout.IndexOfColumn(500, AreaHex), 15);
    EXPECT_EQ(layout.IndexOfColumn(55, AreaText), 0);
    EXPECT_EQ(layout.IndexOfColumn(80, AreaText), 15);
    EXPECT_EQ(layout.IndexOfColumn(5, AreaAddress), 5);
}

// Both mappings agree for every byte, on both digits, over many layouts.
TEST(HexLayout, MappingsAreInverseForAllLayouts)
{
    for (int32_t format = 0; format < 4; ++format)
        for (int32_t insert = 0; insert < 2; ++insert)
            for (int32_t invert = 0; invert < 2; ++invert)
                for (int32_t extra : {0, 1, 3, 4, 8, 12, 64})
                    for (int32_t width : {1, 7, 16, 24, 40, 256}) {
                        HexLayout layout = MakeLayout({width, extra, insert, 6, format, invert}, 0x180);
                        for (int32_t i = 0; i < layout.bytesPerRow; ++i) {
                            const int32_t column = layout.ColumnOfIndex(i, AreaHex);
                            ASSERT_EQ(layout.IndexOfColumn(column, AreaHex), i)
                                << format << insert << invert << " x" << extra << " w" << width << " i" << i;
                            ASSERT_EQ(layout.IndexOfColumn(column + 1, AreaHex), i);
                            ASSERT_LT(column + 1, layout.textStart - 2);
                            ASSERT_EQ(layout.IndexOfColumn(layout.ColumnOfIndex(i, AreaText), AreaText), i);
                        }
                    }
}

TEST(HexLayout, LineCountFollowsPhase)
{
    HexLayout layout = MakeLayout({16, 4, 1, 6, 0, 0});
    EXPECT_EQ(layout.LineCount(0), 0);
    EXPECT_EQ(layout.LineCount(1), 1);
    EXPECT_EQ(layout.LineCount(16), 1);
    EXPECT_EQ(layout.LineCount(17), 2);
    layout.rowPhase = 3;
    EXPECT_EQ(layout.LineCount(13), 1);
    EXPECT_EQ(layout.LineCount(14), 2);
    EXPECT_EQ(layout.LineCount(0x7FFFFFFF), static_cast<int32_t>((3 + 0x7FFFFFFFLL + 15) / 16));
}

struct FitCase {
    LayoutRequest request;
    uint32_t flags;
    int32_t columns;
    int32_t bytes;
};

class HexLayoutFit : public testing::TestWithParam<FitCase> {};

TEST_P(HexLayoutFit, BytesThatFitThePane)
{
    const FitCase& c = GetParam();
    HexLayout layout = MakeLayout(c.request, c.flags);
    EXPECT_EQ(layout.FitWidth(c.columns, c.flags), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HexLayoutFit,
    testing::Values(FitCase{{16, 4, 1, 6, 0, 0}, kDefaultFlags, 80, 16},   // (70*4) / 17
                    FitCase{{16, 4, 1, 6, 0, 0}, kDefaultFlags, 160, 35},  // (150*4) / 17
                    FitCase{{16, 4, 0, 6, 0, 0}, kDefaultFlags, 80, 21},   // (70*4) / 13
                    FitCase{{16, 0, 1, 6, 0, 0}, kDefaultFlags, 80, 17},   // 70 / 4
                    FitCase{{16, 0, 0, 6, 0, 0}, kDefaultFlags, 80, 23},   // 69 / 3
                    // Without the extra space X is 4096: (72*4096) / 16385, one less than 72 / 4.
                    FitCase{{16, 0, 1, 6, 0, 0}, kDefaultFlags, 82, 17},
                    FitCase{{16, 0, 1, 6, 2, 0}, kDefaultFlags, 88, 23},   // (78*4096*4) / 53252
                    FitCase{{16, 4, 1, 6, 2, 0}, kDefaultFlags, 80, 20},   // (70*4*4) / 56
                    FitCase{{16, 4, 1, 6, 0, 0}, kDefaultFlags | FlagHideHex, 80, 71},
                    FitCase{{16, 4, 1, 6, 0, 0}, kDefaultFlags, 5, 1}));

}  // namespace
}  // namespace qv
