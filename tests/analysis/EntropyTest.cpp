// SPDX-License-Identifier: GPL-3.0-or-later
// Block entropy and kinds, the overview map's bookkeeping of edits, and quarnival-cli
// entropy against a Python model of Shannon entropy per block.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "analysis/EntropyMap.h"
#include "tests/cli/CliRun.h"
#include "tests/support/RandomBytes.h"

namespace qv {
namespace {

using test::RandomBytes;

std::vector<uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

TEST(BlockEntropy, KnownDistributionsAndKinds)
{
    std::vector<uint8_t> everyValue(256 * 16);
    for (size_t i = 0; i < everyValue.size(); ++i) everyValue[i] = static_cast<uint8_t>(i);
    EXPECT_DOUBLE_EQ(ShannonEntropy(everyValue), 8.0);
    EXPECT_DOUBLE_EQ(ShannonEntropy(Bytes("abababab")), 1.0);
    EXPECT_DOUBLE_EQ(ShannonEntropy(Bytes("aaab")), 0.8112781244591328);
    EXPECT_EQ(ShannonEntropy({}), 0.0);

    EXPECT_EQ(MeasureBlock(std::vector<uint8_t>(100, 0)), (BlockMeasure{0, BlockKind::Zero}));
    EXPECT_EQ(MeasureBlock(std::vector<uint8_t>(100, 0xFF)).kind, BlockKind::Ones);
    EXPECT_EQ(MeasureBlock(Bytes("int main()\n{\treturn 0;\r\n}\n")).kind, BlockKind::Text);
    EXPECT_EQ(MeasureBlock(Bytes("Gr\xC3\xBC\xC3\x9F" "e")).kind, BlockKind::Text);
    // A block may cut a character at either end.
    EXPECT_EQ(MeasureBlock(Bytes("\xBC\xC3\x9F" "e \xC3")).kind, BlockKind::Text);
    EXPECT_EQ(MeasureBlock(Bytes(std::string_view("text\0more", 9))).kind, BlockKind::Data);
    EXPECT_EQ(MeasureBlock(Bytes("Gr\xFC\xDF" "e in Windows-1252")).kind, BlockKind::Data);
    EXPECT_EQ(MeasureBlock(RandomBytes(4096, 1)).kind, BlockKind::Data);
}

TEST(EntropyMap, MeasuresInSlicesAndForgetsOnlyWhatEditsTouched)
{
    std::vector<uint8_t> document = RandomBytes(10 * 4096 + 100, 2);
    std::fill(document.begin() + 4096, document.begin() + 8192, 0);
    BlockByteSource source(document.data(), static_cast<int64_t>(document.size()));
    EntropyMap map;
    map.Reset(static_cast<int64_t>(document.size()));
    ASSERT_EQ(map.BlockCount(), 11);
    // A deadline in the past still measures one block, so the work always moves on.
    EXPECT_FALSE(map.MeasureUntil(source, std::chrono::steady_clock::now() - std::chrono::seconds(1)));
    EXPECT_EQ(map.Block(0).kind, BlockKind::Data);
    EXPECT_EQ(map.Block(1).kind, BlockKind::Unknown);
    EXPECT_TRUE(map.MeasureUntil(source, std::chrono::steady_clock::time_point::max()));
    EXPECT_EQ(map.Block(1).kind, BlockKind::Zero);
    EXPECT_EQ(map.Block(10).kind, BlockKind::Data);

    // Bytes 8190..8193 straddle blocks 1 and 2.
    map.Overwritten(8190, 4);
    EXPECT_EQ(map.Block(0).kind, BlockKind::Data);
    EXPECT_EQ(map.Block(1).kind, BlockKind::Unknown);
    EXPECT_EQ(map.Block(2).kind, BlockKind::Unknown);
    EXPECT_EQ(map.Block(3).kind, BlockKind::Data);
    std::fill(document.begin() + 8190, document.begin() + 8194, 0);
    EXPECT_TRUE(map.MeasureUntil(source, std::chrono::steady_clock::time_point::max()));
    EXPECT_EQ(map.Block(1).kind, BlockKind::Zero);

    // Deleting from block 5 on moves every later byte.
    document.resize(6 * 4096);
    source.Reset(document.data(), static_cast<int64_t>(document.size()));
    map.Resized(5 * 4096 + 10, static_cast<int64_t>(document.size()));
    EXPECT_EQ(map.BlockCount(), 6);
    EXPECT_EQ(map.Block(4).kind, BlockKind::Data);
    EXPECT_EQ(map.Block(5).kind, BlockKind::Unknown);
    EXPECT_TRUE(map.MeasureUntil(source, std::chrono::steady_clock::time_point::max()));
}

TEST(EntropyMap, BigDocumentsGetLargerBlocksAndStretchesSummariseByMajority)
{
    EXPECT_EQ(EntropyMap::BlockSizeFor(0), 4096);
    EXPECT_EQ(EntropyMap::BlockSizeFor(int64_t{4096} * 16384), 4096);
    EXPECT_EQ(EntropyMap::BlockSizeFor(int64_t{4096} * 16384 + 1), 8192);
    EXPECT_EQ(EntropyMap::BlockSizeFor(int64_t{2} << 30), 131072);

    std::vector<uint8_t> document(4 * 4096, 0);
    const std::vector<uint8_t> noise = RandomBytes(4096, 3);
    std::copy(noise.begin(), noise.end(), document.begin() + 3 * 4096);
    const BlockByteSource source(document.data(), static_cast<int64_t>(document.size()));
    EntropyMap map;
    map.Reset(static_cast<int64_t>(document.size()));
    EXPECT_EQ(map.Summary(0, 4).kind, BlockKind::Unknown);
    map.MeasureUntil(source, std::chrono::steady_clock::time_point::max());
    EXPECT_EQ(map.Summary(0, 4).kind, BlockKind::Zero);
    const BlockMeasure half = map.Summary(2, 4);
    EXPECT_EQ(half.kind, BlockKind::Data);
    EXPECT_NEAR(half.entropy, map.Block(3).entropy / 2, 1e-9);
}

// A document of any size that holds zeros, noise in [noiseFrom, noiseEnd), and counts what
// is read of it.
class CountingSource : public IByteSource {
public:
    CountingSource(int64_t size, int64_t noiseFrom, int64_t noiseEnd) : size_(size), from_(noiseFrom), end_(noiseEnd) {}
    int64_t Size() const override { return size_; }
    std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>& scratch) const override
    {
        length = std::min(length, size_ - offset);
        if (length <= 0) return {};
        scratch.assign(static_cast<size_t>(length), 0);
        for (int64_t i = 0; i < length; ++i)
            if (offset + i >= from_ && offset + i < end_) scratch[static_cast<size_t>(i)] = noise_[(offset + i) % 4093];
        read += length;
        for (int64_t page = offset / 4096; page <= (offset + length - 1) / 4096; ++page) pages.push_back(page);
        return scratch;
    }
    mutable int64_t read = 0;
    mutable std::vector<int64_t> pages;

private:
    int64_t size_, from_, end_;
    std::vector<uint8_t> noise_ = RandomBytes(4093, 9);
};

TEST(EntropyMap, LargeDocumentsAreJudgedByOnePageFromTheMiddleOfEachBlock)
{
    // 100 GiB: blocks of 8 MiB; the noise covers the middle of block 5 only.
    const int64_t size = int64_t{100} << 30;
    const int64_t block = EntropyMap::BlockSizeFor(size);
    const CountingSource source(size, 5 * block + block / 2 - 8192, 5 * block + block / 2 + 8192);
    EntropyMap map;
    map.Reset(size);
    ASSERT_TRUE(map.MeasureUntil(source, std::chrono::steady_clock::time_point::max()));
    EXPECT_LE(source.read, 64 << 20);  // not 100 GiB, and no more pages than blocks
    EXPECT_EQ(source.pages.size(), static_cast<size_t>(map.BlockCount()));
    EXPECT_EQ(map.Block(5).kind, BlockKind::Data);
    EXPECT_GT(map.Block(5).entropy, 7.5);
    EXPECT_EQ(map.Block(4).kind, BlockKind::Zero);
    EXPECT_EQ(map.Block(6).kind, BlockKind::Zero);

    // A short last block is sampled inside itself.
    const CountingSource shortEnd((int64_t{4} << 30) + 4106, 0, 0);
    map.Reset(shortEnd.Size());
    ASSERT_TRUE(map.MeasureUntil(shortEnd, std::chrono::steady_clock::time_point::max()));
    EXPECT_EQ(map.Block(map.BlockCount() - 1).kind, BlockKind::Zero);
    EXPECT_GE(shortEnd.pages.back() * 4096, (map.BlockCount() - 1) * map.BlockSize());
    EXPECT_LE(shortEnd.read, 64 << 20);
}

// The model: Shannon entropy of each block, as a reverse engineer would compute it.
constexpr const char* kPythonEntropy = R"(import math, sys
data = open(sys.argv[1], 'rb').read()
size = int(sys.argv[2])
for at in range(0, len(data), size):
    block = data[at:at + size]
    counts = [block.count(bytes([v])) for v in range(256)]
    h = -sum(c / len(block) * math.log2(c / len(block)) for c in counts if c)
    print('0x%08X  %.3f' % (at, h + 0.0))
)";

