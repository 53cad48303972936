// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeText.h"

#include <cstdio>

namespace qv {
namespace {

const char* const kDayNames[8] = {"So ", "Mo ", "Di ", "Mi ", "Do ", "Fr ", "Sa ", "?? "};
const char* const kMonthNames[13] = {"???.", "Jan.", "Feb.", "Mar.", "Apr.", "Mai.", "Jun.",
                                     "Jul.", "Aug.", "Sep.", "Okt.", "Nov.", "Dec."};

std::string Digits(unsigned value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*u", width, value);
    return text;
}

std::string MonthName(unsigned month) { return kMonthNames[month <= 12 ? month : 0]; }

}  // namespace

std::string FormatCalendarText(const CalendarTime& record, uint32_t options)
{
    CalendarTime time = record;
    if (options & kTextFromLocal) LocalToUniversal(record, time);
    if (options & kTextToLocal) UniversalToLocal(record, time);

    std::string text;
    if (options & kTextDayName) text += kDayNames[time.dayOfWeek <= 6 ? time.dayOfWeek : 7];

    bool hasDate = (options & (kTextDate | kTextDateYear4)) != 0;
    if (hasDate) {
        std::string year;
        if (options & kTextDateYear4)
            year = Digits(time.year, 4);
        else if (options & kTextYear2)
            year = Digits(time.year % 100u, 2);
        bool byName = (options & kTextMonthName) != 0;
        if (options & kTextIso) {
            if (!year.empty()) text += year + "-";
            text += byName ? MonthName(time.month).substr(0, 3) : Digits(time.month, 2);
            text += "-" + Digits(time.day, 2);
        } else {
            text += Digits(time.day, 2) + ".";
            text += byName ? MonthName(time.month) : Digits(time.month, 2) + ".";
            text += year;
        }
    }

    if (!(options & (kTextHoursMinutes | kTextSeconds))) return text;
    if (hasDate) text += (options & kTextCompact) ? " " : "  ";
    text += Digits(time.hour, 2) + ":" + Digits(time.minute, 2);
    if (options & kTextSeconds) text += ":" + Digits(time.second, 2);
    bool milliseconds = (options & kTextCompact) ? time.milliseconds != 0 : (options & kTextMilliseconds) != 0;
    if (milliseconds) text += "." + Digits(time.milliseconds, 3);
    return text;
}

}  // namespace qv
