// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "common/Bits.h"
#include "common/ClipboardText.h"
#include "common/FormatText.h"
#include "tests/support/FakeClipboard.h"

namespace qv {
namespace {

struct ReflectCase {
    uint64_t value;
    unsigned n;
    uint64_t reflected;
};

class ReflectBitsTest : public testing::TestWithParam<ReflectCase> {};

TEST_P(ReflectBitsTest, ReversesLowBits)
{
    EXPECT_EQ(ReflectBits(GetParam().value, GetParam().n), GetParam().reflected);
}

INSTANTIATE_TEST_SUITE_P(Widths, ReflectBitsTest, testing::Values(
    ReflectCase{0x1, 1, 0x1},
    ReflectCase{0x1, 8, 0x80},
    ReflectCase{0x3, 4, 0xC},
    ReflectCase{0xFF01, 8, 0x80},              // only the low n bits count
    ReflectCase{0x04C11DB7, 32, 0xEDB88320},
    ReflectCase{0x1021, 16, 0x8408},
    ReflectCase{0x42F0E1EBA9EA3693, 64, 0xC96C5795D7870F42},
    ReflectCase{0x1, 33, 0x100000000},
    ReflectCase{0x1, 0, 0},
    ReflectCase{0x1, 65, 0},
    ReflectCase{0xFFFFFFFF, 200, 0}));

TEST(FormatTextTest, FollowsPrintfRulesWithSixtyFourBitPrefix)
{
    char out[256];
    EXPECT_EQ(FormatText(out, sizeof out, "%i  >%04Xh", 26, 26), 10u);
    EXPECT_STREQ(out, "26  >001Ah");
    FormatText(out, sizeof out, "%I64i  >%04I64Xh", int64_t{0x123456789}, int64_t{0x123456789});
    EXPECT_STREQ(out, "4886718345  >123456789h");
    FormatText(out, sizeof out, "%.14g", 0.1);
    EXPECT_STREQ(out, "0.1");
    FormatText(out, sizeof out, "%s0x%08X,0x%04X,0x%04X,0x%02X", "{", 0x12345678u, 0x9ABCu, 0xDEF0u, 0x12u);
    EXPECT_STREQ(out, "{0x12345678,0x9ABC,0xDEF0,0x12");
    FormatText(out, sizeof out, "100%% I64 %I64u", uint64_t{18446744073709551615ull});
    EXPECT_STREQ(out, "100% I64 18446744073709551615");
}

TEST(FormatTextTest, CutsToTheBufferAndAlwaysEndsWithZero)
{
    char out[8] = "XXXXXXX";
    EXPECT_EQ(FormatText(out, 5, "%d", 123456789), 4u);
    EXPECT_STREQ(out, "1234");
    EXPECT_EQ(out[5], 'X');
    EXPECT_EQ(FormatText(out, 0, "%d", 1), 0u);
    EXPECT_EQ(FormatTextString("%I64X-%s", uint64_t{0xABCDEF0123}, std::string(300, 'z').c_str()),
              "ABCDEF0123-" + std::string(300, 'z'));
    EXPECT_EQ(FormatTextString("%s", ""), "");
}

TEST(ClipboardTextTest, GetCopiesTextAndTreatsEmptyAsNone)
{
    test::FakeClipboard clipboard;
    EXPECT_FALSE(GetClipboardText(clipboard));
    clipboard.text = "";
    EXPECT_FALSE(GetClipboardText(clipboard));
    clipboard.text = "01 23";
    EXPECT_EQ(GetClipboardText(clipboard), "01 23");
    clipboard.text = std::string("ab\0cd", 5);
    EXPECT_EQ(GetClipboardText(clipboard), "ab");
}

TEST(ClipboardTextTest, SetPutsTextUpToItsZeroByte)
{
    test::FakeClipboard clipboard;
    clipboard.text = "old";
    EXPECT_EQ(SetClipboardText(clipboard, ""), 0u);
    EXPECT_EQ(clipboard.text, "old");  // a length of 0 does nothing
    EXPECT_EQ(SetClipboardText(clipboard, "new text"), 8u);
    EXPECT_EQ(clipboard.text, "new text");
    EXPECT_EQ(SetClipboardText(clipboard, std::string_view("ab\0cd", 5)), 2u);
    EXPECT_EQ(clipboard.text, "ab");
}

class RefusingClipboard : public IClipboard {
public:
    std::optional<std::string> GetText() override { return std::nullopt; }
    bool SetText(const std::string&) override { return false; }
};

TEST(ClipboardTextTest, UnavailableClipboardGivesNothing)
{
    RefusingClipboard clipboard;
    EXPECT_EQ(SetClipboardText(clipboard, "abc"), 0u);
    EXPECT_FALSE(GetClipboardText(clipboard));
}

}  // namespace
}  // namespace qv
