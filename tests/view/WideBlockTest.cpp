// SPDX-License-Identifier: GPL-3.0-or-later
// The hex view over blocks beyond 32 bits: sparse files of 6 and 100 GiB mapped as the
// document maps them, and the scroll bar scale that brings billions of rows onto a bar.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/MappedFile.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeLineViewHost.h"
#include "tests/support/SparseFile.h"
#include "tests/support/TempDir.h"
#include "tests/view/HexViewTesting.h"
#include "view/HexViewGotoDialog.h"
#include "view/ScrollBarScale.h"

namespace qv::test {
namespace {

constexpr int64_t k6GiB = int64_t{6} << 30;
constexpr int64_t k100GiB = int64_t{100} << 30;
constexpr uint64_t kText = 0x160000000;

class WideBlock : public ::testing::Test {
protected:
    void Map(int64_t size, bool writable, const std::vector<std::pair<int64_t, std::string>>& texts)
    {
        path = dir.File("big.bin");
        MakeSparseFile(path, size, texts);
        MappedFile::Error error = MappedFile::Error::None;
        map = MappedFile::Open(path, writable, error);
        ASSERT_TRUE(map);
        h.view.SetStatusPanes(&panes);
        h.view.AttachHost(&host);
        h.view.HandleSize(800, 400);
        h.view.SetBuffer(map->Data(), size, 0, writable ? ViewWritable : 0);
        h.view.StatusFocusGained();
    }
    void TearDown() override { h.view.DetachHost(); }

    std::string Row(int64_t line) const
    {
        RowText row;
        h.view.BuildRow(line, false, row);
        return std::string(row.chars.data(), static_cast<size_t>(row.length));
    }

