// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which pages of a print job the user's page range covers.
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

// Pages from 0, both ends included.
struct PageSpan {
    int32_t first = 0;
    int32_t last = 0;
    bool operator==(const PageSpan&) const = default;
};

// Pages fromPage..toPage (counted from 1) as far as the job has them; nothing when the
// range holds none of its pageCount pages.
std::optional<PageSpan> ChosenPages(int32_t pageCount, int32_t fromPage, int32_t toPage);
// All pages of a job.
PageSpan AllPages(int32_t pageCount);

// What the user is told when a range holds no page: nothing was printed, and why.
std::string NothingToPrintText(int32_t pageCount, int32_t fromPage, int32_t toPage);

}  // namespace qv
