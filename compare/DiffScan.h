// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inner loops of a compare: where two equally long byte ranges start or stop to
// differ, and how many differing bytes and runs of them a range holds. They look at 64
// bytes per step (a bit mask of the differing ones), so they run at memory speed.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

// Index of the first i < n with a[i] != b[i], or n when the ranges are equal.
size_t FirstDifference(const uint8_t* a, const uint8_t* b, size_t n);
// Index of the first i < n with a[i] == b[i], or n when every byte differs.
size_t FirstEquality(const uint8_t* a, const uint8_t* b, size_t n);
// Index of the last i < n with a[i] != b[i], or n when the ranges are equal.
size_t LastDifference(const uint8_t* a, const uint8_t* b, size_t n);
// Index of the last i < n with a[i] == b[i], or n when every byte differs.
size_t LastEquality(const uint8_t* a, const uint8_t* b, size_t n);

// A run of differing positions.
struct DiffRun {
    int64_t start = 0;
    int64_t length = 0;
    int64_t End() const { return start + length; }
    bool operator==(const DiffRun&) const = default;
};

// Appends to `runs` every run that ends inside [0, n), with positions counted from `base`.
// `open` carries the start of a run that goes on past the range end (-1 when none): pass
// it on to the next range, and it begins a run that started before this one.
void CollectRuns(const uint8_t* a, const uint8_t* b, size_t n, int64_t base, int64_t& open,
                 std::vector<DiffRun>& runs);

struct DiffTally {
    int64_t bytes = 0;  // differing bytes
    int64_t runs = 0;   // runs of differing bytes that start in the range
    DiffTally& operator+=(const DiffTally& other)
    {
        bytes += other.bytes;
        runs += other.runs;
        return *this;
    }
    bool operator==(const DiffTally&) const = default;
};

// Counts the differing bytes of [0, n) and the runs that start there; `previousDiffers`
// tells whether the byte before the range differed (then a run at index 0 goes on, and
// does not start there).
DiffTally TallyDifferences(const uint8_t* a, const uint8_t* b, size_t n, bool previousDiffers);

// flags[i] = 1 where a[i] != b[i], else 0.
void MarkDifferences(const uint8_t* a, const uint8_t* b, size_t n, uint8_t* flags);

}  // namespace qv
