// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/FindInSource.h"

#include <algorithm>
#include <vector>

#include "search/FindValues.h"
#include "search/MatchAt.h"

namespace qv {

int64_t FindValuesInSource(DecodedPattern& pattern, const IByteSource& source, int64_t start, int64_t count,
                           bool ordered, TaskProgress& progress, int64_t slice)
{
    std::vector<SearchValue>& values = pattern.values;
    if (values.empty()) return -1;
    const int64_t size = source.Size();
    const int64_t runEnd = count > 0 ? start + count : size;
    std::vector<uint8_t> scratch;
    // Runs the search in the window [from, to) of the source, with positions of the source.
    auto searchWindow = [&](int64_t from, int64_t to, int64_t partStart, int64_t partCount) -> int64_t {
        const std::span<const uint8_t> window = source.Window(from, to - from, scratch);
        const int64_t found = FindValuesInRun(pattern, window.data(), static_cast<int64_t>(window.size()),
                                              partStart - from, partCount, runEnd - from, ordered, &progress);
        if (found < 0) return -1;
        for (SearchValue& value : values) value.found += from;
        return found + from;
    };
    // A first value without bytes is found at the run's start, whatever the source holds.
    if (values[0].length <= 0) return searchWindow(0, size, start, count);

    const std::optional<PositionRun> run = ClampRun(values[0].length, size, start, count);
    if (!run) return -1;
    int longest = 0;
    for (const SearchValue& value : values) longest = std::max(longest, value.length);
    // A group reaches up to `range` bytes beyond its first value's start on either side.
    const int64_t margin = std::max<int64_t>(pattern.range, 0) + longest;
    if (slice <= 0) slice = values.size() > 1 ? kGroupSearchSlice : kSearchSlice;
    const int64_t total = run->end - run->lowest;
    progress.Report(0, total);
    for (int64_t done = 0; done < total;) {
        if (progress.Cancelled()) return -1;
        const int64_t part = std::min(slice, total - done);
        const int64_t lowest = run->upward ? run->lowest + done : run->end - done - part;
        const int64_t found = searchWindow(std::max<int64_t>(0, lowest - margin), std::min(size, lowest + part + margin),
                                           run->upward ? lowest : lowest + part - 1, run->upward ? part : -part);
        done += part;
        progress.Report(done, total);
        if (found >= 0) return found;
    }
    return -1;
}

}  // namespace qv
