// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeLineViewHost.h"
#include "tests/view/HexViewTesting.h"
#include "view/HexViewConfigDialog.h"

namespace qv::test {
namespace {

TEST(HexViewLayout, NewViewHasDefaultLayout)
{
    CHexView view;
    EXPECT_EQ(view.HexFlags(), kDefaultHexFlags);
    EXPECT_EQ(view.BytesPerRow(), 16);
    EXPECT_EQ(view.LineLength(), 76);
    EXPECT_EQ(view.StatusbarMode(), 2u | StatusDirty);
    EXPECT_EQ(view.LeftMargin(), 2);
    // The hex view's colour entries follow "Standard".
    const ColorTable& colors = view.Colors();
    ASSERT_GE(colors.Count(), 7);
    EXPECT_EQ(colors.At(1).name, "Adressen");
    EXPECT_EQ(colors.At(1).text, 0x0000FF);
    EXPECT_EQ(colors.At(2).name, "HEX-Bereich");
    EXPECT_EQ(colors.At(2).text, 0xFF0000);
    EXPECT_EQ(colors.At(2).background, kDefaultColor);
    EXPECT_EQ(colors.At(3).name, "Markierung");
    EXPECT_EQ(colors.At(6).name, "Bit-Marke-Text");
}

TEST(HexViewLayout, SetLayoutReturnsPreviousWidthAndKeepsCursorByte)
{
    HexViewHarness h;
    h.Load(CountingBytes(64));
    h.view.SetCursorOffset(5, false);
    h.Key(KeyRight);  // second digit of byte 5
    EXPECT_EQ(h.view.SetLayout(-1, 0, -1, 8, -1, -1), 16);
    EXPECT_EQ(h.view.LineLength(), 10 + 34 + 15 + 16);
    EXPECT_EQ(h.view.CursorOffset(), 5);
    EXPECT_TRUE(h.view.OnSecondDigit());
    EXPECT_EQ(h.view.SetLayout(8, -1, -1, -1, -1, -1), 16);
    EXPECT_EQ(h.view.BytesPerRow(), 8);
    EXPECT_EQ(h.view.LineCount(), 8);
}

TEST(HexViewLayout, UnchangedSetLayoutLeavesRedrawState)
{
    CHexView view;
    const uint32_t before = view.Redraws().Bits();
    const int32_t column = view.CursorColumn();
    EXPECT_EQ(view.SetLayout(-1, -1, -1, -1, -1, -1), 16);
    EXPECT_EQ(view.Redraws().Bits(), before);
    EXPECT_EQ(view.CursorColumn(), column);
}

TEST(HexViewLayout, FitWidthFollowsPaneAndRestoresCursor)
{
    HexViewHarness h;
    h.Load(CountingBytes(200));
    h.view.FitWidthToWindow(80, 30, 1, 0);
    EXPECT_EQ(h.view.BytesPerRow(), 16);
    h.view.FitWidthToWindow(160, 30, 1, 0);
    EXPECT_EQ(h.view.BytesPerRow(), 32);  // 35 fits, the width raster of 4 makes it 32

    // A selection made backwards keeps all but its lowest byte; one made forwards is dropped.
    h.view.SetCursorOffset(50, false);
    h.view.SelectTo(40, false);
    h.view.FitWidthToWindow(80, 30, 1, 0);
    EXPECT_EQ(h.view.BytesPerRow(), 16);
    EXPECT_EQ(h.view.CursorOffset(), 50);
    int64_t length = 0;
    EXPECT_EQ(h.view.GetSelection(false, &length), 42u);
    EXPECT_EQ(length, 9);

    h.view.SetCursorOffset(60, false);
    h.Key(KeyRight, KeyFlagShift);
    h.Key(KeyRight, KeyFlagShift);
    h.view.FitWidthToWindow(120, 30, 1, 0);
    EXPECT_FALSE(h.view.HasSelection());
    EXPECT_EQ(h.view.CursorOffset(), 60);

    // Fixed width: the pane size does not matter.
    h.view.ApplyRasterSettings(-18, 4, -1, -1);
    h.view.FitWidthToWindow(200, 30, 1, 0);
    EXPECT_EQ(h.view.BytesPerRow(), 18);
}

TEST(HexViewLayout, ApplyRasterSettingsModes)
{
    CHexView view;
    EXPECT_EQ(view.ApplyRasterSettings(-20, 8, 0x4001, 1), 20);
    EXPECT_EQ(view.HexFlags() & (FlagAutoWidth | FlagWidthRaster), 0u);
    EXPECT_NE(view.HexFlags() & FlagRaster, 0u);
    EXPECT_EQ(view.RowLayout().effectiveRaster, 8);
    EXPECT_EQ(view.StatusbarMode() & ~static_cast<uint32_t>(StatusDirty), 0x4001u);
    EXPECT_EQ(view.SelectionRaster(), 1);

    view.ApplyRasterSettings(8, 0, -1, -1);
    EXPECT_EQ(view.HexFlags() & (FlagAutoWidth | FlagWidthRaster | FlagRaster),
              static_cast<uint32_t>(FlagAutoWidth | FlagWidthRaster));
    EXPECT_EQ(view.RowLayout().effectiveWidthRaster, 8);
    EXPECT_EQ(view.SelectionRaster(), 1);

    view.ApplyRasterSettings(0, 2, -1, 0);
    EXPECT_EQ(view.HexFlags() & FlagWidthRaster, 0u);
    EXPECT_EQ(view.RowLayout().effectiveWidthRaster, 1);
    EXPECT_EQ(view.RowLayout().effectiveRaster, 2);
    EXPECT_EQ(view.SelectionRaster(), 0);

    EXPECT_EQ(view.ApplyRasterSettings(-1000, 0, -1, -1), 256);
}

TEST(HexViewSettings, SaveAndLoadRoundTrip)
{
    FakeSettingsStore store;
    {
        CHexView view(0, {&store, nullptr});
        view.SetLayout(24, 8, 0, 8, 1, 1);
        view.ApplyRasterSettings(-24, 16, 0x8001, 1);
    }  // destruction stores the settings
    EXPECT_EQ(store.ReadDword("", "LineWidth"), 24u);
    EXPECT_EQ(store.ReadDword("", "AddressLength"), 8u);
    EXPECT_EQ(store.ReadDword("", "InvertBytes"), 1u);
    EXPECT_EQ(store.ReadDword("", "OutputFormat"), 1u);
    EXPECT_EQ(store.ReadDword("", "StatusbarMode"), 0x8001u);
    EXPECT_EQ(store.ReadDword("", "Raster"), 16u);
    EXPECT_EQ(store.ReadDword("", "InsertSpace"), 0u);
    EXPECT_EQ(store.ReadDword("", "ExtraSpace"), 8u);
    EXPECT_EQ(store.ReadDword("", "SelectionRaster"), 1u);
    ASSERT_TRUE(store.ReadDword("", "HexFlags"));
    EXPECT_EQ(*store.ReadDword("", "HexFlags") & FlagAutoWidth, 0u);

    CHexView loaded(0, {&store, nullptr});
    EXPECT_EQ(loaded.BytesPerRow(), 24);
    EXPECT_EQ(loaded.RowLayout().addressLength, 8);
    EXPECT_EQ(loaded.RowLayout().invertMask, 1);
    EXPECT_EQ(loaded.RowLayout().insertSpace, 0);
    EXPECT_EQ(loaded.RowLayout().effectiveRaster, 16);
    EXPECT_EQ(loaded.SelectionRaster(), 1);
    EXPECT_EQ(loaded.HexFlags() & FlagAutoWidth, 0u);
}

TEST(HexViewSettings, StoredValuesAreLimited)
{
    FakeSettingsStore store;
    store.WriteDword("", "LineWidth", 0);
    store.WriteDword("", "AddressLength", 40);
    store.WriteDword("", "OutputFormat", 7);
    store.WriteDword("", "Raster", 0xFFFFFFFF);
    store.WriteDword("", "HexFlags", 0xFFFFFFFF);  // only the width and raster bits count
    store.WriteDword("", "InvertBytes", 1);
    CHexView view(0, {&store, nullptr});
    EXPECT_EQ(view.BytesPerRow(), 16);
    EXPECT_EQ(view.RowLayout().addressLength, 8);
    EXPECT_EQ(view.RowLayout().outputFormat, 3);
    EXPECT_EQ(view.RowLayout().invertMask, 7);
    EXPECT_GE(view.RowLayout().effectiveRaster, 1);
    EXPECT_EQ(view.HexFlags() & (FlagHideHex | FlagHideText | FlagHideAddress | FlagReadOnly), 0u);
}

TEST(HexConfigDialog, InitialValuesFromView)
{
    CHexView view;
    ConfigDialog d = ConfigDialog::FromView(view);
    EXPECT_TRUE(d.insertSpace);
    EXPECT_TRUE(d.extraSpaceOn);
    EXPECT_EQ(d.extraSpace, 4);
    EXPECT_FALSE(d.fixedWidthOn);
    EXPECT_EQ(d.fixedWidth, 16);
    EXPECT_TRUE(d.rasterOn);
    EXPECT_TRUE(d.widthRasterOn);
    EXPECT_EQ(d.addressDigits, 6);
    EXPECT_EQ(d.outputFormat, 0);
    EXPECT_EQ(d.valueSize, 2);
    EXPECT_FALSE(d.InvertEnabled());
    EXPECT_FALSE(d.SelectionRasterEnabled());

    view.SetLayout(-1, 0, -1, -1, -1, -1);
    view.ApplyRasterSettings(0, 4, 3, -1);
    d = ConfigDialog::FromView(view);
    EXPECT_FALSE(d.extraSpaceOn);
    EXPECT_EQ(d.extraSpace, 4);
    EXPECT_FALSE(d.widthRasterOn);
    EXPECT_EQ(d.widthRaster, 4);
    EXPECT_EQ(d.valueSize, 2);  // 3 shows as DWord
}

TEST(HexConfigDialog, CorrectionRules)
{
    CHexView view;
    ConfigDialog d = ConfigDialog::FromView(view);
    d.fixedWidthOn = true;  // checked while "Breiten Raster" is checked
    d.Correct(ConfigDialog::Change::FixedWidthCheck);
    EXPECT_TRUE(d.fixedWidthOn);
    EXPECT_FALSE(d.widthRasterOn);
    d.widthRasterOn = true;
    d.Correct(ConfigDialog::Change::WidthRasterCheck);
    EXPECT_FALSE(d.fixedWidthOn);
    EXPECT_TRUE(d.widthRasterOn);

    d.extraSpace = 0;
    d.fixedWidth = 999;
    d.raster = -3;
    d.widthRaster = 300;
    d.addressDigits = 12;
    d.Correct(ConfigDialog::Change::NumberField);
    EXPECT_EQ(d.extraSpace, 1);
    EXPECT_EQ(d.fixedWidth, 256);
    EXPECT_EQ(d.raster, 1);
    EXPECT_EQ(d.widthRaster, 256);
    EXPECT_EQ(d.addressDigits, 8);

    d.outputFormat = 2;
    EXPECT_TRUE(d.InvertEnabled());
    d.extraSpaceOn = false;
    EXPECT_FALSE(d.ExtraSpaceEnabled());
    EXPECT_TRUE(d.WidthRasterEnabled());
}

TEST(HexConfigDialog, OkAppliesLayoutAndNotifies)
{
    HexViewHarness h;
    RecordingEvents events;
    h.view.SetEvents(&events);
    FakeDialogService dialogs;
    dialogs.steps.push_back([](DialogModel& model) {
        auto& d = static_cast<ConfigDialog&>(model);
        d.fixedWidthOn = true;
        d.fixedWidth = 20;
        d.Correct(ConfigDialog::Change::FixedWidthCheck);
        d.outputFormat = 1;
        d.invert = true;
        d.addressDigits = 4;
        d.rasterOn = false;
        d.valueSize = 1;
        d.bigEndian = true;
        return true;
    });
    EXPECT_TRUE(h.view.EditSettings(dialogs));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"HexConfig"});
    EXPECT_EQ(h.view.BytesPerRow(), 20);
    EXPECT_EQ(h.view.RowLayout().outputFormat, 1);
    EXPECT_EQ(h.view.RowLayout().invertMask, 1);
    EXPECT_EQ(h.view.RowLayout().addressLength, 4);
    EXPECT_EQ(h.view.HexFlags() & (FlagAutoWidth | FlagWidthRaster | FlagRaster), 0u);
    EXPECT_EQ(h.view.StatusbarMode() & 0xE003u, static_cast<uint32_t>(1 | BigEndianValue));
    ASSERT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(events.seen[0].code, NotifySettingsChanged);

