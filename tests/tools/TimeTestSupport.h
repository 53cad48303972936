// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Short builders and printers for calendar records in the time tests.
#include <cstdio>
#include <ostream>
#include <string>

#include "tools/TimeCalendar.h"

namespace qv {

inline void PrintTo(const CalendarTime& t, std::ostream* os)
{
    char text[80];
    std::snprintf(text, sizeof text, "%u-%02u-%02u %02u:%02u:%02u.%03u (wd %u)", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.milliseconds, t.dayOfWeek);
    *os << text;
}

namespace test {

inline CalendarTime Record(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                           int milliseconds = 0, int dayOfWeek = -1)
{
    CalendarTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(milliseconds);
    t.dayOfWeek = static_cast<uint16_t>(dayOfWeek >= 0 ? dayOfWeek : DayOfWeek(year, month, day));
    return t;
}

}  // namespace test
}  // namespace qv
