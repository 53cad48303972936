// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeCalendar.h"

#include <gtest/gtest.h>

#include "tests/support/ScopedTimeZone.h"
#include "tests/tools/TimeTestSupport.h"

namespace qv {
namespace {

using test::Record;

TEST(TimeCalendar, DayCountsOfKnownDates)
{
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2000, 1, 1), 10957);
    EXPECT_EQ(DaysFromCivil(1601, 1, 1), -134774);
    EXPECT_EQ(DaysFromCivil(1899, 12, 30), -25569);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);  // 2000 is a leap year
    EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1);  // 1900 is not
    EXPECT_EQ(DaysFromCivil(2000, 1, 32), DaysFromCivil(2000, 2, 1));     // days carry on
    EXPECT_EQ(DaysFromCivil(2000, 13, 1), DaysFromCivil(2001, 1, 1));     // months carry on
}

TEST(TimeCalendar, CivilFromDaysInvertsDaysFromCivil)
{
    for (int64_t days = -700000; days <= 3000000; days += 97) {
        CalendarTime t = CivilFromDays(days);
        ASSERT_EQ(DaysFromCivil(t.year, t.month, t.day), days) << days;
        ASSERT_GE(t.day, 1);
        ASSERT_LE(t.day, DaysInMonth(t.year, t.month));
        ASSERT_EQ(t.dayOfWeek, ((days % 7) + 7 + 4) % 7);
    }
}

TEST(TimeCalendar, Weekdays)
{
    EXPECT_EQ(DayOfWeek(1970, 1, 1), 4);  // Thursday
    EXPECT_EQ(DayOfWeek(2000, 1, 1), 6);  // Saturday
    EXPECT_EQ(DayOfWeek(1900, 1, 2), 2);  // Tuesday
    EXPECT_EQ(DayOfWeek(1601, 1, 1), 1);  // Monday
    EXPECT_EQ(DayOfWeek(1969, 12, 31), 3);
}

TEST(TimeCalendar, MonthLengths)
{
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonthSimple(1900, 2), 29);
    EXPECT_EQ(DaysInMonthSimple(2001, 2), 28);
    EXPECT_EQ(DaysInMonth(2001, 4), 30);
    EXPECT_EQ(DaysInMonth(2001, 13), 0);
    EXPECT_EQ(DaysInMonthSimple(2001, 0), 0);
}

TEST(TimeCalendar, RecordBytesAreLittleEndianFields)
{
    CalendarTime t = Record(2000, 1, 1, 3, 4, 5, 605);
    auto bytes = t.ToBytes();
    const uint8_t expected[16] = {0xD0, 0x07, 1, 0, 6, 0, 1, 0, 3, 0, 4, 0, 5, 0, 0x5D, 0x02};
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;
    EXPECT_EQ(CalendarTime::FromBytes(bytes.data(), 16), t);
    CalendarTime shortRecord = CalendarTime::FromBytes(expected, 3);  // missing bytes are 0
    EXPECT_EQ(shortRecord.year, 2000);
    EXPECT_EQ(shortRecord.month, 1);
    EXPECT_EQ(shortRecord.day, 0);
}

TEST(TimeCalendar, FileTimes)
{
    CalendarTime t;
    ASSERT_TRUE(FileTimeToCalendar(125911584000000000, t));
    EXPECT_EQ(t, Record(2000, 1, 1));
    ASSERT_TRUE(FileTimeToCalendar(0, t));
    EXPECT_EQ(t, Record(1601, 1, 1));
    ASSERT_TRUE(FileTimeToCalendar(0x7FFFFFFFFFFFFFFF, t));
    EXPECT_EQ(t.year, 30828);
    EXPECT_EQ(t.month, 9);
    EXPECT_EQ(t.day, 14);
    EXPECT_EQ(t.hour, 2);
    EXPECT_EQ(t.minute, 48);
    EXPECT_EQ(t.second, 5);
    EXPECT_EQ(t.milliseconds, 477);
    EXPECT_FALSE(FileTimeToCalendar(0x8000000000000000, t));
    EXPECT_EQ(t, CalendarTime{});

    uint64_t fileTime = 1;
    ASSERT_TRUE(CalendarToFileTime(Record(2000, 1, 1, 0, 0, 0, 1), fileTime));
    EXPECT_EQ(fileTime, 125911584000010000u);
}

