// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calendar record as text: day name, German or ISO date, time with optional
// milliseconds, as the option bits choose.
#include <cstdint>
#include <string>

#include "tools/TimeCalendar.h"

namespace qv {

enum CalendarTextOption : uint32_t {
    kTextMilliseconds = 0x1,         // always write milliseconds
    kTextDayName = 0x2,
    kTextHoursMinutes = 0x4,
    kTextSeconds = 0x8,              // hours, minutes and seconds
    kTextDate = 0x10,                // a date without year (unless 0x20 or 0x40)
    kTextDateYear4 = 0x20,           // a date with a four-digit year
    kTextYear2 = 0x40,               // with kTextDate: a two-digit year
    kTextMonthName = 0x80,
    kTextIso = 0x100,                // year-month-day
    kTextCompact = 0x200,            // milliseconds only when not 0; one blank before the time
    kTextFromLocal = 0x4000,         // the record is local time: convert to universal first
    kTextToLocal = 0x8000,           // the record is universal time: convert to local first
};

// The converter's forms: day name, date with month name and four-digit year, hh:mm:ss.
inline constexpr uint32_t kTextConverterForm = 190;
inline constexpr uint32_t kTextConverterFormMs = 702;

std::string FormatCalendarText(const CalendarTime& time, uint32_t options);

}  // namespace qv
