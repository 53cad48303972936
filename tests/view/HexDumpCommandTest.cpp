// SPDX-License-Identifier: GPL-3.0-or-later
// The dump command prints the rows exactly as the view builds them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "view/HexRow.h"

namespace qv {
namespace {

class HexDumpCommand : public testing::Test {
protected:
    void SetUp() override
    {
        const char* cli = std::getenv("QV_CLI");
        if (!cli) GTEST_SKIP() << "QV_CLI is not set";
        cli_ = cli;
        path_ = (std::filesystem::temp_directory_path() / ("qv-dump-" + std::to_string(::getpid()) + ".bin")).string();
    }
    void TearDown() override { std::filesystem::remove(path_); }

    void Write(const std::vector<uint8_t>& bytes)
    {
        std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }

    std::string Run(const std::string& options, int* status = nullptr)
    {
        const std::string command = cli_ + " dump " + path_ + " " + options + " 2>/dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        const int rc = ::pclose(pipe);
        if (status) *status = WEXITSTATUS(rc);
        return out;
    }

    std::string cli_;
    std::string path_;
};

TEST_F(HexDumpCommand, DefaultRowsWithTrailingBlanksAndUtf8)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 16; ++i) bytes.push_back(static_cast<uint8_t>(0x41 + i));
    bytes.push_back(0xE4);
    bytes.push_back(0x0A);
    Write(bytes);
    EXPECT_EQ(Run(""),
              "000000  41 42 43 44  45 46 47 48  49 4A 4B 4C  4D 4E 4F 50  ABCDEFGHIJKLMNOP\n"
              "000010  E4 0A" + std::string(47, ' ') + "\xC3\xA4." + std::string(14, ' ') + "\n");
}

TEST_F(HexDumpCommand, OptionsShapeTheRows)
{
    Write({0x01, 0x02, 0x03, 0x04, 0x11, 0x22});
    EXPECT_EQ(Run("--line-width 8 --format dword --invert --address-digits 4 --extra-space 4"),
              "0000  04030201      2211  .....\"  \n");
    EXPECT_EQ(Run("--hide-address --hide-text --insert-space 0 --extra-space 0 --line-width 4"),
              "01020304  \n1122      \n");
    EXPECT_EQ(Run("--offset 4 --length 1 --base 0x1000 --address-digits 8 --hide-hex"), "00001004  ." + std::string(15, ' ') + "\n");
    EXPECT_EQ(Run("--row-phase 3 --line-width 4 --extra-space 0 --hide-text"),
              "FFFFFD           01  \n000001  02 03 04 11  \n000005  22           \n");
}

TEST_F(HexDumpCommand, BadOptionsAreRefused)
{
    Write({1, 2, 3});
    int status = 0;
    EXPECT_EQ(Run("--format nibble", &status), "");
    EXPECT_EQ(status, 2);
    Run("--line-width 0", &status);
    EXPECT_EQ(status, 2);
    std::filesystem::remove(path_);
    Run("", &status);
    EXPECT_EQ(status, 1);
}

TEST_F(HexDumpCommand, EmptyFilePrintsNothing)
{
    Write({});
    int status = -1;
    EXPECT_EQ(Run("", &status), "");
    EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace qv