TEST(EntropyCli, EqualsAPythonModelOnRandomZeroTextAndMixedFiles)
{
    if (test::CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
    test::TempDir dir;
    dir.Write("model.py", std::string(kPythonEntropy));
    std::string text;
    while (text.size() < 30000) text += "Die Bytes einer Datei, Zeile " + std::to_string(text.size()) + ".\n";
    std::vector<uint8_t> mixed(text.begin(), text.end());
    mixed.resize(mixed.size() + 9000, 0);
    const std::vector<uint8_t> noise = RandomBytes(20001, 4);
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    dir.Write("random", noise);
    dir.Write("zero", std::vector<uint8_t>(12288, 0));
    dir.Write("text", text);
    dir.Write("mixed", mixed);
    for (const char* file : {"random", "zero", "text", "mixed"}) {
        for (const char* block : {"4096", "1000"}) {
            const std::string cd = "cd '" + dir.Path() + "' && ";
            const test::ShellRun ours = test::RunShell(dir, cd + "CLI entropy " + file + " --block " + block);
            const test::ShellRun model = test::RunShell(dir, cd + "python3 model.py " + file + " " + block);
            EXPECT_EQ(ours.code, 0) << ours.err;
            EXPECT_FALSE(model.out.empty()) << model.err;
            EXPECT_EQ(ours.out, model.out) << file << " in blocks of " << block;
        }
    }
}

TEST(EntropyCli, JsonNamesTheKindOfEachBlockAndTheShortLastOne)
{
    if (test::CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
    test::TempDir dir;
    std::vector<uint8_t> bytes(4096, 0);
    bytes.resize(8192, 0xFF);
    bytes.insert(bytes.end(), 10, 'a');
    const std::string path = dir.Write("kinds", bytes);
    const test::ShellRun run = test::RunShell(dir, "CLI entropy '" + path + "' --json");
    EXPECT_EQ(run.out, "{\"block\":4096,\"size\":8202,\"blocks\":[\n"
                       "{\"offset\":0,\"length\":4096,\"entropy\":0.000,\"kind\":\"zero\"},\n"
                       "{\"offset\":4096,\"length\":4096,\"entropy\":0.000,\"kind\":\"ff\"},\n"
                       "{\"offset\":8192,\"length\":10,\"entropy\":0.000,\"kind\":\"text\"}\n]}\n");
    EXPECT_EQ(test::RunShell(dir, "CLI entropy '" + path + "' --block 0").code, 2);
}

}  // namespace
}  // namespace qv
