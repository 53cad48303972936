// SPDX-License-Identifier: GPL-3.0-or-later
// NumberEntryDialog: number display and reading, size labels per format, the preview timer
// and the remembered position; NumberEntrySettings: the "CppCopyDlg" values.
#include "document/NumberEntryDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/NumberEntrySettings.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeTimerService.h"

namespace qv {
namespace {

TEST(NumberEntryDialog, ShowsNumberInTheAskedStyle)
{
    NumberEntryDialog dialog;
    dialog.SetNumber(255, true);
    EXPECT_EQ(dialog.Text(), "0xFF");
    dialog.SetNumber(-5, false);
    EXPECT_EQ(dialog.Text(), "-5");
    EXPECT_EQ(dialog.Caption(), "Zahlen eingabe");
    dialog.caption = "Kopiere im C++ Format";
    EXPECT_EQ(dialog.Caption(), "Kopiere im C++ Format");
}

TEST(NumberEntryDialog, ReadsExpressionsAndDumps)
{
    struct Case {
        std::string text;
        int64_t expected;
    };
    const std::vector<Case> cases = {
        {"16", 16},
        {"0x10*2", 32},
        {"1Ah", 26},
        {"-1", -1},
        {"0x123456789A", 0x123456789A},
        {" :34 12", 0x1234},
        {":01 02 03 04 05 06 07 08 09", 0x0807060504030201},
    };
    NumberEntryDialog dialog;
    for (const auto& c : cases) {
        dialog.ChangeText(c.text);
        EXPECT_EQ(dialog.Number(), c.expected) << c.text;
    }
}

TEST(NumberEntryDialog, SizeLabelsFollowTheFormat)
{
    NumberEntryDialog dialog;
    EXPECT_STREQ(dialog.SizeLabels()[0], "B&yte");
    EXPECT_STREQ(dialog.SizeLabels()[3], "QWort");
    dialog.withFormatGroup = true;
    const std::vector<std::pair<int, std::array<const char*, 4>>> expected = {
        {0, {"&Byte", "&Word", "&Dword", "&QWord"}},
        {1, {"&Byte", "&Word", "&Dword", "&QWord"}},
        {2, {"Base 64", "HEX-Text", "MIN-Text", "Chars"}},
        {3, {"&Byte", "&Word", "&Dword", "---"}},
    };
    for (const auto& [format, labels] : expected) {
        dialog.ChangeFormat(format);
        for (int i = 0; i < 4; ++i) EXPECT_STREQ(dialog.SizeLabels()[i], labels[i]) << format << " " << i;
    }
}

TEST(NumberEntryDialog, SizeChoices)
{
    for (int i = 0; i < 4; ++i) EXPECT_EQ(NumberEntryDialog::ChoiceOfSize(NumberEntryDialog::SizeOfChoice(i)), i);
    EXPECT_EQ(NumberEntryDialog::SizeOfChoice(3), 8);
    NumberEntryDialog dialog;
    dialog.ChangeValueSize(3);  // not a size: falls back to bytes
    EXPECT_EQ(dialog.ValueSize(), 1);
    dialog.ChangeValueSize(4);
    EXPECT_EQ(dialog.ValueSize(), 4);
}

class NumberEntryPreview : public ::testing::Test {
protected:
    NumberEntryPreview()
    {
        dialog.withFormatGroup = true;
        dialog.SetNumber(4, false);
        dialog.SetPreviewData(data.data(), data.size(), &timers);
        dialog.onPreviewChanged = [this] { ++refreshes; };
    }
    int TimerId() const { return timers.timers.empty() ? 0 : timers.timers.begin()->first; }
    void Tick() { ASSERT_TRUE(timers.Fire(TimerId())); }

