// SPDX-License-Identifier: GPL-3.0-or-later
// GenerateCText and GenerateCTextFile: every format and text type, byte order, line sizes,
// partial last values, output limits and the pieces of the file form.
#include "document/CTextGenerator.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace qv {
namespace {

const std::vector<uint8_t> kEight = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
const std::vector<uint8_t> kEleven = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x41, 0x22, 0x0A};

std::string Clip(const std::vector<uint8_t>& data, int size, int format, int line, size_t outSize = 4096)
{
    std::vector<char> out(outSize + 1, '\x7F');
    const size_t n = GenerateCText(data.data(), data.size(), size, format, line, out.data(), outSize);
    EXPECT_EQ(out[n], '\0');
    EXPECT_EQ(out[outSize], '\x7F') << "wrote past the output size";
    return std::string(out.data(), n);
}

std::string File(const std::vector<uint8_t>& data, int size, int format, int line)
{
    std::string text;
    EXPECT_TRUE(GenerateCTextFile(data.data(), data.size(), size, format, line, [&](const char* piece, size_t n) {
        text.append(piece, n);
        return true;
    }));
    return text;
}

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

struct Case {
    const char* name;
    std::vector<uint8_t> data;
    int size;
    int format;
    int line;
    std::string expected;
};

TEST(GenerateCText, ClipboardForms)
{
    const int be = kCTextBigEndian;
    const std::vector<Case> cases = {
        {"C bytes", kEight, 1, kCTextC, 4, "0x01,0x23,0x45,0x67,\n0x89,0xAB,0xCD,0xEF,\n"},
        {"C words", kEight, 2, kCTextC, 4, "0x2301,0x6745,0xAB89,0xEFCD,\n"},
        {"C words big-endian", kEight, 2, kCTextC | be, 4, "0x0123,0x4567,0x89AB,0xCDEF,\n"},
        {"C qword", kEight, 8, kCTextC, 4, "0xEFCDAB8967452301,\n"},
        {"C incomplete last line", kEight, 1, kCTextC, 3, "0x01,0x23,0x45,\n0x67,0x89,0xAB,\n0xCD,0xEF,\n"},
        {"C line size 0 is 16", std::vector<uint8_t>(17, 0xAA), 1, kCTextC, 0, Repeat("0xAA,", 16) + "\n0xAA,\n"},
        {"assembler bytes", kEight, 1, kCTextAssembler, 4, "DB\t001h,023h,045h,067h\nDB\t089h,0ABh,0CDh,0EFh\n"},
        {"assembler dwords incomplete", kEight, 4, kCTextAssembler, 3, "DD\t067452301h,0EFCDAB89h,\n"},
        {"assembler qword letter", kEight, 8, kCTextAssembler, 1, "DQ\t0EFCDAB8967452301h\n"},
        {"dump words", kEight, 2, kCTextDump, 4, "0123 4567 \n89AB CDEF \n"},
        {"dump bytes", kEight, 1, kCTextDump, 8, "01 23 45 67 89 AB CD EF \n"},
        {"dump qwords have no blanks", kEight, 8, kCTextDump, 8, "0123456789ABCDEF\n"},
        {"dump ignores byte order", kEight, 2, kCTextDump | be, 8, "0123 4567 89AB CDEF \n"},
        {"dump line not a multiple of size", kEight, 4, kCTextDump, 6, "01234567 89AB\nCDEF\n"},
        {"base64", kEleven, kTextBase64, kCTextTypes, 4, "ASNFZ4mrze9BIgo=\n"},
        {"hex text eight", kEight, kTextHex, kCTextTypes, 4, "\"\\x01\\x23\\x45\\x67\"\n\"\\x89\\xAB\\xCD\\xEF\"\n"},
        {"hex text eleven", kEleven, kTextHex, kCTextTypes, 4,
         "\"\\x01\\x23\\x45\\x67\"\n\"\\x89\\xAB\\xCD\\xEF\"\n\"\\x41\\x22\\x0A\"\n"},
        {"min text", {'A', '"', 0x0A, 0x01, 'b'}, kTextMin, kCTextTypes, 3, "\"A\\\"\\n\"\n\"\\x01\\x62\"\n"},
        {"chars", {'A', '\'', 0x1F, 'z'}, kTextChars, kCTextTypes, 3, "'A','\\'','\\x1F',\n'z',\n"},
        {"nothing", {}, 1, kCTextC, 4, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Clip(c.data, c.size, c.format, c.line), c.expected) << c.name;
}

// Reads MIN-Text lines as a C compiler does: "\\x" takes every hex digit that follows.
// Returns nothing when an escape would not fit a byte.
std::optional<std::vector<uint8_t>> ReadAsC(const std::string& text)
{
    static const std::string shortEscapes = "n\nr\rt\ta\ab\bv\vf\f\"\"\\\\";
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"' || text[i] == '\n') continue;
        if (text[i] != '\\') {
            bytes.push_back(static_cast<uint8_t>(text[i]));
            continue;
        }
        const char letter = text[++i];
        if (letter == 'x') {
            unsigned value = 0;
            while (i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])))
                value = value * 16 + static_cast<unsigned>(std::stoi(std::string(1, text[++i]), nullptr, 16));
            if (value > 0xFF) return std::nullopt;
            bytes.push_back(static_cast<uint8_t>(value));
        } else {
            bytes.push_back(static_cast<uint8_t>(shortEscapes[shortEscapes.find(letter) + 1]));
        }
    }
    return bytes;
}

