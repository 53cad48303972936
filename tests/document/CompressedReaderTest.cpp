// SPDX-License-Identifier: GPL-3.0-or-later
// CompressedReader: the container's header checks, the three block kinds, the tail flag,
// and that any damaged container gives nothing at all.
#include "document/CompressedReader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/LzwTestEncoder.h"

namespace qv {
namespace {

struct Block {
    uint16_t length;
    std::vector<uint8_t> stored;  // empty: a zero block
};

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A container with correct length field unless one is given.
std::vector<uint8_t> Container(uint32_t dataLength, const std::vector<Block>& blocks, uint16_t tail = 0,
                               uint16_t extra = 0, int64_t lengthField = -1)
{
    std::vector<uint8_t> body(extra, 0x5A);
    for (const auto& block : blocks) {
        Put16(body, block.length);
        Put16(body, static_cast<uint32_t>(block.stored.size()));
        body.insert(body.end(), block.stored.begin(), block.stored.end());
    }
    std::vector<uint8_t> out = {'Q', 'V', 'C', 'D'};
    Put32(out, lengthField >= 0 ? static_cast<uint32_t>(lengthField) : static_cast<uint32_t>(16 + body.size() - 8));
    Put16(out, extra);
    Put16(out, tail);
    Put32(out, dataLength);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::vector<uint8_t> Lzw(const std::string& text)
{
    return test::LzwTestEncode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(CompressedReader, AcceptedContainers)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> container;
        std::vector<uint8_t> expected;
    };
    const std::string text = "TOBEORNOTTOBEORTOBEORNOT#abc";  // 28 bytes
    std::vector<uint8_t> withTrailer = Container(4, {{4, Bytes("ABCD")}});
    withTrailer.insert(withTrailer.end(), {1, 2, 3});  // bytes after the container are ignored
    const std::vector<Case> cases = {
        {"zero block", Container(8, {{8, {}}}), std::vector<uint8_t>(8, 0)},
        {"raw block", Container(4, {{4, Bytes("ABCD")}}), Bytes("ABCD")},
        {"lzw block", Container(28, {{28, Lzw(text)}}), Bytes(text)},
        {"tail block decoded but not counted", Container(8, {{8, Bytes("12345678")}, {4, Bytes("WXYZ")}}, 1),
         Bytes("12345678")},
        {"extra header skipped", Container(4, {{4, Bytes("WXYZ")}}, 0, 7), Bytes("WXYZ")},
        {"mixed blocks", Container(24, {{4, {}}, {4, Bytes("raw!")}, {16, Lzw("abababababababab")}}),
         Bytes(std::string(4, '\0') + "raw!abababababababab")},
        {"file longer than the container", withTrailer, Bytes("ABCD")},
    };
    for (const auto& c : cases) {
        auto result = CompressedReader(c.container);
        ASSERT_TRUE(result.has_value()) << c.name;
        EXPECT_EQ(*result, c.expected) << c.name;
    }
}

TEST(CompressedReader, RejectedContainers)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> container;
    };
    std::vector<uint8_t> badMagic = Container(4, {{4, Bytes("ABCD")}});
    badMagic[3] = 'X';
    std::vector<uint8_t> truncated = Container(4, {{4, Bytes("ABCD")}});
    truncated.pop_back();
    std::vector<uint8_t> lzwWithoutEnd = Lzw("ABCDABCD");
    lzwWithoutEnd.pop_back();
    const std::vector<Case> cases = {
        {"too short for a header", {'Q', 'V', 'C', 'D', 0, 0}},
        {"wrong magic", badMagic},
        {"not a multiple of 4", Container(6, {{6, Bytes("ABCDEF")}})},
        {"stored longer than length", Container(4, {{4, Bytes("ABCDE")}})},
        {"lzw without end code", Container(8, {{8, lzwWithoutEnd}})},
        {"lzw yields other length", Container(8, {{8, Lzw("ABCDEFG")}})},
        {"blocks short of the data length", Container(8, {{4, Bytes("ABCD")}})},
        {"blocks beyond the data length", Container(4, {{4, Bytes("ABCD")}, {4, Bytes("EFGH")}})},
        {"data length zero", Container(0, {{4, Bytes("ABCD")}})},
        {"data length above 16 MB", Container(0x1000004, {{4, Bytes("ABCD")}})},
        {"tail flag not below data length", Container(4, {{4, Bytes("ABCD")}, {4, Bytes("ABCD")}}, 4)},
        {"extra header reaches the end", Container(4, {{4, Bytes("ABCD")}}, 0, 0, 16 - 8)},
        {"container length beyond file", truncated},
        {"container ends inside a block", Container(4, {{4, Bytes("ABCD")}}, 0, 0, 16 + 6 - 8)},
        {"container length at 8 MB", Container(4, {{4, Bytes("ABCD")}}, 0, 0, 0x7FFFF8 - 8)},
    };
    for (const auto& c : cases) EXPECT_FALSE(CompressedReader(c.container).has_value()) << c.name;
}

TEST(CompressedReader, FullSizeLzwBlocksDecodeInPlace)
{
    // Three LZW blocks of 65535 bytes and a raw block of 3: 196608 bytes, a multiple of 4.
    std::vector<uint8_t> data(65535 * 3 + 3);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((i * 7) % 251 < 20 ? i : 'x');
    std::vector<Block> blocks;
    for (size_t start = 0; start < 65535 * 3; start += 65535)
        blocks.push_back({65535, test::LzwTestEncode(data.data() + start, 65535)});
    blocks.push_back({3, {data.end() - 3, data.end()}});
    const auto result = CompressedReader(Container(static_cast<uint32_t>(data.size()), blocks));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, data);
}

TEST(CompressedReader, AnyCorruptionGivesAWholeResultOrNothing)
{
    const auto good = Container(24, {{4, {}}, {4, Bytes("raw!")}, {16, Lzw("abababababababab")}});
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        auto damaged = good;
        const int flips = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        if (random() % 4 == 0) damaged.resize(random() % damaged.size());
        const auto result = CompressedReader(damaged);
        if (result) {
            ASSERT_GT(result->size(), 0u);
            ASSERT_EQ(result->size() % 4, 0u);
        }
    }
}

}  // namespace
}  // namespace qv
