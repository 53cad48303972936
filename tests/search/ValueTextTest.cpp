// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/ValueText.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qv {
namespace {

std::vector<uint8_t> Parse(std::string_view text, size_t maxBytes = 256)
{
    std::vector<uint8_t> out(264, 0xEE);
    out.resize(ParseValueText(text, out.data(), maxBytes));
    return out;
}

using Bytes = std::vector<uint8_t>;

TEST(ClassifyValueText, FirstCharactersDecideTheKind)
{
    struct Case {
        const char* text;
        std::optional<ValueKind> kind;
    };
    const Case cases[] = {
        {"", std::nullopt},
        {" \t", std::nullopt},
        {"\"abc", ValueKind::Text},
        {":12 34", ValueKind::HexDump},
        {":12 34 (1?)", ValueKind::HexDump},  // the parenthesis comes first
        {":1?", ValueKind::BitMask},
        {":12#", ValueKind::BitMask},
        {":12:", ValueKind::BitMask},
        {":", ValueKind::HexDump},
        {"-5", ValueKind::Decimal},
        {"-0x5", ValueKind::Hex},
        {"-", ValueKind::Text},
        {"- 5", ValueKind::Text},
        {"-abc", ValueKind::Text},
        {"0", ValueKind::Decimal},
        {"0x1", ValueKind::Hex},
        {"0X1", ValueKind::Hex},
        {"0b1", ValueKind::Binary},
        {"0B1", ValueKind::Binary},
        {"0o7", ValueKind::Octal},
        {"0O7", ValueKind::Octal},
        {"0d9", ValueKind::Decimal},
        {"07", ValueKind::Decimal},
        {"123", ValueKind::Decimal},
        {"abc", ValueKind::Text},
        {" \t0x1", ValueKind::Hex},
        {"\xE4", ValueKind::Text},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyValueText(c.text), c.kind) << c.text;
}

TEST(ParseValueText, NumbersGiveFourOrEightLittleEndianBytes)
{
    struct Case {
        const char* text;
        Bytes bytes;
    };
    const Case cases[] = {
        {"0x41", {0x41, 0, 0, 0}},
        {"0x123456789", {0x89, 0x67, 0x45, 0x23, 0x01, 0, 0, 0}},
        {"12345678", {0x4E, 0x61, 0xBC, 0x00}},
        {"123456789", {0x15, 0xCD, 0x5B, 0x07, 0, 0, 0, 0}},
        {"0b101", {5, 0, 0, 0}},
        {"0o17", {15, 0, 0, 0}},
        {"0d99", {99, 0, 0, 0}},
        {"0x00000001", {1, 0, 0, 0}},   // 8 digits: still 4 bytes
        {"0x000000001", {1, 0, 0, 0, 0, 0, 0, 0}},
        {"12abc", {12, 0, 0, 0}},       // reading stops at the first non-digit
        {"0x", {0, 0, 0, 0}},
        {"0b102", {2, 0, 0, 0}},
        {"  \r\n7", {7, 0, 0, 0}},
        // Negative numbers: the two's complement.
        {"-5", {0xFB, 0xFF, 0xFF, 0xFF}},
        {"-0x80000000", {0, 0, 0, 0x80}},
        {"-0x80000001", {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"-123456789", {0xEB, 0x32, 0xA4, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text, 1), c.bytes) << c.text;
}

TEST(ParseValueText, TextReadsCEscapes)
{
    struct Case {
        const char* text;
        Bytes bytes;
    };
    const Case cases[] = {
        {"\"ab\\n\"", {0x61, 0x62, 0x0A}},
        {"ab", {0x61, 0x62}},
        {"\"ab\"cd", {0x61, 0x62}},                     // quoted text ends at its quote
        {"a\"b", {0x61, 0x22, 0x62}},                   // unquoted: the whole rest
        {"\"a\\\"b\"", {0x61, 0x22, 0x62}},
        {"\"\\a\\b\\f\\n\\r\\t\\v\"", {7, 8, 12, 10, 13, 9, 11}},
        {"\"\\'\\?\\\\\"", {'\'', '?', '\\'}},
        {"\"\\101\\0\\7777\"", {0x41, 0x00, 0xFF, '7'}},  // up to 3 octal digits, cut to a byte
        {"\"\\x41\\x1234\"", {0x41, 0x23, '4'}},        // up to 3 hex digits, cut to a byte
        {"\"\\q\"", {'\\', 'q'}},                       // unknown escape: the backslash stands
        {"\"a\\", {'a', '\\'}},
        {"\"\"", {}},
        {"\"", {}},
        {"\"\xE4\xFC\"", {0xE4, 0xFC}},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text), c.bytes) << c.text;
    EXPECT_EQ(Parse("abcdef", 3), (Bytes{'a', 'b', 'c'}));
}

TEST(ParseValueText, DumpsAndBitMasks)
{
    struct Case {
        const char* text;
        size_t max;
        Bytes bytes;
    };
    const Case cases[] = {
        {":12 34", 256, {0x12, 0x34}},
        {":1234 5", 256, {0x12, 0x34, 0x05}},
        {":12 34 56", 2, {0x12, 0x34}},
        {":", 256, {}},
        {":1? #1010????", 256, {0x10, 0xA0, 0xF0, 0xF0}},
        {":1?", 256, {0x10, 0xF0}},
        {":#1??0????", 256, {0x80, 0x90}},
        {":?1 5", 256, {0x01, 0x05, 0x0F, 0xFF}},  // incomplete at the end: missing bits must be 0
        {":#10", 256, {0x02, 0xFF}},
        {":#10 ", 256, {0x02, 0x03}},         // closed by a blank: missing bits don't care
        {":#10#1", 256, {0x02, 0x01, 0x03, 0xFF}},
        {":?", 256, {0x00, 0xF0}},
        {":12 3? 56", 4, {0x12, 0x30, 0xFF, 0xF0}},  // half the maximum of value bytes
        {":1?:1", 256, {0x10, 0x01, 0xF0, 0xFF}},    // ":" switches to binary mode
        {":1?x5", 256, {0x10, 0xF0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Parse(c.text, c.max), c.bytes) << c.text;
}

TEST(FormatValueText, EveryKind)
{
    struct Case {
        Bytes bytes;
        ValueKind kind;
        const char* text;
    };
    const Case cases[] = {
        {{0xFB}, ValueKind::Decimal, "-5"},
        {{0x41, 0, 0, 0}, ValueKind::Hex, "0x41"},
        {{0x80}, ValueKind::Hex, "0xFFFFFF80"},
        {{0x34, 0x12}, ValueKind::Hex, "0x1234"},
        {{}, ValueKind::Decimal, "0"},
        {{5}, ValueKind::Binary, "0b101"},
        {{8}, ValueKind::Octal, "0o10"},
        {{0x89, 0x67, 0x45, 0x23, 0x01, 0, 0, 0}, ValueKind::Hex, "0x123456789"},
        {{0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ValueKind::Decimal, "-5"},
        {{'A', 0, 0}, ValueKind::Text, "\"A\""},
        {{'"', '\\', 0x0A, 0x0D, 0x07, 0x08, 0x09, 0x0B, 0x0C, 0x01, 0xE4},
         ValueKind::Text,
         "\"\\\"\\\\\\n\\r\\a\\b\\t\\v\\f\\x001\xE4\""},
        {{0, 0}, ValueKind::Text, "\"\""},
        {{0x01, 0x23, 0x45}, ValueKind::HexDump, ":01 23 45"},
        {{}, ValueKind::HexDump, ":"},
        {{0x10, 0xA0, 0xF0, 0xF0}, ValueKind::BitMask, ":1? A?"},
        {{0x05, 0x0F}, ValueKind::BitMask, ":?5"},
        {{0x12, 0x00}, ValueKind::BitMask, ":??"},
        {{0x82, 0x3C | 0x80}, ValueKind::BitMask, ":#1?0000??"},
        {{0x41}, ValueKind::UnicodeText, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatValueText(c.bytes.data(), c.bytes.size(), c.kind), c.text);
    }
}

TEST(FormatValueText, KeepsWithinTheLimit)
{
    Bytes bytes(256, 0x01);
    EXPECT_LE(FormatValueText(bytes.data(), bytes.size(), ValueKind::Text).size(), 256u);
    EXPECT_LE(FormatValueText(bytes.data(), bytes.size(), ValueKind::HexDump).size(), 256u);
    EXPECT_EQ(FormatValueText(bytes.data(), bytes.size(), ValueKind::HexDump, 2048).size(), 768u);
}

// Every value written in its own kind reads back as the same bytes.
TEST(FormatValueText, ReadsBackAsTheSameBytes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 500; ++round) {
        size_t count = 1 + random() % 40;
        Bytes bytes(count);
        for (auto& b : bytes) b = static_cast<uint8_t>(random());
        // Text drops trailing zero bytes; a last byte of 0 would not come back.
        if (bytes.back() == 0) bytes.back() = 1;
        for (ValueKind kind : {ValueKind::Text, ValueKind::HexDump}) {
            std::string text = FormatValueText(bytes.data(), count, kind, 2048);
            EXPECT_EQ(Parse(text), bytes) << text;
        }
        Bytes mask(2 * count);
        for (size_t i = 0; i < count; ++i) {
            mask[count + i] = static_cast<uint8_t>(random());
            mask[i] = bytes[i] & mask[count + i];
        }
        // With every mask FF the text has no "?" or "#" and reads as a plain dump.
        mask[count] &= 0x7F;
        mask[0] &= mask[count];
        std::string text = FormatValueText(mask.data(), mask.size(), ValueKind::BitMask, 2048);
        EXPECT_EQ(Parse(text), mask) << text;
        uint32_t number = static_cast<uint32_t>(random());
        for (ValueKind kind : {ValueKind::Decimal, ValueKind::Hex, ValueKind::Binary, ValueKind::Octal}) {
            Bytes le{uint8_t(number), uint8_t(number >> 8), uint8_t(number >> 16), uint8_t(number >> 24)};
            std::string numberText = FormatValueText(le.data(), 4, kind);
            Bytes back = Parse(numberText);
            back.resize(4);
            EXPECT_EQ(back, le) << numberText;
        }
    }
}

TEST(ParseValueText, SurvivesNastyInput)
{
    const char* nasty[] = {"\"\\x", "\"\\", ":#", ":#?", "-", "--5", "0x\xFF", ":\t\t(", "\"\\777\\xFFFF", "::::",
                           "-\"", ":########"};
    for (const char* text : nasty) {
        uint8_t out[264];
        EXPECT_LE(ParseValueText(text, out, 256), 256u) << text;
    }
}

}  // namespace
}  // namespace qv
