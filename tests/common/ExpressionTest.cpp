// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Expression.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

struct ExpressionCase {
    const char* text;
    int32_t value;
    bool ok;
};

class EvaluateExpressionTest : public testing::TestWithParam<ExpressionCase> {};

TEST_P(EvaluateExpressionTest, GivesValueAndFlag)
{
    const ExpressionCase& c = GetParam();
    int32_t value = 12345;
    bool ok = !c.ok;
    EvaluateExpression(c.text, value, &ok);
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;

    int64_t value64 = 12345;
    bool ok64 = !c.ok;
    EvaluateExpression64(c.text, value64, &ok64);
    EXPECT_EQ(static_cast<int32_t>(value64), c.value) << c.text;
    EXPECT_EQ(ok64, c.ok) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Primaries, EvaluateExpressionTest, testing::Values(
    ExpressionCase{"42", 42, true},
    ExpressionCase{"  0x10  ", 16, true},
    ExpressionCase{"1Ah", 26, true},
    ExpressionCase{"16#FF", 255, true},
    ExpressionCase{"0b101", 5, true},
    ExpressionCase{"-5", -5, true},
    ExpressionCase{"+5", 5, true},
    ExpressionCase{"~0", -1, true},
    ExpressionCase{"!0", 1, true},
    ExpressionCase{"!7", 0, true},
    ExpressionCase{"--3", 3, true},
    ExpressionCase{"-(2+3)", -5, true},
    ExpressionCase{"'A'", 65, true},
    ExpressionCase{"'\\n'", 10, true},
    ExpressionCase{"'\\x41'", 0x41, true},
    ExpressionCase{"'\\101'", 65, true},
    ExpressionCase{"'\\''", 39, true},
    ExpressionCase{"'AB'", 0x4142, true},
    ExpressionCase{"((7))", 7, true}));

INSTANTIATE_TEST_SUITE_P(Precedence, EvaluateExpressionTest, testing::Values(
    ExpressionCase{"2+3*4-1", 13, true},
    ExpressionCase{"1<<1+2*3", 512, true},
    ExpressionCase{"1==1&&2", 1, true},
    ExpressionCase{"3 > 2 > 1", 0, true},
    ExpressionCase{"1 | 2 ^ 3 & 4", 0, true},
    ExpressionCase{"0||0", 0, true},
    ExpressionCase{"0||5", 1, true},
    ExpressionCase{"2!=3", 1, true},
    ExpressionCase{"-1<0", 1, true},
    ExpressionCase{"-1<=-1", 1, true},
    ExpressionCase{"3>=4", 0, true},
    ExpressionCase{"10-4-3", 3, true},
    ExpressionCase{"100/10/5", 2, true},
    ExpressionCase{"2*(3+4)", 14, true},
    ExpressionCase{"0xF0 >> 4", 15, true}));

INSTANTIATE_TEST_SUITE_P(Arithmetic, EvaluateExpressionTest, testing::Values(
    ExpressionCase{"-7/2", -3, true},
    ExpressionCase{"-7%2", -1, true},
    ExpressionCase{"7%-2", 1, true},
    ExpressionCase{"-8>>1", -4, true},
    ExpressionCase{"0x7FFFFFFF+1", INT32_MIN, true},
    ExpressionCase{"0x10000*0x10000", 0, true},
    ExpressionCase{"-2147483648/-1", INT32_MIN, true},
    ExpressionCase{"-2147483648%-1", 0, true}));

INSTANTIATE_TEST_SUITE_P(Conditional, EvaluateExpressionTest, testing::Values(
    ExpressionCase{"(1+0)?5:7", 5, true},
    ExpressionCase{"1+0?5:7", 8, true},
    ExpressionCase{"0?5:7+1", 8, true},
    ExpressionCase{"0?1/0:5", 5, true},
    ExpressionCase{"1?5:1/0", 5, true},
    ExpressionCase{"1?2?3:4:5", 3, true},
    ExpressionCase{"1 ? 2 + 3 : 4", 2, false},  // ":" inside the right operand of "+"
    ExpressionCase{"1 ? 2 * 3 : 4", 6, true},
    ExpressionCase{"0?2:0?3:4", 4, true},
    ExpressionCase{"(1?2:3)*10", 20, true},
    ExpressionCase{"1?1/0:5", 1, false},
    ExpressionCase{"1?5", 5, false},
    ExpressionCase{"5:3", 5, false}));

// Where a ":" may stand, and how the branch not taken tolerates a division by zero even
// when conditionals are nested inside it.
INSTANTIATE_TEST_SUITE_P(ConditionalColonAndLenience, EvaluateExpressionTest, testing::Values(
    ExpressionCase{"1?0?3:4:5", 4, true},  // a nested false branch hands ":" back to the true branch
    ExpressionCase{"0?5:6?7:8", 7, true},
    ExpressionCase{"0?1:2:3", 2, false},
    ExpressionCase{"1?5:6:7", 5, false},
    ExpressionCase{"(1:2)", 1, false},
    ExpressionCase{"1?(2:3):4", 2, false},
    ExpressionCase{"1?2:3)", 2, false},
    ExpressionCase{"1 ? 2 << 3 : 4", 2, false},
    ExpressionCase{"1 ? 2 * 3 + 1 : 4", 6, false},
    ExpressionCase{"0?1%0:5", 5, true},
    ExpressionCase{"0?(1?2:3)*(1/0):5", 5, true},
    ExpressionCase{"1?2:(0?3:4)*(1/0)", 2, true},
    ExpressionCase{"1?(0?1/0:2):3", 2, true}));

