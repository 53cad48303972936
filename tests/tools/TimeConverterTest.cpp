// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeConverter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeTimerService.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/tools/TimeTestSupport.h"

namespace qv {
namespace {

using test::Record;

struct Converter {
    explicit Converter(std::vector<uint8_t> bytes = {}, TimeReadMode mode = TimeReadMode::LastInput,
                       bool local = false)
        : model(&settings, &timers, std::move(bytes), mode)
    {
        settings.WriteDword(kTimeConvertSection, "Mode", local ? 0 : 1);
        model.Open();
    }
    test::FakeSettingsStore settings;
    test::FakeTimerService timers;
    TimeConverterModel model;
};

TEST(TimeConverter, UtcSecondsFromBytes)
{
    Converter c({0x80, 0x43, 0x6D, 0x38}, TimeReadMode::UtcSeconds);
    const auto& m = c.model;
    EXPECT_EQ(m.Source(), TimeField::SecondsDump);
    EXPECT_EQ(m.Text(TimeField::SecondsDump), ":80 43 6D 38 ");
    EXPECT_EQ(m.Text(TimeField::Seconds), "946684800");
    EXPECT_EQ(m.Text(TimeField::Text), "Sa 01.Jan.2000  00:00:00");
    EXPECT_EQ(m.Text(TimeField::Dos), ":00 00 21 28 ");
    EXPECT_EQ(m.Text(TimeField::Ole), "36526.0");
    EXPECT_EQ(m.Text(TimeField::FileTime), "0x1BF53EB256D4000");
    EXPECT_EQ(m.Text(TimeField::FileTimeDump), ":00 40 6D 25 EB 53 BF 01 ");
    EXPECT_EQ(m.Text(TimeField::Timestamp), ":D0 07 01 00 01 00 00 00 00 00 00 00 00 00 00 00 ");
    EXPECT_EQ(m.Text(TimeField::SystemTime), ":D0 07 01 00 06 00 01 00 00 00 00 00 00 00 00 00 ");
    EXPECT_EQ(m.Text(TimeField::OleDump), ":00 00 00 00 C0 D5 E1 40 ");
    for (int i = 0; i < kTimeFieldCount; ++i) EXPECT_TRUE(m.IsValid(static_cast<TimeField>(i))) << i;
}

TEST(TimeConverter, DatabaseDateFromSixBytes)
{
    Converter c({0xD0, 0x07, 0x01, 0x00, 0x01, 0x00, 0x55, 0x66}, TimeReadMode::DbDate);
    EXPECT_EQ(c.model.Source(), TimeField::Timestamp);
    EXPECT_EQ(c.model.Text(TimeField::Timestamp), ":D0 07 01 00 01 00 ");
    EXPECT_EQ(c.model.Hub(), Record(2000, 1, 1));
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000 00:00:00");
    EXPECT_TRUE(c.model.IsValid(TimeField::Timestamp));
}

TEST(TimeConverter, ReadModesPadShortInput)
{
    struct Case {
        TimeReadMode mode;
        TimeField field;
        const char* text;
    };
    const std::vector<uint8_t> bytes = {0x01, 0x02};
    const Case cases[] = {
        {TimeReadMode::Dos, TimeField::Dos, ":01 02 00 00 "},
        {TimeReadMode::Ole, TimeField::OleDump, ":01 02 00 00 00 00 00 00 "},
        {TimeReadMode::FileTime, TimeField::FileTimeDump, ":01 02 00 00 00 00 00 00 "},
        {TimeReadMode::DbTimestamp, TimeField::Timestamp, ":01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "},
        {TimeReadMode::SystemTime, TimeField::SystemTime, ":01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "},
    };
    for (const Case& c : cases) {
        TimeStartInput start = TimeStartFromBytes(c.mode, bytes);
        EXPECT_EQ(start.field, c.field);
        EXPECT_EQ(start.text, c.text);
    }
    TimeStartInput text = TimeStartFromBytes(TimeReadMode::Text, {'1', '.', '1', '.', '2', '0', '0', '0', 0, 'x'});
    EXPECT_EQ(text.field, TimeField::Text);
    EXPECT_EQ(text.text, "1.1.2000");
    EXPECT_EQ(TimeStartFromBytes(TimeReadMode::Text, std::vector<uint8_t>(64, '7')).text.size(), 63u);
}

TEST(TimeConverter, TypedTextInUniversalTime)
{
    Converter c;
    c.model.EditField(TimeField::Text, "1.1.2000 0");
    EXPECT_TRUE(c.model.IsValid(TimeField::Text));
    EXPECT_EQ(c.model.Text(TimeField::Text), "1.1.2000 0");  // the edited field is left as typed
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "946684800");
    EXPECT_EQ(c.model.Text(TimeField::FileTime), "0x1BF53EB256D4000");
}

TEST(TimeConverter, YearBitsOfDosField)
{
    Converter c;
    c.model.EditField(TimeField::Text, "2044-01-01");
    EXPECT_EQ(c.model.Text(TimeField::Dos), ":00 00 21 80 ");
    EXPECT_TRUE(c.model.IsValid(TimeField::Dos));
    EXPECT_FALSE(c.model.IsValid(TimeField::Seconds));  // beyond 2038
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "2147483647");
}

