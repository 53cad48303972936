// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small option reader shared by the CLI commands: "--name value" pairs, flags and
// positional arguments, with numbers in C syntax (decimal, 0x hex, leading-0 octal).
#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class CliArgs {
public:
    // valueOptions take a value ("--offset 0x10" or "--offset=0x10"); flagOptions take none.
    // Options given more than once keep every value, in order.
    CliArgs(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
            const std::set<std::string>& flagOptions);

    const std::vector<std::string>& Positional() const { return positional_; }
    bool Has(const std::string& option) const;
    std::optional<std::string> Value(const std::string& option) const;    // the last value given
    std::vector<std::string> Values(const std::string& option) const;     // all values, in order
    // The options in the order they were given (name without "--", value or empty).
    const std::vector<std::pair<std::string, std::string>>& Ordered() const { return ordered_; }

    // A C-syntax number; throws UsageError naming the option when it is not one.
    std::optional<uint64_t> Number(const std::string& option) const;

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> ordered_;
};

// Reads a whole C-syntax number (decimal, 0x hex, leading-0 octal); nothing when malformed.
std::optional<uint64_t> ParseCliNumber(const std::string& text);

}  // namespace qv::cli
