// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/HexText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qv {
namespace {

const uint8_t kFour[] = {0x01, 0x23, 0x45, 0x67};
const uint8_t kNine[] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x10};

struct DumpCase {
    const uint8_t* bytes;
    size_t count;
    uint32_t options;
    const char* text;
};

class BytesToHexTextTest : public testing::TestWithParam<DumpCase> {};

TEST_P(BytesToHexTextTest, WritesDump)
{
    const DumpCase& c = GetParam();
    char out[128];
    std::memset(out, 'X', sizeof out);
    const size_t length = BytesToHexText(c.bytes, out, sizeof out, c.count, c.options);
    EXPECT_EQ(std::string(out, length), c.text) << std::hex << c.options;
    // The zero byte is written only when asked for.
    EXPECT_EQ(out[length], (c.options & kHexZeroTerminate) ? '\0' : 'X');
    EXPECT_EQ(BytesToHexText(c.bytes, c.count, c.options), c.text);
}

INSTANTIATE_TEST_SUITE_P(Options, BytesToHexTextTest, testing::Values(
    DumpCase{kFour, 4, 0, "01234567"},
    DumpCase{kFour, 4, 0x80002000, "01 23 45 67 "},
    DumpCase{kFour, 4, 0xA0002000, ":01 23 45 67 "},
    DumpCase{kFour, 4, 0xB0002000, ":01 23 45 67"},
    DumpCase{kFour, 4, 0x40000000, "67452301"},
    DumpCase{kFour, 4, 0x80000002, "0123 4567 "},
    DumpCase{kFour, 4, 0x82002C00, "0123,4567,"},
    DumpCase{kFour, 4, 0xC2002000, "2301 6745 "},
    DumpCase{kFour, 4, 0x04002000, "01234567 "},
    DumpCase{kFour, 4, 0x44000000, "67452301"},
    DumpCase{kNine, 9, 0x80000004, "01234567 89ABCDEF 10"},
    DumpCase{kNine, 9, 0x08002C04, "01,23,45,67  89,AB,CD,EF  10,"},
    DumpCase{kNine, 9, 0x00002C04, "01,23,45,67, 89,AB,CD,EF, 10,"},
    DumpCase{kNine, 9, 0x02000000, "0123456789ABCDEF10"},
    DumpCase{kNine, 9, 0x42002000, "2301 6745 AB89 EFCD 10 "},
    DumpCase{kFour, 0, 0xA0002000, ":"}));

TEST(BytesToHexTextTest, NeverWritesPastTheBuffer)
{
    for (size_t size = 0; size < 16; ++size) {
        std::vector<char> out(size + 4, 'X');
        const size_t length = BytesToHexText(kNine, out.data(), size, 9, 0x80002000);
        ASSERT_LE(length + (size > 0 ? 1 : 0), size);
        if (size > 0) {
            EXPECT_EQ(out[length], '\0');
        }
        for (size_t i = size; i < out.size(); ++i) EXPECT_EQ(out[i], 'X') << size;
        EXPECT_EQ(std::string(out.data(), length), std::string("01 23 45 67 89 AB CD EF 10 ").substr(0, length));
    }
}

struct ReadCase {
    const char* text;
    uint32_t options;
    std::vector<uint8_t> bytes;
    size_t consumed;
};

class HexTextToBytesTest : public testing::TestWithParam<ReadCase> {};

TEST_P(HexTextToBytesTest, ReadsBytes)
{
    const ReadCase& c = GetParam();
    uint8_t out[32];
    std::memset(out, 0xEE, sizeof out);
    size_t consumed = 999;
    const size_t count = HexTextToBytes(out, c.options, c.text, &consumed);
    EXPECT_EQ(std::vector<uint8_t>(out, out + count), c.bytes) << c.text;
    EXPECT_EQ(consumed, c.consumed) << c.text;
    const size_t maximum = c.options & kHexReadMaxMask;
    EXPECT_EQ(out[maximum], 0xEE) << "wrote past the maximum";
}

INSTANTIATE_TEST_SUITE_P(Texts, HexTextToBytesTest, testing::Values(
    ReadCase{"01 23 45", 16, {0x01, 0x23, 0x45}, 8},
    ReadCase{"12,34", 16, {0x12}, 2},
    ReadCase{"0x12", 16, {0x00}, 1},
    ReadCase{"a b c", 16, {0x0A, 0x0B, 0x0C}, 5},
    ReadCase{"0123456", 16, {0x01, 0x23, 0x45, 0x06}, 7},
    ReadCase{"  :ab\tCD  ", 16, {0xAB, 0xCD}, 10},
    ReadCase{":ab", 16 | kHexReadColonIsError, {}, 0},
    ReadCase{"::ab", 16, {}, 1},
    ReadCase{"01 02 03 04", 2, {0x01, 0x02}, 6},
    ReadCase{"", 16, {}, 0},
    ReadCase{"zz", 16, {}, 0},
    ReadCase{"01 \"AB\" 02", 16 | kHexReadQuoted, {0x01, 0x41, 0x42, 0x02}, 10},
    ReadCase{"\"AB", 16 | kHexReadQuoted, {0x41, 0x42}, 3},
    ReadCase{"\"ABCD\"", 3 | kHexReadQuoted, {0x41, 0x42, 0x43}, 4},
    ReadCase{"01 \"AB\"", 16, {0x01}, 3}));

TEST(HexTextToBytesTest, FillsTheRestOfTheMaximum)
{
    uint8_t out[8];
    std::memset(out, 0xEE, sizeof out);
    EXPECT_EQ(HexTextToBytes(out, 6 | HexReadFillByte(0x5A), "11 22"), 2u);
    const uint8_t expected[] = {0x11, 0x22, 0x5A, 0x5A, 0x5A, 0x5A, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(out, expected, sizeof out), 0);
    // A fill byte without the fill bit changes nothing.
    std::memset(out, 0xEE, sizeof out);
    HexTextToBytes(out, 6 | (0x5Au << kHexReadFillShift), "11");
    EXPECT_EQ(out[1], 0xEE);
}

TEST(HexTextRoundTripTest, DumpReadsBackToTheSameBytes)
{
    std::vector<uint8_t> bytes(256);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    for (uint32_t options : {0u, 0xA0002000u, 0xB0002000u, 0x80000004u, 0x20002010u}) {
        const std::string text = BytesToHexText(bytes.data(), 200, options);
        std::vector<uint8_t> back(256);
        EXPECT_EQ(HexTextToBytes(back.data(), 256, text), 200u) << std::hex << options;
        EXPECT_TRUE(std::equal(back.begin(), back.begin() + 200, bytes.begin()));
    }
}

}  // namespace
}  // namespace qv
