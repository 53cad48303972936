// SPDX-License-Identifier: GPL-3.0-or-later
// The tree over a run's rows and the JSON form of a run.
#include <gtest/gtest.h>

#include "modules/DataRowTree.h"
#include "modules/DecodeJson.h"
#include "modules/ModuleSet.h"

namespace qv {
namespace {

std::vector<ResultRow> Rows(std::initializer_list<int> indents)
{
    std::vector<ResultRow> rows;
    for (int indent : indents) rows.push_back(ResultRow{0, indent, 0, 0, 0, {}});
    return rows;
}

TEST(DataRowTreeTest, ChildrenAreTheRowsOneLevelDeeperUpToTheNextRowThatIsNot)
{
    const auto rows = Rows({0, 1, 2, 1, 0, 2, 1, 0});
    DataRowTree tree;
    tree.Reset(&rows);
    EXPECT_EQ(tree.ChildCount(DataRowTree::kTop), 3);
    EXPECT_EQ(tree.Child(DataRowTree::kTop, 2), 7);
    EXPECT_EQ(tree.ChildCount(0), 2);
    EXPECT_EQ(tree.Child(0, 1), 3);
    EXPECT_EQ(tree.Parent(3), 0);
    EXPECT_EQ(tree.Position(3), 1);
    EXPECT_TRUE(tree.HasChildren(1));
    EXPECT_EQ(tree.ChildCount(1), 1);
    EXPECT_EQ(tree.Parent(2), 1);
    // A row two levels deeper is skipped until a row one level deeper comes.
    EXPECT_TRUE(tree.HasChildren(4));
    EXPECT_EQ(tree.ChildCount(4), 1);
    EXPECT_EQ(tree.Child(4, 0), 6);
    EXPECT_FALSE(tree.HasChildren(7));
    EXPECT_EQ(tree.Child(0, 5), -1);
    EXPECT_EQ(tree.ChildCount(99), 0);
}

TEST(DataRowTreeTest, RowsAtIndentEightOrMoreDoNotExpand)
{
    const auto rows = Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    DataRowTree tree;
    tree.Reset(&rows);
    EXPECT_TRUE(tree.HasChildren(7));
    EXPECT_EQ(tree.ChildCount(7), 1);
    EXPECT_FALSE(tree.HasChildren(8));
    EXPECT_EQ(tree.ChildCount(8), 0);
}

TEST(DecodeJsonTest, RowsNestByIndentWithEscapedUtf8Texts)
{
    ModuleSet set;
    set.slots[0].names = {"", "Kopf", "Größe \"a\"\\", "Ende"};
    set.slots[0].rows = {ResultRow{-1, 0, 0, 0, 0, ""}, ResultRow{-2, 1, 4, 2, 2, "5\t"},
                         ResultRow{-3, 0, 1, 6, 6, ""}};
    set.slots[0].names[2] = "Gr\xF6\xDF" "e \"a\"\\";  // Windows-1252
    EXPECT_EQ(DecodeRowsJson(set, 0),
              "[\n{\"name\":\"Kopf\",\"value\":\"\",\"offset\":0,\"size\":0,\"address\":0,\"children\":["
              "\n{\"name\":\"Größe \\\"a\\\"\\\\\",\"value\":\"5\\t\",\"offset\":2,\"size\":4,\"address\":2,"
              "\"children\":[]}]},"
              "\n{\"name\":\"Ende\",\"value\":\"\",\"offset\":6,\"size\":1,\"address\":6,\"children\":[]}\n]\n");
    ModuleSet empty;
    EXPECT_EQ(DecodeRowsJson(empty, 0), "[\n]\n");
}

}  // namespace
}  // namespace qv
