// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The binary time formats and their conversion to and from the calendar record: seconds
// since 1970, DOS date and time, OLE automation dates, file times and database time
// stamps. Every conversion reports validity; invalid results are still written where the
// format defines a clamp or zero value.
#include <array>
#include <cstddef>
#include <cstdint>

#include "tools/TimeCalendar.h"

namespace qv {

// Database time stamp: year (signed), month, day, hour, minute, second, then the fraction
// in billionths of a second; 16 bytes little-endian. Its first 6 bytes are a database date.
struct DbTimestamp {
    int16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint32_t fraction = 0;

    std::array<uint8_t, 16> ToBytes() const;
    // Missing bytes are 0, so 6 bytes read a database date whose time is 0.
    static DbTimestamp FromBytes(const uint8_t* bytes, size_t count);
};

inline constexpr int64_t kUnixEpochAsFileTime = 116444736000000000;

// Signed seconds since 1.1.1970 UTC (13.12.1901 to 19.01.2038).
bool SecondsToCalendar(int32_t seconds, CalendarTime& time);
// Dates before 1970 give 0, counts beyond 31 bits 2147483647; both invalid.
bool CalendarToSeconds(const CalendarTime& time, uint32_t& seconds);

// Low word: seconds/2, minute, hour; high word: day, month, year - 1980.
bool DosToCalendar(uint32_t dosDateTime, CalendarTime& time);
bool CalendarToDos(const CalendarTime& time, uint32_t& dosDateTime);

// Days since 30.12.1899, the fraction being the time of day (with milliseconds).
bool OleToCalendar(double oleDate, CalendarTime& time);
bool CalendarToOle(const CalendarTime& time, double& oleDate);

bool TimestampToCalendar(const DbTimestamp& stamp, CalendarTime& time);
bool CalendarToTimestamp(const CalendarTime& time, DbTimestamp& stamp);

}  // namespace qv
