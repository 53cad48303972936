// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/SearchEntry.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

ValueInput Input(std::string text, ValueKind kind, ValueWidth width)
{
    ValueInput input;
    input.text = std::move(text);
    input.kind = static_cast<int>(kind);
    input.width = width;
    return input;
}

TEST(BuildSearchEntry, WritesTheExactLayout)
{
    struct Case {
        ValueInput input;
        const char* entry;
    };
    auto bigEndian = [](ValueInput input) {
        input.bigEndian = true;
        return input;
    };
    auto ignoreCase = [](ValueInput input) {
        input.ignoreCase = true;
        return input;
    };
    auto unicode = [](ValueInput input) {
        input.unicode = true;
        return input;
    };
    const Case cases[] = {
        {Input("0x41", ValueKind::Hex, ValueWidth::Byte), "H:1\t:41\t\t\t\t\t(0x41)"},
        {Input("0x41", ValueKind::Hex, ValueWidth::Word), "H:2\t:41 00\t\t\t\t\t(0x41)"},
        {Input("0x41", ValueKind::Hex, ValueWidth::DWord), "H:4\t:41 00 00 00\t\t\t\t(0x41)"},
        {bigEndian(Input("0x41", ValueKind::Hex, ValueWidth::Word)), "H:2 /B\t:00 41\t\t\t\t\t(0x41)"},
        {bigEndian(Input("0x12345678", ValueKind::Hex, ValueWidth::DWord)), "H:4 /B\t:12 34 56 78\t\t\t\t(0x12345678)"},
        {bigEndian(Input("0x41", ValueKind::Hex, ValueWidth::Byte)), "H:1\t:41\t\t\t\t\t(0x41)"},
        {Input("0x123456789", ValueKind::Hex, ValueWidth::DWord), "H:8\t:89 67 45 23 01 00 00 00\t\t\t(0x123456789)"},
        {bigEndian(Input("0x123456789", ValueKind::Hex, ValueWidth::Variable)),
         "H:8 /B\t:00 00 00 01 23 45 67 89\t\t\t(0x123456789)"},
        {Input("-5", ValueKind::Decimal, ValueWidth::Byte), "D:1\t:FB\t\t\t\t\t(-5)"},
        {Input("-5", ValueKind::Decimal, ValueWidth::Word), "D:2\t:FB FF\t\t\t\t\t(-5)"},
        {Input("65", ValueKind::Decimal, ValueWidth::DWord), "D:4\t:41 00 00 00\t\t\t\t(65)"},
        {Input("0b101", ValueKind::Binary, ValueWidth::Byte), "B:1\t:05\t\t\t\t\t(0b101)"},
        {Input("0o17", ValueKind::Octal, ValueWidth::Byte), "O:1\t:0F\t\t\t\t\t(0o17)"},
        {Input("ab", ValueKind::Text, ValueWidth::Variable), "T:2\t:61 62\t\t\t\t\t(\"ab\")"},
        {ignoreCase(Input("\"AB\"", ValueKind::Text, ValueWidth::Variable)), "T:2 /G\t:41 42\t\t\t\t\t(\"AB\")"},
        {unicode(Input("AB", ValueKind::Text, ValueWidth::Variable)), "N:4\t:41 00 42 00\t\t\t\t(\"AB\")"},
        {ignoreCase(unicode(Input("a", ValueKind::Text, ValueWidth::Variable))), "N:2 /G\t:61 00\t\t\t\t\t(\"a\")"},
        {Input(":12 34", ValueKind::HexDump, ValueWidth::Variable), "U:2\t:12 34\t\t\t\t\t(:12 34)"},
        {Input(":1? #1010????", ValueKind::BitMask, ValueWidth::Variable), "M:4\t:10 A0 F0 F0\t\t\t\t(:1? A?)"},
        {Input("\"abcdefg\"", ValueKind::Text, ValueWidth::Variable),
         "T:7\t:61 62 63 64 65 66 67\t\t\t(\"abcdefg\")"},
        {Input("\"abcdefghij\"", ValueKind::Text, ValueWidth::Variable),
         "T:10\t:61 62 63 64 65 66 67 68 69 6A\t\t(\"abcdefghij\")"},
        {Input("\"abcdefghijklm\"", ValueKind::Text, ValueWidth::Variable),
         "T:13\t:61 62 63 64 65 66 67 68 69 6A 6B 6C 6D\t(\"abcdefghijklm\")"},
        // The typed text in another kind: the display follows the chosen kind.
        {Input("0x41", ValueKind::Text, ValueWidth::Variable), "T:4\t:41 00 00 00\t\t\t\t(\"A\")"},
        {Input(":41 42", ValueKind::Decimal, ValueWidth::Word), "D:2\t:41 42\t\t\t\t\t(16961)"},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildSearchEntry(c.input), std::optional<std::string>(c.entry)) << c.entry;
}

TEST(BuildSearchEntry, ValuesWithoutBytesGiveNoEntry)
{
    for (const char* text : {"", "  ", "\"\"", ":", ":xyz"})
        EXPECT_FALSE(BuildSearchEntry(Input(text, ValueKind::Text, ValueWidth::Variable))) << text;
}

TEST(BuildSearchEntry, KindOutsideTheRadiosTakesTheInitialTextsKind)
{
    ValueInput input = Input("12", ValueKind::Text, ValueWidth::Byte);
    input.kind = -1;
    EXPECT_EQ(BuildSearchEntry(input, ValueKind::Hex), std::optional<std::string>("H:1\t:0C\t\t\t\t\t(0xC)"));
    EXPECT_EQ(BuildSearchEntry(input), std::optional<std::string>("T:4\t:0C 00 00 00\t\t\t\t(\"\\f\")"));
}