TEST(TimeConverter, PiAsOleDate)
{
    Converter c;
    c.model.EditField(TimeField::Ole, "PI");
    EXPECT_TRUE(c.model.IsValid(TimeField::Ole));
    EXPECT_EQ(c.model.Hub(), Record(1900, 1, 2, 3, 23, 53, 605, 2));
    const std::string& record = c.model.Text(TimeField::SystemTime);
    EXPECT_EQ(record.substr(record.size() - 6), "5D 02 ");
    EXPECT_EQ(c.model.Text(TimeField::Text), "Di 02.Jan.1900 03:23:53.605");
    EXPECT_FALSE(c.model.IsValid(TimeField::Dos));
    EXPECT_EQ(c.model.Text(TimeField::Dos), ":00 00 00 00 ");
}

TEST(TimeConverter, UnreadableTextKeepsTheOtherFieldsOnTheHub)
{
    Converter c;
    c.model.EditField(TimeField::Seconds, "946684800");
    c.model.EditField(TimeField::Text, "Hallo");
    EXPECT_FALSE(c.model.IsValid(TimeField::Text));
    EXPECT_EQ(c.model.ColourOf(TimeField::Text), MakeTimeFieldColours(0xFFFFFF, 0xE1FFFF).invalidSource);
    EXPECT_TRUE(c.model.IsValid(TimeField::Seconds));
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "946684800");
    c.model.EditField(TimeField::Text, "30.2.2000");
    EXPECT_FALSE(c.model.IsValid(TimeField::Text));
    c.model.EditField(TimeField::Text, "1.1.70000");
    EXPECT_FALSE(c.model.IsValid(TimeField::Text));
}

TEST(TimeConverter, FieldValidityRules)
{
    struct Case {
        TimeField field;
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {TimeField::Seconds, "946684800+3600", true},
        {TimeField::Seconds, "12 34", false},
        {TimeField::Seconds, "-1", true},
        {TimeField::SecondsDump, "80 43 6d 38", true},
        {TimeField::SecondsDump, ":80 43 zz", false},
        {TimeField::Dos, ":00 00 21 28", true},
        {TimeField::Dos, ":00 00 00 00", false},  // month 0
        {TimeField::Ole, "36526.5", true},
        {TimeField::Ole, "ACOS 2", false},
        {TimeField::Ole, "1e9", false},
        {TimeField::OleDump, ":00 00 00 00 C0 D5 E1 40", true},
        {TimeField::OleDump, ":FF FF FF FF FF FF FF FF", false},  // not a number
        {TimeField::FileTime, "0x1BF53EB256D4000", true},
        {TimeField::FileTime, "0x8000000000000000", false},
        {TimeField::FileTime, "0x12 x", false},
        {TimeField::FileTimeDump, ":00 40 6D 25 EB 53 BF 01", true},
        {TimeField::Timestamp, ":D0 07 02 00 1E 00", false},  // 30 February
        {TimeField::Timestamp, ":D0 07 02 00 1D 00", true},
        {TimeField::SystemTime, ":FF FF FF FF", true},  // the record itself, whatever it holds
    };
    for (const Case& tc : cases) {
        Converter c;
        c.model.EditField(tc.field, tc.text);
        EXPECT_EQ(c.model.IsValid(tc.field), tc.valid) << tc.text;
        EXPECT_EQ(c.model.IsValid(TimeField::Text), tc.valid) << tc.text;  // the text field follows the source
    }
}

