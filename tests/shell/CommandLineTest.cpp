// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandLine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/TempDir.h"

namespace qv {
namespace {

TEST(CommandLineTest, OptionsAreLettersAfterDashOrSlashInAnyCase)
{
    for (const char* option : {"/r", "-R", "/Rx", "-rw"}) {
        CommandLine line = ParseCommandLine({option, "file.bin"});
        EXPECT_EQ(line.options.AccessMode, 1) << option;
        EXPECT_TRUE(line.hasAccessMode) << option;
        EXPECT_EQ(line.fileName, "file.bin") << option;
    }
    CommandLine line = ParseCommandLine({"-w", "/m", "-I", "/z", "-d"});
    EXPECT_EQ(line.options.AccessMode, -1);
    EXPECT_EQ(line.options.MapMode, 1);
    EXPECT_EQ(line.options.IntelHexMode, 1);
    EXPECT_TRUE(line.maximized);
    EXPECT_TRUE(line.openDataWindow);
    EXPECT_TRUE(line.fileName.empty());

    EXPECT_EQ(ParseCommandLine({"/N"}).options.MapMode, -1);
    EXPECT_EQ(ParseCommandLine({"-k"}).options.IntelHexMode, 1);
    EXPECT_FALSE(ParseCommandLine({"-q"}).hasAccessMode);  // unknown options are ignored
}

TEST(CommandLineTest, AbsolutePathsAreFileNamesNotOptions)
{
    test::TempDir dir;
    const auto path = dir.Write("name.bin", std::string("x"));
    CommandLine line = ParseCommandLine({"/r", path});
    EXPECT_EQ(line.fileName, path);
    EXPECT_EQ(line.options.AccessMode, 1);
    EXPECT_EQ(ParseCommandLine({"/tmp/missing/x.bin"}).fileName, "/tmp/missing/x.bin");
    EXPECT_EQ(ParseCommandLine({"/"}).fileName, "/");
    EXPECT_EQ(ParseCommandLine({"/tmp"}).fileName, "/tmp");  // exists on disk
}

TEST(CommandLineTest, BaseAddressReadsCIntegersUpToTheFirstForeignCharacter)
{
    struct Case {
        const char* option;
        uint32_t expected;
    } cases[] = {
        {"/A:0x1000", 0x1000}, {"/a:4096", 4096}, {"-A:010", 8},  {"/A:0x1Fzz", 0x1F},
        {"/A:", 0},            {"/A:junk", 0},    {"/A:09", 0},   {"/A:0xFFFFFFFF", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        CommandLine line = ParseCommandLine({c.option});
        EXPECT_TRUE(line.hasBaseAddress) << c.option;
        EXPECT_EQ(line.options.BaseAddress, c.expected) << c.option;
    }
    // Without ":" the option is ignored.
    EXPECT_FALSE(ParseCommandLine({"/A1000"}).hasBaseAddress);
}

TEST(CommandLineTest, NumbersAreReadAsStrtoullWithBaseZeroReadsThem)
{
    struct Case {
        const char* text;
        uint64_t expected;
    } cases[] = {
        {"-16", 0xFFFFFFFFFFFFFFF0}, {"+8", 8}, {"  12", 12}, {"-0x10", 0xFFFFFFFFFFFFFFF0}, {"-010", 0xFFFFFFFFFFFFFFF8},
        {"0x", 0},           {"0xg", 0},         {"-", 0},       {"+-1", 0},            {"- 1", 0},
        {"4294967296", 0x100000000}, {"-4294967296", 0xFFFFFFFF00000000}, {"0x1Fzz", 0x1F}, {"077", 63},
        {"0x160000000", 0x160000000}, {"18446744073709551615", UINT64_MAX},
        // Beyond 64 bits the largest value, signed or not, as strtoull gives.
        {"18446744073709551616", UINT64_MAX}, {"-0x10000000000000000", UINT64_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadCInteger(c.text), c.expected) << c.text;
    EXPECT_EQ(ParseCommandLine({"/A:-0x100"}).options.BaseAddress, 0xFFFFFFFFFFFFFF00u);
}

TEST(CommandLineTest, PositionOptionsAreNeverTakenForTheFileName)
{
    CommandLine line = ParseCommandLine({"/F:0x10,0x20", "-J:5", "/S:start", "real.bin", "later.bin"});
    EXPECT_EQ(line.fileName, "real.bin");
    EXPECT_EQ(line.selectOption, "0x10,0x20");
    EXPECT_EQ(line.jumpOption, "5");
    EXPECT_EQ(line.startOption, "start");
}

TEST(CommandLineTest, PrintPdfTakesTheNextArgumentAsItsOutput)
{
    CommandLine line = ParseCommandLine({"/J:0x10:4", "--print-pdf", "out.pdf", "dump.bin"});
    ASSERT_TRUE(line.printPdfPath);
    EXPECT_EQ(*line.printPdfPath, "out.pdf");
    EXPECT_EQ(line.fileName, "dump.bin");
    EXPECT_EQ(*line.jumpOption, "0x10:4");
    line = ParseCommandLine({"dump.bin", "--print-pdf"});
    EXPECT_EQ(line.printPdfPath, std::string());
    EXPECT_FALSE(ParseCommandLine({"dump.bin"}).printPdfPath);
}

TEST(CommandLineTest, CompareTakesBothFilesAndStartsPastFourGiB)
{
    const CommandLine line =
        ParseCommandLine({"--compare", "a.bin", "b.bin", "--offset", "0x100000010", "--offset2", "0x20"});
    EXPECT_EQ(line.fileName, "a.bin");
    EXPECT_EQ(line.comparePath, "b.bin");
    EXPECT_EQ(line.compareOffset, 0x100000010);
    EXPECT_EQ(line.compareOffset2, 0x20);
}

TEST(CommandLineTest, OnlyGivenOptionsAreClearedAfterTheStartUpFile)
{
    CommandLine line = ParseCommandLine({"/A:0x10", "/R"});
    StartOptions options = line.options;
    options.MapMode = 1;  // set elsewhere, not by this command line
    ClearGivenStartOptions(line, options);
    EXPECT_EQ(options.BaseAddress, 0u);
    EXPECT_EQ(options.AccessMode, 0);
    EXPECT_EQ(options.MapMode, 1);
}

class NormalizeStartPathTest : public ::testing::Test {
protected:
    NormalizeStartPathTest()
    {
        std::filesystem::create_directories(dir.File("Firmware/Images"));
        dir.Write("Firmware/Images/Boot.BIN", std::string("x"));
    }
    test::TempDir dir;
};

TEST_F(NormalizeStartPathTest, ComponentsAreSpelledAsStoredOnDisk)
{
    EXPECT_EQ(NormalizeStartPath(dir.File("firmware/IMAGES/boot.bin")), dir.File("Firmware/Images/Boot.BIN"));
}

TEST_F(NormalizeStartPathTest, WildcardsAndMissingComponentsKeepTheRestAsTyped)
{
    EXPECT_EQ(NormalizeStartPath(dir.File("firmware/*.bin")), dir.File("Firmware/*.bin"));
    EXPECT_EQ(NormalizeStartPath(dir.File("firmware/im?ges/boot.bin")), dir.File("Firmware/im?ges/boot.bin"));
    EXPECT_EQ(NormalizeStartPath(dir.File("FIRMWARE/new/boot.bin")), dir.File("Firmware/new/boot.bin"));
    // A name ending in a separator is left as the full-path operation returned it.
    EXPECT_EQ(NormalizeStartPath(dir.File("firmware/")), dir.File("firmware/"));
}

TEST_F(NormalizeStartPathTest, RelativeNamesBecomeAbsolute)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.File("Firmware"));
    EXPECT_EQ(NormalizeStartPath("images/../Images/boot.bin"), dir.File("Firmware/Images/Boot.BIN"));
    EXPECT_EQ(NormalizeStartPath("./IMAGES"), dir.File("Firmware/Images"));
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace qv
