// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qv {
namespace {

struct ParseCase {
    const char* text;
    uint32_t mode;
    int32_t value;
    size_t consumed;
};

class ParseNumberTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsValueAndConsumedCount)
{
    const ParseCase& c = GetParam();
    size_t consumed = 999;
    EXPECT_EQ(ParseNumber(c.text, c.mode, &consumed), c.value) << c.text;
    EXPECT_EQ(consumed, c.consumed) << c.text;
}

INSTANTIATE_TEST_SUITE_P(AutomaticMode, ParseNumberTest, testing::Values(
    ParseCase{"123", 0, 123, 3},
    ParseCase{"0x1A", 0, 26, 4},
    ParseCase{"0X1a", 0, 26, 4},
    ParseCase{"0B11", 0, 3, 4},
    ParseCase{"0o17", 0, 15, 4},
    ParseCase{"0d99", 0, 99, 4},
    ParseCase{"017", 0, 17, 3},
    ParseCase{"-0x10", 0, -16, 5},
    ParseCase{"12abc", 0, 12, 2},
    ParseCase{"4294967295", 0, -1, 10},
    ParseCase{"4294967296", 0, 0, 10},
    ParseCase{"-2147483648", 0, INT32_MIN, 11},
    ParseCase{"101B", 0, 101, 3},
    ParseCase{"", 0, 0, 0},
    ParseCase{"0x", 0, 0, 2},
    ParseCase{"abc", 0, 0, 0},
    ParseCase{"-", 0, 0, 0},
    ParseCase{"  42", 0, 42, 4},
    ParseCase{"\t7 ", 0, 7, 2},
    ParseCase{"1Ah", 0, 1, 1}));

INSTANTIATE_TEST_SUITE_P(SuffixMode, ParseNumberTest, testing::Values(
    ParseCase{"1Ah", 252, 26, 3},
    ParseCase{"0FFh", 252, 255, 4},
    ParseCase{"FFh", 252, 255, 3},
    ParseCase{"ffH", 252, 255, 3},
    ParseCase{"101b", 252, 5, 4},
    ParseCase{"101B", 252, 5, 4},
    ParseCase{"17o", 252, 15, 3},
    ParseCase{"16#FF", 252, 255, 5},
    ParseCase{"2#101", 252, 5, 5},
    ParseCase{"8#17", 252, 15, 4},
    ParseCase{"10#99", 252, 99, 5},
    ParseCase{"0x1A", 252, 26, 4},
    ParseCase{"0b101", 252, 5, 5},
    ParseCase{"0o17", 252, 15, 4},
    ParseCase{"017", 252, 17, 3},
    ParseCase{"12abc", 252, 12, 2},
    ParseCase{"19o", 252, 19, 2},      // 9 is no octal digit: no suffix
    ParseCase{"121b", 252, 121, 3},    // 2 is no binary digit: no suffix
    ParseCase{"017", 251, 15, 3},      // leading zero means octal
    ParseCase{"1Ah", 251, 26, 3},
    ParseCase{"17", 251, 17, 2}));

INSTANTIATE_TEST_SUITE_P(FixedAndCStyle, ParseNumberTest, testing::Values(
    ParseCase{"ff", 16, 255, 2},
    ParseCase{"0x1A", 16, 0, 1},       // no prefix in a fixed radix
    ParseCase{"777", 8, 511, 3},
    ParseCase{"zz", 36, 1295, 2},
    ParseCase{"102", 2, 2, 2},
    ParseCase{"0x1f", 255, 31, 4},
    ParseCase{"017", 255, 15, 3},
    ParseCase{"019", 255, 1, 2},
    ParseCase{"19", 255, 19, 2},
    ParseCase{"0", 255, 0, 1}));

INSTANTIATE_TEST_SUITE_P(OptionBits, ParseNumberTest, testing::Values(
    ParseCase{"12  x", 0x1000, 12, 4},
    ParseCase{"12  ", 0x1000, 12, 4},
    ParseCase{"abc  ", 0x1000, 0, 0},
    ParseCase{"- 5", 0, 0, 0},         // blanks after "-" only when the text began with blanks
    ParseCase{" - 5", 0, -5, 4},
    ParseCase{" - 5", 0x2000, 0, 0},
    ParseCase{" -5", 0x2000, -5, 3},
    ParseCase{"-5", 0x4000, 0, 0},
    ParseCase{" 5", 0x8000, 0, 0},
    ParseCase{"5", 0xC000, 5, 1},
    ParseCase{" -5 ", 0x3000, -5, 4}));

TEST(ParseNumber64Test, AccumulatesSixtyFourBits)
{
    size_t consumed = 0;
    EXPECT_EQ(ParseNumber64("0xFFFFFFFFFFFFFFFF", 0, &consumed), -1);
    EXPECT_EQ(consumed, 18u);
    EXPECT_EQ(ParseNumber64("4294967296", 0), 4294967296LL);
    EXPECT_EQ(ParseNumber64("-9223372036854775808", 0), INT64_MIN);
    EXPECT_EQ(ParseNumber64("18446744073709551616", 0), 0);
    EXPECT_EQ(ParseNumber64("123456789ABh", 252), 0x123456789ABLL);
}

TEST(ParseNumberTest, StopsAtZeroByteInsideView)
{
    size_t consumed = 0;
    EXPECT_EQ(ParseNumber(std::string_view("12\0" "34", 5), 0, &consumed), 12);
    EXPECT_EQ(consumed, 2u);
    EXPECT_EQ(ParseNumber(std::string_view("1A\0h", 4), 252, &consumed), 1);
}

