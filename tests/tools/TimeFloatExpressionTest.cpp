// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeFloatExpression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace qv {
namespace {

TEST(TimeFloatExpression, ValuesAndFunctions)
{
    struct Case {
        const char* text;
        double value;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {
        {"36526.5", 36526.5},
        {"1.0e5", 100000},
        {"1e3", 1000},
        {".5", 0.5},
        {"PI", pi},
        {"pi", pi},
        {"e", std::numbers::e},
        {"1+2*3", 7},
        {"2+3*4-1", 13},
        {"2*(3+4)", 14},
        {"-7/2", -3.5},
        {"7%2.5", 2},
        {"SQRT 16", 4},
        {"sqrt(16)+1", 5},
        {"LOG 100", 2},
        {"LOG2 8", 3},
        {"log10(1000)", 3},
        {"ROOT3 27", 3},
        {"ROOT2(16)", 4},
        {"LN E", 1},
        {"ROUND 2.5", 3},
        {"ROUND -2.5", -2},
        {"ROUND 2.49", 2},
        {"CEIL 1.2", 2},
        {"FLOOR -1.2", -2},
        {"ABS -3", 3},
        {"ATAN 1 * 4", pi},
        {"ACOT 1", pi / 4},
        {"ACOS -1", pi},
        {"ASIN 1", pi / 2},
        {"COS 0", 1},
        {"SIN 0", 0},
        {"TAN 0", 0},
        {"COT (PI/4)", 1},
        {"1 ? 2 : 4", 2},
        {"0 ? 1/0 : 2", 2},
        {"1+0 ? 5 : 6", 7},
        {"(1+0) ? 5 : 6", 5},
        {"3 > 2", 1},
        {"1 == 1 && 2", 1},
        {"6 & 3", 2},
        {"1 << 4", 16},
        {"!0", 1},
        {"~0", -1},
        {"  2 * 3  ", 6},
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_TRUE(EvaluateFloatExpression(c.text, value)) << c.text;
        EXPECT_NEAR(value, c.value, 1e-12) << c.text;
    }
}

TEST(TimeFloatExpression, Failures)
{
    const char* invalid[] = {
        "",          "ACOS 2",   "ASIN -1.5", "LN 0",   "LOG -1",      "LOG1 5", "ROOT2 -4", "SQRT -1",
        "ROOT0 4",   "ROOT 4",   "1/0",       "5%0",    "1 ? 2 + 3 : 4", "foo",   "inf",      "nan",
        "1e999",     "1e308*10", "COT 0",     "(1+2",   "1+2)",        "1 2",    "1 : 2",    "PI PI",
        "SIN",       "2 = 2",
    };
    for (const char* text : invalid) {
        double value = 0;
        EXPECT_FALSE(EvaluateFloatExpression(text, value)) << text;
    }
    double value = 0;
    EXPECT_FALSE(EvaluateFloatExpression("7/0", value));
    EXPECT_EQ(value, 7);  // what was computed before the failure
}

// Where a ":" may stand, and how the branch not taken tolerates a division by zero: the
// rules of the integer expressions.
TEST(TimeFloatExpression, ConditionalColonAndLenience)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1 ? 2 * 3 : 4", true, 6},
        {"0?5:6?7:8", true, 7},
        {"1 ? 2 : 1/0", true, 2},
        {"0?(1?2:3)*(1/0):5", true, 5},
        {"1?2:(0?3:4)*(1/0)", true, 2},
        {"1?(0?1/0:2):3", true, 2},
        {"1?2?3:4:5", true, 3},
        {"1?0?3:4:5", true, 4},
        {"0?1:2:3", false, 2},
        {"(1:2)", false, 1},
        {"1?(2:3):4", false, 2},
        {"1 ? 2 << 3 : 4", false, 2},
        {"1?1/0:5", false, 1},
    };
    for (const Case& c : cases) {
        double value = -99;
        EXPECT_EQ(EvaluateFloatExpression(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(TimeFloatExpression, NestingLimitHasAnExactDepth)
{
    double value = 0;
    EXPECT_TRUE(EvaluateFloatExpression(std::string(99, '(') + "1" + std::string(99, ')'), value));
    EXPECT_FALSE(EvaluateFloatExpression(std::string(100, '(') + "1" + std::string(100, ')'), value));
    EXPECT_TRUE(EvaluateFloatExpression(std::string(198, '-') + "1", value));
    EXPECT_FALSE(EvaluateFloatExpression(std::string(199, '-') + "1", value));
}

TEST(TimeFloatExpression, DeepNestingFailsWithoutCrashing)
{
    double value = 0;
    EXPECT_FALSE(EvaluateFloatExpression(std::string(100000, '('), value));
    EXPECT_FALSE(EvaluateFloatExpression(std::string(100000, '-') + "1", value));
    EXPECT_FALSE(EvaluateFloatExpression(std::string(5000, 'S') + "IN 1", value));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Random texts from the expression characters: every result is finite or a failure.
TEST(TimeFloatExpression, RandomTextsGiveFiniteValuesOrFail)
{
    const std::string alphabet = "0123456789.e+-*/%()?:<>=!&|^~ PISQRTLOGabs";
    uint32_t seed = 777;
    auto next = [&] {
        seed = seed * 1103515245 + 12345;
        return seed >> 16;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text(next() % 30, ' ');
        for (char& c : text) c = alphabet[next() % alphabet.size()];
        double value = 0;
        if (EvaluateFloatExpression(text, value)) {
            ASSERT_TRUE(std::isfinite(value)) << text;
        }
    }
}

}  // namespace
}  // namespace qv
