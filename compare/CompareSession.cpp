// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/CompareSession.h"

#include <cstdio>
#include <vector>

namespace qv {

CompareSession::CompareSession(const IByteSource& left, const IByteSource& right, CompareAlignment alignment)
    : left_(left), right_(right), finder_(left, right, alignment)
{
    counter_.Reset(finder_.Span());
}

std::optional<DiffRun> CompareSession::NextRun(int64_t from, std::optional<DiffRun> selected,
                                               TaskProgress* progress) const
{
    if (finder_.Differs(from) && !finder_.Differs(from - 1)) {
        const std::optional<DiffRun> here = finder_.RunAround(from, progress);
        if (here != selected) return here;
    }
    // From inside a run, the next one begins after its end.
    const int64_t after = finder_.Differs(from) ? finder_.NextEquality(from, progress) : from;
    return finder_.RunFrom(after, progress);
}

std::optional<DiffRun> CompareSession::PreviousRun(int64_t from, TaskProgress* progress) const
{
    const int64_t last = finder_.PreviousDifference(from, progress);
    if (last < 0) return std::nullopt;
    return finder_.RunAround(last, progress);
}

void CompareSession::LeftEdited(int64_t first, int64_t last)
{
    const int64_t position = PositionOf(CompareSide::Left, first);
    if (last < 0)
        counter_.InvalidateFrom(position, finder_.Span());
    else
        counter_.Invalidate(position, PositionOf(CompareSide::Left, last));
}

std::string GroupedNumber(int64_t value)
{
    std::string digits = std::to_string(value);
    for (auto at = static_cast<int64_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), 1, '.');
    return digits;
}

std::string CompareSession::CountText() const
{
    const DiffTally tally = counter_.Counted();
    if (counter_.Complete() && tally.bytes == 0) return "Keine Unterschiede";
    std::string text = GroupedNumber(tally.bytes) + (tally.bytes == 1 ? " Unterschied, " : " Unterschiede, ") +
                       GroupedNumber(tally.runs) + (tally.runs == 1 ? " Bereich" : " Bereiche");
    if (counter_.Complete()) return text;
    return "bisher " + text + " (" + std::to_string(counter_.Percent()) + " % verglichen)";
}

std::string CompareSession::PartnerByteText(CompareSide side, int64_t offset) const
{
    const CompareSide other = Other(side);
    const std::string name = other == CompareSide::Left ? "Links: " : "Rechts: ";
    const int64_t position = PositionOf(side, offset);
    std::vector<uint8_t> scratch;
    const IByteSource& source = other == CompareSide::Left ? left_ : right_;
    const auto byte = position < 0 ? std::span<const uint8_t>{} : source.Window(OffsetOf(other, position), 1, scratch);
    if (byte.empty()) return name + "kein Byte";
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", byte[0]);
    return name + hex;
}

}  // namespace qv
