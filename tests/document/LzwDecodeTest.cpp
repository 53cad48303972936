// SPDX-License-Identifier: GPL-3.0-or-later
// LzwDecode: the code stream, its width changes, clears, the table limit and every way a
// stream can be malformed.
#include "document/LzwDecode.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/LzwTestEncoder.h"

namespace qv {
namespace {

constexpr size_t kBlockCapacity = 65552;

const std::vector<uint8_t> kTobeStream = {0x54, 0x9E, 0x08, 0x29, 0xF2, 0x44, 0x8A, 0x93, 0x27, 0x54, 0x04,
                                          0x12, 0x34, 0xB8, 0xB0, 0xE0, 0xC1, 0x84, 0x23, 0x02, 0x02};
const std::string kTobeText = "TOBEORNOTTOBEORTOBEORNOT#";

// Packs codes of the given widths least significant bit first.
std::vector<uint8_t> Pack(const std::vector<std::pair<uint32_t, uint32_t>>& codes)
{
    std::vector<uint8_t> out;
    uint64_t bits = 0;
    uint32_t count = 0;
    for (auto [code, width] : codes) {
        bits |= uint64_t{code} << count;
        count += width;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0) out.push_back(static_cast<uint8_t>(bits));
    return out;
}

std::string Decode(const std::vector<uint8_t>& stream, size_t capacity, size_t* written = nullptr)
{
    std::vector<uint8_t> out(capacity, 0xEE);
    const size_t n = LzwDecode(stream.data(), stream.size(), out.data(), capacity);
    if (written) *written = n;
    return std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
}

TEST(LzwDecode, DecodesTheTwentyOneByteStream)
{
    EXPECT_EQ(Decode(kTobeStream, kBlockCapacity), kTobeText);
}

TEST(LzwDecode, TestEncoderProducesTheSameTwentyOneBytes)
{
    // Pins the encoder used by the other tests to the decoder's bit layout.
    const auto stream = test::LzwTestEncode(reinterpret_cast<const uint8_t*>(kTobeText.data()), kTobeText.size());
    EXPECT_EQ(stream, kTobeStream);
}

TEST(LzwDecode, MalformedStreamsFail)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> stream;
        size_t capacity;
        size_t expected;
    };
    std::vector<uint8_t> withoutEnd(kTobeStream.begin(), kTobeStream.end() - 3);  // end code cut off
    const std::vector<Case> cases = {
        {"empty stream", {}, kBlockCapacity, 0},
        {"no end code", withoutEnd, kBlockCapacity, 0},
        {"undefined code stops early", Pack({{'A', 9}, {300, 9}, {257, 9}}), kBlockCapacity, 1},
        {"capacity reached", kTobeStream, 25 + 4, 0},
        {"capacity just large enough", kTobeStream, 25 + 5, 25},
        {"capacity below five", Pack({{'A', 9}, {257, 9}}), 4, 0},
        {"end code alone", Pack({{257, 9}}), kBlockCapacity, 0},
    };
    for (const auto& c : cases) {
        size_t written = 99;
        Decode(c.stream, c.capacity, &written);
        EXPECT_EQ(written, c.expected) << c.name;
    }
}

TEST(LzwDecode, ClearResetsTableAndWidth)
{
    // "AB" defines 258 = "AB"; after a clear 258 is undefined again until redefined.
    const auto stream = Pack({{'A', 9}, {'B', 9}, {256, 9}, {'C', 9}, {'D', 9}, {258, 9}, {257, 9}});
    EXPECT_EQ(Decode(stream, kBlockCapacity), "ABCDCD");
}

TEST(LzwDecode, CodeBeingDefinedRepeatsPreviousString)
{
    // 258 and 259 are each used while being defined: "A", "AA", "AAA".
    const auto stream = Pack({{'A', 9}, {258, 9}, {259, 9}, {257, 9}});
    EXPECT_EQ(Decode(stream, kBlockCapacity), "AAAAAA");
}

TEST(LzwDecode, OutputStaysInsideCapacityForAnyInput)
{
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> stream(random() % 200);
        for (auto& byte : stream) byte = static_cast<uint8_t>(random());
        const size_t capacity = 5 + random() % 300;
        std::vector<uint8_t> out(capacity + 16, 0xEE);
        const size_t n = LzwDecode(stream.data(), stream.size(), out.data(), capacity);
        ASSERT_LT(n, capacity - 4);
        for (size_t i = capacity - 4; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "wrote past the limit";
    }
}

TEST(LzwDecode, RoundTripsThroughWidthChangesAndTableLimit)
{
    std::mt19937 random(3);
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
    };
    std::vector<uint8_t> noise(60000), text(65535), runs(65535);
    for (auto& b : noise) b = static_cast<uint8_t>(random());
    for (auto& b : text) b = static_cast<uint8_t>("abcdefgh ij"[random() % 11]);
    for (size_t i = 0; i < runs.size(); ++i) runs[i] = static_cast<uint8_t>(i / 700);
    const std::vector<Case> cases = {{"noise: many clears at 12 bits", noise},
                                     {"small alphabet", text},
                                     {"long runs: strings longer than 256", runs},
                                     {"one byte", {42}}};
    for (const auto& c : cases) {
        const auto stream = test::LzwTestEncode(c.data.data(), c.data.size());
        std::vector<uint8_t> out(kBlockCapacity);
        ASSERT_EQ(LzwDecode(stream.data(), stream.size(), out.data(), out.size()), c.data.size()) << c.name;
        out.resize(c.data.size());
        EXPECT_EQ(out, c.data) << c.name;
    }
}

}  // namespace
}  // namespace qv
