// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeFormats.h"

#include <cmath>

namespace qv {
namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kMillisecondsPerDay = 86400000;

// The field checks shared by the DOS and database formats (February 29 in every year
// divisible by 4).
bool FieldsInRange(int year, unsigned month, unsigned day, unsigned hour, unsigned minute, unsigned second)
{
    return second < 60 && minute < 60 && hour < 24 && month >= 1 && month <= 12 && day >= 1 &&
           day <= static_cast<unsigned>(DaysInMonthSimple(year, static_cast<int>(month)));
}

uint16_t Low16(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }

}  // namespace

std::array<uint8_t, 16> DbTimestamp::ToBytes() const
{
    const uint16_t words[6] = {static_cast<uint16_t>(year), month, day, hour, minute, second};
    std::array<uint8_t, 16> bytes{};
    for (size_t i = 0; i < 6; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(words[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
    }
    for (size_t i = 0; i < 4; ++i) bytes[12 + i] = static_cast<uint8_t>(fraction >> (8 * i));
    return bytes;
}

DbTimestamp DbTimestamp::FromBytes(const uint8_t* bytes, size_t count)
{
    uint8_t all[16] = {};
    for (size_t i = 0; i < 16 && i < count; ++i) all[i] = bytes[i];
    auto word = [&](size_t i) { return static_cast<uint16_t>(all[2 * i] | all[2 * i + 1] << 8); };
    DbTimestamp stamp;
    stamp.year = static_cast<int16_t>(word(0));
    stamp.month = word(1);
    stamp.day = word(2);
    stamp.hour = word(3);
    stamp.minute = word(4);
    stamp.second = word(5);
    stamp.fraction = static_cast<uint32_t>(all[12] | all[13] << 8 | all[14] << 16) | uint32_t{all[15]} << 24;
    return stamp;
}

bool SecondsToCalendar(int32_t seconds, CalendarTime& time)
{
    uint64_t fileTime = static_cast<uint64_t>(kUnixEpochAsFileTime + int64_t{seconds} * kTicksPerSecond);
    return FileTimeToCalendar(fileTime, time);
}

bool CalendarToSeconds(const CalendarTime& time, uint32_t& seconds)
{
    seconds = 0;
    uint64_t fileTime = 0;
    if (!CalendarToFileTime(time, fileTime)) return false;
    int64_t difference = static_cast<int64_t>(fileTime) - kUnixEpochAsFileTime;
    if (difference < 0) return false;
    int64_t quotient = difference / kTicksPerSecond;
    if (quotient > 2147483647) {
        seconds = 2147483647;
        return false;
    }
    seconds = static_cast<uint32_t>(quotient);
    return true;
}

bool DosToCalendar(uint32_t dosDateTime, CalendarTime& time)
{
    uint32_t timeWord = dosDateTime & 0xFFFF;
    uint32_t dateWord = dosDateTime >> 16;
    time = {};
    time.second = static_cast<uint16_t>((timeWord & 0x1F) * 2);
    time.minute = static_cast<uint16_t>((timeWord >> 5) & 0x3F);
    time.hour = static_cast<uint16_t>(timeWord >> 11);
    time.day = static_cast<uint16_t>(dateWord & 0x1F);
    time.month = static_cast<uint16_t>((dateWord >> 5) & 0x0F);
    time.year = static_cast<uint16_t>((dateWord >> 9) + 1980);
    time.dayOfWeek = DayOfWeek(time.year, time.month, time.day);
    return FieldsInRange(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

bool CalendarToDos(const CalendarTime& time, uint32_t& dosDateTime)
{
    dosDateTime = 0;
    if (time.year < 1980 || time.year > 2107) return false;
    uint16_t dateWord = Low16((time.year - 1980u) * 512u + time.month * 32u + time.day);
    uint16_t timeWord = Low16(time.hour * 2048u + time.minute * 32u + time.second / 2u);
    dosDateTime = uint32_t{dateWord} << 16 | timeWord;
    // The record's own fields decide, so that a field too wide for its bits is not
    // mistaken for a valid neighbour after encoding.
    return FieldsInRange(time.year, time.month, time.day, time.hour, time.minute, time.second);
}

bool OleToCalendar(double oleDate, CalendarTime& time)
{
    time = {};
    if (!std::isfinite(oleDate)) return false;
    double day = std::trunc(oleDate);
    // The time of day in milliseconds; the 0.3 ms margin keeps exact values from rounding
    // down, and a carry into the next day is passed on instead of giving 1000 ms.
    double millisecondOfDay = std::floor(std::fabs(oleDate - day) * kMillisecondsPerDay + 0.3);
    if (millisecondOfDay >= kMillisecondsPerDay) {
        millisecondOfDay -= kMillisecondsPerDay;
        day += 1;
    }
    double wholeSeconds = std::floor(millisecondOfDay / 1000);
    double secondsFraction = wholeSeconds / 86400;
    if (!PlatformOleToCalendar(day < 0 ? day - secondsFraction : day + secondsFraction, time)) return false;
    time.milliseconds = static_cast<uint16_t>(millisecondOfDay - wholeSeconds * 1000);
    return true;
}

bool CalendarToOle(const CalendarTime& time, double& oleDate)
{
    oleDate = 0.0;
    if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.minute >= 60 ||
        time.second >= 60 || time.hour > 23)
        return false;
    if (!PlatformCalendarToOle(time, oleDate)) return false;
    if (time.milliseconds < 1000) {
        double fraction = time.milliseconds / static_cast<double>(kMillisecondsPerDay);
        oleDate += oleDate < 0 ? -fraction : fraction;
    }
    return true;
}

bool TimestampToCalendar(const DbTimestamp& stamp, CalendarTime& time)
{
    time = {};
    time.year = static_cast<uint16_t>(stamp.year);
    time.month = stamp.month;
    time.day = stamp.day;
    time.hour = stamp.hour;
    time.minute = stamp.minute;
    time.second = stamp.second;
    time.milliseconds = static_cast<uint16_t>(stamp.fraction / 1000000);
    time.dayOfWeek = DayOfWeek(stamp.year, stamp.month, stamp.day);
    return time.milliseconds < 1000 &&
           FieldsInRange(stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute, stamp.second);
}

bool CalendarToTimestamp(const CalendarTime& time, DbTimestamp& stamp)
{
    stamp.year = static_cast<int16_t>(time.year);
    stamp.month = time.month;
    stamp.day = time.day;
    stamp.hour = time.hour;
    stamp.minute = time.minute;
    stamp.second = time.second;
    stamp.fraction = static_cast<uint32_t>(time.milliseconds * 1000000u);
    return time.milliseconds < 1000 &&
           FieldsInRange(stamp.year, time.month, time.day, time.hour, time.minute, time.second);
}

}  // namespace qv