INSTANTIATE_TEST_SUITE_P(Failures, EvaluateExpressionTest, testing::Values(
    ExpressionCase{"7/0", 7, false},
    ExpressionCase{"7%0", 7, false},
    ExpressionCase{"abc", 0, false},
    ExpressionCase{"", 0, false},
    ExpressionCase{"1 2", 1, false},
    ExpressionCase{"1+2 3", 3, false},
    ExpressionCase{"1=1", 1, false},
    ExpressionCase{"1!2", 1, false},
    ExpressionCase{"(1+2", 3, false},
    ExpressionCase{"1+2)", 3, false},
    ExpressionCase{"1+", 1, false},
    ExpressionCase{"1 $", 1, false},
    ExpressionCase{"''", 0, false},
    ExpressionCase{"'A", 65, false}));

TEST(EvaluateExpressionTest, ConsumedCountIncludesTrailingBlanks)
{
    int32_t value = 0;
    EXPECT_EQ(EvaluateExpression("1 + 2  ", value), 7u);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(EvaluateExpression("1 2", value), 2u);  // stops before the stray "2"
    EXPECT_EQ(EvaluateExpression(std::string_view("5\0" "+1", 4), value), 1u);
    EXPECT_EQ(value, 5);
}

TEST(EvaluateExpressionTest, ShiftCountIsTakenModuloTheWidth)
{
    int32_t value = 0;
    EvaluateExpression("1<<33", value);
    EXPECT_EQ(value, 2);
    EvaluateExpression("-16>>36", value);
    EXPECT_EQ(value, -1);
}

TEST(EvaluateExpression64Test, UsesSixtyFourBits)
{
    int64_t value = 0;
    bool ok = false;
    EvaluateExpression64("1<<40", value, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, int64_t{1} << 40);
    EvaluateExpression64("0x7FFFFFFFFFFFFFFF+1", value, &ok);
    EXPECT_EQ(value, INT64_MIN);
    EvaluateExpression64("-9223372036854775808/-1", value, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, INT64_MIN);
    EvaluateExpression64("-9223372036854775808%-1", value, &ok);
    EXPECT_EQ(value, 0);
    EvaluateExpression64("1<<65", value, &ok);  // shift count modulo 64
    EXPECT_EQ(value, 2);
}

TEST(EvaluateExpressionTest, NameResolverSuppliesValues)
{
    const NameResolver resolver = [](std::string_view text, int64_t& value) {
        if (text.starts_with("size")) {
            value = 100;
            return 4;
        }
        return 0;
    };
    int32_t value = 0;
    bool ok = false;
    EvaluateExpression("size*2+1", value, &ok, resolver);
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, 201);
    // Declined names are read as numbers.
    EvaluateExpression("FFh+size", value, &ok, resolver);
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, 355);
    EvaluateExpression("other", value, &ok, resolver);
    EXPECT_FALSE(ok);
}

TEST(EvaluateExpressionTest, ResolverIsNotAskedAboutDigitsAndOverlongCountsAreClamped)
{
    int calls = 0;
    const NameResolver resolver = [&calls](std::string_view, int64_t& value) {
        ++calls;
        value = 1;
        return 1000;
    };
    int32_t value = 0;
    bool ok = false;
    EXPECT_EQ(EvaluateExpression("12", value, &ok, resolver), 2u);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(EvaluateExpression("x", value, &ok, resolver), 1u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(calls, 1);
}

TEST(EvaluateExpressionTest, DeepNestingFailsInsteadOfOverflowingTheStack)
{
    int32_t value = 0;
    bool ok = true;
    const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
    EvaluateExpression(deep, value, &ok);
    EXPECT_FALSE(ok);
    const std::string unary = std::string(100000, '-') + "1";
    EvaluateExpression(unary, value, &ok);
    EXPECT_FALSE(ok);
    const std::string moderate = std::string(50, '(') + "1" + std::string(50, ')');
    EvaluateExpression(moderate, value, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, 1);
}

TEST(EvaluateExpressionTest, NestingLimitHasAnExactDepth)
{
    struct Case {
        std::string text;
        bool ok;
    };
    const Case cases[] = {
        {std::string(99, '(') + "1" + std::string(99, ')'), true},
        {std::string(100, '(') + "1" + std::string(100, ')'), false},
        {std::string(198, '-') + "1", true},
        {std::string(199, '-') + "1", false},
    };
    for (const Case& c : cases) {
        int32_t value = 0;
        bool ok = !c.ok;
        EvaluateExpression(c.text, value, &ok);
        EXPECT_EQ(ok, c.ok) << c.text.size();
        int64_t value64 = 0;
        EvaluateExpression64(c.text, value64, &ok);
        EXPECT_EQ(ok, c.ok) << c.text.size();
    }
}

}  // namespace
}  // namespace qv
