// SPDX-License-Identifier: GPL-3.0-or-later
// StartOffsetDialog: the proposal as shown, and every notation the field accepts.
#include "document/StartOffsetDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

TEST(StartOffsetDialog, ShowsProposalInUpperCaseHex)
{
    EXPECT_EQ(StartOffsetDialog(0x08000000).text, "0x8000000");
    EXPECT_EQ(StartOffsetDialog(0xABCDEF).text, "0xABCDEF");
    EXPECT_EQ(StartOffsetDialog(0).text, "0x0");
    EXPECT_STREQ(StartOffsetDialog(0).DialogName(), "StartOffset");
}

TEST(StartOffsetDialog, ReadsTheField)
{
    struct Case {
        std::string text;
        uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"0x8000000", 0x08000000}, {"  0X10", 16},   {"+0x10", 16},   {"-16", 0xFFFFFFF0}, {"0o17", 15},
        {"0B101", 5},              {"1Ah", 26},      {"17o", 15},     {"101b", 5},         {"FFH", 255},
        {"1234", 1234},            {"", 0},          {"junk", 0},     {"  +  ", 0},
    };
    for (const auto& c : cases) {
        StartOffsetDialog dialog(0);
        dialog.text = c.text;
        EXPECT_EQ(dialog.Offset(), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace qv
