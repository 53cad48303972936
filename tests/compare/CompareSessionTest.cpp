// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor's compare does without a window: the moves from run to run, the count
// and the texts of the status bar, the dialog's fields, the file to compare with, and the
// hex view's hook that marks differing bytes and reports edits.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "compare/CompareDialog.h"
#include "compare/CompareFile.h"
#include "compare/CompareSession.h"
#include "tests/compare/CompareModel.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

struct Sides {
    test::Bytes left, right;
    BlockByteSource leftBytes, rightBytes;
    Sides(test::Bytes l, test::Bytes r) : left(std::move(l)), right(std::move(r))
    {
        leftBytes.Reset(left.data(), static_cast<int64_t>(left.size()));
        rightBytes.Reset(right.data(), static_cast<int64_t>(right.size()));
    }
};

TEST(CompareSession, StepsThroughTheModelsRunsForwardAndBack)
{
    std::mt19937 random(9);
    const test::FilePair files(random, 70000, 70100);
    Sides sides(files.left, files.right);
    // The first position differs too: the first step selects the run that starts there.
    sides.right[0] ^= 1;
    const CompareSession session(sides.leftBytes, sides.rightBytes, {});
    const std::vector<DiffRun> runs = test::Model{sides.left, sides.right, {}}.Runs();
    ASSERT_EQ(runs.front().start, 0);

    std::vector<DiffRun> forward;
    std::optional<DiffRun> selected;
    for (int64_t from = 0; (selected = session.NextRun(from, selected, nullptr)); from = selected->start)
        forward.push_back(*selected);
    EXPECT_EQ(forward, runs);
    for (size_t k = 1; k < runs.size(); ++k) {
        EXPECT_EQ(session.PreviousRun(runs[k].start, nullptr), runs[k - 1]);
        // From inside a run (past its start): back to its start, and on past its end.
        const int64_t inside = runs[k].start + runs[k].length - 1;
        if (runs[k].length > 1 && k + 1 < runs.size()) {
            EXPECT_EQ(session.PreviousRun(inside, nullptr), runs[k]);
            EXPECT_EQ(session.NextRun(inside, std::nullopt, nullptr), runs[k + 1]);
        }
    }
    EXPECT_FALSE(session.PreviousRun(0, nullptr));
}

TEST(CompareSession, CountsAndStatusTexts)
{
    Sides sides(test::Bytes(3 << 20, 7), test::Bytes(3 << 20, 7));
    sides.right[5] = 1;
    CompareSession session(sides.leftBytes, sides.rightBytes, {2, 0, -1});
    // Left 2 beside right 0.
    EXPECT_EQ(session.PartnerByteText(CompareSide::Left, 7), "Rechts: 01");
    EXPECT_EQ(session.PartnerByteText(CompareSide::Left, 1), "Rechts: kein Byte");
    EXPECT_EQ(session.PartnerByteText(CompareSide::Right, 5), "Links: 07");
    EXPECT_EQ(session.PartnerOffset(CompareSide::Right, 5), 7);

    session.Counter().Step(session.Finder(), 1);  // one block of three
    EXPECT_EQ(session.CountText(), "bisher 1 Unterschied, 1 Bereich (33 % verglichen)");
    while (!session.Counter().Step(session.Finder(), 1 << 20)) {
    }
    EXPECT_EQ(session.CountText(), "3 Unterschiede, 2 Bereiche");  // and the two the left side has more

    // Two bytes inserted at the left side's end leave only the changed byte.
    sides.left.resize(sides.left.size() + 2, 7);
    sides.leftBytes.Reset(sides.left.data(), static_cast<int64_t>(sides.left.size()));
    session.LeftEdited(static_cast<int64_t>(sides.left.size()) - 2, -1);
    while (!session.Counter().Step(session.Finder(), 1 << 20)) {
    }
    EXPECT_EQ(session.CountText(), "1 Unterschied, 1 Bereich");
    sides.left[7] = 1;
    session.LeftEdited(7, 7);
    session.Counter().Step(session.Finder(), 1 << 20);
    EXPECT_EQ(session.CountText(), "Keine Unterschiede");

    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1.000");
    EXPECT_EQ(GroupedNumber(1234567), "1.234.567");
}