    TempDir dir;
    std::string path;
    std::unique_ptr<MappedFile> map;
    FakeLineViewHost host;
    RecordingStatusPanes panes;
    HexViewHarness h;  // last: goes before the map it shows
};

TEST_F(WideBlock, SixGiBJumpTypeAndReachTheEnd)
{
    Map(k6GiB, true, {{kText, "Hello wide"}});
    EXPECT_EQ(h.view.ViewControl(8, 0), k6GiB);
    EXPECT_EQ(h.view.RowLayout().AddressDigits(), 9);  // 0x17FFFFFFF
    EXPECT_LT(panes.defined.back()[0].width, -20) << "the address pane widens for 9 digits";

    // The start positions /S and /J as the start sequence applies them.
    h.view.ScrollToOffset(kText, true);
    h.view.SetCursorOffset(kText, true);
    h.view.SelectTo(kText + 6, true);
    EXPECT_EQ(h.view.ViewControl(5, 0), static_cast<int64_t>(kText));
    EXPECT_EQ(h.view.SelectedRange(), (ByteRange{static_cast<int64_t>(kText), 6}));
    // The address raster keeps the top row on a multiple of 4 that holds the text.
    const auto top = static_cast<uint64_t>(h.view.ViewControl(3, 0));
    EXPECT_TRUE(top <= kText && kText < top + static_cast<uint64_t>(h.view.BytesPerRow())) << std::hex << top;
    char address[16];
    std::snprintf(address, sizeof address, "%09llX  ", static_cast<unsigned long long>(top));
    EXPECT_EQ(Row(h.view.TopLine()).rfind(address, 0), 0u);
    EXPECT_NE(Row(h.view.TopLine()).find("48 65 6C 6C"), std::string::npos);
    EXPECT_EQ(panes.texts[0], " Adr: 0x160000000 / M: +6");

    // "Zu Adresse" offers the cursor's address whole and goes to a 64-bit sum; typing
    // there changes the file at once.
    FakeDialogService dialogs;
    std::string offered;
    dialogs.steps.push_back([&](DialogModel& model) {
        offered = static_cast<GotoDialog&>(model).text;
        static_cast<GotoDialog&>(model).text = "0x16FFFFFFF+1";
        return true;
    });
    h.view.SelectTo(kText, true);  // no selection: the cursor's address is offered
    EXPECT_EQ(h.view.GotoAddress(dialogs), 0x170000000);
    EXPECT_EQ(offered, "0x160000000");
    h.Type("abcd");
    EXPECT_EQ(ReadFileBytes(path, 0x170000000, 3), std::string("\xAB\xCD\0", 3));
    EXPECT_EQ(panes.texts[0], " Adr: 0x170000002 / 6174015490");

    h.Key(KeyEnd, KeyFlagCtrl);
    EXPECT_EQ(h.view.CursorLine(), h.view.LineCount() - 1);
    EXPECT_GT(h.view.CursorOffset(), k6GiB - 1 - h.view.BytesPerRow());
    EXPECT_GE(h.view.TopLine() + h.view.PaneRows(), h.view.LineCount());
    // The thumb follows: the bar stands within a page of its end.
    const ScrollBarState& bar = host.bars[ScrollBarVerticalTop];
    EXPECT_EQ(bar.position, h.view.TopLine());
    const ScrollBarScale scale(bar);
    EXPECT_LE(scale.BarMaximum() - scale.BarValue(), scale.BarPage());
}

TEST_F(WideBlock, SelectionCopyAndMarksAcrossFourGiB)
{
    Map(k6GiB, false, {{0xFFFFFFFF, "XY"}});
    h.view.SetCursorOffset(0xFFFFFFFE, false);
    h.view.SelectTo(0x100000002, false);
    FakeClipboard clipboard;
    h.view.CopyToClipboard(clipboard);
    EXPECT_EQ(clipboard.text, ":00 58 59 00");

    // A selection longer than 32 bits: whole through SelectedRange, capped through GetSelection.
    h.view.SetCursorOffset(0x10, false);
    h.view.SelectTo(0x100000008, false);
    EXPECT_EQ(h.view.SelectedRange(), (ByteRange{0x10, 0xFFFFFFF8}));
    int64_t reported = 0;
    EXPECT_EQ(h.view.GetSelection(true, &reported), 0x10u);
    EXPECT_EQ(reported, kMaxReportedSelection);

    // A found value's mark beyond 4 GiB colours its bytes there.
    ASSERT_TRUE(h.view.SetMark(-1, 0xFFFFFFFF, 2));
    EXPECT_EQ(h.view.Mark(1).last, 0x100000000);
    h.view.SetCursorOffset(0x100000000, false);
    RowText row;
    h.view.BuildRow(h.view.CursorLine(), false, row);
    const int32_t index = static_cast<int32_t>((0x100000000 + h.view.RowLayout().Phase()) % h.view.BytesPerRow());
    EXPECT_EQ(row.attributes[static_cast<size_t>(h.view.RowLayout().textStart + index)], AttrRange);
}

TEST_F(WideBlock, HundredGiBHasMoreRowsThanAnInt)
{
    Map(k100GiB, false, {{k100GiB - 3, "end"}});
    ASSERT_GT(h.view.LineCount(), INT32_MAX);
    EXPECT_EQ(h.view.RowLayout().AddressDigits(), 10);

    h.Key(KeyEnd, KeyFlagCtrl);
    EXPECT_GT(h.view.TopLine(), INT32_MAX);
    const std::string last = Row(h.view.LineCount() - 1);
    EXPECT_EQ(last.substr(0, 8), "18FFFFFF");
    EXPECT_NE(last.find("end"), std::string::npos);
    h.Type("00");  // read-only: nothing changes
    EXPECT_EQ(ReadFileBytes(path, k100GiB - 3, 3), "end");

    // Dragging the thumb to the middle of the bar scrolls to the middle rows.
    const ScrollBarScale scale(host.bars[ScrollBarVerticalTop]);
    ASSERT_GT(scale.Step(), 1);
    h.view.HandleScroll(ScrollBarVerticalTop, ScrollAction::ThumbTrack, scale.PositionOf(scale.BarMaximum() / 2));
    EXPECT_NEAR(static_cast<double>(h.view.TopOffset(false)), static_cast<double>(k100GiB / 2), k100GiB / 1000.0);
    h.view.HandleScroll(ScrollBarVerticalTop, ScrollAction::PageDown, 0);
    const uint64_t top = h.view.TopOffset(false);
    h.view.HandleScroll(ScrollBarVerticalTop, ScrollAction::LineUp, 0);
    EXPECT_EQ(top - h.view.TopOffset(false), static_cast<uint64_t>(h.view.BytesPerRow()));
}

ScrollBarState Bar(int64_t maximum, int64_t page, int64_t position)
{
    ScrollBarState state;
    state.maximum = maximum;
    state.page = page;
    state.position = position;
    return state;
}

TEST(ScrollBarScale, CountsLinesOneToOneUntilTheBarIsFull)
{
    const ScrollBarScale small(Bar(1000, 40, 250));
    EXPECT_EQ(small.Step(), 1);
    EXPECT_EQ(small.BarMaximum(), 1000);
    EXPECT_EQ(small.BarPage(), 40);
    EXPECT_EQ(small.BarValue(), 250);
    EXPECT_EQ(small.PositionOf(251), 251);

    // 100 GiB of 16-byte rows: every bar value stands for a few rows, the ends meet exactly.
    const int64_t rows = k100GiB / 16;
    const ScrollBarScale large(Bar(rows - 40, 40, rows / 2));
    EXPECT_GT(large.Step(), 1);
    EXPECT_LE(int64_t{large.BarMaximum()}, ScrollBarScale::kMaxBarSteps);
    EXPECT_GE(large.BarPage(), 1);
    EXPECT_EQ(large.PositionOf(0), 0);
    EXPECT_EQ(large.PositionOf(large.BarMaximum()), rows - 40);
    EXPECT_EQ(large.BarValueOf(rows - 40), large.BarMaximum());
    EXPECT_LE(std::llabs(large.PositionOf(large.BarValue()) - rows / 2), large.Step());
    // Moving the thumb one step never moves the view backwards.
    for (int value : {1, 2, large.BarMaximum() - 1})
        EXPECT_LT(large.PositionOf(value - 1), large.PositionOf(value)) << value;
}

}  // namespace
}  // namespace qv::test
