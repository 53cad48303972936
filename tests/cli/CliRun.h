// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a bash command line in which "CLI" stands for quarnival-cli; gives its exit code,
// standard output and standard error.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

#include "tests/support/TempDir.h"

namespace qv::test {

struct ShellRun {
    int code = -1;
    std::string out;
    std::string err;
};

// A program built with the address sanitizer reserves terabytes of address space for its
// shadow memory, so it cannot start under a memory limit: such builds test without one.
#ifdef __SANITIZE_ADDRESS__
inline constexpr bool kMemoryLimitsApply = false;
#else
inline constexpr bool kMemoryLimitsApply = true;
#endif

inline std::string CliProgram()
{
    const char* cli = std::getenv("QV_CLI");
    return cli ? cli : "";
}

inline ShellRun RunShell(const TempDir& dir, const std::string& commandLine)
{
    const std::string script = dir.Write("run.sh", "CLI='" + CliProgram() + "'\n" +
                                                       "CLI() { \"$CLI\" \"$@\"; }\n" + commandLine + "\n");
    const std::string errPath = dir.File("stderr.txt");
    FILE* pipe = ::popen(("bash '" + script + "' 2>'" + errPath + "'").c_str(), "r");
    ShellRun run;
    std::array<char, 65536> buffer;
    while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    return run;
}

}  // namespace qv::test
