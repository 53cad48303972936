// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli reads every number option alike, refuses offsets past the end alike, reads
// module files from pipes, and fails when its input is shortened while it is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/CliRun.h"

namespace qv::test {
namespace {

class CliInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
        std::vector<uint8_t> bytes(64);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
        data_ = "'" + dir_.Write("data.bin", bytes) + "'";
    }
    ShellRun Run(const std::string& commandLine) { return RunShell(dir_, commandLine); }
    // The row of a one-byte dump at the offset as typed, without its trailing blanks.
    std::string DumpAt(const std::string& offset)
    {
        std::string row = Run("CLI dump " + data_ + " --length 1 --hide-text --offset '" + offset + "'").out;
        return row.substr(0, row.find_last_not_of(" \n") + 1);
    }

    TempDir dir_;
    std::string data_;
};

TEST_F(CliInput, EveryOptionReadsNumbersAsTheOffsetFieldDoes)
{
    // A leading 0 stays decimal; prefixes, suffixes, signs and blanks as in the dialog.
    EXPECT_EQ(DumpAt("010"), "00000A  0A");
    EXPECT_EQ(DumpAt("09"), "000009  09");
    for (const char* sixteen : {"16", "0x10", "10h", "0o20", "20o", "0b10000", "10000b", "+16", " 16 ", "\t0X10"})
        EXPECT_EQ(DumpAt(sixteen), "000010  10") << sixteen;
    for (const char* bad : {"\t-1", "-16", "0x", "12abc", "18446744073709551616", ""}) {
        const ShellRun run = Run(std::string("CLI dump ") + data_ + " --offset '" + bad + "'");
        EXPECT_EQ(run.code, 2) << bad;
        EXPECT_NE(run.err.find("--offset"), std::string::npos) << bad;
        EXPECT_EQ(run.out, "") << bad;
    }
    EXPECT_NE(Run("CLI dump " + data_ + " --offset -1").err.find("keine negative Zahl"), std::string::npos);

    // A negative start offset moves Intel HEX records up, as the dialog's "-16" does.
    const std::string hex = dir_.Write("in.hex", ":0300000001020305\r\n:00000001FF\r\n");
    const ShellRun converted = Run("CLI convert '" + hex + "' '" + dir_.File("out.bin") + "' --offset -16");
    ASSERT_EQ(converted.code, 0) << converted.err;
    const std::vector<uint8_t> bytes = TempDir::Read(dir_.File("out.bin"));
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes[15], 0);
    EXPECT_EQ(bytes[16], 1);
    EXPECT_EQ(Run("CLI convert '" + hex + "' '" + dir_.File("x.bin") + "' --offset 0x100000000").code, 2);
}

TEST_F(CliInput, OffsetsPastTheEndAreUsageErrorsEverywhere)
{
    for (const char* command : {"dump", "export --format c", "checksum", "crc"}) {
        const ShellRun past = Run(std::string("CLI ") + command + " " + data_ + " --offset 65");
        EXPECT_EQ(past.code, 2) << command;
        EXPECT_NE(past.err.find("hinter dem Dateiende"), std::string::npos) << command << past.err;
        EXPECT_EQ(Run(std::string("CLI ") + command + " " + data_ + " --offset 64").code, 0) << command;
    }
    EXPECT_EQ(Run("head -c 10 /dev/zero | CLI dump /dev/stdin --offset 11").code, 2);
}

TEST_F(CliInput, ModulesFromPipesAndInputsShortenedWhileRead)
{
    const std::string module = "BYTE \"erstes\" #H\n";
    const ShellRun piped = Run("CLI decode " + data_ + " <(printf '%s' '" + module + "')");
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(piped.out, "0\terstes\t0x0 \t0x0\t0x1\t0x0\n");

    // The command maps its input, then waits for its module on a FIFO; meanwhile another
    // program cuts the input to nothing. The byte it reads then is no byte of the file.
    const std::string big = "'" + dir_.Write("big.bin", std::vector<uint8_t>(16384, 0x41)) + "'";
    const std::string fifo = "'" + dir_.File("m.fifo") + "'";
    const ShellRun shortened = Run("mkfifo " + fifo + "; \"$CLI\" decode " + big + " " + fifo + " & pid=$!\n"
                                   "for i in $(seq 500); do grep -q big.bin /proc/$pid/maps 2>/dev/null && break; "
                                   "sleep 0.01; done\n"
                                   "truncate -s 0 " + big + "; printf '%s' '" + module + "' > " + fifo + "; wait $pid");
    EXPECT_EQ(shortened.code, 1);
    EXPECT_EQ(shortened.out, "");
    EXPECT_NE(shortened.err.find("verkürzt, während sie gelesen wurde"), std::string::npos) << shortened.err;
}

}  // namespace
}  // namespace qv::test
