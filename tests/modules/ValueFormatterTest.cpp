// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "modules/ValueFormatter.h"

namespace qv {
namespace {

TEST(ValueFormatter, NoTextWithNUnlessARowLabelWantsIt)
{
    std::string text;
    int forms = 0;
    AppendValueText(text, 5, 4, kFlagN | kFlagH, nullptr, forms);
    EXPECT_EQ(text, "");
    AppendValueText(text, 5, 4, kFlagN | kFlagH | kHasLabel2, nullptr, forms);
    EXPECT_EQ(text, "0x5 ");
    EXPECT_EQ(forms, 1);
}

TEST(ValueFormatter, StopsBelowSixtyCharactersOfRoomAndNeverPassesTheLimit)
{
    std::string text(kMaxValueText - 60, 'x');
    int forms = 0;
    AppendValueText(text, 0xFFFFFFFFFFFFFFFFull, 8, kFlagB | kFlagH | kFlagS, nullptr, forms);
    EXPECT_EQ(text.size(), kMaxValueText);  // the 64-digit binary form is cut
    std::string full(kMaxValueText - 59, 'x');
    AppendValueText(full, 1, 4, kFlagH, nullptr, forms);
    EXPECT_EQ(full.size(), kMaxValueText - 59);
}

TEST(ValueFormatter, ListTextIsCutToTheRoomLeft)
{
    ValueTextList list;
    list.entries.push_back({true, 0, std::string(2000, 't')});
    std::string text;
    int forms = 0;
    AppendValueText(text, 3, 1, kFlagH, &list, forms);
    EXPECT_EQ(text.size(), kMaxValueText);
    EXPECT_EQ(text.substr(0, 5), "0x3 t");
    EXPECT_EQ(forms, 2);
}

TEST(ValueFormatter, ReversesTheElementBytesForM)
{
    std::string text;
    int forms = 0;
    AppendValueText(text, 0x11223344, 4, kFlagH | kFlagM, nullptr, forms);
    AppendValueText(text, 0x0102, 3, kFlagH | kFlagM, nullptr, forms);
    EXPECT_EQ(text, "0x44332211 0x20100 ");
}

TEST(ValueFormatter, FloatTexts)
{
    EXPECT_EQ(FormatFloatValue(1.5), "1.500000e+000");
    EXPECT_EQ(FormatFloatValue(0), "0.000000e+000");
    EXPECT_EQ(FormatFloatValue(-1e300), "-1.000000e+300");
    EXPECT_EQ(FormatFloatValue(2.5e-7), "2.500000e-007");
}

}  // namespace
}  // namespace qv
