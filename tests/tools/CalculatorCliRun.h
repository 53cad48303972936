// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs quarnival-cli (path in QV_CLI) with arguments and returns its standard output and
// exit code, for the calc, float and time command tests.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv::test {

struct CliRun {
    std::string output;
    int exitCode = -1;
};

// environment: assignments put before the command, such as "TZ=Europe/Berlin".
inline CliRun RunCli(const std::string& arguments, const std::string& environment = "")
{
    CliRun run;
    const char* cli = std::getenv("QV_CLI");
    if (!cli) return run;
    const std::string command = environment + " " + std::string(cli) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> chunk;
    size_t got;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.output.append(chunk.data(), got);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace qv::test
