// SPDX-License-Identifier: GPL-3.0-or-later
// IntelHexWriter: record layout, checksums, the extended linear address records and the
// write limit.
#include "document/IntelHexWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "document/IntelHexReader.h"

namespace qv {
namespace {

std::string Write(const std::vector<uint8_t>& data, uint32_t base)
{
    const auto text = IntelHexWriter(data.data(), data.size(), base);
    return std::string(text.begin(), text.end());
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(IntelHexWriter, FiveBytesAtZero)
{
    EXPECT_EQ(Write({1, 2, 3, 4, 5}, 0), ":050000000102030405EC\r\n:00000001FF\r\n");
}

TEST(IntelHexWriter, NothingButEndRecordForNoBytes)
{
    EXPECT_EQ(Write({}, 0x08000000), ":00000001FF\r\n");
}

TEST(IntelHexWriter, RecordsOfSixteenWithUpperCaseDigitsAndValidChecksums)
{
    std::vector<uint8_t> data(40);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0xA0 + i);
    const auto lines = Lines(Write(data, 0x1234));  // low 16 bits of the base are not kept
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 9), ":10000000");
    EXPECT_EQ(lines[1].substr(0, 9), ":10001000");
    EXPECT_EQ(lines[2].substr(0, 9), ":08002000");
    EXPECT_EQ(lines[3], ":00000001FF");
    for (const auto& line : lines) {
        EXPECT_EQ(line.find_first_of("abcdef"), std::string::npos) << line;
        unsigned sum = 0;
        for (size_t i = 1; i + 1 < line.size(); i += 2) sum += std::stoul(line.substr(i, 2), nullptr, 16);
        EXPECT_EQ(sum % 256, 0u) << line;
    }
}

TEST(IntelHexWriter, LinearAddressRecordBeforeEach64KBlock)
{
    struct Case {
        const char* name;
        size_t count;
        uint32_t base;
        std::vector<std::string> linearRecords;
    };
    const std::vector<Case> cases = {
        {"fits 16 bits: none", 0x100, 0, {}},
        {"base high: one", 0x100, 0x08000000, {":020000040800F2"}},
        {"crosses 64K from 0: two", 0x10010, 0, {":020000040000FA", ":020000040001F9"}},
        {"low base bits push past 64K", 0x20, 0xFFF0, {":020000040000FA"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> found;
        for (const auto& line : Lines(Write(std::vector<uint8_t>(c.count, 0x11), c.base)))
            if (line.substr(7, 2) == "04") found.push_back(line);
        EXPECT_EQ(found, c.linearRecords) << c.name;
    }
}

TEST(IntelHexWriter, ReadsBackAtTheSameAddresses)
{
    std::vector<uint8_t> data(0x12345);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 31 + 7);
    const auto text = IntelHexWriter(data.data(), data.size(), 0x08000000);
    const std::string_view view(reinterpret_cast<const char*>(text.data()), text.size());
    EXPECT_EQ(ProposeStartOffset(view), 0x08000000u);
    auto back = IntelHexReader(view, 0x08000000);
    ASSERT_EQ(back.size(), 0x12400u);  // padded up to a multiple of 1024
    back.resize(data.size());
    EXPECT_EQ(back, data);
}

TEST(IntelHexWriter, WritesAtMost64MB)
{
    std::vector<uint8_t> data(kIntelHexMaxWrite + 100, 0);
    const auto text = IntelHexWriter(data.data(), data.size(), 0);
    const std::string tail(text.end() - 60, text.end());
    // The last data record ends right at the limit: 16 bytes at offset 0xFFF0 of the last block.
    EXPECT_NE(tail.find(":10FFF000"), std::string::npos) << tail;
    EXPECT_EQ(tail.substr(tail.size() - 13), ":00000001FF\r\n");
}

}  // namespace
}  // namespace qv
