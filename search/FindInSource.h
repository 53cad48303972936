// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search over a document's bytes as long work: FindValues over a byte source, slice
// by slice, so that it reports how far it got and stops soon after a cancel. Each slice of
// the first value's start positions is searched in one window of the source that also
// holds every byte a match or a group around them may reach, so matches that straddle
// slices are found exactly as in one pass.
#include <cstdint>

#include "platform/LongTask.h"
#include "search/SearchEntry.h"
#include "view/ByteSource.h"

namespace qv {

// Start positions per slice: a few milliseconds of scanning for one value. A group may
// look through its whole window at every occurrence of its first value, so its slices are
// smaller, for a progress that moves.
inline constexpr int64_t kSearchSlice = int64_t{16} << 20;
inline constexpr int64_t kGroupSearchSlice = int64_t{1} << 20;

// As FindValues over the whole source (start and count as for MatchAt). Returns -1 when
// nothing was found or the work was cancelled (then progress.Cancelled() is set). A slice
// of 0 takes the one that fits the pattern.
int64_t FindValuesInSource(DecodedPattern& pattern, const IByteSource& source, int64_t start, int64_t count,
                           bool ordered, TaskProgress& progress, int64_t slice = 0);

}  // namespace qv
