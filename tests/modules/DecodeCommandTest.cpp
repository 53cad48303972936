// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli decode, run as a program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/modules/BmpModule.h"

namespace qv::test {
namespace {

class DecodeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* cli = std::getenv("QV_CLI");
        if (!cli) GTEST_SKIP() << "QV_CLI is not set";
        cli_ = cli;
        dir_ = std::filesystem::temp_directory_path() /
               ("qv_decode_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override
    {
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream((dir_ / name).string(), std::ios::binary) << bytes;
        return (dir_ / name).string();
    }

    // Runs the CLI; returns the exit code, fills out and err.
    int Run(const std::string& arguments, std::string& out, std::string& err, const std::string& command = "decode")
    {
        std::string outPath = (dir_ / "out.txt").string(), errPath = (dir_ / "err.txt").string();
        int status = std::system(("XDG_DATA_HOME=" + (dir_ / "daten").string() + " " + cli_ + " " + command + " " +
                                  arguments + " >" + outPath + " 2>" + errPath)
                                     .c_str());
        out = Read(outPath);
        err = Read(errPath);
        return WEXITSTATUS(status);
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string cli_;
    std::filesystem::path dir_;
};

TEST_F(DecodeCommand, PrintsOneTabSeparatedLinePerRowInUtf8)
{
    std::vector<uint8_t> bmp = MakeBitmap(2, 2, 1, {0, 0xFFFFFF}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    std::string data = Write("bild.bmp", std::string(bmp.begin(), bmp.end()));
    std::string module = Write("bmp.dfm", kBmpModule);
    std::string out, err;
    ASSERT_EQ(Run(data + " " + module, out, err), 0);
    EXPECT_EQ(err, "");
    std::istringstream lines(out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    ASSERT_EQ(all.size(), 24u);
    EXPECT_EQ(all[0], "0\tDateikopf\t\t0x0\t0x0\t0x0");
    EXPECT_EQ(all[2], "1\tDateigröße\t70 \t0x2\t0x4\t0x2");
    EXPECT_EQ(all[20], "1\tFarbe[1]\t0xFFFFFF \t0x3A\t0x4\t0x3A");
    EXPECT_EQ(all[23], "1\tZeile\t0x40 0x00 0x00 0x00 \t0x0\t0x4\t0x42");

    ASSERT_EQ(Run(data + " " + module + " --max-rows 3", out, err), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 4);
    EXPECT_NE(out.find("\tModul nach 3 Zeilen angehalten\t"), std::string::npos) << out;
}

TEST_F(DecodeCommand, EntryOffsetListAndErrors)
{
    std::string data = Write("d.bin", std::string("\x01\x02\x03\x04", 4));
    std::string module = Write("m.dfm", "BYTE \"vorn\" #H\nBLOCK \"zweiter\"\nWORD \"w\" #H\nFOO\n");
    std::string out, err;
    ASSERT_EQ(Run(data + " " + module + " --list", out, err), 0);
    EXPECT_EQ(out, "zweiter\nModul - m\n");
    EXPECT_EQ(err, module + ": Fehler(4)\tUnbekannter Befehl\n");  // each line names its module

    ASSERT_EQ(Run(data + " " + module + " --entry zweiter --offset 1", out, err), 0);
    EXPECT_EQ(out, "0\tw\t0x302 \t0x1\t0x2\t0x1\n");

    ASSERT_EQ(Run(data + " " + module + " --entry fehlt", out, err), 2);
    EXPECT_EQ(Run(data + " " + (dir_ / "nix.dfm").string(), out, err), 1);
    EXPECT_NE(err.find((dir_ / "nix.dfm").string() + ": Fehler(0)\tKann Datei nicht öffnen."), std::string::npos);
    EXPECT_EQ(Run((dir_ / "nix.bin").string() + " " + module, out, err), 1);
}

TEST_F(DecodeCommand, OffsetsPastFourGibibytesInASparseFile)
{
    const std::string data = (dir_ / "weit.bin").string();
    {
        std::ofstream file(data, std::ios::binary);
        file.seekp((4LL << 30) + 0x10);
        file.write("\x78\x56\x34\x12", 4);
    }
    std::string module = Write("w.dfm", "DWORD \"w\" #H\nLEN \"Rest\" #U\n");
    std::string out, err;
    ASSERT_EQ(Run(data + " " + module + " --offset 0x100000010", out, err), 0) << err;
    EXPECT_EQ(out, "0\tw\t0x12345678 \t0x100000010\t0x4\t0x100000010\n"
                   "0\tRest\t0 \t0x100000014\t0x0\t0x100000014\n");
}

TEST_F(DecodeCommand, DetectionLooksAtTheOffsetGivenPastFourGibibytes)
{
    const std::vector<uint8_t> bmp = MakeBitmap(2, 2, 1, {0, 0xFFFFFF}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    const std::string data = (dir_ / "platte.bin").string();
    {
        std::ofstream file(data, std::ios::binary);
        file.seekp((5LL << 30) + 3);
        file.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    }
    const std::string shipped = std::filesystem::path(cli_).parent_path().parent_path() / "resources/modules";
    std::string out, err, explicitOut;
    ASSERT_EQ(Run(data + " --offset 0x140000003", out, err, "detect"), 0) << err;
    EXPECT_EQ(out, "Bitmap\t0x140000003\t" + shipped + "/bmp.dfm\n");
    EXPECT_EQ(Run(data, out, err, "detect"), 1);
    EXPECT_EQ(Run(data + " --offset 0x200000000", out, err, "detect"), 2);

    ASSERT_EQ(Run(data + " " + shipped + "/bmp.dfm --offset 0x140000003", explicitOut, err), 0) << err;
    ASSERT_EQ(Run(data + " --auto --offset 0x140000003", out, err), 0) << err;
    EXPECT_EQ(out, explicitOut);
}

TEST_F(DecodeCommand, DetectNamesTheFormatsOffsetAndModuleAndAutoDecodesWithIt)
{
    std::vector<uint8_t> bmp = MakeBitmap(2, 2, 1, {0, 0xFFFFFF}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    std::string data = Write("bild.bmp", std::string(bmp.begin(), bmp.end()));
    std::string out, err;
    ASSERT_EQ(Run(data, out, err, "detect"), 0) << err;
    const std::string shipped = std::filesystem::path(cli_).parent_path().parent_path() / "resources/modules";
    EXPECT_EQ(out, "Bitmap\t0x0\t" + shipped + "/bmp.dfm\n");

    // The user's table comes first, and --json gives the same.
    std::filesystem::create_directories(dir_ / "daten/quarnival/modules");
    Write("daten/quarnival/modules/formats.txt", "2 46 eigen.dfm Größe\n0 \"BM\" bmp.dfm Bitmap\n");
    ASSERT_EQ(Run(data + " --json", out, err, "detect"), 0) << err;
    const std::string own = (dir_ / "daten/quarnival/modules").string();
    EXPECT_EQ(out, "[\n{\"format\":\"Größe\",\"offset\":2,\"module\":\"" + own + "/eigen.dfm\"},"
                   "\n{\"format\":\"Bitmap\",\"offset\":0,\"module\":\"" + own + "/bmp.dfm\"}]\n");
    std::filesystem::remove_all(dir_ / "daten");

    std::string explicitOut;
    ASSERT_EQ(Run(data + " " + shipped + "/bmp.dfm", explicitOut, err), 0);
    ASSERT_EQ(Run(data + " --auto", out, err), 0) << err;
    EXPECT_EQ(out, explicitOut);

    std::string noise;
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 2654435761u) >> 13);
    std::string random = Write("zufall.bin", noise);
    EXPECT_EQ(Run(random, out, err, "detect"), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(Run(random + " --auto", out, err), 1);
    EXPECT_EQ(Run(random + " --auto " + shipped + "/bmp.dfm", out, err), 2);
}

}  // namespace
}  // namespace qv::test
