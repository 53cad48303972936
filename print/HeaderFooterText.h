// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Header and footer texts of printed pages: the placeholder codes the page setup inserts
// are expanded into lines of left-aligned, centred and right-aligned parts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/TimeCalendar.h"

namespace qv {

// The expansion of one text stops at this many characters (a line break counts as one).
inline constexpr size_t kMaxExpandedHeaderFooter = 448;

enum class TextAlign { Left, Centre, Right };

struct HeaderFooterPart {
    int line = 0;  // from 0; "\n" starts the next
    TextAlign align = TextAlign::Left;
    std::string text;  // Windows-1252
    bool operator==(const HeaderFooterPart&) const = default;
};

struct HeaderFooterValues {
    std::string path;  // the document's full path
    std::string user;
    int32_t page = 1;  // from 1
    int32_t pages = 1;
    CalendarTime now;  // local time
};

// Parts in the order they appear; texts of the same line and alignment are joined.
std::vector<HeaderFooterPart> ExpandHeaderFooter(std::string_view text, const HeaderFooterValues& values);

// The current local time as a calendar record.
CalendarTime CurrentLocalTime();
// The values for a document's path (UTF-8, as on disk) now: the logged-on user and the
// local time.
HeaderFooterValues HeaderFooterValuesNow(const std::string& path);

}  // namespace qv
