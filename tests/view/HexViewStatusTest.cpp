// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/HexViewStatus.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

TEST(HexStatus, AddressPaneWithoutSelection)
{
    EXPECT_EQ(AddressPaneText(0x1A2B, {}, 2), " Adr: 0x1A2B / 6699");
    EXPECT_EQ(AddressPaneText(0, {}, 2), " Adr: 0x0 / 0");
    EXPECT_EQ(AddressPaneText(0xFFFFFFFF, {}, 2), " Adr: 0xFFFFFFFF / -1");
}

TEST(HexStatus, AddressPaneWithSelection)
{
    EXPECT_EQ(AddressPaneText(0x10, {true, 5, 2}, 2), " Adr: 0x10 / M: -4");
    EXPECT_EQ(AddressPaneText(0x10, {true, 2, 5}, 2), " Adr: 0x10 / M: +4");
    EXPECT_EQ(AddressPaneText(0x10, {true, 3, 3}, 2), " Adr: 0x10 / M: +1");
    EXPECT_EQ(AddressPaneText(0x10, {true, 0, 31}, 2 | HexDistances), " Adr: 0x10 / M: +0x20");
}

struct ValueCase {
    std::vector<uint8_t> bytes;
    int32_t cursor;
    StatusSelection selection;
    uint32_t mode;
    int32_t value;
    const char* text;
};

class HexStatusValue : public testing::TestWithParam<ValueCase> {};

TEST_P(HexStatusValue, ReadsAndShowsTheValue)
{
    const ValueCase& c = GetParam();
    const int32_t value =
        StatusValue(BlockByteSource(c.bytes.data(), static_cast<int64_t>(c.bytes.size())), c.cursor, c.selection, c.mode);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(ValuePaneText(value, c.mode), c.text);
}

const std::vector<uint8_t> kBytes = {0xFF, 0x34, 0x12, 0x80, 0x00, 0x01, 0x02};

INSTANTIATE_TEST_SUITE_P(
    Cases, HexStatusValue,
    testing::Values(
        ValueCase{kBytes, 0, {}, 0, -1, " Wert: 0xFFFFFFFF / -1"},
        ValueCase{kBytes, 0, {}, UnsignedValue, 0xFF, " Wert: 0xFF / 255"},
        ValueCase{kBytes, 1, {}, 1, 0x1234, " Wert: 0x1234 / 4660"},
        ValueCase{kBytes, 1, {}, 1 | BigEndianValue, 0x3412, " Wert: 0x3412 / 13330"},
        ValueCase{kBytes, 0, {}, 2, static_cast<int32_t>(0x801234FF), " Wert: 0x801234FF / -2146290433"},
        ValueCase{kBytes, 0, {}, 3 | UnsignedValue, static_cast<int32_t>(0x801234FF),
                  " Wert: 0x801234FF / 2148676863"},
        ValueCase{kBytes, 2, {}, 1, static_cast<int32_t>(0xFFFF8012), " Wert: 0xFFFF8012 / -32750"},
        // a selection decides start and size (at most 4 bytes)
        ValueCase{kBytes, 6, {true, 2, 1}, 0, 0x1234, " Wert: 0x1234 / 4660"},
        ValueCase{kBytes, 0, {true, 0, 6}, 0, static_cast<int32_t>(0x801234FF), " Wert: 0x801234FF / -2146290433"},
        // near the end: little-endian misses high bytes, big-endian forms a shorter number
        ValueCase{kBytes, 5, {}, 2, 0x0201, " Wert: 0x201 / 513"},
        ValueCase{kBytes, 5, {}, 2 | BigEndianValue, 0x0102, " Wert: 0x102 / 258"},
        ValueCase{kBytes, 3, {}, 2, 0x02010080, " Wert: 0x2010080 / 33620096"},
        // outside the block
        ValueCase{kBytes, 7, {}, 2, 0, " Wert: 0x0 / 0"},
        ValueCase{kBytes, -1, {}, 2, 0, " Wert: 0x0 / 0"}));

}  // namespace
}  // namespace qv
