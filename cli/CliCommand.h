// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sub-commands of quarnival-cli. Each command lives in its own cli/*.cpp file and
// registers itself with QV_CLI_COMMAND; main() dispatches on the first argument.
#include <functional>
#include <string>
#include <vector>

namespace qv::cli {

// Arguments after the command name; returns the process exit code.
using CommandFunction = std::function<int(const std::vector<std::string>& args)>;

struct CommandInfo {
    std::string name;
    std::string usage;  // one line, shown by --help
    CommandFunction run;
    // What exit code 1 means for the command, shown by "COMMAND --help"; empty for the
    // general meaning (the operation failed: unreadable input, a write error).
    std::string failure = {};
};

std::vector<CommandInfo>& Commands();

struct CommandRegistrar {
    CommandRegistrar(std::string name, std::string usage, CommandFunction run)
    {
        Commands().push_back({std::move(name), std::move(usage), std::move(run)});
    }
    CommandRegistrar(std::string name, std::string usage, std::string failure, CommandFunction run)
    {
        Commands().push_back({std::move(name), std::move(usage), std::move(run), std::move(failure)});
    }
};

}  // namespace qv::cli

#define QV_CLI_CONCAT_INNER(a, b) a##b
#define QV_CLI_CONCAT(a, b) QV_CLI_CONCAT_INNER(a, b)
#define QV_CLI_COMMAND(name, usage, function) \
    static ::qv::cli::CommandRegistrar QV_CLI_CONCAT(qvCliCommand, __LINE__)(name, usage, function)
// The same, with what exit code 1 means for this command.
#define QV_CLI_COMMAND_FAILURE(name, usage, failure, function) \
    static ::qv::cli::CommandRegistrar QV_CLI_CONCAT(qvCliCommand, __LINE__)(name, usage, failure, function)
