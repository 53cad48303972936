// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PageChoice.h"

#include <algorithm>

namespace qv {

std::optional<PageSpan> ChosenPages(int32_t pageCount, int32_t fromPage, int32_t toPage)
{
    const PageSpan span{std::max(1, fromPage) - 1, std::min(pageCount, toPage) - 1};
    if (span.first > span.last) return std::nullopt;
    return span;
}

PageSpan AllPages(int32_t pageCount)
{
    return {0, std::max(1, pageCount) - 1};
}

std::string NothingToPrintText(int32_t pageCount, int32_t fromPage, int32_t toPage)
{
    const std::string pages = pageCount == 1 ? "eine Seite" : std::to_string(pageCount) + " Seiten";
    return "Es wurde nichts gedruckt: Der Druck hat nur " + pages + ", gewählt waren die Seiten " +
           std::to_string(fromPage) + " bis " + std::to_string(toPage) + ".";
}

}  // namespace qv
