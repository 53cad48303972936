// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qv {
namespace {

std::string CString(std::string_view bytes, uint32_t options)
{
    return BytesToCString(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), options);
}

struct CStringCase {
    std::string_view bytes;
    uint32_t options;
    const char* text;
};

class BytesToCStringTest : public testing::TestWithParam<CStringCase> {};

TEST_P(BytesToCStringTest, WritesLiteral)
{
    const CStringCase& c = GetParam();
    EXPECT_EQ(CString(c.bytes, c.options), c.text);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(Escapes, BytesToCStringTest, testing::Values(
    CStringCase{"abc"sv, 0, "\"abc\""},
    CStringCase{"\n\r\t\a\b\v\f"sv, 0, R"("\n\r\t\a\b\v\f")"},
    CStringCase{"say \"hi\"\\"sv, 0, R"("say \"hi\"\\")"},
    CStringCase{"\x00\x1F"sv, 0, R"("\x000\x01F")"},
    CStringCase{"\x7F\x80\xFF"sv, 0, "\"\x7F\x80\xFF\""},
    CStringCase{"'?"sv, 0, "\"'?\""},
    CStringCase{""sv, 0, "\"\""},
    CStringCase{""sv, 0x20000000, ""},
    CStringCase{"A\n\x01\""sv, 0x20000000, R"(A\n\x001\")"},
    CStringCase{"A\n\x01\""sv, 0x24000000, R"(A\n\x01\")"},
    CStringCase{"\x00"sv, 0x04000000, R"("\x00")"},
    CStringCase{"a\n\"\\\t"sv, 0x40000000, R"("a\x00A\x022\x05C\x009")"},
    CStringCase{"a\n\"\\\t"sv, 0x44000000, R"("a\x0A\x22\x5C\x09")"},
    CStringCase{"\n\r\"\\\t\a\b\v\f"sv, 0x80000000, R"("\n\r\"\\\x009\x007\x008\x00B\x00C")"},
    CStringCase{"\t"sv, 0xC0000000, R"("\x009")"}));

// A hex digit right after a hexadecimal escape would be read as part of it by a C compiler.
INSTANTIATE_TEST_SUITE_P(HexDigitAfterHexEscape, BytesToCStringTest, testing::Values(
    CStringCase{"\x01" "A"sv, 0x24000000, R"(\x01\x41)"},
    CStringCase{"\x01" "AB"sv, 0x24000000, R"(\x01\x41\x42)"},
    CStringCase{"\x01" "G"sv, 0x24000000, R"(\x01G)"},
    CStringCase{"\x01" "f"sv, 0, R"("\x001\x066")"},
    CStringCase{"\n" "A"sv, 0, R"("\nA")"}));

TEST(BytesToCStringTest, OutputNeverGrowsBeyondTheSize)
{
    const std::string_view bytes = "ab\x01" "cd\n"sv;
    const std::string full = CString(bytes, 0);
    for (size_t size = 0; size <= full.size() + 2; ++size) {
        std::vector<char> out(size + 4, 'X');
        const size_t length =
            BytesToCString(out.data(), size, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
        for (size_t i = size; i < out.size(); ++i) ASSERT_EQ(out[i], 'X') << size;
        if (size == 0) continue;
        ASSERT_LT(length, size);
        EXPECT_EQ(out[length], '\0');
        if (size >= 3) {
            // Whole byte forms only, and the closing quote is always there.
            const std::string text(out.data(), length);
            EXPECT_EQ(text.back(), '"');
            EXPECT_EQ(full.compare(0, length - 1, text, 0, length - 1), 0) << text;
        }
    }
    char out[4];
    EXPECT_EQ(BytesToCString(out, 3, reinterpret_cast<const uint8_t*>("\x01"), 1, 0), 2u);
    EXPECT_STREQ(out, "\"\"");
}

struct CCharCase {
    uint8_t byte;
    bool withoutQuotes;
    const char* text;
};

class ByteToCCharTest : public testing::TestWithParam<CCharCase> {};

TEST_P(ByteToCCharTest, WritesCharacterLiteral)
{
    const CCharCase& c = GetParam();
    char out[kCCharMaxText];
    const size_t length = ByteToCChar(c.byte, out, sizeof out, c.withoutQuotes);
    EXPECT_STREQ(out, c.text);
    EXPECT_EQ(length, std::strlen(c.text));
}

INSTANTIATE_TEST_SUITE_P(Bytes, ByteToCCharTest, testing::Values(
    CCharCase{'A', false, "'A'"},
    CCharCase{'A', true, "A"},
    CCharCase{10, false, R"('\n')"},
    CCharCase{10, true, R"(\n)"},
    CCharCase{31, false, R"('\x1F')"},
    CCharCase{31, true, R"(\x01F)"},
    CCharCase{1, true, R"(\x001)"},
    CCharCase{0, false, R"('\x00')"},
    CCharCase{'\'', false, R"('\'')"},
    CCharCase{'\'', true, R"(\')"},
    CCharCase{'"', false, R"('\"')"},
    CCharCase{'\\', false, R"('\\')"},
    CCharCase{9, false, R"('\t')"},
    CCharCase{0xE4, false, "'\xE4'"}));

TEST(ByteToCCharTest, TooSmallBufferGivesNothing)
{
    char out[8] = "XXXXXXX";
    EXPECT_EQ(ByteToCChar(31, out, 6, false), 0u);  // «'\x1F'» needs 7 bytes
    EXPECT_EQ(out[0], '\0');
    EXPECT_EQ(out[1], 'X');
    EXPECT_EQ(ByteToCChar(31, out, 7, false), 6u);
}

}  // namespace
}  // namespace qv
