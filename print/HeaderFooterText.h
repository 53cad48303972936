// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Header and footer texts of printed pages: the placeholder codes the page setup inserts
// are expanded into lines of left-aligned, centred and right-aligned parts. The texts are
// UTF-8, as the names of files and users are.
#include <cstdint>
#include <functional>
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
    std::string text;
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

// A part placed on the page: its left edge and its row below the text's first row.
struct PlacedHeaderFooterPart {
    int32_t x = 0;
    int row = 0;
    std::string text;
    bool operator==(const PlacedHeaderFooterPart&) const = default;
};

// Places the parts between the left and right edge as their alignment says. A part that
// would run into one placed before it on its line goes to a row of its own below, and the
// lines after it move down with it; a part wider than the room starts at the left edge.
std::vector<PlacedHeaderFooterPart> PlaceHeaderFooter(const std::vector<HeaderFooterPart>& parts, int32_t left,
                                                      int32_t right,
                                                      const std::function<int32_t(std::string_view)>& widthOf);
// Rows the placed parts take (at least 1).
int HeaderFooterRows(const std::vector<PlacedHeaderFooterPart>& placed);

// The current local time as a calendar record.
CalendarTime CurrentLocalTime();
// The values for a document's path now: the logged-on user and the local time.
HeaderFooterValues HeaderFooterValuesNow(const std::string& path);

}  // namespace qv
