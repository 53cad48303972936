// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArgs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qv::cli {

CliArgs::CliArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                 const std::set<std::string>& flagOptions)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            positional_.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::string value;
        bool inlineValue = false;
        if (auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            inlineValue = true;
        }
        if (valueOptions.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) throw UsageError("Option --" + name + " braucht einen Wert");
                value = args[++i];
            }
        } else if (flagOptions.count(name)) {
            if (inlineValue) throw UsageError("Option --" + name + " nimmt keinen Wert");
        } else {
            throw UsageError("Unbekannte Option --" + name);
        }
        ordered_.emplace_back(name, value);
    }
}

bool CliArgs::Has(const std::string& option) const
{
    for (const auto& [name, value] : ordered_)
        if (name == option) return true;
    return false;
}

std::optional<std::string> CliArgs::Value(const std::string& option) const
{
    std::optional<std::string> last;
    for (const auto& [name, value] : ordered_)
        if (name == option) last = value;
    return last;
}

std::vector<std::string> CliArgs::Values(const std::string& option) const
{
    std::vector<std::string> all;
    for (const auto& [name, value] : ordered_)
        if (name == option) all.push_back(value);
    return all;
}

std::optional<uint64_t> CliArgs::Number(const std::string& option) const
{
    auto text = Value(option);
    if (!text) return std::nullopt;
    auto number = ParseCliNumber(*text);
    if (!number) throw UsageError("Option --" + option + ": keine Zahl: " + *text);
    return number;
}

std::optional<uint64_t> ParseCliNumber(const std::string& text)
{
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return std::nullopt;
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || end == text.c_str() || *end != '\0') return std::nullopt;
    return value;
}

}  // namespace qv::cli
