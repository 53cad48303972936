// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliArgs.h"

#include "common/NumberText.h"

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

namespace {

// The whole text as a typed number; nothing when anything else is in it or it overflows.
std::optional<TypedNumber> WholeNumber(const std::string& text)
{
    const TypedNumber number = ReadTypedNumber(text);
    if (number.consumed == 0 || number.consumed != text.size() || number.overflow) return std::nullopt;
    return number;
}

}  // namespace

std::optional<uint64_t> CliArgs::Number(const std::string& option) const
{
    auto text = Value(option);
    if (!text) return std::nullopt;
    const std::optional<TypedNumber> number = WholeNumber(*text);
    if (number && number->negative && number->magnitude != 0)
        throw UsageError("Option --" + option + ": keine negative Zahl erlaubt: " + *text);
    if (!number) throw UsageError("Option --" + option + ": keine Zahl: " + *text);
    return number->magnitude;
}

std::optional<int64_t> CliArgs::SignedNumber(const std::string& option) const
{
    auto text = Value(option);
    if (!text) return std::nullopt;
    auto number = ParseCliSignedNumber(*text);
    if (!number) throw UsageError("Option --" + option + ": keine Zahl: " + *text);
    return number;
}

std::optional<uint64_t> ParseCliNumber(const std::string& text)
{
    const std::optional<TypedNumber> number = WholeNumber(text);
    if (!number || (number->negative && number->magnitude != 0)) return std::nullopt;
    return number->magnitude;
}

std::optional<int64_t> ParseCliSignedNumber(const std::string& text)
{
    const std::optional<TypedNumber> number = WholeNumber(text);
    const uint64_t limit = number && number->negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    if (!number || number->magnitude > limit) return std::nullopt;
    return static_cast<int64_t>(number->Bits());
}

}  // namespace qv::cli
