// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/FindValues.h"

#include <gtest/gtest.h>

#include "tests/search/PatternOfBytes.h"

namespace qv {
namespace {

using test::Bytes;
using test::Pattern;
using test::Positions;

int64_t Find(DecodedPattern& p, const Bytes& d, int64_t start, int64_t count, bool ordered)
{
    return FindValues(p, d.data(), static_cast<int64_t>(d.size()), start, count, ordered);
}

TEST(FindValues, SingleValueAndEmptyPattern)
{
    Bytes d{0, 0x41, 0, 0x41};
    DecodedPattern p = Pattern(0, {{0x41}});
    EXPECT_EQ(Find(p, d, 0, 4, false), 1);
    EXPECT_EQ(Find(p, d, 2, 4, false), 3);
    EXPECT_EQ(Find(p, d, 3, -4, false), 3);
    DecodedPattern none = Pattern(1000, {});
    EXPECT_EQ(Find(none, d, 0, 4, false), -1);
}

TEST(FindValues, OrderedGroupsKeepListOrderWithinTheWindow)
{
    DecodedPattern p = Pattern(2, {{0x41}, {0x42}});
    Bytes forward{0, 0x41, 0x42, 0};
    Bytes reversed{0, 0x42, 0x41, 0};
    EXPECT_EQ(Find(p, forward, 0, 4, true), 1);
    EXPECT_EQ(Positions(p), (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(Find(p, reversed, 0, 4, true), -1);

    Bytes apart{0x41, 0, 0x42};  // 41 .. 42 needs a window of 3
    EXPECT_EQ(Find(p, apart, 0, 3, true), -1);
    DecodedPattern wide = Pattern(3, {{0x41}, {0x42}});
    EXPECT_EQ(Find(wide, apart, 0, 3, true), 0);

    // Ordered values do not overlap one another.
    DecodedPattern overlap = Pattern(4, {{0x41, 0x41}, {0x41, 0x42}});
    Bytes d{0x41, 0x41, 0x42, 0x00, 0x41, 0x41, 0x41, 0x42};
    EXPECT_EQ(Find(overlap, d, 0, 8, true), 4);
    EXPECT_EQ(Positions(overlap), (std::vector<int64_t>{4, 6}));
}

TEST(FindValues, UnorderedGroupsTakeFurtherValuesAnywhereAfterTheFirst)
{
    DecodedPattern p = Pattern(4, {{0x41}, {0x43}, {0x42}});
    Bytes d{0x41, 0x42, 0x43, 0x00};
    EXPECT_EQ(Find(p, d, 0, 4, false), 0);
    EXPECT_EQ(Positions(p), (std::vector<int64_t>{0, 2, 1}));
    EXPECT_EQ(Find(p, d, 0, 4, true), -1);  // the list order is 41 43 42

    // The window ends `range` bytes after the first value's start.
    DecodedPattern narrow = Pattern(2, {{0x41}, {0x43}});
    EXPECT_EQ(Find(narrow, d, 0, 4, false), -1);
}

TEST(FindValues, UnorderedGroupsLookBeforeTheFirstValue)
{
    Bytes d{0x42, 0x00, 0x00, 0x41, 0x00};
    DecodedPattern p = Pattern(3, {{0x41}, {0x42}});
    EXPECT_EQ(Find(p, d, 0, 5, false), 3);
    EXPECT_EQ(Positions(p), (std::vector<int64_t>{3, 0}));
    DecodedPattern narrow = Pattern(2, {{0x41}, {0x42}});
    EXPECT_EQ(Find(narrow, d, 0, 5, false), -1);
    EXPECT_EQ(Find(p, d, 0, 5, true), -1);  // ordered groups never look back
}

TEST(FindValues, AFailedGroupIsRetriedAtTheNextOccurrence)
{
    //          0     1     2     3     4     5     6     7
    Bytes d{0x41, 0x00, 0x00, 0x00, 0x41, 0x42, 0x00, 0x41};
    DecodedPattern p = Pattern(2, {{0x41}, {0x42}});
    EXPECT_EQ(Find(p, d, 0, 8, true), 4);
    EXPECT_EQ(Find(p, d, 7, -8, true), 4);   // backward: the occurrence at 7 fails first
    EXPECT_EQ(Positions(p), (std::vector<int64_t>{4, 5}));
    EXPECT_EQ(Find(p, d, 0, 4, true), -1);   // the run ends before the good occurrence
    EXPECT_EQ(Find(p, d, 3, -4, true), -1);
    EXPECT_EQ(Find(p, d, 5, 3, true), -1);   // the last occurrence has no room after it
}

TEST(FindValues, ForwardRunsBoundTheWindowBackwardRunsDoNot)
{
    Bytes d{0x00, 0x41, 0x00, 0x42};
    DecodedPattern p = Pattern(10, {{0x41}, {0x42}});
    EXPECT_EQ(Find(p, d, 0, 3, true), -1);   // run 0..2: the window ends at 3
    EXPECT_EQ(Find(p, d, 0, 4, true), 1);
    // Backward from 2 down: the first value at 1, the window reaches up to 1 + 10.
    EXPECT_EQ(Find(p, d, 2, -3, true), 1);
    EXPECT_EQ(Find(p, d, 2, -3, false), 1);
    EXPECT_EQ(Positions(p), (std::vector<int64_t>{1, 3}));
}

TEST(FindValues, GroupsOfEveryKindOfValue)
{
    DecodedPattern p = DecodeSearchPattern(MultiString::FromList({
        "16",
        *BuildSearchEntry({"\"abc\"", 4, ValueWidth::Variable, true, false, false}),
        *BuildSearchEntry({"0x1234", 1, ValueWidth::Word, false, false, true}),
        *BuildSearchEntry({":F? #??????01", 6, ValueWidth::Variable, false, false, false}),
    }));
    ASSERT_EQ(p.values.size(), 3u);
    Bytes d{'x', 'A', 'b', 'C', 0x12, 0x34, 0xF7, 0x05, 0, 0};
    EXPECT_EQ(FindValues(p, d.data(), 10, 0, 10, true), 1);
    EXPECT_EQ(Positions(p), (std::vector<int64_t>{1, 4, 6}));
}

}  // namespace
}  // namespace qv
