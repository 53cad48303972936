// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/DiffFinder.h"

#include <algorithm>
#include <vector>

namespace qv {

namespace {

// Bytes read from each side per step: large enough for memory speed, small enough that a
// cancel is seen at once.
constexpr int64_t kChunk = int64_t{1} << 20;

int64_t Remaining(const IByteSource& source, int64_t start)
{
    return std::max<int64_t>(source.Size() - std::max<int64_t>(start, 0), 0);
}

}  // namespace

int64_t DiffFinder::Span() const
{
    const int64_t longer = std::max(Remaining(left_, alignment_.leftStart), Remaining(right_, alignment_.rightStart));
    return alignment_.limit < 0 ? longer : std::min(longer, alignment_.limit);
}

int64_t DiffFinder::Common() const
{
    const int64_t shorter = std::min(Remaining(left_, alignment_.leftStart), Remaining(right_, alignment_.rightStart));
    return std::min(shorter, Span());
}

template <typename Scan>
int64_t DiffFinder::ScanForward(int64_t from, int64_t to, Scan scan, TaskProgress* progress) const
{
    std::vector<uint8_t> leftScratch, rightScratch;
    for (int64_t at = from; at < to;) {
        if (progress && progress->Cancelled()) return to;
        const int64_t want = std::min(kChunk, to - at);
        const auto a = left_.Window(LeftOffset(at), want, leftScratch);
        const auto b = right_.Window(RightOffset(at), want, rightScratch);
        const size_t n = std::min(a.size(), b.size());
        if (n == 0) return to;
        const size_t hit = scan(a.data(), b.data(), n);
        if (hit < n) return at + static_cast<int64_t>(hit);
        at += static_cast<int64_t>(n);
        if (progress) progress->Report(at - from, to - from);
    }
    return to;
}

template <typename Scan>
int64_t DiffFinder::ScanBackward(int64_t from, int64_t to, Scan scan, TaskProgress* progress) const
{
    std::vector<uint8_t> leftScratch, rightScratch;
    for (int64_t end = to; end > from;) {
        if (progress && progress->Cancelled()) return -1;
        const int64_t start = std::max(from, end - kChunk);
        const auto a = left_.Window(LeftOffset(start), end - start, leftScratch);
        const auto b = right_.Window(RightOffset(start), end - start, rightScratch);
        const size_t n = std::min(a.size(), b.size());
        if (n < static_cast<size_t>(end - start)) return -1;
        const size_t hit = scan(a.data(), b.data(), n);
        if (hit < n) return start + static_cast<int64_t>(hit);
        end = start;
        if (progress) progress->Report(to - end, to - from);
    }
    return -1;
}

bool DiffFinder::Differs(int64_t position) const
{
    if (position < 0 || position >= Span()) return false;
    if (position >= Common()) return true;
    uint8_t flag = 0;
    Mark(position, 1, &flag);
    return flag != 0;
}

int64_t DiffFinder::NextDifference(int64_t from, TaskProgress* progress) const
{
    from = std::max<int64_t>(from, 0);
    const int64_t common = Common();
    if (from >= common) return std::min(from, Span());
    const int64_t found = ScanForward(from, common, FirstDifference, progress);
    return found < common ? found : std::min(common, Span());
}

int64_t DiffFinder::NextEquality(int64_t from, TaskProgress* progress) const
{
    from = std::max<int64_t>(from, 0);
    const int64_t common = Common();
    if (from >= common) return Span();
    const int64_t found = ScanForward(from, common, FirstEquality, progress);
    return found < common ? found : Span();
}

int64_t DiffFinder::PreviousDifference(int64_t before, TaskProgress* progress) const
{
    before = std::min(before, Span());
    if (before > Common()) return before - 1;
    return ScanBackward(0, before, LastDifference, progress);
}

int64_t DiffFinder::PreviousEquality(int64_t before, TaskProgress* progress) const
{
    before = std::min(before, Common());
    return ScanBackward(0, before, LastEquality, progress);
}

std::optional<DiffRun> DiffFinder::RunFrom(int64_t from, TaskProgress* progress) const
{
    const int64_t start = NextDifference(from, progress);
    if (start >= Span()) return std::nullopt;
    return DiffRun{start, NextEquality(start, progress) - start};
}

std::optional<DiffRun> DiffFinder::RunAround(int64_t position, TaskProgress* progress) const
{
    if (!Differs(position)) return std::nullopt;
    const int64_t start = PreviousEquality(position, progress) + 1;
    return DiffRun{start, NextEquality(position, progress) - start};
}

bool DiffFinder::ForEachRun(int64_t from, const std::function<bool(const DiffRun&)>& visit,
                            TaskProgress* progress) const
{
    from = std::max<int64_t>(from, 0);
    const int64_t common = Common();
    int64_t open = -1;  // the start of a run that goes on past the bytes read so far
    bool stopped = false;
    std::vector<DiffRun> runs;
    ScanForward(
        from, common,
        [&, at = from](const uint8_t* a, const uint8_t* b, size_t n) mutable {
            runs.clear();
            CollectRuns(a, b, n, at, open, runs);
            at += static_cast<int64_t>(n);
            for (const DiffRun& run : runs)
                if (!visit(run)) return stopped = true, size_t{0};
            return n;
        },
        progress);
    if (stopped || (progress && progress->Cancelled())) return false;
    // Past the common bytes every position differs: the last run goes on to the end.
    const int64_t span = Span();
    const int64_t tail = std::max(from, common);
    if (open < 0 && tail < span) open = tail;
    return open < 0 || visit(DiffRun{open, (tail < span ? span : common) - open});
}

DiffTally DiffFinder::Tally(int64_t from, int64_t to, TaskProgress* progress) const
{
    from = std::max<int64_t>(from, 0);
    to = std::min(to, Span());
    DiffTally tally;
    if (from >= to) return tally;
    const int64_t common = std::min(Common(), to);
    bool previousDiffers = Differs(from - 1);
    // The tally needs no early stop: its "scan" never hits, it only counts.
    ScanForward(
        from, common,
        [&](const uint8_t* a, const uint8_t* b, size_t n) {
            tally += TallyDifferences(a, b, n, previousDiffers);
            previousDiffers = a[n - 1] != b[n - 1];
            return n;
        },
        progress);
    // The positions one side no longer has form (the end of) one run.
    const int64_t tail = std::max(from, common);
    if (tail < to) {
        tally.bytes += to - tail;
        if (!Differs(tail - 1)) ++tally.runs;
    }
    return tally;
}

void DiffFinder::Mark(int64_t from, int64_t count, uint8_t* flags) const
{
    std::fill(flags, flags + std::max<int64_t>(count, 0), uint8_t{0});
    const int64_t first = std::max<int64_t>(from, 0);
    const int64_t end = std::min(from + count, Span());
    const int64_t common = std::min(Common(), end);
    ScanForward(
        first, common,
        [&, at = first](const uint8_t* a, const uint8_t* b, size_t n) mutable {
            MarkDifferences(a, b, n, flags + (at - from));
            at += static_cast<int64_t>(n);
            return n;
        },
        nullptr);
    for (int64_t p = std::max(first, common); p < end; ++p) flags[p - from] = 1;
}

}  // namespace qv
