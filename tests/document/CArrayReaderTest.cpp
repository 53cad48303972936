// SPDX-License-Identifier: GPL-3.0-or-later
// CArrayReader: which lines give bytes, value notations, long lines, the size limit, and
// arrays written by other tools.
#include "document/CArrayReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "document/CArrayWriter.h"
#include "tests/support/TempDir.h"

namespace qv {
namespace {

TEST(CArrayReader, Lines)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {"declaration and braces around values", "unsigned char x[] = {\r\n0x01,0x02,\r\n};\r\n", {1, 2}},
        {"no comma at the end", "0x01,0x02", {1, 2}},
        {"semicolon ends the line", "0x01,0x02;", {1}},
        {"closing brace", "0x01, 0x02 }", {1}},
        {"comment after a comma is not a value", "0x01, // one\n", {1}},
        {"blanks and tabs around values", " \t0x10 ,\t 0x20\t,  0x30  \n", {0x10, 0x20, 0x30}},
        {"notations", "10,0x1f,0b101,0o17,010,-1,256\n", {10, 0x1F, 5, 15, 10, 0xFF, 0}},
        {"empty place is a zero", "1,,2\n", {1, 0, 2}},
        {"two values without comma", "1 2\n", {}},
        {"line starting with text", "int a = 5,\n", {}},
        {"LF, CR and CRLF lines", "1,\n2,\r3,\r\n4", {1, 2, 3, 4}},
        {"empty text", "", {}},
        {"only blank lines", "  \n\t\r\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(CArrayReader(c.text), c.expected) << c.name;
}

TEST(CArrayReader, LongLinesKeepEveryValue)
{
    // One line of 3000 values, 15000 characters: no value is cut or lost.
    std::string line;
    std::vector<uint8_t> expected;
    for (int i = 0; i < 3000; ++i) {
        line += "0x" + std::string(1, "0123456789ABCDEF"[i % 16]) + "4,";
        expected.push_back(static_cast<uint8_t>((i % 16) << 4 | 4));
    }
    expected.push_back(1);
    EXPECT_EQ(CArrayReader(line + "\r\n0x01,"), expected);
    std::vector<uint8_t> empties;
    ReadCArrayLine(std::string(600, ','), empties);
    EXPECT_EQ(empties, std::vector<uint8_t>(600, 0));
}

TEST(CArrayReader, StopsAfter16MB)
{
    std::vector<uint8_t> data(kCArrayMaxRead + 4096, 0x5A);
    auto text = CArrayWriter(data.data(), kCArrayMaxRead);
    const std::string more = "1,2,3,\r\n4,5,6,\r\n";
    text.insert(text.end(), more.begin(), more.end());
    const auto bytes = CArrayReader(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    EXPECT_EQ(bytes.size(), kCArrayMaxRead + 3);  // the line that went past the limit is kept
}

TEST(CArrayReader, ReadsBackWhatTheWriterWrites)
{
    std::vector<uint8_t> data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 13);
    const auto text = CArrayWriter(data.data(), data.size());
    EXPECT_EQ(CArrayReader(std::string_view(reinterpret_cast<const char*>(text.data()), text.size())), data);
}

TEST(CArrayReader, ReadsWhatXxdWrites)
{
    if (std::system("command -v xxd >/dev/null 2>&1") != 0) GTEST_SKIP() << "xxd not installed";
    test::TempDir dir;
    std::mt19937 random(1);
    std::vector<uint8_t> data(5000);
    for (auto& b : data) b = static_cast<uint8_t>(random());
    const std::string bin = dir.Write("data.bin", data);
    const std::string header = dir.File("data.h");
    ASSERT_EQ(std::system(("xxd -i " + bin + " > " + header).c_str()), 0);
    const auto text = test::TempDir::Read(header);
    EXPECT_EQ(CArrayReader(std::string_view(reinterpret_cast<const char*>(text.data()), text.size())), data);
}

TEST(CArrayReader, NeverCrashesOnRandomText)
{
    std::mt19937 random(2);
    const std::string alphabet = "0123456789xXbBoO,- \t\r\n;{}/abcdef";
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 2000, ' ');
        for (auto& c : text) c = alphabet[random() % alphabet.size()];
        const auto bytes = CArrayReader(text);
        ASSERT_LE(bytes.size(), text.size() + 1);
    }
}

}  // namespace
}  // namespace qv
