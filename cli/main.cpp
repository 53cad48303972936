// quarnival-cli: the editor's engines from a shell. Each sub-command registers itself.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <iostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"

namespace qv::cli {

std::vector<CommandInfo>& Commands()
{
    static std::vector<CommandInfo> commands;
    return commands;
}

}  // namespace qv::cli

namespace {

void PrintHelp()
{
    auto commands = qv::cli::Commands();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    std::cout << "quarnival-cli " << QV_VERSION << " - die Werkzeuge von Quarnival ohne Fenster\n\n"
              << "Aufruf: quarnival-cli BEFEHL [ARGUMENTE...]\n"
              << "        quarnival-cli --help | --version\n";
    if (!commands.empty()) std::cout << "\nBefehle:\n";
    for (const auto& command : commands) std::cout << "  " << command.usage << "\n";
    std::cout << "\nZahlen werden in C-Schreibweise gelesen (dezimal oder 0x...).\n";
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp();
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::cout << "quarnival-cli " << QV_VERSION << "\n";
        return 0;
    }
    for (const auto& command : qv::cli::Commands()) {
        if (command.name != args[0]) continue;
        try {
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
        } catch (const qv::cli::UsageError& error) {
            std::cerr << "quarnival-cli " << command.name << ": " << error.what() << "\nAufruf: " << command.usage
                      << "\n";
            return 2;
        } catch (const std::exception& error) {
            std::cerr << "quarnival-cli " << command.name << ": " << error.what() << "\n";
            return 1;
        }
    }
    std::cerr << "quarnival-cli: unbekannter Befehl \"" << args[0] << "\" (--help zeigt alle)\n";
    return 2;
}