    EXPECT_FALSE(h.view.EditSettings(dialogs));  // cancelled: nothing changes
    EXPECT_EQ(h.view.BytesPerRow(), 20);
    EXPECT_EQ(events.seen.size(), 1u);
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

// A window starts small and grows: with a fixed width the rows that now fit are shown
// from their first column, address column included.
TEST(HexViewLayout, FixedWidthRowsThatFitStartAtColumnZero)
{
    HexViewHarness h;
    FakeLineViewHost host;
    h.view.ApplyRasterSettings(-16, 4, -1, -1);
    h.view.AttachHost(&host);
    h.view.HandleSize(6 * 8 + 16, 200);  // a pane of a few columns
    h.Load(CountingBytes(300));
    h.view.SetCursorOffset(2, false);
    ASSERT_GT(h.view.LeftColumn(), 0);
    h.view.HandleSize(100 * 8 + 16, 400);
    EXPECT_EQ(h.view.LeftColumn(), 0);
    EXPECT_EQ(h.view.CursorOffset(), 2);

    // A row wider than the pane keeps its scroll position.
    h.view.ApplyRasterSettings(-64, 4, -1, -1);
    h.view.SetCursorOffset(60, false);
    const int32_t left = h.view.LeftColumn();
    ASSERT_GT(left, 0);
    h.view.HandleSize(101 * 8 + 16, 400);
    EXPECT_EQ(h.view.LeftColumn(), left);
    h.view.DetachHost();
}

}  // namespace
}  // namespace qv::test
