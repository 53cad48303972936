// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli: the editor's engines from a shell. Each sub-command registers itself.
// Exit codes: 0 success, 1 the operation failed, 2 the command line was wrong.
#include <algorithm>
#include <exception>
#include <iostream>
#include <new>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "cli/StandardOutput.h"

namespace qv::cli {

std::vector<CommandInfo>& Commands()
{
    static std::vector<CommandInfo> commands;
    return commands;
}

}  // namespace qv::cli

namespace {

constexpr const char* kGeneralFailure = "die Ausführung schlug fehl (Eingabe nicht lesbar, Ausgabe nicht schreibbar)";
constexpr const char* kUsageFailure = "falscher Aufruf (unbekannte Option, fehlendes oder ungültiges Argument)";
constexpr const char* kOutOfMemory = "Der Arbeitsspeicher reicht für diesen Befehl nicht aus.";

void PrintHelp()
{
    auto commands = qv::cli::Commands();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    std::cout << "quarnival-cli " << QV_VERSION << " - die Werkzeuge von Quarnival ohne Fenster\n\n"
              << "Aufruf: quarnival-cli BEFEHL [ARGUMENTE...]\n"
              << "        quarnival-cli --help | --version\n";
    if (!commands.empty()) std::cout << "\nBefehle:\n";
    for (const auto& command : commands) std::cout << "  " << command.usage << "\n";
    std::cout << "\nZahlen: dezimal (\"010\" ist zehn), mit 0x, 0o oder 0b davor oder h, o oder b dahinter, "
                 "wahlweise mit + oder -.\n";
}

void PrintCommandHelp(const qv::cli::CommandInfo& command)
{
    std::cout << "Aufruf: quarnival-cli " << command.usage << "\n\n"
              << "Rückgabewerte:\n"
              << "  0  Erfolg\n"
              << "  1  " << (command.failure.empty() ? kGeneralFailure : command.failure.c_str()) << "\n"
              << "  2  " << kUsageFailure << "\n";
}

int RunCommand(const qv::cli::CommandInfo& command, const std::vector<std::string>& args)
{
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        PrintCommandHelp(command);
        return 0;
    }
    try {
        const int code = command.run(args);
        if (const std::optional<std::string> changed = qv::cli::InputChangedWhileRead()) {
            qv::cli::DiscardStandardOutput();
            std::cerr << "quarnival-cli " << command.name << ": " << *changed << "\n";
            return qv::cli::OutputFailureCode();
        }
        return code;
    } catch (const qv::cli::UsageError& error) {
        std::cerr << "quarnival-cli " << command.name << ": " << error.what() << "\nAufruf: " << command.usage
                  << "\n";
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "quarnival-cli " << command.name << ": " << kOutOfMemory << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "quarnival-cli " << command.name << ": " << error.what() << "\n";
        return 1;
    }
}

int Dispatch(const std::vector<std::string>& args)
{
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
        qv::cli::SetOutputCommandName(command.name);
        return RunCommand(command, std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::cerr << "quarnival-cli: unbekannter Befehl \"" << args[0] << "\" (--help zeigt alle)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    qv::cli::InstallStandardOutput();
    const int code = Dispatch(std::vector<std::string>(argv + 1, argv + argc));
    qv::cli::FlushStandardOutput();  // a failure here ends the program with exit code 1
    return code;
}
