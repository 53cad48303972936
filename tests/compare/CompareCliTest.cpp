// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli compare: its lines and JSON are a contract for scripts, its exit codes
// those of cmp.
#include <gtest/gtest.h>

#include <vector>

#include "tests/cli/CliRun.h"

namespace qv::test {
namespace {

class CompareCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (CliProgram().empty()) GTEST_SKIP() << "QV_CLI is not set";
        std::vector<uint8_t> a(0x3000), b;
        for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
        b = a;
        b[0x10] ^= 1;                                            // one byte
        for (size_t i = 0x3F; i < 0x42; ++i) b[i] = ~b[i];       // across a 64-byte step
        for (size_t i = 0x1FF0; i < 0x2010; ++i) b[i] ^= 0x80;   // 32 bytes
        b.insert(b.end(), {1, 2, 3, 4, 5});                      // five bytes longer
        dir_.Write("a.bin", a);
        dir_.Write("b.bin", b);
        dir_.Write("same.bin", a);
    }
    ShellRun Run(const std::string& arguments) { return RunShell(dir_, "cd '" + dir_.Path() + "' && CLI compare " + arguments); }
    TempDir dir_;
};

TEST_F(CompareCli, PrintsEachRunAndTheLengthDifferenceLast)
{
    const ShellRun run = Run("a.bin b.bin");
    EXPECT_EQ(run.out, "0x00000010  1\n0x0000003F  3\n0x00001FF0  32\n0x00003000  5\n");
    EXPECT_EQ(run.code, 1);
    const ShellRun json = Run("a.bin b.bin --json");
    EXPECT_EQ(json.out, "[\n{\"start\":16,\"length\":1},\n{\"start\":63,\"length\":3},\n{\"start\":8176,\"length\":32},\n"
                        "{\"start\":12288,\"length\":5}\n]\n");
    EXPECT_EQ(json.code, 1);
}

TEST_F(CompareCli, EqualFilesPrintNothingAndEndWithZero)
{
    EXPECT_EQ(Run("a.bin same.bin").out, "");
    EXPECT_EQ(Run("a.bin same.bin").code, 0);
    EXPECT_EQ(Run("a.bin same.bin --json").out, "[]\n");
    // Equal within the compared part, though the files differ after it.
    const ShellRun limited = Run("a.bin b.bin --length 0x10");
    EXPECT_EQ(limited.out, "");
    EXPECT_EQ(limited.code, 0);
}

TEST_F(CompareCli, OffsetsLengthAndMaxChooseWhatIsCompared)
{
    // From 0x40 in both: the second run is cut to where the compare starts; offsets are A's.
    EXPECT_EQ(Run("a.bin b.bin --offset 0x40 --offset2 0x40 --max 2").out, "0x00000040  2\n0x00001FF0  32\n");
    // B from 0x2000 beside A from 0x1FF0 lines up A's bytes with B's 0x10 later: all differ.
    EXPECT_EQ(Run("a.bin b.bin --offset 0x1FF0 --offset2 0x2000 --length 4").out, "0x00001FF0  4\n");
    EXPECT_EQ(Run("a.bin b.bin --length 0x3002").out, "0x00000010  1\n0x0000003F  3\n0x00001FF0  32\n0x00003000  2\n");
    const ShellRun quiet = Run("a.bin b.bin --max 0");
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.code, 1);
}

TEST_F(CompareCli, TroubleEndsWithTwoAndAGermanMessage)
{
    const ShellRun missing = Run("a.bin missing.bin");
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("missing.bin"), std::string::npos) << missing.err;
    EXPECT_EQ(Run("a.bin").code, 2);
    EXPECT_EQ(Run("a.bin b.bin --offset 0x3001").code, 2);
    EXPECT_EQ(Run("a.bin b.bin --max x").code, 2);
    EXPECT_EQ(Run("a.bin b.bin > /dev/full").code, 2);

    // The first file is mapped, the second read from a FIFO; meanwhile another program cuts
    // the first to nothing. Its bytes read then are none of the file: no answer, trouble.
    dir_.Write("big.bin", std::vector<uint8_t>(16384, 0x41));
    const ShellRun shortened = RunShell(dir_, "cd '" + dir_.Path() + "' && mkfifo b.fifo && { \"$CLI\" compare big.bin b.fifo & "
                                        "pid=$!; for i in $(seq 500); do grep -q big.bin /proc/$pid/maps 2>/dev/null "
                                        "&& break; sleep 0.01; done; truncate -s 0 big.bin; printf AB > b.fifo; wait $pid; }");
    EXPECT_EQ(shortened.code, 2);
    EXPECT_EQ(shortened.out, "");
    EXPECT_NE(shortened.err.find("verkürzt, während sie gelesen wurde"), std::string::npos) << shortened.err;
}

}  // namespace
}  // namespace qv::test
