// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli convert and export, run as the user would run them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace qv {
namespace {

using test::TempDir;

struct CliRun {
    int exitCode;
    std::string output;
};

CliRun Cli(const std::string& arguments)
{
    const char* cli = std::getenv("QV_CLI");
    if (!cli) return {-1, ""};
    FILE* pipe = ::popen((std::string(cli) + " " + arguments + " 2>&1").c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class CliFormatsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("QV_CLI")) GTEST_SKIP() << "QV_CLI not set";
    }
    std::string Text(const std::string& path) const
    {
        const auto bytes = TempDir::Read(path);
        return std::string(bytes.begin(), bytes.end());
    }
    TempDir dir;
    std::vector<uint8_t> five = {1, 2, 3, 4, 5};
};

TEST_F(CliFormatsTest, ConvertBinaryToIntelHexAndBack)
{
    const std::string bin = dir.Write("in.bin", five);
    ASSERT_EQ(Cli("convert " + bin + " " + dir.File("out.hex")).exitCode, 0);
    EXPECT_EQ(Text(dir.File("out.hex")), ":050000000102030405EC\r\n:00000001FF\r\n");
    ASSERT_EQ(Cli("convert " + dir.File("out.hex") + " " + dir.File("back.bin")).exitCode, 0);
    auto back = TempDir::Read(dir.File("back.bin"));
    ASSERT_EQ(back.size(), 1024u);
    back.resize(5);
    EXPECT_EQ(back, five);
}

TEST_F(CliFormatsTest, ConvertWithOffsetKeepsAddresses)
{
    const std::string hex = dir.Write("in.ihx", std::string(":020000040800F2\r\n:0400100001020304E2\r\n"));
    ASSERT_EQ(Cli("convert " + hex + " " + dir.File("out.hex") + " --offset 0x08000000").exitCode, 0);
    EXPECT_EQ(Text(dir.File("out.hex")).substr(0, 17), ":020000040800F2\r\n");
    ASSERT_EQ(Cli("convert " + hex + " " + dir.File("out.bin") + " --offset 0x08000010").exitCode, 0);
    EXPECT_EQ(TempDir::Read(dir.File("out.bin"))[0], 1);
    ASSERT_EQ(Cli("convert " + hex + " " + dir.File("rebased.hex") + " --offset 0x08000000 --base 0").exitCode, 0);
    EXPECT_EQ(Text(dir.File("rebased.hex")).substr(0, 9), ":10000000");
}

TEST_F(CliFormatsTest, ConvertCArraysByExtensionOrChoice)
{
    const std::string c = dir.Write("in.c", std::string("unsigned char a[] = {\n0x01,0x02,\n};\n"));
    ASSERT_EQ(Cli("convert " + c + " " + dir.File("out.h")).exitCode, 0);
    EXPECT_EQ(Text(dir.File("out.h")), "0x01,0x02,\r\n");
    const std::string txt = dir.Write("in.txt", std::string("7,8,9"));
    ASSERT_EQ(Cli("convert " + txt + " " + dir.File("out.dat") + " --from c --to bin").exitCode, 0);
    EXPECT_EQ(TempDir::Read(dir.File("out.dat")), (std::vector<uint8_t>{7, 8, 9}));
}

TEST_F(CliFormatsTest, ConvertCompressedOnlyWhenAsked)
{
    const std::vector<uint8_t> container = {'Q', 'V', 'C', 'D', 16, 0, 0, 0, 0, 0, 0, 0, 4, 0,
                                            0,   0,   4,   0,   4,  0, 'A', 'B', 'C', 'D'};
    const std::string bin = dir.Write("in.bin", container);
    ASSERT_EQ(Cli("convert " + bin + " " + dir.File("plain.bin")).exitCode, 0);
    EXPECT_EQ(TempDir::Read(dir.File("plain.bin")), container);
    ASSERT_EQ(Cli("convert " + bin + " " + dir.File("unpacked.bin") + " --from qvcd").exitCode, 0);
    EXPECT_EQ(Text(dir.File("unpacked.bin")), "ABCD");
}

TEST_F(CliFormatsTest, ConvertFailsWhenReaderYieldsNothing)
{
    const std::string hex = dir.Write("empty.hex", std::string("no records here\n"));
    const CliRun run = Cli("convert " + hex + " " + dir.File("out.bin"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("keine Bytes"), std::string::npos);
    EXPECT_EQ(Cli("convert " + hex + " " + dir.File("out.bin") + " --to pdf").exitCode, 2);
    EXPECT_EQ(Cli("convert " + hex).exitCode, 2);
}

TEST_F(CliFormatsTest, ExportClipboardAndFileForms)
{
    const std::string bin = dir.Write("e.bin", std::vector<uint8_t>{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB});
    struct Case {
        std::string arguments;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"--format c --line 4", "0x01,0x23,0x45,0x67,\n0x89,0xAB,\n"},
        {"--format c --line 4 --file", "0x01,0x23,0x45,0x67,\n0x89,0xAB,"},
        {"--format c --size 2 --big-endian", "0x0123,0x4567,0x89AB,\n"},
        {"--format asm --size 2 --line 2", "DW\t02301h,06745h\nDW\t0AB89h,\n"},
        {"--format dump --offset 2 --length 3", "45 67 89 \n"},
        {"--format hex-text --line 4", "\"\\x01\\x23\\x45\\x67\"\n\"\\x89\\xAB\"\n"},
        {"--format hex-text --file", "ASNFZ4mr\n"},
        {"--format base64", "ASNFZ4mr\n"},
        {"--format chars --length 2", "'\\x01','#',\n"},
        {"--format min-text --offset 1 --length 2", "\"#E\"\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli("export " + bin + " " + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.arguments;
        EXPECT_EQ(run.output, c.expected) << c.arguments;
    }
    EXPECT_EQ(Cli("export " + bin + " --format c --size 3").exitCode, 2);
    EXPECT_EQ(Cli("export " + bin + " --format base64 --size 2").exitCode, 2);
    EXPECT_EQ(Cli("export " + bin + " --format xml").exitCode, 2);
    EXPECT_EQ(Cli("export " + bin).exitCode, 2);
}

}  // namespace
}  // namespace qv