TEST(TimeConverter, FailedFileTimeLeavesZeroRecord)
{
    Converter c;
    c.model.EditField(TimeField::FileTime, "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(c.model.Hub(), CalendarTime{});
    EXPECT_EQ(c.model.Text(TimeField::SystemTime), ":00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ");
}

TEST(TimeConverter, MillisecondFormOfTheTextField)
{
    Converter c;
    c.model.EditField(TimeField::Seconds, "946684800");
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000  00:00:00");
    c.model.EditField(TimeField::FileTime, "0x1BF53EB256D4000");
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000 00:00:00");
    c.model.EditField(TimeField::Ole, "36526.5+250/86400000");
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000 12:00:00.250");
}

TEST(TimeConverter, OwnTextFormsReadBack)
{
    Converter c;
    c.model.EditField(TimeField::Ole, "36526.5+250/86400000");
    std::string shown = c.model.Text(TimeField::Text);
    CalendarTime hub = c.model.Hub();
    c.model.EditField(TimeField::Text, shown);
    EXPECT_TRUE(c.model.IsValid(TimeField::Text));
    EXPECT_EQ(c.model.Hub(), hub);
    c.model.EditField(TimeField::Text, "2000-01-01T12:00:00.250");
    EXPECT_EQ(c.model.Hub(), hub);
}

TEST(TimeConverter, LocalTimeInBerlin)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    Converter c({}, TimeReadMode::LastInput, true);
    ASSERT_TRUE(c.model.IsLocal());
    c.model.EditField(TimeField::Seconds, "946684800");
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000  01:00:00");
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "946684800");
    c.model.EditField(TimeField::Seconds, "962452800");  // summer time
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jul.2000  14:00:00");

    c.model.EditField(TimeField::Text, "1.1.2000 0");
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "946681200");
    c.model.SetLocal(false);  // converts the source field again
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "946684800");
    c.model.SetLocal(true);
    c.model.EditField(TimeField::Text, "1.7.2000 0");
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "962402400");
}

TEST(TimeConverter, ZoneSwitchRewritesTheTextField)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    Converter c;
    c.model.EditField(TimeField::Seconds, "946684800");
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000  00:00:00");
    c.model.SetLocal(true);
    EXPECT_EQ(c.model.Text(TimeField::Text), "Sa 01.Jan.2000  01:00:00");
}

TEST(TimeConverter, NowGoesIntoTheSecondsField)
{
    Converter c;
    c.model.SetNow(946684800);
    EXPECT_EQ(c.model.Source(), TimeField::Seconds);
    EXPECT_EQ(c.model.Text(TimeField::Seconds), "946684800");
    EXPECT_EQ(c.model.Hub(), Record(2000, 1, 1));
    c.model.PressNow();
    EXPECT_GE(c.model.Hub().year, 2024);
}

TEST(TimeConverter, ClosingRemembersSourceAndZone)
{
    Converter c;
    c.model.EditField(TimeField::Ole, "36526.5");
    c.model.Close();
    EXPECT_EQ(c.settings.ReadDword(kTimeConvertSection, "Focus"), static_cast<uint32_t>(TimeField::Ole));
    EXPECT_EQ(c.settings.ReadString(kTimeConvertSection, "Text"), "36526.5");
    EXPECT_EQ(c.settings.ReadDword(kTimeConvertSection, "Mode"), 1u);
    EXPECT_TRUE(c.timers.timers.empty());

    TimeConverterModel again(&c.settings, nullptr, {}, TimeReadMode::LastInput);
    again.Open();
    EXPECT_EQ(again.Source(), TimeField::Ole);
    EXPECT_FALSE(again.IsLocal());
    EXPECT_EQ(again.Text(TimeField::Text), "Sa 01.Jan.2000 12:00:00");
}

