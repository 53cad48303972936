// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One compare as the editor shows it: the document's bytes on the left, another file's on
// the right, how their offsets meet, where the next and previous runs are, the count of
// differing bytes and runs, and the texts of the status bar.
#include <cstdint>
#include <optional>
#include <string>

#include "compare/DiffCounter.h"
#include "compare/DiffFinder.h"

namespace qv {

enum class CompareSide { Left, Right };

class CompareSession {
public:
    CompareSession(const IByteSource& left, const IByteSource& right, CompareAlignment alignment);

    const DiffFinder& Finder() const { return finder_; }
    int64_t PositionOf(CompareSide side, int64_t offset) const { return offset - Start(side); }
    int64_t OffsetOf(CompareSide side, int64_t position) const { return position + Start(side); }
    // The same byte place on the other side.
    int64_t PartnerOffset(CompareSide side, int64_t offset) const
    {
        return offset - Start(side) + Start(Other(side));
    }
    static CompareSide Other(CompareSide side) { return side == CompareSide::Left ? CompareSide::Right : CompareSide::Left; }

    // flags[i] = 1 where the byte at offset + i of that side differs.
    void MarkDiffering(CompareSide side, int64_t offset, int64_t count, uint8_t* flags) const
    {
        finder_.Mark(PositionOf(side, offset), count, flags);
    }

    // The run to go to from position `from` (the cursor, or the lower end of the selection):
    // the next one starts after it, unless a run starts right there and is not `selected`
    // yet; the previous one is the last that starts before it. None at either end.
    std::optional<DiffRun> NextRun(int64_t from, std::optional<DiffRun> selected, TaskProgress* progress) const;
    std::optional<DiffRun> PreviousRun(int64_t from, TaskProgress* progress) const;

    // Counting, a few blocks at a time; edits of the left side (offsets) count again what
    // they touched, last < 0 from `first` to the end.
    DiffCounter& Counter() { return counter_; }
    void LeftEdited(int64_t first, int64_t last);
    // "12 Unterschiede, 3 Bereiche", while counting with what is known so far.
    std::string CountText() const;
    // The other side's byte at the place of `offset` on `side`: "Rechts: 4F".
    std::string PartnerByteText(CompareSide side, int64_t offset) const;

private:
    int64_t Start(CompareSide side) const
    {
        return side == CompareSide::Left ? finder_.Alignment().leftStart : finder_.Alignment().rightStart;
    }

    const IByteSource& left_;
    const IByteSource& right_;
    DiffFinder finder_;
    DiffCounter counter_;
};

// A count (not negative) with dots between groups of three digits, as German texts write them.
std::string GroupedNumber(int64_t value);

}  // namespace qv