    std::vector<uint8_t> data = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    test::FakeTimerService timers;  // outlives the dialog, which stops its timer when it goes
    NumberEntryDialog dialog;
    int refreshes = 0;
};

TEST_F(NumberEntryPreview, FirstTickShowsFirstLine)
{
    dialog.StartPreview();
    ASSERT_EQ(timers.timers.size(), 1u);
    EXPECT_EQ(timers.timers.begin()->second.first, 200);
    Tick();
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(dialog.PreviewText(), "0x01,0x23,0x45,0x67,");
    Tick();
    EXPECT_EQ(refreshes, 1);  // nothing changed
}

TEST_F(NumberEntryPreview, ThirdTickAfterAChange)
{
    dialog.StartPreview();
    Tick();
    dialog.ChangeValueSize(2);
    dialog.ChangeFormat(1);
    Tick();
    Tick();
    EXPECT_EQ(refreshes, 1);
    Tick();
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(dialog.PreviewText(), "DW\t02301h,06745h,0AB89h,0EFCDh");
    dialog.ChangeBigEndian(true);
    dialog.ChangeText("2");
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(dialog.PreviewText(), "DW\t00123h,04567h");
}

TEST_F(NumberEntryPreview, StopEndsTheTimerAndNoPreviewWithoutData)
{
    dialog.StartPreview();
    dialog.StopPreview();
    EXPECT_TRUE(timers.timers.empty());
    NumberEntryDialog plain;
    plain.StartPreview();
    EXPECT_TRUE(timers.timers.empty());
}

TEST(NumberEntryDialog, RememberedPositionOnlyWhileOnScreen)
{
    const NumberEntryDialog::Screen screen{0, 0, 1920, 1080};
    NumberEntryDialog::ForgetPosition();
    EXPECT_FALSE(NumberEntryDialog::PositionFor(screen));
    struct Case {
        int x, y;
        bool used;
    };
    const std::vector<Case> cases = {
        {100, 100, true},   {-99, -9, true},     {-100, 0, false},   {0, -10, false},
        {1820, 980, true},  {1821, 500, false},  {500, 981, false},
    };
    for (const auto& c : cases) {
        NumberEntryDialog::RememberPosition({c.x, c.y});
        EXPECT_EQ(NumberEntryDialog::PositionFor(screen).has_value(), c.used) << c.x << "," << c.y;
    }
    NumberEntryDialog::ForgetPosition();
}

TEST(NumberEntrySettings, DefaultsLoadAndSave)
{
    test::FakeSettingsStore user, machine;
    SettingsStores stores{&user, &machine};
    auto settings = NumberEntrySettings::Load(stores);
    EXPECT_EQ(settings.hexDisplay, 0u);
    EXPECT_EQ(settings.valueSize, 1);
    EXPECT_EQ(settings.lineSize, 16u);
    EXPECT_EQ(settings.format, 0);

    machine.WriteDword("CppCopyDlg", "LineSize", 8);
    user.WriteDword("CppCopyDlg", "ValueSize", 3);  // not a size
    user.WriteDword("CppCopyDlg", "Format", 9);     // not a format
    user.WriteDword("CppCopyDlg", "BigEndian", 1);
    settings = NumberEntrySettings::Load(stores);
    EXPECT_EQ(settings.lineSize, 8u);
    EXPECT_EQ(settings.valueSize, 1);
    EXPECT_EQ(settings.format, 0);
    EXPECT_EQ(settings.hexDisplay, 1u);

    NumberEntryDialog dialog;
    dialog.withFormatGroup = true;
    settings.ApplyTo(dialog);
    EXPECT_EQ(dialog.Text(), "0x8");
    dialog.ChangeText("0x120");
    dialog.ChangeValueSize(8);
    dialog.ChangeFormat(3);
    settings.TakeFrom(dialog);
    EXPECT_EQ(settings.LineSize8(), 0x20);
    settings.Save(user);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "LineSize"), 0x120u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "ValueSize"), 8u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "Format"), 3u);
    EXPECT_EQ(user.ReadDword("CppCopyDlg", "BigEndian"), 1u);
}

}  // namespace
}  // namespace qv