TEST(TimeConverter, RememberedFocusOutsideTheFieldsIsNoField)
{
    test::FakeSettingsStore settings;
    settings.WriteDword(kTimeConvertSection, "Focus", 10);
    settings.WriteString(kTimeConvertSection, "Text", "946684800");
    TimeConverterModel model(&settings, nullptr, {}, TimeReadMode::LastInput);
    model.Open();
    EXPECT_FALSE(model.Source().has_value());
    EXPECT_TRUE(model.Text(TimeField::Seconds).empty());
    EXPECT_TRUE(model.IsLocal());  // no "Mode": local time
}

TEST(TimeConverter, BytesOverrideTheRememberedInput)
{
    test::FakeSettingsStore settings;
    settings.WriteDword(kTimeConvertSection, "Focus", 1);
    settings.WriteString(kTimeConvertSection, "Text", "0");
    TimeConverterModel model(&settings, nullptr, {0x80, 0x43, 0x6D, 0x38}, TimeReadMode::UtcSeconds);
    model.Open();
    EXPECT_EQ(model.Source(), TimeField::SecondsDump);
    EXPECT_EQ(model.Text(TimeField::Seconds), "946684800");
}

TEST(TimeConverter, Colours)
{
    TimeFieldColours colours = MakeTimeFieldColours(0xFFFFFF, 0xE1FFFF);
    EXPECT_EQ(colours.normal, 0xFFFFFFu);
    EXPECT_EQ(colours.source, 0xF0FFFFu);
    EXPECT_EQ(colours.invalid, 0xACACFEu);
    EXPECT_EQ(colours.invalidSource, 0xA5ACFEu);
    TimeFieldColours dark = MakeTimeFieldColours(0x000000, 0x202020);
    EXPECT_EQ(dark.source, 0x101010u);
    EXPECT_EQ(dark.invalid, 0x2D2D7Fu);
}

TEST(TimeConverter, ValidityChangesRepaintAfterTwoTicks)
{
    Converter c;
    ASSERT_EQ(c.timers.timers.size(), 1u);
    int timer = c.timers.timers.begin()->first;
    EXPECT_EQ(c.timers.timers.begin()->second.first, kTimeConverterTickMs);
    int due = 0;
    c.model.onRepaintsDue = [&] { ++due; };

    c.model.EditField(TimeField::Ole, "36526.5");
    // Focus moved to the OLE field: repainted at once; no validity changed.
    EXPECT_EQ(c.model.TakeRepaints(), std::vector<TimeField>{TimeField::Ole});
    c.model.EditField(TimeField::Ole, "ACOS 2");
    EXPECT_TRUE(c.model.TakeRepaints().empty());
    c.timers.Fire(timer);
    EXPECT_TRUE(c.model.TakeRepaints().empty());
    EXPECT_EQ(due, 0);
    c.timers.Fire(timer);
    std::vector<TimeField> repainted = c.model.TakeRepaints();
    EXPECT_EQ(due, 1);
    EXPECT_NE(std::find(repainted.begin(), repainted.end(), TimeField::Ole), repainted.end());
    EXPECT_NE(std::find(repainted.begin(), repainted.end(), TimeField::Text), repainted.end());

    c.model.FocusField(TimeField::Dos);
    EXPECT_EQ(c.model.TakeRepaints(), (std::vector<TimeField>{TimeField::Ole, TimeField::Dos}));
    EXPECT_EQ(c.model.ColourOf(TimeField::Ole), MakeTimeFieldColours(0xFFFFFF, 0xE1FFFF).invalid);
}

}  // namespace
}  // namespace qv
