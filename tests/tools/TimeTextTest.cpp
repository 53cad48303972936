// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeText.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedTimeZone.h"
#include "tests/tools/TimeTestSupport.h"

namespace qv {
namespace {

using test::Record;

TEST(TimeText, ConverterForms)
{
    EXPECT_EQ(FormatCalendarText(Record(2000, 1, 1, 12), kTextConverterForm), "Sa 01.Jan.2000  12:00:00");
    EXPECT_EQ(FormatCalendarText(Record(2000, 1, 1, 12, 0, 0, 250), kTextConverterFormMs),
              "Sa 01.Jan.2000 12:00:00.250");
    EXPECT_EQ(FormatCalendarText(Record(2000, 1, 1, 12), kTextConverterFormMs), "Sa 01.Jan.2000 12:00:00");
    EXPECT_EQ(FormatCalendarText(Record(2000, 1, 1, 12, 0, 0, 250), kTextConverterForm), "Sa 01.Jan.2000  12:00:00");
}

TEST(TimeText, EveryOption)
{
    const CalendarTime t = Record(2009, 3, 7, 8, 9, 10, 11);  // a Saturday
    struct Case {
        uint32_t options;
        const char* text;
    };
    const Case cases[] = {
        {0x10, "07.03."},
        {0x10 | 0x40, "07.03.09"},
        {0x20, "07.03.2009"},
        {0x20 | 0x40, "07.03.2009"},
        {0x20 | 0x80, "07.Mar.2009"},
        {0x10 | 0x80, "07.Mar."},
        {0x20 | 0x100, "2009-03-07"},
        {0x10 | 0x40 | 0x100, "09-03-07"},
        {0x10 | 0x100, "03-07"},
        {0x20 | 0x100 | 0x80, "2009-Mar-07"},
        {0x4, "08:09"},
        {0x8, "08:09:10"},
        {0x8 | 0x1, "08:09:10.011"},
        {0x4 | 0x1, "08:09.011"},
        {0x8 | 0x200, "08:09:10.011"},
        {0x2, "Sa "},
        {0x2 | 0x8, "Sa 08:09:10"},
        {0x20 | 0x4, "07.03.2009  08:09"},
        {0x20 | 0x4 | 0x200, "07.03.2009 08:09.011"},
        {0x20 | 0x100 | 0x8 | 0x200 | 0x1, "2009-03-07 08:09:10.011"},
        {0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatCalendarText(t, c.options), c.text) << std::hex << c.options;
}

TEST(TimeText, MillisecondsOnlyWhenNotZeroUnderCompact)
{
    const CalendarTime t = Record(2009, 3, 7, 8, 9, 10, 0);
    EXPECT_EQ(FormatCalendarText(t, 0x8 | 0x1), "08:09:10.000");
    EXPECT_EQ(FormatCalendarText(t, 0x8 | 0x1 | 0x200), "08:09:10");
}

TEST(TimeText, OutOfRangeNames)
{
    EXPECT_EQ(FormatCalendarText(Record(2000, 13, 1, 0, 0, 0, 0, 7), 0x2 | 0x20 | 0x80), "?? 01.???.2000");
    EXPECT_EQ(FormatCalendarText(Record(2000, 0, 1, 0, 0, 0, 0, 9), 0x2 | 0x20 | 0x80 | 0x100), "?? 2000-??" "?-01");
    EXPECT_EQ(FormatCalendarText(Record(2000, 12, 1, 0, 0, 0, 0, 0), 0x2 | 0x20 | 0x80), "So 01.Dec.2000");
}

TEST(TimeText, ZoneConversionBeforeWriting)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    EXPECT_EQ(FormatCalendarText(Record(2000, 7, 1, 12), kTextConverterForm | kTextToLocal), "Sa 01.Jul.2000  14:00:00");
    EXPECT_EQ(FormatCalendarText(Record(2000, 1, 1, 0, 30), kTextConverterForm | kTextToLocal),
              "Sa 01.Jan.2000  01:30:00");
    EXPECT_EQ(FormatCalendarText(Record(2000, 1, 1, 0, 30), kTextConverterForm | kTextFromLocal),
              "Fr 31.Dec.1999  23:30:00");
}

}  // namespace
}  // namespace qv