struct FormatCase {
    int64_t value;
    uint32_t style;
    const char* text32;  // nullptr: the case is for 64 bits only
    const char* text64;
};

class FormatNumberTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, WritesStyle)
{
    const FormatCase& c = GetParam();
    if (c.text32) {
        EXPECT_EQ(FormatNumber(static_cast<int32_t>(c.value), c.style), c.text32);
    }
    EXPECT_EQ(FormatNumber64(c.value, c.style), c.text64);
}

INSTANTIATE_TEST_SUITE_P(Styles, FormatNumberTest, testing::Values(
    FormatCase{255, 1, "0xFF", "0xFF"},
    FormatCase{255, 2, "0b11111111", "0b11111111"},
    FormatCase{255, 3, "0o377", "0o377"},
    FormatCase{255, 4, "0FFh", "0FFh"},
    FormatCase{26, 4, "1Ah", "1Ah"},
    FormatCase{255, 5, "11111111b", "11111111b"},
    FormatCase{255, 6, "377o", "377o"},
    FormatCase{255, 7, "16#FF", "16#FF"},
    FormatCase{5, 8, "2#101", "2#101"},
    FormatCase{15, 9, "8#17", "8#17"},
    FormatCase{255, 10, "10#255", "10#255"},
    FormatCase{255, 0x8810, "000000FF", "000000FF"},
    FormatCase{35, 0x8024, "Z", "Z"},
    FormatCase{-5, 0, "-5", "-5"},
    FormatCase{-5, 15, "4294967291", "18446744073709551611"},
    FormatCase{-5, 0x400, "-005", "-005"},
    FormatCase{0, 4, "0h", "0h"},
    FormatCase{0, 1, "0x0", "0x0"},
    FormatCase{0, 0, "0", "0"},
    FormatCase{INT32_MIN, 0, "-2147483648", "-2147483648"},
    FormatCase{-1, 1, "0xFFFFFFFF", "0xFFFFFFFFFFFFFFFF"},
    FormatCase{0x12345, 0x4400 | 1, "0x2345", "0x2345"},
    FormatCase{-12345, 0x4400, "-345", "-345"},
    FormatCase{5, 0x10400, "   5", "   5"},
    FormatCase{-5, 0x10400, "  -5", "  -5"},
    FormatCase{0xAB, 0x10401, "  0xAB", "  0xAB"},
    FormatCase{0xAB, 0x404, "00ABh", "00ABh"},
    FormatCase{0xAB, 0x304, "0ABh", "0ABh"},
    FormatCase{INT64_MIN, 0, nullptr, "-9223372036854775808"},
    FormatCase{-1, 2, nullptr, "0b1111111111111111111111111111111111111111111111111111111111111111"},
    FormatCase{0x7B, 0xFF, "123", "123"},
    FormatCase{10, 0x8001, "10", "10"}));  // invalid plain radix falls back to decimal

TEST(FormatNumberBufferTest, LongestTextFitsTheDeclaredSize)
{
    char text[kFormatNumberMaxText];
    const size_t length = FormatNumber64(-1, text, sizeof text, 0x3F00 | 0x10000 | 2);
    EXPECT_EQ(length, 66u);
    EXPECT_EQ(std::strlen(text), length);
}

TEST(FormatNumberBufferTest, TooSmallBufferGivesEmptyTextWithinBounds)
{
    char text[8];
    std::memset(text, 'X', sizeof text);
    EXPECT_EQ(FormatNumber(255, text, 4, 1), 0u);  // «0xFF» needs 5 bytes
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(text[4], 'X');
    EXPECT_EQ(FormatNumber(255, text, 5, 1), 4u);
    EXPECT_STREQ(text, "0xFF");
    EXPECT_EQ(FormatNumber(1, text, 0, 0), 0u);
    EXPECT_EQ(text[5], 'X');
}

TEST(NumberRoundTripTest, FormattedStylesReadBackInSuffixMode)
{
    for (int64_t value : {0LL, 1LL, 26LL, 255LL, 4096LL, 0x7FFFFFFFLL, 0xDEADBEEFLL}) {
        for (uint32_t style : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 15u}) {
            const std::string text = FormatNumber(static_cast<int32_t>(value), style);
            size_t consumed = 0;
            EXPECT_EQ(ParseNumber(text, kNumberSuffixes, &consumed), static_cast<int32_t>(value)) << text;
            EXPECT_EQ(consumed, text.size()) << text;
        }
    }
}

TEST(TypedNumberTest, SignsNotationsTrailingBlanksAndOverflow)
{
    struct Case {
        const char* text;
        uint64_t bits;
        size_t consumed;
        bool overflow;
    };
    const Case cases[] = {
        {"010", 10, 3, false},
        {" -0x10 ", uint64_t{0} - 16, 7, false},
        {"+1Ah", 26, 4, false},
        {"\t101b", 5, 5, false},
        {"0xFFFFFFFFFFFFFFFF", UINT64_MAX, 18, false},
        {"18446744073709551616", 0, 20, true},
        {"0x", 0, 0, false},
        {"- 5", 0, 0, false},
        {"12abc", 12, 2, false},
    };
    for (const Case& c : cases) {
        const TypedNumber number = ReadTypedNumber(c.text);
        EXPECT_EQ(number.Bits(), c.bits) << c.text;
        EXPECT_EQ(number.consumed, c.consumed) << c.text;
        EXPECT_EQ(number.overflow, c.overflow) << c.text;
    }
}

}  // namespace
}  // namespace qv
