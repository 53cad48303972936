// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/tools/CalculatorCliRun.h"

namespace qv {
namespace {

TEST(CalculatorCli, PrintsTheFiveFields)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("calc \"'A'\"");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Dezimal:\t65\nHexadezimal:\t0x41\nOktal:\t0o101\nBinär:\t0b1000001\nAnsi:\tA\n");
    run = test::RunCli("calc 2 '*' '(3+4)'");  // words are joined
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.substr(0, 12), "Dezimal:\t14\n");
}

TEST(CalculatorCli, InvalidExpressionStillPrintsTheValueSoFar)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("calc 255/0");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Dezimal:\t255\nHexadezimal:\t0xFF\nOktal:\t0o377\nBinär:\t0b11111111\nAnsi:\tÿ\n");
    EXPECT_EQ(test::RunCli("calc").exitCode, 2);
}

}  // namespace
}  // namespace qv