TEST(GenerateCText, MinTextReadsBackAsTheSameBytes)
{
    // Control bytes followed by hex digit characters, across line ends too.
    std::mt19937 random(17);
    const std::string pool = "\x01\x1F\x7F" "09afAFgz\"\\\n\t ";
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> data(1 + random() % 40);
        for (uint8_t& b : data) b = static_cast<uint8_t>(pool[random() % pool.size()]);
        const int line = 1 + static_cast<int>(random() % 8);
        const auto read = ReadAsC(Clip(data, kTextMin, kCTextTypes, line));
        ASSERT_TRUE(read.has_value()) << round;
        EXPECT_EQ(*read, data) << round;
    }
}

TEST(GenerateCText, PartialLastValueReadsZerosNotPastTheData)
{
    // The data sits at the very end of its allocation: reading past it would be caught by
    // the sanitizers; the missing bytes count as 0.
    const std::vector<uint8_t> three = {0x11, 0x22, 0x33};
    EXPECT_EQ(Clip(three, 2, kCTextC, 4), "0x2211,0x0033,\n");
    EXPECT_EQ(Clip(three, 4, kCTextC | kCTextBigEndian, 4), "0x11223300,\n");
    EXPECT_EQ(Clip(three, 8, kCTextAssembler, 4), "DQ\t00000000000332211h,\n");
}

TEST(GenerateCText, StopsAtLastWholeValueThatFits)
{
    // "0x01," is 5 characters; 12 characters of room (13 with the zero byte) hold two values.
    EXPECT_EQ(Clip(kEight, 1, kCTextC, 16, 13), "0x01,0x23,");
    EXPECT_EQ(Clip(kEight, 1, kCTextC, 16, 3), "");
    EXPECT_EQ(Clip(kEight, 1, kCTextC, 16, 4), "");
    EXPECT_EQ(Clip(kEight, 1, kCTextDump, 16, 10), "01 23 45 ");
}

TEST(GenerateCText, Base64LimitedToWhatFits)
{
    std::vector<uint8_t> data(300, 'a');
    // 300 bytes need 400 characters and 7 line feeds; with 200 only
    // (200 * 192 - 2304) / 261 = 138 bytes are encoded: 184 characters and 3 line feeds.
    const std::string text = Clip(data, kTextBase64, kCTextTypes, 16, 200);
    EXPECT_EQ(text.size(), 184u + 3u);
    EXPECT_EQ(text.substr(0, 4), "YWFh");
    EXPECT_EQ(Clip(data, kTextBase64, kCTextTypes, 16, 11), "");
}

