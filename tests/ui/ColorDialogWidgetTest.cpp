// SPDX-License-Identifier: GPL-3.0-or-later
// The "Farben einstellen" widget bound to its model.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QTest>

#include "view/ui/ColorDialog.h"

namespace qv {
namespace {

ColorTable Table()
{
    ColorTable table;
    table.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    table.Add(0x0000FF, kDefaultColor, "Adressen", 2, 0);
    table.Add(0xFFFFFF, 0xFF0000, "Markierung", 4, 0);
    return table;
}

QPoint SwatchCentre(const ColorSwatchGrid& grid, int swatch)
{
    int size = grid.SwatchSize();
    return {(swatch % 9) * size + size / 2, (swatch / 9) * size + size / 2};
}

TEST(ColorDialogWidget, ListIsSortedAndStartsOnTheTablesFirstEntry)
{
    ColorDialogModel model(Table(), FontSpec{});
    ColorDialog dialog(model);
    QListWidget* list = dialog.EntryList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "Adressen");
    EXPECT_EQ(list->item(2)->text(), "Standard");
    EXPECT_EQ(list->currentItem()->text(), "Standard");
    EXPECT_FALSE(dialog.FilterBox()->isEnabled());
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Farben einstellen"));
}

TEST(ColorDialogWidget, SwatchClicksAndStyleBoxesEditTheSelectedEntry)
{
    ColorDialogModel model(Table(), FontSpec{});
    ColorDialog dialog(model);
    dialog.EntryList()->setCurrentRow(1);  // "Markierung"
    EXPECT_EQ(model.SelectedEntry().name, "Markierung");
    EXPECT_EQ(dialog.BackgroundGrid()->Highlighted(), 35);  // 0xFF0000
    QTest::mouseClick(dialog.BackgroundGrid(), Qt::LeftButton, {}, SwatchCentre(*dialog.BackgroundGrid(), 0));
    EXPECT_EQ(model.SelectedEntry().background, kDefaultColor);
    EXPECT_EQ(dialog.BackgroundGrid()->Highlighted(), 0);
    QTest::mouseClick(dialog.TextGrid(), Qt::LeftButton, {}, SwatchCentre(*dialog.TextGrid(), 33));
    EXPECT_EQ(model.SelectedEntry().text, 0x00FF00);
    dialog.ItalicBox()->click();
    EXPECT_EQ(model.SelectedEntry().fontStyle, 2);
    EXPECT_EQ(dialog.TextGrid()->SwatchAt({-1, 0}), -1);
    EXPECT_EQ(dialog.TextGrid()->SwatchAt(SwatchCentre(*dialog.TextGrid(), 62)), 62);
}

}  // namespace
}  // namespace qv
