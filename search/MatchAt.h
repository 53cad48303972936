// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds one value in a run of start positions of a byte block.
#include <cstdint>
#include <optional>

#include "search/SearchValue.h"

namespace qv {

// The start positions a run tries in a block of `size` bytes for a value of `length` > 0
// bytes: [lowest, end), tried upward or downward; nothing when no position is left.
struct PositionRun {
    int64_t lowest = 0;
    int64_t end = 0;
    bool upward = true;
};
std::optional<PositionRun> ClampRun(int64_t length, int64_t size, int64_t start, int64_t count);

// The first start position in the run at which the value matches, or -1. A positive count
// runs upward from start over count positions; zero or a negative count runs downward
// from start over |count| positions. Only positions where the whole value lies inside the
// block are tried. A value of length 0 matches at start without comparing.
int64_t MatchAt(const SearchValue& value, const uint8_t* data, int64_t size, int64_t start, int64_t count);

// Whether the value matches the bytes at `at` (which hold at least value.length bytes).
bool ValueMatches(const SearchValue& value, const uint8_t* at);

}  // namespace qv
