// SPDX-License-Identifier: GPL-3.0-or-later
// The run finder against a plain model of the compare: position p puts left[X + p] beside
// right[Y + p]; a position that only one side has differs.
#include <gtest/gtest.h>

#include <vector>

#include "compare/DiffCounter.h"
#include "compare/DiffFinder.h"
#include "tests/compare/CompareModel.h"

namespace qv {
namespace {

using test::Bytes;
using test::FilePair;
using test::Model;

std::vector<DiffRun> FoundRuns(const DiffFinder& finder, int64_t from = 0)
{
    std::vector<DiffRun> runs;
    finder.ForEachRun(from, [&](const DiffRun& run) {
        runs.push_back(run);
        return true;
    });
    return runs;
}

TEST(DiffFinder, FindsExactlyTheModelsRunsForLengthsOffsetsAndLimits)
{
    std::mt19937 random(7);
    const size_t mib = size_t{1} << 20;
    const struct {
        size_t left, right;
        CompareAlignment alignment;
    } cases[] = {
        {2 * mib + 777, 2 * mib + 777, {}},
        {2 * mib + 100, 2 * mib + 5000, {}},    // right longer: the tail is the last run
        {3000, 1000, {}},                        // left longer
        {2 * mib + 100, 2 * mib + 100, {7, 3, -1}},
        {mib + 4096, mib + 4096, {4096, 0, -1}},  // a header of a different length
        {5000, 5000, {10, 10, 1234}},
        {0, 100, {}},
        {100, 100, {100, 100, -1}},              // both from their end: nothing to compare
    };
    for (const auto& c : cases) {
        const FilePair files(random, c.left, c.right);
        const BlockByteSource left(files.left.data(), static_cast<int64_t>(files.left.size()));
        const BlockByteSource right(files.right.data(), static_cast<int64_t>(files.right.size()));
        const DiffFinder finder(left, right, c.alignment);
        const Model model{files.left, files.right, c.alignment};
        SCOPED_TRACE(testing::Message() << c.left << "/" << c.right << " from " << c.alignment.leftStart << "/"
                                        << c.alignment.rightStart);
        ASSERT_EQ(finder.Span(), model.Span());
        const std::vector<DiffRun> runs = model.Runs();
        EXPECT_EQ(FoundRuns(finder), runs);

        DiffTally total;
        for (const DiffRun& run : runs) total += DiffTally{run.length, 1};
        EXPECT_EQ(finder.Tally(0, finder.Span()), total);

        // Stepping from run to run by the single scans finds the same runs, forwards and back.
        std::vector<DiffRun> forward, backward;
        for (auto run = finder.RunFrom(0); run; run = finder.RunFrom(run->End())) forward.push_back(*run);
        EXPECT_EQ(forward, runs);
        for (int64_t before = finder.Span(); (before = finder.PreviousDifference(before)) >= 0;) {
            backward.insert(backward.begin(), *finder.RunAround(before));
            before = backward.front().start;
        }
        EXPECT_EQ(backward, runs);
    }
}

TEST(DiffFinder, ScansFromInsideARunAndMarksRowsAsTheModel)
{
    std::mt19937 random(11);
    const FilePair files(random, (size_t{1} << 20) + 300, (size_t{1} << 20) + 200);
    const BlockByteSource left(files.left.data(), static_cast<int64_t>(files.left.size()));
    const BlockByteSource right(files.right.data(), static_cast<int64_t>(files.right.size()));
    const CompareAlignment alignment{2, 1, -1};
    const DiffFinder finder(left, right, alignment);
    const Model model{files.left, files.right, alignment};
    const std::vector<DiffRun> runs = model.Runs();
    ASSERT_GT(runs.size(), 10u);
    for (const DiffRun& run : runs) {
        const int64_t inside = run.start + run.length / 2;
        EXPECT_EQ(finder.RunAround(inside), run);
        EXPECT_EQ(finder.RunFrom(inside), (DiffRun{inside, run.End() - inside}));
        EXPECT_EQ(FoundRuns(finder, inside).front(), (DiffRun{inside, run.End() - inside}));
        EXPECT_FALSE(finder.RunAround(run.End()));
    }
    // Rows of 16 positions, also before the first and past the last position.
    for (int64_t from : {int64_t{-8}, int64_t{0}, runs[3].start - 5, finder.Span() - 10}) {
        uint8_t flags[16];
        finder.Mark(from, 16, flags);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(flags[i] != 0, model.Differs(from + i)) << from + i;
    }
}

TEST(DiffFinder, CancelledScanStopsAndEnumerationStopsWhenAsked)
{
    const Bytes zeros(size_t{3} << 20, 0);
    Bytes other = zeros;
    other.back() = 1;
    const BlockByteSource left(zeros.data(), static_cast<int64_t>(zeros.size()));
    const BlockByteSource right(other.data(), static_cast<int64_t>(other.size()));
    const DiffFinder finder(left, right, {});
    TaskProgress progress;
    EXPECT_EQ(finder.NextDifference(0, &progress), static_cast<int64_t>(zeros.size()) - 1);
    EXPECT_GT(progress.Done(), 0);
    progress.Cancel();
    EXPECT_FALSE(finder.ForEachRun(0, [](const DiffRun&) { return true; }, &progress));
    other[5] = 1;
    int visited = 0;
    EXPECT_FALSE(finder.ForEachRun(0, [&](const DiffRun&) { return ++visited < 1; }));
    EXPECT_EQ(visited, 1);
}

TEST(DiffCounter, CountsInStepsAndRecountsOnlyWhatAnEditTouched)
{
    std::mt19937 random(3);
    FilePair files(random, 50000, 50100);
    const BlockByteSource left(files.left.data(), static_cast<int64_t>(files.left.size()));
    const BlockByteSource right(files.right.data(), static_cast<int64_t>(files.right.size()));
    const DiffFinder finder(left, right, {});
    const Model model{files.left, files.right, {}};
    auto expected = [&] {
        DiffTally tally;
        for (const DiffRun& run : model.Runs()) tally += DiffTally{run.length, 1};
        return tally;
    };
    DiffCounter counter(1000);
    counter.Reset(finder.Span());
    EXPECT_FALSE(counter.Step(finder, 20000));
    EXPECT_GT(counter.Percent(), 0);
    EXPECT_LT(counter.Percent(), 100);
    while (!counter.Step(finder, 20000)) {
    }
    EXPECT_EQ(counter.Counted(), expected());

    // Edits that split, join, start and end runs, also at block borders.
    for (int64_t at : {int64_t{999}, int64_t{1000}, int64_t{31337}, int64_t{49997}}) {
        for (int k = 0; k < 3; ++k) {
            const auto p = static_cast<size_t>(at + k);
            files.left[p] = random() % 2 ? files.right[p] : static_cast<uint8_t>(files.right[p] + 1);
        }
        counter.Invalidate(at, at + 2);
        EXPECT_FALSE(counter.Complete());
        counter.Step(finder, 2000);  // two or three blocks: all that the edit touched
        ASSERT_TRUE(counter.Complete());
        EXPECT_EQ(counter.Counted(), expected()) << at;
    }
}

}  // namespace
}  // namespace qv