TEST(CompareSession, DialogFileAndStartsRefuseWhatCannotBeCompared)
{
    CompareDialog dialog;
    EXPECT_TRUE(dialog.Problem());  // no file
    dialog.path = "/x";
    dialog.leftStart = "0x200";
    dialog.rightStart = "2*0x10";
    EXPECT_FALSE(dialog.Problem());
    EXPECT_EQ(dialog.Alignment(), (CompareAlignment{0x200, 0x20, -1}));
    for (const char* wrong : {"-1", "abc", "1+"}) {
        dialog.rightStart = wrong;
        EXPECT_TRUE(dialog.Problem()) << wrong;
    }

    const test::TempDir dir;
    std::string problem;
    EXPECT_FALSE(CompareFile::Open(dir.File("missing"), problem));
    EXPECT_NE(problem.find("gibt es nicht"), std::string::npos);
    EXPECT_FALSE(CompareFile::Open(dir.Path(), problem));
    EXPECT_NE(problem.find("Ordner"), std::string::npos);
    ::mkfifo(dir.File("fifo").c_str(), 0600);
    EXPECT_FALSE(CompareFile::Open(dir.File("fifo"), problem));
    problem.clear();
    const auto empty = CompareFile::Open(dir.Write("empty", std::string()), problem);
    ASSERT_TRUE(empty) << problem;
    EXPECT_EQ(empty->Bytes().Size(), 0);
    const auto some = CompareFile::Open(dir.Write("some", std::string("abc")), problem);
    ASSERT_TRUE(some);
    EXPECT_EQ(some->Data()[2], 'c');

    EXPECT_FALSE(StartsProblem({3, 3, -1}, 3, 3, "b"));
    EXPECT_TRUE(StartsProblem({4, 0, -1}, 3, 3, "b"));
    EXPECT_NE(StartsProblem({0, 4, -1}, 3, 3, "b")->find("\"b\""), std::string::npos);
}

// Marks every third byte.
class EveryThirdByte : public IByteDifferences {
public:
    void MarkDiffering(int64_t offset, int32_t count, uint8_t* differs) const override
    {
        for (int32_t i = 0; i < count; ++i) differs[i] = (offset + i) % 3 == 0 ? 1 : 0;
    }
};

TEST(CompareSession, HexViewDrawsDifferingBytesBelowTheSelection)
{
    std::vector<uint8_t> bytes(64, 0x11);
    CHexView view;
    view.SetBuffer(bytes.data(), 64, 0, ViewWritable);
    EveryThirdByte differences;
    view.SetDifferences(&differences);
    const auto attribute = static_cast<uint8_t>(view.Style().colors.FindByIndex(kDifferenceColorIndex));
    ASSERT_GT(attribute, AttrRange);
    view.SetCursorOffset(3, false);
    view.SelectTo(5, false);  // bytes 3 and 4
    RowText row, printed;
    view.BuildRow(0, false, row);
    view.BuildRow(0, true, printed);
    const HexLayout& layout = view.RowLayout();
    for (int32_t i = 0; i < 7; ++i) {
        const bool selected = i == 3 || i == 4, differs = i % 3 == 0;
        const uint8_t hex = selected ? uint8_t{AttrSelection} : differs ? attribute : uint8_t{AttrHexArea};
        const uint8_t text = selected ? uint8_t{AttrSelection} : differs ? attribute : uint8_t{AttrStandard};
        EXPECT_EQ(row.attributes[static_cast<size_t>(layout.HexColumn(i))], hex) << i;
        EXPECT_EQ(row.attributes[static_cast<size_t>(layout.textStart + i)], text) << i;
        EXPECT_EQ(printed.attributes[static_cast<size_t>(layout.HexColumn(i))], AttrHexArea);
    }

    view.SetDifferences(nullptr);
    view.BuildRow(0, false, row);
    EXPECT_EQ(row.attributes[static_cast<size_t>(layout.HexColumn(0))], AttrHexArea);
}

}  // namespace
}  // namespace qv
