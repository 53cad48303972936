// SPDX-License-Identifier: GPL-3.0-or-later
// Colour table, palette and the colour dialog's rules.
#include <gtest/gtest.h>

#include "view/ColorDialogModel.h"
#include "view/ColorPalette.h"
#include "view/ColorTable.h"

namespace qv {
namespace {

ColorTable HexLikeTable()
{
    ColorTable table;
    table.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    table.Add(0x0000FF, kDefaultColor, "Adressen", 2, 0);
    table.Add(0xFF0000, kDefaultColor, "HEX-Bereich", 3, 0);
    table.Add(0xFFFFFF, 0xFF0000, "Markierung", 4, 0);
    table.Add(0xFFFFFF, 0xC86464, "Bereich", 5, 0);
    return table;
}

TEST(ColorTable, AddReturnsPositionsAndRejectsTakenIndices)
{
    ColorTable table = HexLikeTable();
    EXPECT_EQ(table.Count(), 5);
    EXPECT_EQ(table.Add(1, 2, "Doppelt", 3, 0), 5);
    EXPECT_EQ(table.At(5).index, 0);  // index 3 was taken
    EXPECT_EQ(table.FindByIndex(3), 2);
    EXPECT_EQ(table.FindByIndex(0), -1);  // index 0 is never looked up
    EXPECT_EQ(table.FindByName("Markierung"), 3);
    EXPECT_EQ(table.FindByName("markierung"), -1);
    EXPECT_EQ(table.FindByIndex(42), -1);
}

TEST(ColorTable, UpdateByIndexAndAttributeLookup)
{
    ColorTable table = HexLikeTable();
    ColorEntry green{kDefaultColor, 0x00FF00, 3, 1, "HEX-Bereich"};
    EXPECT_TRUE(table.UpdateByIndex(green));
    EXPECT_EQ(table.ForAttribute(2), green);
    green.index = 99;
    EXPECT_FALSE(table.UpdateByIndex(green));
    EXPECT_EQ(table.ForAttribute(-1).name, "Standard");
    EXPECT_EQ(table.ForAttribute(17).name, "Standard");
}

TEST(ColorTable, DefaultsAreAddedOnceAndKeepUserValues)
{
    ColorTable table;
    table.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    table.Add(0x123456, kDefaultColor, "Adressen", 2, 0);  // loaded before the defaults
    std::vector<ColorEntry> defaults = {{kDefaultColor, 0x0000FF, 2, 0, "Adressen"},
                                        {kDefaultColor, 0xFF0000, 3, 0, "HEX-Bereich"}};
    table.AddDefaults(defaults);
    table.AddDefaults(defaults);
    ASSERT_EQ(table.Count(), 3);
    EXPECT_EQ(table.At(1).text, 0x123456);
    EXPECT_EQ(table.At(2).name, "HEX-Bereich");
}

TEST(ColorPalette, SwatchLookupAndSizeRule)
{
    EXPECT_EQ(kColorPalette[0], kDefaultColor);
    EXPECT_EQ(kColorPalette[1], 0x400020);
    EXPECT_EQ(kColorPalette[9], 0x000000);
    EXPECT_EQ(kColorPalette[62], 0xFFC0C0);
    EXPECT_EQ(PaletteSwatchOf(kDefaultColor), 0);
    EXPECT_EQ(PaletteSwatchOf(0xFFFFFF), 54);
    EXPECT_EQ(PaletteSwatchOf(0x123456), 62);  // not in the palette: the last swatch
    struct Case {
        int height, size;
    };
    for (Case c : {Case{126, 14}, Case{281, 31}, Case{282, 23}, Case{360, 30}, Case{50, 11}, Case{0, 11}})
        EXPECT_EQ(PaletteSwatchSize(c.height), c.size) << c.height;
}

TEST(ColorDialogModel, ListIsSortedByNameAndStartsOnTheFirstEntry)
{
    ColorDialogModel model(HexLikeTable(), FontSpec{});
    EXPECT_EQ(model.SortedPositions(), (std::vector<int32_t>{1, 4, 2, 3, 0}));
    EXPECT_EQ(model.Selected(), 0);
    EXPECT_FALSE(model.FilterAvailable());
    model.Select(9);
    EXPECT_EQ(model.Selected(), 0);
    model.Select(3);
    EXPECT_EQ(model.SelectedEntry().name, "Markierung");
}

TEST(ColorDialogModel, StyleBoxesWriteTheVariantBitsAndKeepPrintBits)
{
    ColorTable table = HexLikeTable();
    table.At(2).fontStyle = 0x100 | 0x30 | 0x1;  // bold, with a print style
    ColorDialogModel model(table, FontSpec{});
    model.Select(2);
    EXPECT_TRUE(model.Bold());
    EXPECT_FALSE(model.Italic());
    model.SetStyle(false, true, true);
    EXPECT_EQ(model.SelectedEntry().fontStyle, 0x100 | 0x30 | 0x2 | 0x4);
    model.Select(1);
    model.SetStyle(true, true, false);
    EXPECT_EQ(model.SelectedEntry().fontStyle, 3);
}

TEST(ColorDialogModel, SwatchesAndPickedColoursChangeOnlyTheWorkingCopy)
{
    ColorTable table = HexLikeTable();
    ColorDialogModel model(table, FontSpec{});
    model.Select(3);
    model.PickSwatch(true, 0);  // "Markierung" on the system window colour
    EXPECT_EQ(model.SelectedEntry().background, kDefaultColor);
    EXPECT_EQ(model.HighlightedSwatch(true), 0);
    EXPECT_EQ(model.HighlightedSwatch(false), 54);
    model.PickSwatch(false, 33);
    EXPECT_EQ(model.SelectedEntry().text, 0x00FF00);
    model.PickSwatch(false, 63);  // out of range: ignored
    model.PickSwatch(false, -1);
    EXPECT_EQ(model.SelectedEntry().text, 0x00FF00);
    model.SetText(0x010203);
    EXPECT_EQ(model.HighlightedSwatch(false), 62);
    EXPECT_EQ(table.At(3).background, 0xFF0000);
    EXPECT_EQ(model.Table().At(3).text, 0x010203);
}

}  // namespace
}  // namespace qv