TEST(GenerateCText, FileForms)
{
    const std::vector<Case> cases = {
        {"C without final line feed", kEight, 1, kCTextC, 3, "0x01,0x23,0x45,\n0x67,0x89,0xAB,\n0xCD,0xEF,"},
        {"C full last line", kEight, 1, kCTextC, 4, "0x01,0x23,0x45,0x67,\n0x89,0xAB,0xCD,0xEF,\n"},
        {"C line size 0: a value a line", {1, 2}, 1, kCTextC, 0, "0x01,\n0x02,\n"},
        {"assembler incomplete ends with comma", kEight, 2, kCTextAssembler, 3, "DW\t02301h,06745h,0AB89h\nDW\t0EFCDh,"},
        {"assembler line size 0", {1, 2}, 1, kCTextAssembler, 0, "DB\t001h\nDB\t002h\n"},
        {"text types are always base64", kEleven, kTextHex, kCTextTypes, 4, "ASNFZ4mrze9BIgo=\n"},
        {"dump bytes blank after each", kEight, 1, kCTextDump, 4, "01 23 45 67 \n89 AB CD EF \n"},
        {"dump line size 0 is 16", std::vector<uint8_t>(20, 0), 1, kCTextDump, 0,
         "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 \n00 00 00 00 \n"},
    };
    for (const auto& c : cases) EXPECT_EQ(File(c.data, c.size, c.format, c.line), c.expected) << c.name;
}

TEST(GenerateCText, FileFormComesInPiecesOf8K)
{
    std::vector<uint8_t> data(20000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    std::vector<size_t> pieces;
    std::string text;
    ASSERT_TRUE(GenerateCTextFile(data.data(), data.size(), 1, kCTextAssembler, 16, [&](const char* p, size_t n) {
        pieces.push_back(n);
        text.append(p, n);
        return true;
    }));
    ASSERT_GT(text.size(), 3 * kCTextPiece);
    for (size_t i = 0; i + 1 < pieces.size(); ++i) EXPECT_EQ(pieces[i], kCTextPiece);
    EXPECT_LE(pieces.back(), kCTextPiece);
    // Every byte exactly once and in order.
    size_t next = 0;
    size_t position = 0;
    while ((position = text.find('0', position)) != std::string::npos && next < data.size()) {
        ASSERT_EQ(std::stoul(text.substr(position + 1, 2), nullptr, 16), data[next] ) << next;
        ++next;
        position = text.find_first_of(",\n", position);
    }
    EXPECT_EQ(next, data.size());
}

TEST(GenerateCText, FileFormStopsWhenASinkFails)
{
    std::vector<uint8_t> data(20000, 1);
    int calls = 0;
    EXPECT_FALSE(GenerateCTextFile(data.data(), data.size(), 1, kCTextC, 16, [&](const char*, size_t) {
        ++calls;
        return calls < 2;
    }));
    EXPECT_EQ(calls, 2);
}

TEST(GenerateCText, ClipboardBufferOfTheCopyCommandHoldsEveryForm)
{
    // The copy command sizes its buffer as (n / size + 2n) * 4 + 20.
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 37);
    const std::vector<std::pair<int, int>> forms = {{kCTextC, 1},     {kCTextC, 8},          {kCTextAssembler, 1},
                                                    {kCTextDump, 1},  {kCTextTypes, kTextBase64}, {kCTextTypes, kTextHex},
                                                    {kCTextTypes, kTextMin}, {kCTextTypes, kTextChars}};
    for (auto [format, size] : forms) {
        const size_t room = (data.size() / static_cast<size_t>(size) + 2 * data.size()) * 4 + 20;
        const std::string text = Clip(data, size, format, 255, room);
        const std::string unlimited = Clip(data, size, format, 255, 100000);
        EXPECT_EQ(text, unlimited) << format << "/" << size;
    }
}

}  // namespace
}  // namespace qv
