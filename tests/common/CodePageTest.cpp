// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace std::string_view_literals;

struct CodePageCase {
    std::string_view cp1252;
    std::string_view utf8;
};

class CodePageTest : public testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageTest, ConvertsBothWays)
{
    EXPECT_EQ(Cp1252ToUtf8(GetParam().cp1252), GetParam().utf8);
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
    EXPECT_TRUE(IsValidUtf8(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(Characters, CodePageTest, testing::Values(
    CodePageCase{"abc"sv, "abc"sv},
    CodePageCase{"\0"sv, "\0"sv},
    CodePageCase{"\x80"sv, "\xE2\x82\xAC"sv},            // euro sign
    CodePageCase{"\x81\x8D\x8F\x90\x9D"sv, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"sv},
    CodePageCase{"\x9F"sv, "\xC5\xB8"sv},
    CodePageCase{"Gr\xF6\xDF" "e"sv, "Gr\xC3\xB6\xC3\x9F" "e"sv},
    CodePageCase{"\xA0\xFF"sv, "\xC2\xA0\xC3\xBF"sv}));

TEST(CodePageTest, EveryByteRoundTrips)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

struct NarrowCase {
    std::string_view utf8;
    std::string_view cp1252;
    bool valid;
};

class Utf8ToCp1252Test : public testing::TestWithParam<NarrowCase> {};

TEST_P(Utf8ToCp1252Test, UnmappableAndMalformedBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), GetParam().cp1252);
    EXPECT_EQ(IsValidUtf8(GetParam().utf8), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8ToCp1252Test, testing::Values(
    NarrowCase{"\xE4\xB8\xAD"sv, "?"sv, true},            // no Windows-1252 byte
    NarrowCase{"\xF0\x9F\x98\x80"sv, "?"sv, true},
    NarrowCase{"\xC0\x80"sv, "??"sv, false},              // overlong
    NarrowCase{"\xED\xA0\x80"sv, "???"sv, false},         // surrogate
    NarrowCase{"\xE2\x82"sv, "??"sv, false},              // cut short
    NarrowCase{"a\xFF" "b"sv, "a?b"sv, false},
    NarrowCase{"\xF4\x90\x80\x80"sv, "????"sv, false}));  // above U+10FFFF

TEST(CodePageTest, Utf16ConvertsThroughCodePointsBothWays)
{
    EXPECT_EQ(Utf16ToUtf8(u"a\u00E4\u20AC\u03A9"), "a\xC3\xA4\xE2\x82\xAC\xCE\xA9");
    // A pair stands for one character; a lone half spells nothing.
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600x"), "\xF0\x9F\x98\x80x");
    EXPECT_FALSE(Utf16ToUtf8(std::u16string{0xD800, u'x'}));
    EXPECT_FALSE(Utf16ToUtf8(std::u16string{u'x', 0xDC00}));
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA4\xF0\x9F\x98\x80"), (std::u16string{u'a', 0xE4, 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf8ToUtf16("a\xFF"), u"a?");
}

}  // namespace
}  // namespace qv
