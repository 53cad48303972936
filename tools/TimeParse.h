// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a point in time from free text: German and ISO dates, month-first dates, month
// names in German and English, times with fraction, "PM" and time-zone names. The text
// never refers to the clock; parts not found are left for the caller to fill in.
#include <cstdint>
#include <string_view>

namespace qv {

enum TimeTextPart : uint32_t {
    kFoundFraction = 0x1,
    kFoundSecond = 0x2,
    kFoundMinute = 0x4,
    kFoundHour = 0x8,
    kFoundDay = 0x10,
    kFoundMonth = 0x20,
    kFoundYear = 0x40,
    kFoundZone = 0x80,
};

struct ParsedTime {
    // Date values as read (saturating); a two-digit year is already taken into 1930..2029.
    uint64_t year = 0;
    uint64_t month = 0;
    uint64_t day = 0;
    unsigned hour = 0;    // 0..23
    unsigned minute = 0;  // 0..59
    unsigned second = 0;  // 0..59
    uint32_t fraction = 0;  // billionths of a second
    int zoneMinutes = 0;    // offset east of UTC of a zone name or +hhmm, when kFoundZone is set
    uint32_t found = 0;     // TimeTextPart bits
};

ParsedTime ParseTimeText(std::string_view text);

}  // namespace qv
