// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeParse.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

constexpr uint32_t kDate = kFoundYear | kFoundMonth | kFoundDay;
constexpr uint32_t kTime = kFoundHour | kFoundMinute | kFoundSecond;

struct Expected {
    const char* text;
    uint32_t found;
    uint64_t year, month, day;
    unsigned hour, minute, second;
    uint32_t fraction;
};

TEST(TimeParse, Forms)
{
    const Expected cases[] = {
        {"1.1.2000 0", kDate | kFoundHour, 2000, 1, 1, 0, 0, 0, 0},
        {"2000-01-31T12:34:56.5", kDate | kTime | kFoundFraction, 2000, 1, 31, 12, 34, 56, 500000000},
        {"12/31/2000", kDate, 2000, 12, 31, 0, 0, 0, 0},
        {"Sa 01.Jan.2000  12:00:00", kDate | kTime, 2000, 1, 1, 12, 0, 0, 0},
        {"Sa 01.Jan.2000 12:00:00.250", kDate | kTime | kFoundFraction, 2000, 1, 1, 12, 0, 0, 250000000},
        {"  \t31.12.1999 23:59:59,1234567891", kDate | kTime | kFoundFraction, 1999, 12, 31, 23, 59, 59, 123456789},
        {"2044-01-01", kDate, 2044, 1, 1, 0, 0, 0, 0},
        {"2000-Jan-05", kDate, 2000, 1, 5, 0, 0, 0, 0},
        {"5. M\xE4rz 2021", kDate, 2021, 3, 5, 0, 0, 0, 0},
        {"December 24, 1999", kDate, 1999, 12, 24, 0, 0, 0, 0},
        {"1.1.99", kDate, 1999, 1, 1, 0, 0, 0, 0},
        {"1.1.29", kDate, 2029, 1, 1, 0, 0, 0, 0},
        {"1.1.30", kDate, 1930, 1, 1, 0, 0, 0, 0},
        {"24.12. 18:30:15", kFoundMonth | kFoundDay | kTime, 0, 12, 24, 18, 30, 15, 0},
        {"24.12.", kFoundMonth | kFoundDay, 0, 12, 24, 0, 0, 0, 0},
        {"2000-05", kFoundYear | kFoundMonth, 2000, 5, 0, 0, 0, 0, 0},
        {"5/2000", kFoundYear | kFoundMonth, 2000, 5, 0, 0, 0, 0, 0},
        {"2000", kFoundYear, 2000, 0, 0, 0, 0, 0, 0},
        {"Okt", kFoundMonth, 0, 10, 0, 0, 0, 0, 0},
        {"1.1.2000 1230", kDate | kFoundHour | kFoundMinute, 2000, 1, 1, 12, 30, 0, 0},
        {"1.1.2000 123456", kDate | kTime, 2000, 1, 1, 12, 34, 56, 0},
        {"1.1.2000 25:61:62", kDate | kTime, 2000, 1, 1, 1, 1, 2, 0},
        {"1.1.2000 1:30 PM", kDate | kFoundHour | kFoundMinute, 2000, 1, 1, 13, 30, 0, 0},
        {"1.1.2000 12:30 pm", kDate | kFoundHour | kFoundMinute, 2000, 1, 1, 12, 30, 0, 0},
        {"12:34:56", kTime, 0, 0, 0, 12, 34, 56, 0},
        {"12:34 3.4.2005", kFoundHour | kFoundMinute | kDate, 2005, 4, 3, 12, 34, 0, 0},
        {"1.1.2000 12.30", kDate | kFoundHour | kFoundMinute, 2000, 1, 1, 12, 30, 0, 0},
        {"", 0, 0, 0, 0, 0, 0, 0, 0},
        {"Hallo", 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Expected& c : cases) {
        ParsedTime p = ParseTimeText(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(p.found & ~kFoundZone, c.found);
        EXPECT_EQ(p.year, c.year);
        EXPECT_EQ(p.month, c.month);
        EXPECT_EQ(p.day, c.day);
        EXPECT_EQ(p.hour, c.hour);
        EXPECT_EQ(p.minute, c.minute);
        EXPECT_EQ(p.second, c.second);
        EXPECT_EQ(p.fraction, c.fraction);
    }
}

TEST(TimeParse, ZoneNamesAndOffsets)
{
    struct Case {
        const char* text;
        bool zone;
        int minutes;
    };
    const Case cases[] = {
        {"1.1.2000 12:00 MEZ", true, 60},
        {"1.1.2000 12:00 MESZ", true, 120},
        {"2000-01-01T12:00:00Z", true, 0},
        {"1.1.2000 12:00 ACWST", true, 525},
        {"1.1.2000 12:00 utc", true, 0},
        {"1.1.2000 12:00:00+0130", true, 90},
        {"1.1.2000 12:00:00-05:00", true, -300},
        {"1.1.2000 12:00", false, 0},
        {"Z 1.1.2000", false, 0},  // a "Z" before any time is no zone
        {"1.1.2000 12:00 XYZ", false, 0},
    };
    for (const Case& c : cases) {
        ParsedTime p = ParseTimeText(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ((p.found & kFoundZone) != 0, c.zone);
        if (c.zone) {
            EXPECT_EQ(p.zoneMinutes, c.minutes);
        }
        EXPECT_EQ(p.found & kDate, kDate);
    }
    ParsedTime withOffset = ParseTimeText("1.1.2000 12:00:00+0130");
    EXPECT_EQ(withOffset.second, 0u);  // the offset is not taken for a time field
    EXPECT_EQ(withOffset.hour, 12u);
}

TEST(TimeParse, MonthWordsMustSingleOutAMonth)
{
    EXPECT_EQ(ParseTimeText("Ju 2000").found & kFoundMonth, 0u);  // June or July
    EXPECT_EQ(ParseTimeText("M 2000").found & kFoundMonth, 0u);
    EXPECT_EQ(ParseTimeText("Sep 2000").month, 9u);
    EXPECT_EQ(ParseTimeText("S 2000").month, 9u);
    EXPECT_EQ(ParseTimeText("Mai 2000").month, 5u);
    EXPECT_EQ(ParseTimeText("may 2000").month, 5u);
    EXPECT_EQ(ParseTimeText("Dez 2000").month, 12u);
    EXPECT_EQ(ParseTimeText("Dec 2000").month, 12u);
    // Day names in front are dropped, whatever their language.
    for (const char* day : {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa", "Sun", "Tue", "Wed", "Thu", "Sat"}) {
        ParsedTime p = ParseTimeText(std::string(day) + " 02.03.2004");
        EXPECT_EQ(p.month, 3u) << day;
        EXPECT_EQ(p.day, 2u) << day;
    }
}

TEST(TimeParse, SurvivesHostileText)
{
    const std::string texts[] = {
        std::string(5000, '9'), std::string(300, ':'), "99999999999999999999999.1.1", "1.1.2000 12:00:00." + std::string(40, '7'),
        std::string("1.1\0.2000", 9), "\xFF\xFE\x80 1", "T T T 1-1-1T1", "+-+-+-1", "PM PM PM 13:00",
    };
    for (const std::string& text : texts) {
        ParsedTime p = ParseTimeText(text);
        EXPECT_LT(p.hour, 24u) << text;
        EXPECT_LT(p.minute, 60u);
        EXPECT_LT(p.second, 60u);
        EXPECT_LT(p.fraction, 1000000000u);
    }
    EXPECT_EQ(ParseTimeText(std::string(5000, '9')).year, UINT64_MAX);
    EXPECT_EQ(ParseTimeText(std::string("1.1\0.2000", 9)).found, kFoundDay | kFoundMonth);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Random texts from the characters the reader reacts to: the result always stays in range.
TEST(TimeParse, RandomTextsStayInRange)
{
    const std::string alphabet = "0123456789 .:-/,+TZPMJanDezMaiOctSa\t\xC4\xE4#";
    uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245 + 12345;
        return seed >> 16;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text(next() % 40, ' ');
        for (char& c : text) c = alphabet[next() % alphabet.size()];
        ParsedTime p = ParseTimeText(text);
        ASSERT_LT(p.hour, 24u) << text;
        ASSERT_LT(p.minute, 60u) << text;
        ASSERT_LT(p.second, 60u) << text;
        ASSERT_LT(p.fraction, 1000000000u) << text;
        if (p.found & kFoundMonth) {
            ASSERT_TRUE(p.month <= 12 || (p.found & kFoundDay)) << text;  // a month name is 1..12
        }
    }
}

}  // namespace
}  // namespace qv
