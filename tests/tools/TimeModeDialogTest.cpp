// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeModeDialog.h"

#include <gtest/gtest.h>

#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeSettingsStore.h"

namespace qv {
namespace {

TEST(TimeModeDialog, StoredModeOutsideTheButtonsCountsAsLastInput)
{
    test::FakeSettingsStore settings;
    TimeModeModel model;
    settings.WriteDword(kTimeConvertSection, "SelMode", 8);
    model.Load(&settings);
    EXPECT_EQ(model.mode, TimeReadMode::DbDate);
    settings.WriteDword(kTimeConvertSection, "SelMode", 9);
    model.Load(&settings);
    EXPECT_EQ(model.mode, TimeReadMode::LastInput);
}

TEST(TimeModeDialog, CommandAsksTheModeThenOpensTheConverter)
{
    test::FakeSettingsStore settings;
    test::FakeDialogService dialogs;
    std::string shownSeconds;
    dialogs.steps.push_back([](DialogModel& model) {
        auto& mode = dynamic_cast<TimeModeModel&>(model);
        mode.mode = TimeReadMode::UtcSeconds;
        return true;
    });
    dialogs.steps.push_back([&](DialogModel& model) {
        auto& converter = dynamic_cast<TimeConverterModel&>(model);
        shownSeconds = converter.Text(TimeField::Seconds);
        return true;
    });
    EXPECT_TRUE(OpenTimeConverter(dialogs, &settings, nullptr, std::vector<uint8_t>{0x80, 0x43, 0x6D, 0x38}));
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"Zeitmodus", "TimeConvert"}));
    EXPECT_EQ(shownSeconds, "946684800");
    EXPECT_EQ(settings.ReadDword(kTimeConvertSection, "SelMode"), 2u);
    EXPECT_EQ(settings.ReadDword(kTimeConvertSection, "Focus"), static_cast<uint32_t>(TimeField::SecondsDump));
    EXPECT_EQ(settings.ReadString(kTimeConvertSection, "Text"), ":80 43 6D 38 ");
}

TEST(TimeModeDialog, CancelEndsTheCommand)
{
    test::FakeSettingsStore settings;
    test::FakeDialogService dialogs;  // no steps: the mode dialog is cancelled
    EXPECT_FALSE(OpenTimeConverter(dialogs, &settings, nullptr, std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"Zeitmodus"});
    EXPECT_FALSE(settings.ReadDword(kTimeConvertSection, "SelMode").has_value());
}

TEST(TimeModeDialog, WithoutViewOnlyTheModeIsAsked)
{
    test::FakeSettingsStore settings;
    test::FakeDialogService dialogs;
    dialogs.steps.push_back([](DialogModel&) { return true; });
    EXPECT_FALSE(OpenTimeConverter(dialogs, &settings, nullptr, std::nullopt));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"Zeitmodus"});
    EXPECT_EQ(settings.ReadDword(kTimeConvertSection, "SelMode"), 0u);
}

}  // namespace
}  // namespace qv
