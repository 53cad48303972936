// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli search: the output format is a contract for scripts.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>
#include <string>
#include <sys/wait.h>

#include "tests/support/TempDir.h"

namespace {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

class SearchCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* cli = std::getenv("QV_CLI");
        if (!cli) GTEST_SKIP() << "QV_CLI is not set";
        cli_ = cli;
        std::string bytes = "Hello World, hello world! ";
        bytes += std::string{0x12, 0x34, 0x56, 0x78};
        bytes += " AB";
        file_ = dir_.Write("data.bin", bytes);
    }

    Result Run(const std::string& arguments)
    {
        const std::string errFile = dir_.Path() + "/err.txt";
        std::string command = "'" + cli_ + "' search '" + file_ + "' " + arguments + " 2>'" + errFile + "'";
        Result result;
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 256> buffer;
        while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) result.out.append(buffer.data(), n);
        int status = pclose(pipe);
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(errFile);
        std::getline(err, result.err, '\0');
        return result;
    }

    qv::test::TempDir dir_;
    std::string cli_, file_;
};

TEST_F(SearchCliTest, PrintsOffsetsOneMatchALine)
{
    struct Case {
        const char* arguments;
        const char* out;
    };
    const Case cases[] = {
        {"'\"hello\"'", "0xD\n"},
        {"'\"hello\"' --ignore-case --all", "0x0\n0xD\n"},
        {"hello --ignore-case --from 0", "0xD\n"},
        {"hello --ignore-case --from 13 --wrap", "0x0\n"},
        {"'\"o\"' --backward", "0x14\n"},
        {"'\"o\"' --backward --from 7", "0x4\n"},
        {"'\"o\"' --in 5:10", "0x7\n"},
        {"'\"o\"' --in 5:10 --backward", "0x7\n"},
        {"0x78563412", "0x1A\n"},
        {"0x12345678 --big-endian", "0x1A\n"},
        {"0x3412 --width word", "0x1A\n"},
        {"0x12 --width byte --all", "0x1A\n"},
        {"':1? #0011?\?\?\?'", "0x1A\n"},
        {"':12 34 56'", "0x1A\n"},
        {"'\"AB\"' --unicode", ""},
        {"'\"World\"' '\"hello\"' --range 20 --ordered", "0x6 0xD\n"},
        {"'\"hello\"' '\"Hello\"' --range 20", "0xD 0x0\n"},
        {"'\"l\"' '\"d\"' --ordered --range 5 --all", "0x9 0xA\n0x16 0x17\n"},
    };
    for (const Case& c : cases) {
        Result r = Run(c.arguments);
        if (*c.out == '\0') {
            EXPECT_EQ(r.code, 1) << c.arguments;
            EXPECT_EQ(r.err, "Bereich wurde nicht gefunden !\n") << c.arguments;
        } else {
            EXPECT_EQ(r.code, 0) << c.arguments << r.err;
            EXPECT_EQ(r.out, c.out) << c.arguments;
        }
    }
}

TEST_F(SearchCliTest, NothingFoundAndBadArguments)
{
    Result r = Run("zzz");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Bereich wurde nicht gefunden !\n");
    EXPECT_EQ(Run("'\"\"'").code, 1);  // a value without bytes finds nothing
    EXPECT_EQ(Run("").code, 2);
    EXPECT_EQ(Run("1 --width nibble").code, 2);
    EXPECT_EQ(Run("1 --in 40:2").code, 2);
}

}  // namespace
