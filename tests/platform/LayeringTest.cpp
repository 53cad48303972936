// SPDX-License-Identifier: GPL-3.0-or-later
// The platform layer stands below every subsystem: nothing under platform/ includes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace qv {
namespace {

TEST(Layering, PlatformIncludesNoSubsystem)
{
    const std::regex upward(R"(#include\s+"(view|document|search|modules|print|tools|analysis|compare|recovery|app)/)");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("platform")) {
        if (!entry.is_regular_file()) continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number)
            EXPECT_FALSE(std::regex_search(line, upward)) << entry.path().string() << ":" << number << ": " << line;
    }
    EXPECT_GT(files, 10);
}

}  // namespace
}  // namespace qv
