// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds the differing bytes of two byte sources. A compare puts left[leftStart + p] beside
// right[rightStart + p] for every position p from 0 to the end of the longer side; past
// the end of the shorter side every position differs. Runs are maximal stretches of
// differing positions, also across the chunks in which the sources are read.
#include <cstdint>
#include <functional>
#include <optional>

#include "compare/DiffScan.h"
#include "platform/LongTask.h"
#include "view/ByteSource.h"

namespace qv {

struct CompareAlignment {
    int64_t leftStart = 0;
    int64_t rightStart = 0;
    int64_t limit = -1;  // at most this many positions; negative: no limit
    bool operator==(const CompareAlignment&) const = default;
};

// Runs (DiffScan.h) hold positions, not offsets: LeftOffset and RightOffset convert.
class DiffFinder {
public:
    // The sources are read on every call, so they may change size between calls.
    DiffFinder(const IByteSource& left, const IByteSource& right, CompareAlignment alignment)
        : left_(left), right_(right), alignment_(alignment)
    {
    }

    const CompareAlignment& Alignment() const { return alignment_; }
    int64_t LeftOffset(int64_t position) const { return alignment_.leftStart + position; }
    int64_t RightOffset(int64_t position) const { return alignment_.rightStart + position; }
    // Positions compared, and the first of them that one side no longer has.
    int64_t Span() const;
    int64_t Common() const;

    bool Differs(int64_t position) const;
    // The scans below poll `progress` (may be null) once per chunk and report how far they
    // got; after a cancel their result means nothing.
    // First differing / equal position at or after `from`, or Span() when there is none.
    int64_t NextDifference(int64_t from, TaskProgress* progress = nullptr) const;
    int64_t NextEquality(int64_t from, TaskProgress* progress = nullptr) const;
    // Last differing / equal position before `before`, or -1 when there is none.
    int64_t PreviousDifference(int64_t before, TaskProgress* progress = nullptr) const;
    int64_t PreviousEquality(int64_t before, TaskProgress* progress = nullptr) const;

    // The first run that has a position at or after `from` (cut to start there), or none.
    std::optional<DiffRun> RunFrom(int64_t from, TaskProgress* progress = nullptr) const;
    // The whole run that holds `position`, or none when it does not differ.
    std::optional<DiffRun> RunAround(int64_t position, TaskProgress* progress = nullptr) const;

    // Every run with a position at or after `from` (the first one cut to start there), in
    // order, until `visit` returns false; false when it stopped so (or on a cancel).
    bool ForEachRun(int64_t from, const std::function<bool(const DiffRun&)>& visit,
                    TaskProgress* progress = nullptr) const;

    // Differing bytes in [from, to) and the runs that start there.
    DiffTally Tally(int64_t from, int64_t to, TaskProgress* progress = nullptr) const;
    // flags[i] = 1 where position from + i differs; positions outside the compare do not.
    void Mark(int64_t from, int64_t count, uint8_t* flags) const;

private:
    template <typename Scan>
    int64_t ScanForward(int64_t from, int64_t to, Scan scan, TaskProgress* progress) const;
    template <typename Scan>
    int64_t ScanBackward(int64_t from, int64_t to, Scan scan, TaskProgress* progress) const;

    const IByteSource& left_;
    const IByteSource& right_;
    CompareAlignment alignment_;
};

}  // namespace qv
