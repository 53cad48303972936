// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tools/Checksum.h"
#include "tools/ChecksumDialogModel.h"
#include "tools/ChecksumInput.h"
#include "tools/ChecksumTool.h"
#include "tests/support/SparseByteSource.h"

namespace qv {
namespace {

// Straightforward reading of the rules: units taken one by one, the last one padded.
Checksums NaiveChecksums(const std::vector<uint8_t>& bytes)
{
    Checksums sums;
    auto add = [](ChecksumTriple& t, uint32_t unit) {
        t.added += unit;
        t.subtracted -= unit;
        t.xored ^= unit;
    };
    std::vector<uint8_t> padded = bytes;
    while (padded.size() % 4 != 0) padded.push_back(0);
    for (uint8_t b : bytes) add(sums.bytes, b);
    const size_t words = (bytes.size() + 1) / 2;
    for (size_t i = 0; i < words; ++i) {
        add(sums.wordsLittle, padded[2 * i] | padded[2 * i + 1] << 8);
        add(sums.wordsBig, padded[2 * i] << 8 | padded[2 * i + 1]);
    }
    const size_t dwords = (bytes.size() + 3) / 4;
    for (size_t i = 0; i < dwords; ++i) {
        const uint8_t* p = &padded[4 * i];
        add(sums.dwordsLittle, p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
        add(sums.dwordsBig, uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]);
    }
    return sums;
}

TEST(ChecksumTest, ThreeBytesGiveTheDocumentedSums)
{
    const uint8_t bytes[] = {1, 2, 3};
    const Checksums sums = ComputeChecksums(bytes, 3);
    EXPECT_EQ(sums.bytes.added, 0x00000006u);
    EXPECT_EQ(sums.bytes.subtracted, 0xFFFFFFFAu);
    EXPECT_EQ(sums.bytes.xored, 0x00000000u);
    EXPECT_EQ(sums.wordsLittle.added, 0x00000204u);
    EXPECT_EQ(sums.wordsBig.added, 0x00000402u);
    EXPECT_EQ(sums.dwordsLittle.added, 0x00030201u);
    EXPECT_EQ(sums.dwordsBig.added, 0x01020300u);
}

TEST(ChecksumTest, OneByteIsAPaddedWordAndDoubleWord)
{
    const uint8_t byte = 0xA7;
    const Checksums sums = ComputeChecksums(&byte, 1);
    for (const ChecksumTriple* t : {&sums.bytes, &sums.wordsLittle, &sums.dwordsLittle}) {
        EXPECT_EQ(t->added, 0xA7u);
        EXPECT_EQ(t->xored, 0xA7u);
        EXPECT_EQ(t->subtracted, 0u - 0xA7u);
    }
    EXPECT_EQ(sums.wordsBig.added, 0xA700u);
    EXPECT_EQ(sums.dwordsBig.added, 0xA7000000u);
    EXPECT_EQ(sums.dwordsBig.xored, 0xA7000000u);
}

TEST(ChecksumTest, EmptyRangeGivesZeroEverywhere)
{
    EXPECT_EQ(ComputeChecksums(nullptr, 0), Checksums{});
    ChecksumDialogModel model(ComputeChecksums(nullptr, 0));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) EXPECT_EQ(model.FieldText(row, column), "0x00000000");
}

TEST(ChecksumTest, MatchesUnitByUnitReadingForEveryTrailingLength)
{
    std::mt19937 random(7);
    for (size_t length : {2, 3, 4, 5, 6, 7, 31, 32, 33, 63, 64, 65, 127, 4099, 70001, 300007}) {
        std::vector<uint8_t> bytes(length);
        for (auto& b : bytes) b = static_cast<uint8_t>(random());
        EXPECT_EQ(ComputeChecksums(bytes.data(), length), NaiveChecksums(bytes)) << "length " << length;
    }
}

TEST(ChecksumTest, AllOnesOverflowTheLanesWithoutLoss)
{
    std::vector<uint8_t> bytes(1 << 20, 0xFF);
    EXPECT_EQ(ComputeChecksums(bytes.data(), bytes.size()), NaiveChecksums(bytes));
}

TEST(ChecksumTest, DialogShowsLittleOrBigEndianRows)
{
    const uint8_t bytes[] = {1, 2, 3};
    ChecksumDialogModel model(ComputeChecksums(bytes, 3));
    EXPECT_FALSE(model.BigEndian());
    EXPECT_EQ(model.FieldText(0, 0), "0x00000006");
    EXPECT_EQ(model.FieldText(0, 1), "0xFFFFFFFA");
    EXPECT_EQ(model.FieldText(1, 0), "0x00000204");
    EXPECT_EQ(model.FieldText(2, 0), "0x00030201");
    model.SetBigEndian(true);
    EXPECT_EQ(model.FieldText(0, 0), "0x00000006");
    EXPECT_EQ(model.FieldText(1, 0), "0x00000402");
    EXPECT_EQ(model.FieldText(2, 0), "0x01020300");
    EXPECT_EQ(model.FieldText(2, 1), "0xFEFDFD00");
    EXPECT_STREQ(ChecksumDialogModel::RowLabel(2), "DWORD :");
    EXPECT_STREQ(ChecksumDialogModel::ColumnLabel(1), "Subtrahiert");
}

TEST(ChecksumTest, InputIsSelectionOrAtMostOneMebibyteFromTheStart)
{
    std::vector<uint8_t> document(2 << 20);
    const BlockByteSource bytes(document.data(), static_cast<int64_t>(document.size()));
    ToolBytes all = ToolInputBytes(bytes, 0, 0);
    EXPECT_EQ(all.offset, 0);
    EXPECT_EQ(all.length, 1048576);
    const BlockByteSource small(document.data(), 100);
    EXPECT_EQ(ToolInputBytes(small, 0, 0).length, 100);
    ToolBytes selected = ToolInputBytes(bytes, 10, 3 << 20);
    EXPECT_EQ(selected.offset, 10);
    EXPECT_EQ(selected.length, static_cast<int64_t>(document.size()) - 10);
    const BlockByteSource five(document.data(), 5);
    EXPECT_EQ(ToolInputBytes(five, 9, 2).length, 0);
    EXPECT_EQ(ToolInputBytes(BlockByteSource(), 0, 0).length, 0);
}

TEST(ChecksumTest, PiecesOfAnyLengthSumAsOneRange)
{
    std::mt19937 random(7);
    std::vector<uint8_t> bytes(1001);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    for (int round = 0; round < 20; ++round) {
        ChecksumAccumulator sums;
        for (size_t at = 0; at < bytes.size();) {
            const size_t piece = std::min<size_t>(random() % 70, bytes.size() - at);
            sums.Add(bytes.data() + at, piece);
            at += piece;
        }
        ASSERT_EQ(sums.Result(), NaiveChecksums(bytes)) << "round " << round;
    }
}

// A selection of 4 GiB and a few bytes beyond 4 GiB: zero bytes add nothing, so the sums
// are those of the bytes at both ends, each in its place within the units.
TEST(ChecksumTest, RangesPastFourGiBAreSummedWhole)
{
    test::SparseByteSource document(int64_t{10} << 30);
    const int64_t start = 0xFFFFFFF0, length = 0x100000008 + 3;
    document.Plant(start, {0x11, 0x22, 0x33});
    document.Plant(start + length - 3, {0x44, 0x55, 0x66});
    document.Plant(start + length, {0x77});  // just past the selection
    TaskProgress progress;
    const auto sums = ComputeChecksums(ToolInputBytes(document, start, length), progress);
    ASSERT_TRUE(sums);
    EXPECT_EQ(*sums, NaiveChecksums({0x11, 0x22, 0x33, 0, 0, 0, 0, 0, 0x44, 0x55, 0x66}));

    // A cancel stops after the window at hand.
    test::SparseByteSource cancelling(int64_t{6} << 30);
    cancelling.cancel = &progress;
    cancelling.cancelAfterWindows = 3;
    EXPECT_FALSE(ComputeChecksums(ToolInputBytes(cancelling, start, length), progress));
    EXPECT_EQ(cancelling.windows, 3);
}

TEST(ChecksumTest, RememberedPlaceMustLieOnTheScreen)
{
    EXPECT_TRUE(IsRememberedPlaceUsable(-99, -9, 1920, 1080));
    EXPECT_TRUE(IsRememberedPlaceUsable(1819, 979, 1920, 1080));
    EXPECT_FALSE(IsRememberedPlaceUsable(-100, 0, 1920, 1080));
    EXPECT_FALSE(IsRememberedPlaceUsable(0, -10, 1920, 1080));
    EXPECT_FALSE(IsRememberedPlaceUsable(1820, 0, 1920, 1080));
    EXPECT_FALSE(IsRememberedPlaceUsable(0, 980, 1920, 1080));
}

}  // namespace
}  // namespace qv
