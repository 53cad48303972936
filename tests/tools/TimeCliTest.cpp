// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "tests/tools/CalculatorCliRun.h"

namespace qv {
namespace {

TEST(TimeCli, BytesReadAsUtcSeconds)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("time --bytes '80 43 6D 38' --mode utc");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "text\tSa 01.Jan.2000  00:00:00\tvalid\n"
              "seconds\t946684800\tvalid\n"
              "seconds-dump\t:80 43 6D 38 \tvalid\n"
              "dos\t:00 00 21 28 \tvalid\n"
              "ole\t36526.0\tvalid\n"
              "ole-dump\t:00 00 00 00 C0 D5 E1 40 \tvalid\n"
              "filetime\t0x1BF53EB256D4000\tvalid\n"
              "filetime-dump\t:00 40 6D 25 EB 53 BF 01 \tvalid\n"
              "timestamp\t:D0 07 01 00 01 00 00 00 00 00 00 00 00 00 00 00 \tvalid\n"
              "systemtime\t:D0 07 01 00 06 00 01 00 00 00 00 00 00 00 00 00 \tvalid\n");
}

TEST(TimeCli, LocalTimeUsesTheZone)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("time --local seconds 962452800", "TZ=Europe/Berlin");
    EXPECT_EQ(run.output.substr(0, run.output.find('\n') + 1), "text\tSa 01.Jul.2000  14:00:00\tvalid\n");
    run = test::RunCli("time --local text '1.7.2000 0'", "TZ=Europe/Berlin");
    EXPECT_NE(run.output.find("seconds\t962402400\tvalid\n"), std::string::npos) << run.output;
    run = test::RunCli("time text '1.7.2000 0'", "TZ=Europe/Berlin");
    EXPECT_NE(run.output.find("seconds\t962409600\tvalid\n"), std::string::npos) << run.output;
}

TEST(TimeCli, InvalidFieldsAndUsage)
{
    if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    test::CliRun run = test::RunCli("time text Hallo");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.substr(0, run.output.find('\n')), "text\tHallo\tinvalid");
    run = test::RunCli("time --bytes 'D0 07 01 00 01 00' --mode dbdate");
    EXPECT_NE(run.output.find("timestamp\t:D0 07 01 00 01 00 \tvalid\n"), std::string::npos) << run.output;
    EXPECT_EQ(test::RunCli("time --bytes 12 --mode week").exitCode, 2);
    EXPECT_EQ(test::RunCli("time --bytes zz --mode utc").exitCode, 2);
    EXPECT_EQ(test::RunCli("time --mode utc").exitCode, 2);
    EXPECT_EQ(test::RunCli("time centuries 5").exitCode, 2);
}

}  // namespace
}  // namespace qv
