// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeCalendar.h"

#include <cerrno>
#include <cmath>
#include <ctime>

namespace qv {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kDaysFrom1601To1970 = 134774;
constexpr int64_t kDaysFrom1899To1970 = 25569;  // the OLE epoch 30.12.1899
constexpr uint64_t kFileTimeLimit = uint64_t{1} << 63;
constexpr int64_t kTicksPerMillisecond = 10000;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The record of a count of seconds since 1970 (any sign), milliseconds 0.
CalendarTime CalendarFromSeconds(int64_t seconds)
{
    int64_t days = FloorDiv(seconds, kSecondsPerDay);
    int64_t secondOfDay = seconds - days * kSecondsPerDay;
    CalendarTime time = CivilFromDays(days);
    time.hour = static_cast<uint16_t>(secondOfDay / 3600);
    time.minute = static_cast<uint16_t>(secondOfDay / 60 % 60);
    time.second = static_cast<uint16_t>(secondOfDay % 60);
    return time;
}

int64_t SecondsFromCalendar(const CalendarTime& time)
{
    return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + time.hour * 3600 + time.minute * 60 +
           time.second;
}

bool IsValidTimeOfDay(const CalendarTime& time) { return time.hour < 24 && time.minute < 60 && time.second < 60; }

}  // namespace

std::array<uint8_t, 16> CalendarTime::ToBytes() const
{
    const uint16_t fields[8] = {year, month, dayOfWeek, day, hour, minute, second, milliseconds};
    std::array<uint8_t, 16> bytes{};
    for (size_t i = 0; i < 8; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(fields[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(fields[i] >> 8);
    }
    return bytes;
}

CalendarTime CalendarTime::FromBytes(const uint8_t* bytes, size_t count)
{
    uint16_t fields[8] = {};
    for (size_t i = 0; i < 16 && i < count; ++i) fields[i / 2] |= static_cast<uint16_t>(bytes[i] << (8 * (i % 2)));
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]};
}

int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    // Months outside 1..12 carry into the year, so that every input gives a day count.
    year += FloorDiv(month - 1, 12);
    month = month - 1 - FloorDiv(month - 1, 12) * 12 + 1;
    // Counting years from March puts the leap day at the end of the year.
    int64_t y = month <= 2 ? year - 1 : year;
    int64_t era = FloorDiv(y, 400);
    int64_t yearOfEra = y - era * 400;
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + (day - 1);
}

CalendarTime CivilFromDays(int64_t days)
{
    int64_t z = days + 719468;
    int64_t era = FloorDiv(z, 146097);
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    CalendarTime time;
    time.year = static_cast<uint16_t>(year);
    time.month = static_cast<uint16_t>(month);
    time.day = static_cast<uint16_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
    time.dayOfWeek = static_cast<uint16_t>(days + 4 - FloorDiv(days + 4, 7) * 7);  // 1.1.1970 was a Thursday
    return time;
}

uint16_t DayOfWeek(int64_t year, int64_t month, int64_t day)
{
    return CivilFromDays(DaysFromCivil(year, month, day)).dayOfWeek;
}

int DaysInMonth(int64_t year, int month)
{
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

int DaysInMonthSimple(int year, int month)
{
    if (month < 1 || month > 12) return 0;
    return month == 2 && year % 4 == 0 ? 29 : DaysInMonth(1, month);
}

bool IsValidSystemTime(const CalendarTime& time)
{
    return time.year >= 1601 && time.year <= 30827 && time.month >= 1 && time.month <= 12 && time.day >= 1 &&
           time.day <= DaysInMonth(time.year, time.month) && IsValidTimeOfDay(time) && time.milliseconds < 1000;
}

bool FileTimeToCalendar(uint64_t fileTime, CalendarTime& time)
{
    if (fileTime >= kFileTimeLimit) {
        time = {};
        return false;
    }
    int64_t milliseconds = static_cast<int64_t>(fileTime / kTicksPerMillisecond);
    time = CalendarFromSeconds(milliseconds / 1000 - kDaysFrom1601To1970 * kSecondsPerDay);
    time.milliseconds = static_cast<uint16_t>(milliseconds % 1000);
    return true;
}

bool CalendarToFileTime(const CalendarTime& time, uint64_t& fileTime)
{
    fileTime = 0;
    if (!IsValidSystemTime(time)) return false;
    int64_t seconds = SecondsFromCalendar(time) + kDaysFrom1601To1970 * kSecondsPerDay;
    uint64_t ticks = (static_cast<uint64_t>(seconds) * 1000 + time.milliseconds) * kTicksPerMillisecond;
    if (ticks >= kFileTimeLimit) return false;
    fileTime = ticks;
    return true;
}

bool PlatformOleToCalendar(double oleDate, CalendarTime& time)
{
    time = {};
    // 1.1.100 to the last second of 31.12.9999.
    if (!(oleDate > -657435.0 && oleDate < 2958466.0)) return false;
    double dayPart = std::trunc(oleDate);
    int64_t day = static_cast<int64_t>(dayPart);
    int64_t secondOfDay = std::llround(std::fabs(oleDate - dayPart) * kSecondsPerDay);
    CalendarTime result = CalendarFromSeconds((day - kDaysFrom1899To1970) * kSecondsPerDay + secondOfDay);
    if (result.year < 100 || result.year > 9999) return false;
    time = result;
    return true;
}

bool PlatformCalendarToOle(const CalendarTime& time, double& oleDate)
{
    oleDate = 0.0;
    if (time.year < 100 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > DaysInMonth(time.year, time.month) || !IsValidTimeOfDay(time))
        return false;
    double day = static_cast<double>(DaysFromCivil(time.year, time.month, time.day) + kDaysFrom1899To1970);
    double fraction = (time.hour * 3600 + time.minute * 60 + time.second) / static_cast<double>(kSecondsPerDay);
    oleDate = day >= 0 ? day + fraction : day - fraction;
    return true;
}

bool LocalToUniversal(const CalendarTime& local, CalendarTime& universal)
{
    if (!IsValidSystemTime(local)) return false;
    std::tm fields{};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;  // let the zone rules decide whether daylight saving time applies
    errno = 0;
    tzset();
    std::time_t seconds = std::mktime(&fields);
    if (seconds == static_cast<std::time_t>(-1) && errno != 0) return false;
    universal = CalendarFromSeconds(seconds);
    universal.milliseconds = local.milliseconds;
    return true;
}

bool UniversalToLocal(const CalendarTime& universal, CalendarTime& local)
{
    if (!IsValidSystemTime(universal)) return false;
    std::time_t seconds = static_cast<std::time_t>(SecondsFromCalendar(universal));
    std::tm fields{};
    tzset();
    if (!localtime_r(&seconds, &fields)) return false;
    local.year = static_cast<uint16_t>(fields.tm_year + 1900);
    local.month = static_cast<uint16_t>(fields.tm_mon + 1);
    local.day = static_cast<uint16_t>(fields.tm_mday);
    local.dayOfWeek = static_cast<uint16_t>(fields.tm_wday);
    local.hour = static_cast<uint16_t>(fields.tm_hour);
    local.minute = static_cast<uint16_t>(fields.tm_min);
    local.second = static_cast<uint16_t>(fields.tm_sec);
    local.milliseconds = universal.milliseconds;
    return true;
}

}  // namespace qv