TEST(TimeCalendar, FileTimeRefusesImpossibleRecords)
{
    const CalendarTime refused[] = {
        Record(1900, 2, 29), Record(1600, 12, 31), Record(30828, 1, 1), Record(2000, 0, 1), Record(2000, 4, 31),
        Record(2000, 1, 1, 24), Record(2000, 1, 1, 0, 60), Record(2000, 1, 1, 0, 0, 60), Record(2000, 1, 1, 0, 0, 0, 1000),
    };
    for (const CalendarTime& t : refused) {
        uint64_t fileTime = 99;
        EXPECT_FALSE(CalendarToFileTime(t, fileTime)) << testing::PrintToString(t);
        EXPECT_EQ(fileTime, 0u);
    }
}

TEST(TimeCalendar, FileTimeRoundTrip)
{
    for (uint64_t fileTime = 0; fileTime < 0x7FFF000000000000; fileTime += 0x0123456789ABCDE0 / 7) {
        CalendarTime t;
        ASSERT_TRUE(FileTimeToCalendar(fileTime, t));
        uint64_t back = 0;
        ASSERT_TRUE(CalendarToFileTime(t, back));
        EXPECT_EQ(back, fileTime / 10000 * 10000);  // below a millisecond is not kept
    }
}

TEST(TimeCalendar, PlatformOleDates)
{
    CalendarTime t;
    ASSERT_TRUE(PlatformOleToCalendar(0.0, t));
    EXPECT_EQ(t, Record(1899, 12, 30));
    ASSERT_TRUE(PlatformOleToCalendar(-1.25, t));  // the fraction counts forward within the day
    EXPECT_EQ(t, Record(1899, 12, 29, 6));
    ASSERT_TRUE(PlatformOleToCalendar(36526.5 + 0.4 / 86400, t));  // to the nearest second
    EXPECT_EQ(t, Record(2000, 1, 1, 12));
    EXPECT_FALSE(PlatformOleToCalendar(-657435.5, t));
    EXPECT_FALSE(PlatformOleToCalendar(2958466.0, t));

    double ole = 1;
    ASSERT_TRUE(PlatformCalendarToOle(Record(1899, 12, 29, 6), ole));
    EXPECT_DOUBLE_EQ(ole, -1.25);
    EXPECT_FALSE(PlatformCalendarToOle(Record(99, 12, 31), ole));
    EXPECT_FALSE(PlatformCalendarToOle(Record(2001, 2, 29), ole));
}

TEST(TimeCalendar, BerlinLocalTimeFollowsDaylightSaving)
{
    test::ScopedTimeZone zone("Europe/Berlin");
    struct Case {
        CalendarTime universal;
        CalendarTime local;
    };
    const Case cases[] = {
        {Record(2000, 1, 1, 12, 0, 0, 250), Record(2000, 1, 1, 13, 0, 0, 250)},
        {Record(2000, 7, 1, 12), Record(2000, 7, 1, 14)},
        {Record(1999, 12, 31, 23, 30), Record(2000, 1, 1, 0, 30)},
        {Record(2021, 3, 28, 0, 59), Record(2021, 3, 28, 1, 59)},
        {Record(2021, 3, 28, 1, 0), Record(2021, 3, 28, 3, 0)},
    };
    for (const Case& c : cases) {
        CalendarTime local, universal;
        ASSERT_TRUE(UniversalToLocal(c.universal, local));
        EXPECT_EQ(local, c.local) << testing::PrintToString(c.universal);
        ASSERT_TRUE(LocalToUniversal(c.local, universal));
        EXPECT_EQ(universal, c.universal) << testing::PrintToString(c.local);
    }
    CalendarTime out;
    EXPECT_FALSE(UniversalToLocal(Record(2000, 2, 30), out));
    EXPECT_FALSE(LocalToUniversal(Record(2000, 1, 1, 0, 0, 0, 1000), out));
}

TEST(TimeCalendar, UniversalZoneIsIdentity)
{
    test::ScopedTimeZone zone("UTC0");
    CalendarTime local;
    ASSERT_TRUE(UniversalToLocal(Record(2000, 7, 1, 12, 1, 2, 3), local));
    EXPECT_EQ(local, Record(2000, 7, 1, 12, 1, 2, 3));
}

}  // namespace
}  // namespace qv
