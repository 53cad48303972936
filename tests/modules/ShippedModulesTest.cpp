// SPDX-License-Identifier: GPL-3.0-or-later
// The modules shipped in resources/modules, each run by quarnival-cli over files written by
// Python's own libraries (PIL, wave, zipfile) or by the machine's compiler, with the decoded
// fields compared against what those libraries and tools read from the same files.
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

class ShippedModulesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedModulesTest, DecodesWhatTheReferenceLibraryReads)
{
    const char* cli = std::getenv("QV_CLI");
    if (!cli) GTEST_SKIP() << "QV_CLI names the quarnival-cli to run";
    const std::string command = Python() + " tests/data/check_shipped_module.py '" + cli +
                                "' resources/modules " + GetParam() + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
}

INSTANTIATE_TEST_SUITE_P(Formats, ShippedModulesTest, ::testing::Values("bmp", "png", "gif", "wav", "zip", "elf", "pe"));

}  // namespace
}  // namespace qv
