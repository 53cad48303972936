// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/FindValues.h"

#include <algorithm>

#include "search/MatchAt.h"

namespace qv {
namespace {

struct Block {
    const uint8_t* data;
    int64_t size;
};

// Every further value after the previous one, without overlap, all ending before `limit`.
bool PlaceInOrder(std::vector<SearchValue>& values, const Block& block, int64_t r0, int64_t limit)
{
    int64_t previousEnd = r0 + values[0].length;
    for (size_t k = 1; k < values.size(); ++k) {
        SearchValue& value = values[k];
        int64_t positions = limit - value.length - previousEnd + 1;
        if (positions < 1) return false;
        int64_t at = MatchAt(value, block.data, block.size, previousEnd, positions);
        if (at < 0) return false;
        value.found = at;
        previousEnd = at + value.length;
    }
    return true;
}

// Every further value anywhere in the window: after the first value's match and ending
// before `limit`, or else starting at most `range` bytes before it (the nearest one).
bool PlaceAnyOrder(std::vector<SearchValue>& values, const Block& block, int64_t r0, int64_t limit, int64_t range)
{
    const int64_t after = r0 + values[0].length;
    const int64_t lowest = std::max<int64_t>(0, r0 - range);
    for (size_t k = 1; k < values.size(); ++k) {
        SearchValue& value = values[k];
        value.found = -1;
        int64_t positions = limit - value.length - after + 1;
        if (positions > 0) value.found = MatchAt(value, block.data, block.size, after, positions);
        if (value.found < 0 && r0 > lowest)
            value.found = MatchAt(value, block.data, block.size, r0 - 1, -(r0 - lowest));
        if (value.found < 0) return false;
    }
    return true;
}

}  // namespace

int64_t FindValues(DecodedPattern& pattern, const uint8_t* data, int64_t size, int64_t start, int64_t count,
                   bool ordered)
{
    // A forward run bounds the window at its end; a backward run only bounds where the
    // first value starts, and the window reaches up to `range` bytes above it.
    return FindValuesInRun(pattern, data, size, start, count, count > 0 ? start + count : size, ordered, nullptr);
}

int64_t FindValuesInRun(DecodedPattern& pattern, const uint8_t* data, int64_t size, int64_t start, int64_t count,
                        int64_t runEnd, bool ordered, const TaskProgress* progress)
{
    std::vector<SearchValue>& values = pattern.values;
    if (values.empty()) return -1;
    const Block block{data, size};
    const int64_t range = pattern.range;
    int64_t r0 = MatchAt(values[0], data, size, start, count);
    while (r0 >= 0) {
        // A group whose first value is everywhere can retry for long: stop when asked.
        if (progress && progress->Cancelled()) return -1;
        values[0].found = r0;
        const int64_t limit = std::min(r0 + range, runEnd);
        bool placed = values.size() == 1 || (ordered ? PlaceInOrder(values, block, r0, limit)
                                                     : PlaceAnyOrder(values, block, r0, limit, range));
        if (placed) return r0;
        // Go on just past this occurrence, in the search direction.
        int64_t step = count >= 0 ? r0 + 1 - start : r0 - 1 - start;
        if ((step < 0 ? -step : step) > (count < 0 ? -count : count)) return -1;
        start += step;
        count -= step;
        r0 = MatchAt(values[0], data, size, start, count);
    }
    return -1;
}

}  // namespace qv
