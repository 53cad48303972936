// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calendar record that every time format converts to and from, and the calendar
// services under it: proleptic Gregorian day arithmetic, 64-bit file times, OLE
// automation dates and the conversion between local and universal time of the
// system's time zone.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

// Eight little-endian 16-bit fields in this order: the 16-byte system-time record.
struct CalendarTime {
    uint16_t year = 0;
    uint16_t month = 0;      // 1..12
    uint16_t dayOfWeek = 0;  // 0 = Sunday .. 6 = Saturday
    uint16_t day = 0;        // 1..31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;

    bool operator==(const CalendarTime&) const = default;

    std::array<uint8_t, 16> ToBytes() const;
    // Missing bytes (count below 16) are taken as 0.
    static CalendarTime FromBytes(const uint8_t* bytes, size_t count);
};

// Days from 1.1.1970 to the given date, proleptic Gregorian calendar; the day may lie
// outside the month (it then counts on into the next months).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day);
// The date of a day count from 1.1.1970, with its day of week.
CalendarTime CivilFromDays(int64_t days);
// Proleptic Gregorian weekday, 0 = Sunday.
uint16_t DayOfWeek(int64_t year, int64_t month, int64_t day);
// The real month length (Gregorian leap years).
int DaysInMonth(int64_t year, int month);
// The month length the record checks use: February has 29 days in every year divisible by 4.
int DaysInMonthSimple(int year, int month);

// Checks of the platform's record conversions: year 1601..30827, a real date, time fields
// in range and milliseconds below 1000.
bool IsValidSystemTime(const CalendarTime& time);

// 100-ns units since 1.1.1601 00:00:00 UTC. Values from 2^63 on are refused (zero record).
bool FileTimeToCalendar(uint64_t fileTime, CalendarTime& time);
// Refuses records that fail IsValidSystemTime (file time 0).
bool CalendarToFileTime(const CalendarTime& time, uint64_t& fileTime);

// OLE automation date conversions of the platform, years 100..9999. The day count is the
// integral part; for negative values the fraction still counts forward within the day.
// To a record: the time of day is taken to the nearest second (milliseconds 0).
bool PlatformOleToCalendar(double oleDate, CalendarTime& time);
// From a record: whole seconds only (the milliseconds are ignored).
bool PlatformCalendarToOle(const CalendarTime& time, double& oleDate);

// The system time zone (TZ, else the configured zone). Milliseconds are kept.
bool LocalToUniversal(const CalendarTime& local, CalendarTime& universal);
bool UniversalToLocal(const CalendarTime& universal, CalendarTime& local);

}  // namespace qv
