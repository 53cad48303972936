// SPDX-License-Identifier: GPL-3.0-or-later
// The 64-byte scanning loops against a byte loop, for every length up to a few steps and
// differences at every place in them.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "compare/DiffScan.h"

namespace qv {
namespace {

TEST(DiffScan, AgreesWithAByteLoopForEveryLengthAndPlace)
{
    std::mt19937 random(5);
    for (size_t n = 0; n <= 200; ++n) {
        std::vector<uint8_t> a(n), b;
        for (auto& x : a) x = static_cast<uint8_t>(random());
        for (int trial = 0; trial < 6; ++trial) {
            b = a;
            // From no difference over sparse ones to almost all bytes different.
            for (size_t i = 0; i < n; ++i)
                if (static_cast<int>(random() % 6) < trial) b[i] = static_cast<uint8_t>(a[i] + 1);
            size_t firstDiff = n, firstEqual = n, lastDiff = n, lastEqual = n;
            DiffTally tally;
            const bool before = trial % 2 == 1;
            for (size_t i = 0; i < n; ++i) {
                const bool differs = a[i] != b[i];
                if (differs && firstDiff == n) firstDiff = i;
                if (!differs && firstEqual == n) firstEqual = i;
                if (differs) lastDiff = i, ++tally.bytes;
                if (!differs) lastEqual = i;
                if (differs && (i == 0 ? !before : a[i - 1] == b[i - 1])) ++tally.runs;
            }
            SCOPED_TRACE(testing::Message() << "n=" << n << " trial=" << trial);
            EXPECT_EQ(FirstDifference(a.data(), b.data(), n), firstDiff);
            EXPECT_EQ(FirstEquality(a.data(), b.data(), n), firstEqual);
            EXPECT_EQ(LastDifference(a.data(), b.data(), n), lastDiff);
            EXPECT_EQ(LastEquality(a.data(), b.data(), n), lastEqual);
            EXPECT_EQ(TallyDifferences(a.data(), b.data(), n, before), tally);
        }
    }
}

}  // namespace
}  // namespace qv
