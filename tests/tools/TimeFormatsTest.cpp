// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeFormats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/tools/TimeTestSupport.h"

namespace qv {
namespace {

using test::Record;

TEST(TimeFormats, SecondsToCalendar)
{
    struct Case {
        int32_t seconds;
        CalendarTime expected;
    };
    const Case cases[] = {
        {0, Record(1970, 1, 1, 0, 0, 0, 0, 4)},
        {-1, Record(1969, 12, 31, 23, 59, 59)},
        {946684800, Record(2000, 1, 1)},
        {INT32_MIN, Record(1901, 12, 13, 20, 45, 52)},
        {INT32_MAX, Record(2038, 1, 19, 3, 14, 7)},
    };
    for (const Case& c : cases) {
        CalendarTime t;
        EXPECT_TRUE(SecondsToCalendar(c.seconds, t));
        EXPECT_EQ(t, c.expected) << c.seconds;
    }
}

TEST(TimeFormats, CalendarToSecondsClampsOutsideItsRange)
{
    uint32_t seconds = 7;
    EXPECT_FALSE(CalendarToSeconds(Record(1969, 12, 31), seconds));
    EXPECT_EQ(seconds, 0u);
    EXPECT_FALSE(CalendarToSeconds(Record(2038, 1, 19, 3, 14, 8), seconds));
    EXPECT_EQ(seconds, 2147483647u);
    EXPECT_TRUE(CalendarToSeconds(Record(2038, 1, 19, 3, 14, 7), seconds));
    EXPECT_EQ(seconds, 2147483647u);
    EXPECT_TRUE(CalendarToSeconds(Record(2000, 1, 1, 0, 0, 0, 999), seconds));
    EXPECT_EQ(seconds, 946684800u);
    EXPECT_FALSE(CalendarToSeconds(Record(2001, 2, 29), seconds));
    EXPECT_EQ(seconds, 0u);
}

TEST(TimeFormats, DosDateTime)
{
    CalendarTime t;
    ASSERT_TRUE(DosToCalendar(0x28210000, t));
    EXPECT_EQ(t, Record(2000, 1, 1));
    ASSERT_TRUE(DosToCalendar(0x28217BBD, t));  // 15:29:58
    EXPECT_EQ(t, Record(2000, 1, 1, 15, 29, 58));

    const uint32_t refused[] = {
        0x2821001E,          // 60 seconds
        0x28210780,          // 60 minutes
        0x2821C000,          // hour 24
        0x28010000,          // month 0
        0x29A10000,          // month 13
        0x28200000,          // day 0
        0x285E0000,          // 30 February 2000
    };
    for (uint32_t dos : refused) EXPECT_FALSE(DosToCalendar(dos, t)) << std::hex << dos;
    EXPECT_TRUE(DosToCalendar(0xF05D0000, t));  // 29 February 2100: every fourth year is accepted
    EXPECT_EQ(t.year, 2100);
}

TEST(TimeFormats, CalendarToDos)
{
    uint32_t dos = 0;
    ASSERT_TRUE(CalendarToDos(Record(2044, 1, 1), dos));
    EXPECT_EQ(dos >> 25, 64u);
    ASSERT_TRUE(CalendarToDos(Record(2000, 1, 1, 15, 29, 59), dos));  // an odd second loses one
    EXPECT_EQ(dos, 0x28217BBDu);
    EXPECT_TRUE(CalendarToDos(Record(2107, 12, 31, 23, 59, 58), dos));
    EXPECT_EQ(dos >> 25, 127u);

    EXPECT_FALSE(CalendarToDos(Record(1979, 12, 31), dos));
    EXPECT_EQ(dos, 0u);
    EXPECT_FALSE(CalendarToDos(Record(2108, 1, 1), dos));
    EXPECT_EQ(dos, 0u);
    // Written even when invalid.
    EXPECT_FALSE(CalendarToDos(Record(2000, 1, 1, 24), dos));
    EXPECT_EQ(dos, 0x2821C000u);
    EXPECT_FALSE(CalendarToDos(Record(2000, 1, 1, 0, 64), dos));
}

TEST(TimeFormats, OleDates)
{
    CalendarTime t;
    ASSERT_TRUE(OleToCalendar(36526.5, t));
    EXPECT_EQ(t, Record(2000, 1, 1, 12));
    ASSERT_TRUE(OleToCalendar(0.0, t));
    EXPECT_EQ(t, Record(1899, 12, 30));
    ASSERT_TRUE(OleToCalendar(std::numbers::pi, t));
    EXPECT_EQ(t, Record(1900, 1, 2, 3, 23, 53, 605, 2));
    ASSERT_TRUE(OleToCalendar(-1.25 - 0.5 / 86400000, t));  // negative: the time still counts forward
    EXPECT_EQ(t, Record(1899, 12, 29, 6, 0, 0, 0));
    ASSERT_TRUE(OleToCalendar(-1.25 - 500.0 / 86400000, t));
    EXPECT_EQ(t, Record(1899, 12, 29, 6, 0, 0, 500));
    ASSERT_TRUE(OleToCalendar(36526.9999999999, t));  // no 1000 ms: the carry reaches the next day
    EXPECT_EQ(t, Record(2000, 1, 2));

    EXPECT_FALSE(OleToCalendar(NAN, t));
    EXPECT_EQ(t, CalendarTime{});
    EXPECT_FALSE(OleToCalendar(1e9, t));
    EXPECT_EQ(t, CalendarTime{});
}

TEST(TimeFormats, CalendarToOle)
{
    double ole = 1;
    ASSERT_TRUE(CalendarToOle(Record(2000, 1, 1, 12, 0, 0, 250), ole));
    EXPECT_DOUBLE_EQ(ole, 36526.5 + 250.0 / 86400000);
    ASSERT_TRUE(CalendarToOle(Record(1899, 12, 29, 6, 0, 0, 500), ole));
    EXPECT_DOUBLE_EQ(ole, -1.25 - 500.0 / 86400000);

    const CalendarTime refused[] = {Record(2000, 13, 1), Record(2000, 1, 0), Record(2000, 1, 32),
                                    Record(2000, 1, 1, 24), Record(2000, 1, 1, 0, 60), Record(2000, 1, 1, 0, 0, 60),
                                    Record(10000, 1, 1)};
    for (const CalendarTime& t : refused) {
        ole = 1;
        EXPECT_FALSE(CalendarToOle(t, ole)) << testing::PrintToString(t);
        EXPECT_EQ(ole, 0.0);
    }
}

TEST(TimeFormats, OleRoundTripKeepsEveryMillisecond)
{
    for (int ms = 0; ms < 86400000; ms += 86400000 / 997 + 13) {
        for (int day : {-700, 0, 36526, 2958000}) {
            CalendarTime t = CivilFromDays(day - 25569);
            t.hour = static_cast<uint16_t>(ms / 3600000);
            t.minute = static_cast<uint16_t>(ms / 60000 % 60);
            t.second = static_cast<uint16_t>(ms / 1000 % 60);
            t.milliseconds = static_cast<uint16_t>(ms % 1000);
            double ole = 0;
            ASSERT_TRUE(CalendarToOle(t, ole));
            CalendarTime back;
            ASSERT_TRUE(OleToCalendar(ole, back));
            ASSERT_EQ(back, t) << ole;
        }
    }
}

TEST(TimeFormats, DatabaseDates)
{
    struct Case {
        int year, month, day;
        bool valid;
    };
    const Case cases[] = {{2000, 2, 30, false}, {2000, 2, 29, true}, {1900, 2, 29, true}, {2001, 2, 29, false},
                          {2000, 0, 1, false},  {2000, 13, 1, false}, {2000, 1, 0, false}, {2000, 12, 31, true}};
    for (const Case& c : cases) {
        DbTimestamp stamp;
        stamp.year = static_cast<int16_t>(c.year);
        stamp.month = static_cast<uint16_t>(c.month);
        stamp.day = static_cast<uint16_t>(c.day);
        CalendarTime t;
        EXPECT_EQ(TimestampToCalendar(stamp, t), c.valid) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(TimeFormats, DatabaseTimestampFraction)
{
    DbTimestamp stamp;
    stamp.year = 2000;
    stamp.month = 1;
    stamp.day = 1;
    stamp.fraction = 999999999;
    CalendarTime t;
    ASSERT_TRUE(TimestampToCalendar(stamp, t));
    EXPECT_EQ(t, Record(2000, 1, 1, 0, 0, 0, 999));
    stamp.fraction = 1000000000;
    EXPECT_FALSE(TimestampToCalendar(stamp, t));
    stamp.fraction = 0;
    stamp.hour = 24;
    EXPECT_FALSE(TimestampToCalendar(stamp, t));

    DbTimestamp out;
    ASSERT_TRUE(CalendarToTimestamp(Record(2000, 1, 1, 3, 4, 5, 250), out));
    EXPECT_EQ(out.fraction, 250000000u);
    EXPECT_EQ(out.second, 5);
    EXPECT_FALSE(CalendarToTimestamp(Record(2000, 1, 1, 0, 0, 0, 1000), out));
    EXPECT_FALSE(CalendarToTimestamp(Record(2000, 2, 30), out));
}

TEST(TimeFormats, DatabaseDateBytes)
{
    const uint8_t bytes[6] = {0xD0, 0x07, 0x01, 0x00, 0x01, 0x00};
    DbTimestamp stamp = DbTimestamp::FromBytes(bytes, 6);
    EXPECT_EQ(stamp.year, 2000);
    EXPECT_EQ(stamp.hour, 0);
    EXPECT_EQ(stamp.fraction, 0u);
    CalendarTime t;
    ASSERT_TRUE(TimestampToCalendar(stamp, t));
    EXPECT_EQ(t, Record(2000, 1, 1));

    stamp.fraction = 0x12345678;
    auto all = stamp.ToBytes();
    EXPECT_EQ(all[12], 0x78);
    EXPECT_EQ(all[15], 0x12);
    EXPECT_EQ(DbTimestamp::FromBytes(all.data(), 16).fraction, 0x12345678u);
}

}  // namespace
}  // namespace qv
