// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/tools/CalculatorCliRun.h"

namespace qv {
namespace {

TEST(FloatCli, TypesIntoAFieldAndPrintsAll)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("float float 1");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "double\t5.26354e-315\tvalid\n"
              "float\t1\tvalid\n"
              "double-mantissa\t1065353216  >3F800000h\tvalid\n"
              "float-mantissa\t0  >0000h\tvalid\n"
              "double-exponent\t-1023  >000h\tvalid\n"
              "float-exponent\t0  >7Fh\tvalid\n"
              "hex-dump\t:00 00 80 3F \tvalid\n");
}

TEST(FloatCli, SwapsInOrderAndReportsInvalidFields)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("float hex-dump ':01 02 03 04 05 06 07 08' --swap qwords --swap bytes");
    EXPECT_NE(run.output.find("hex-dump\t:06 05 08 07 02 01 04 03 \tvalid\n"), std::string::npos) << run.output;
    run = test::RunCli("float float-exponent 300");
    EXPECT_NE(run.output.find("float-exponent\t300\tinvalid\n"), std::string::npos) << run.output;
    EXPECT_EQ(test::RunCli("float quad 1").exitCode, 2);
    EXPECT_EQ(test::RunCli("float double 1 --swap halves").exitCode, 2);
}

}  // namespace
}  // namespace qv
