// SPDX-License-Identifier: GPL-3.0-or-later
// The modules shipped in resources/modules, each run by quarnival-cli over files written by
// Python's own libraries (PIL, wave, zipfile), the machine's compiler or the format's own
// tools, with the decoded fields compared against what those libraries and tools read from
// the same files. A format whose tool is missing is skipped with the package to install.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace qv {
namespace {

// A Python with PIL: the system's own first, as other installations may lack it.
std::string Python()
{
    return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

// A format and the tool that makes and reads its samples (nullptr: Python alone).
struct Format {
    const char* name;
    const char* tool;
    const char* package;
};

bool HasTool(const char* tool)
{
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0 ||
           access(("/usr/sbin/" + std::string(tool)).c_str(), X_OK) == 0;
}

class ShippedModulesTest : public ::testing::TestWithParam<Format> {};

TEST_P(ShippedModulesTest, DecodesWhatTheReferenceLibraryReads)
{
    const char* cli = std::getenv("QV_CLI");
    if (!cli) GTEST_SKIP() << "QV_CLI names the quarnival-cli to run";
    const Format& format = GetParam();
    if (format.tool && !HasTool(format.tool))
        GTEST_SKIP() << format.name << " needs " << format.tool << " (Debian package " << format.package << ")";
    const std::string command = "PATH=$PATH:/usr/sbin " + Python() + " tests/data/check_shipped_module.py '" + cli +
                                "' resources/modules " + format.name + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ShippedModulesTest,
    ::testing::Values(Format{"bmp", nullptr, ""}, Format{"png", nullptr, ""}, Format{"gif", nullptr, ""},
                      Format{"wav", nullptr, ""}, Format{"zip", "zip", "zip"}, Format{"elf", "readelf", "binutils"},
                      Format{"pe", "objdump", "binutils"}, Format{"sqlite", "sqlite3", "sqlite3"},
                      Format{"uimage", "mkimage", "u-boot-tools"}, Format{"mbr", "sfdisk", "fdisk"},
                      Format{"gpt", "sgdisk", "gdisk"}, Format{"gzip", "gzip", "gzip"}, Format{"tar", "tar", "tar"},
                      Format{"jpeg", nullptr, ""}, Format{"squashfs", "mksquashfs", "squashfs-tools"},
                      Format{"dtb", "dtc", "device-tree-compiler"}, Format{"macho", nullptr, ""}),
    [](const ::testing::TestParamInfo<Format>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv
