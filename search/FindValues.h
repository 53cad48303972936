// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds the values of a pattern in a byte block: one value, or a group whose values lie
// within a window of `range` bytes, in list order or in any order.
#include <cstdint>

#include "platform/LongTask.h"
#include "search/SearchEntry.h"

namespace qv {

// Runs over the start positions of the first value given by start and count (as for
// MatchAt). Returns the first value's position, or -1; on success each value's `found`
// holds its position. A group that fails at one occurrence of the first value is tried
// again at the next one in the search direction.
int64_t FindValues(DecodedPattern& pattern, const uint8_t* data, int64_t size, int64_t start, int64_t count,
                   bool ordered);

// The same over a part of a run: the further values of a group lie before `runEnd` as
// well (the end of the whole forward run; the block's end for a backward run). Between
// retries it gives up (with -1) once `progress` is cancelled.
int64_t FindValuesInRun(DecodedPattern& pattern, const uint8_t* data, int64_t size, int64_t start, int64_t count,
                        int64_t runEnd, bool ordered, const TaskProgress* progress);

}  // namespace qv
