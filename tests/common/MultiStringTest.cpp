// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/MultiString.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace std::string_view_literals;

std::string_view BlockOf(const MultiString& list) { return {list.Data(), list.Size()}; }

TEST(MultiStringTest, AbsentAndEmptyLists)
{
    MultiString list;
    EXPECT_TRUE(list.IsAbsent());
    EXPECT_EQ(list.Size(), 0u);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.Data(), nullptr);
    EXPECT_FALSE(list.Get(0));
    EXPECT_EQ(list.Find("x"), -1);
    EXPECT_FALSE(list.Remove(0));

    const MultiString empty = MultiString::FromBlock("\0"sv);
    EXPECT_FALSE(empty.IsAbsent());
    EXPECT_EQ(empty.Size(), 1u);
    EXPECT_EQ(empty.Count(), 0u);
}

TEST(MultiStringTest, InsertBuildsTheBlockLayout)
{
    MultiString list;
    EXPECT_TRUE(list.Insert(0, "b"));
    EXPECT_EQ(BlockOf(list), "b\0\0"sv);
    EXPECT_TRUE(list.Insert(0, "a"));
    EXPECT_TRUE(list.Insert(99, "d"));
    EXPECT_TRUE(list.Insert(2, "c"));
    EXPECT_EQ(BlockOf(list), "a\0b\0c\0d\0\0"sv);
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Size(), 9u);
    EXPECT_EQ(list.Get(2), "c");
    EXPECT_FALSE(list.Get(4));
    EXPECT_EQ(list.Find("d"), 3);
    EXPECT_EQ(list.Find("e"), -1);
    EXPECT_EQ(list.Find(""), -1);
}

TEST(MultiStringTest, EmptyTextsWouldEndTheListAndAreRefused)
{
    MultiString list = MultiString::FromList({"a", "", "b"});
    EXPECT_EQ(list.ToList(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(list.Insert(1, ""));
    EXPECT_TRUE(list.Insert(1, std::string_view("x\0y", 3)));
    EXPECT_EQ(BlockOf(list), "a\0x\0b\0\0"sv);
}

TEST(MultiStringTest, RemoveAndClear)
{
    MultiString list = MultiString::FromList({"one", "two", "three"});
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(BlockOf(list), "one\0three\0\0"sv);
    EXPECT_FALSE(list.Remove(2));
    EXPECT_TRUE(list.Remove(1));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(BlockOf(list), "\0"sv);
    list.Clear();
    EXPECT_TRUE(list.IsAbsent());
}

struct BlockCase {
    std::string_view stored;
    std::string_view block;
    size_t count;
};

class MultiStringBlockTest : public testing::TestWithParam<BlockCase> {};

TEST_P(MultiStringBlockTest, StoredBlocksAreCompleted)
{
    const MultiString list = MultiString::FromBlock(GetParam().stored);
    EXPECT_EQ(BlockOf(list), GetParam().block);
    EXPECT_EQ(list.Count(), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Blocks, MultiStringBlockTest, testing::Values(
    BlockCase{"a\0bc\0\0"sv, "a\0bc\0\0"sv, 2},
    BlockCase{"a\0bc\0"sv, "a\0bc\0\0"sv, 2},
    BlockCase{"a\0bc"sv, "a\0bc\0\0"sv, 2},
    BlockCase{"a\0\0junk\0\0"sv, "a\0\0"sv, 1},
    BlockCase{"\0"sv, "\0"sv, 0},
    BlockCase{"\0\0"sv, "\0"sv, 0}));

TEST(MultiStringTest, AbsentBlockStaysAbsent)
{
    EXPECT_TRUE(MultiString::FromBlock({}).IsAbsent());
}

TEST(MultiStringTest, HistoryKeepsEachTextOnceMostRecentFirst)
{
    MultiString history;
    for (int i = 0; i < 20; ++i) history.AddToHistory("t" + std::to_string(i));
    EXPECT_EQ(history.Count(), 16u);
    EXPECT_EQ(history.Get(0), "t19");
    EXPECT_EQ(history.Get(15), "t4");
    history.AddToHistory("t10");
    EXPECT_EQ(history.Count(), 16u);
    EXPECT_EQ(history.Get(0), "t10");
    EXPECT_EQ(history.Find("t10"), 0);
    EXPECT_EQ(history.Get(1), "t19");
    history.AddToHistory("");
    EXPECT_EQ(history.Get(0), "t10");

    MultiString small;
    small.AddToHistory("a", 2);
    small.AddToHistory("b", 2);
    small.AddToHistory("c", 2);
    EXPECT_EQ(small.ToList(), (std::vector<std::string>{"c", "b"}));
}

}  // namespace
}  // namespace qv