TEST(BuildSearchEntry, LongValuesKeepAllTheirBytes)
{
    std::string text = "\"" + std::string(300, 'x') + "\"";
    auto entry = BuildSearchEntry(Input(text, ValueKind::Text, ValueWidth::Variable));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->rfind("T:256\t:78 78", 0), 0u);
    SearchValue value = DecodeSearchEntry(*entry);
    EXPECT_EQ(value.length, 256);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(value.bytes[i], 'x');

    ValueInput wide = Input(std::string(200, 'y'), ValueKind::Text, ValueWidth::Variable);
    wide.unicode = true;
    value = DecodeSearchEntry(*BuildSearchEntry(wide));
    EXPECT_EQ(value.length, 256);  // 128 characters, widened
    EXPECT_EQ(value.bytes[254], 'y');
    EXPECT_EQ(value.bytes[255], 0);
}

TEST(ReadBackSearchEntry, RestoresTheTypedValue)
{
    struct Case {
        const char* entry;
        const char* text;
        std::optional<ValueKind> kind;
        std::optional<ValueWidth> width;
        std::optional<bool> ignoreCase;
    };
    const Case cases[] = {
        {"H:2 /B\t:00 41\t\t\t\t\t(0x41)", "0x41", ValueKind::Hex, ValueWidth::Word, std::nullopt},
        {"H:1\t:41\t\t\t\t\t(0x41)", "0x41", ValueKind::Hex, ValueWidth::Byte, std::nullopt},
        {"D:4\t:FB FF FF FF\t\t\t\t(-5)", "-5", ValueKind::Decimal, ValueWidth::DWord, std::nullopt},
        {"D:8\t:89 67 45 23 01 00 00 00\t\t\t(0x123456789)", "4886718345", ValueKind::Decimal, std::nullopt,
         std::nullopt},
        {"H:8 /B\t:00 00 00 01 23 45 67 89\t\t\t(0x123456789)", "0x123456789", ValueKind::Hex, std::nullopt,
         std::nullopt},
        {"N:4\t:61 00 62 00\t\t\t\t(\"ab\")", "\"ab\"", ValueKind::Text, ValueWidth::Variable, false},
        {"T:2 /G\t:41 42\t\t\t\t\t(\"AB\")", "\"AB\"", ValueKind::Text, ValueWidth::Variable, true},
        // Letters in the display text are no options.
        {"T:3\t:42 2F 47\t\t\t\t(\"B/G\")", "\"B/G\"", ValueKind::Text, ValueWidth::Variable, false},
        {"M:4\t:10 A0 F0 F0\t\t\t\t(:1? A?)", ":1? A?", ValueKind::BitMask, ValueWidth::Variable, std::nullopt},
        {"U:2\t:12 34\t\t\t\t\t(:12 34)", ":12 34", ValueKind::HexDump, ValueWidth::Variable, std::nullopt},
        {"X:2\t:12 34", ":12 34", ValueKind::HexDump, ValueWidth::Variable, std::nullopt},
        {"T:0x0003 /G :41 42 43 ", "\"ABC\"", ValueKind::Text, ValueWidth::Variable, true},
    };
    for (const Case& c : cases) {
        EntryReadBack back = ReadBackSearchEntry(c.entry);
        EXPECT_EQ(back.text, c.text) << c.entry;
        EXPECT_EQ(back.kind, c.kind) << c.entry;
        EXPECT_EQ(back.width, c.width) << c.entry;
        EXPECT_EQ(back.ignoreCase, c.ignoreCase) << c.entry;
    }
}

TEST(DecodeSearchEntry, GivesBytesLengthAndMode)
{
    SearchValue value = DecodeSearchEntry("H:4 /B\t:12 34 56 78\t\t\t\t(0x12345678)");
    EXPECT_EQ(value.mode, MatchMode::Exact);
    ASSERT_EQ(value.length, 4);
    EXPECT_EQ(value.bytes[0], 0x12);
    EXPECT_EQ(value.bytes[3], 0x78);

    value = DecodeSearchEntry("M:4\t:10 A0 F0 F0\t\t\t\t(:1? A?)");
    EXPECT_EQ(value.mode, MatchMode::Masked);
    ASSERT_EQ(value.length, 2);
    EXPECT_EQ(value.bytes[1], 0xA0);
    EXPECT_EQ(value.bytes[2], 0xF0);  // masks follow the values

    value = DecodeSearchEntry("  T:0x0040 /G :41 42 ");
    EXPECT_EQ(value.mode, MatchMode::IgnoreCase);
    EXPECT_EQ(value.length, 2);  // a count beyond the dump compares only what is there

    EXPECT_EQ(DecodeSearchEntry("").length, 0);
    EXPECT_EQ(DecodeSearchEntry("T").length, 0);
    EXPECT_EQ(DecodeSearchEntry("T:-5\t:41").length, 0);
}

TEST(DecodeSearchPattern, ReadsTheWindowAndAtMostSixteenValues)
{
    std::vector<std::string> texts{"1000"};
    for (int i = 0; i < 20; ++i) texts.push_back("H:1\t:41\t\t\t\t\t(0x41)");
    DecodedPattern decoded = DecodeSearchPattern(MultiString::FromList(texts));
    EXPECT_EQ(decoded.range, 1000);
    EXPECT_EQ(decoded.values.size(), 16u);
    EXPECT_TRUE(DecodeSearchPattern(MultiString()).values.empty());
    EXPECT_TRUE(DecodeSearchPattern(MultiString::FromList({"5"})).values.empty());
}

}  // namespace
}  // namespace qv
