// SPDX-License-Identifier: GPL-3.0-or-later
// CArrayWriter: the exact text and the line breaks.
#include "document/CArrayWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

std::string Write(const std::vector<uint8_t>& data)
{
    const auto text = CArrayWriter(data.data(), data.size());
    return std::string(text.begin(), text.end());
}

TEST(CArrayWriter, Layout)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        std::string expected;
    };
    std::vector<uint8_t> seventeen(17);
    for (size_t i = 0; i < seventeen.size(); ++i) seventeen[i] = static_cast<uint8_t>(i);
    const std::vector<Case> cases = {
        {"empty", {}, ""},
        {"three bytes", {0x01, 0xAB, 0xFF}, "0x01,0xAB,0xFF,\r\n"},
        {"seventeen bytes: a full line and one value",
         seventeen,
         "0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,0x0A,0x0B,0x0C,0x0D,0x0E,0x0F,\r\n0x10,\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Write(c.data), c.expected) << c.name;
}

TEST(CArrayWriter, WritesAtMost16MB)
{
    std::vector<uint8_t> data(kCArrayMaxBytes + 16, 0);
    const auto text = CArrayWriter(data.data(), data.size());
    EXPECT_EQ(text.size(), kCArrayMaxBytes / 16 * (16 * 5 + 2));
}

}  // namespace
}  // namespace qv
