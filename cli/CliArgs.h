// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small option reader shared by the CLI commands: "--name value" pairs, flags and
// positional arguments, with numbers read as the editor's offset fields read them.
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

    // A number that is not negative (ParseCliNumber); throws UsageError naming the option
    // when the value is not one.
    std::optional<uint64_t> Number(const std::string& option) const;
    // A number that may be negative (ParseCliSignedNumber); throws UsageError likewise.
    std::optional<int64_t> SignedNumber(const std::string& option) const;

private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> ordered_;
};

// The one reader of numbers in options, shared with the editor's start-offset field
// (ReadTypedNumber): optional blanks, "+" or "-", then 0x/0o/0b before or h/o/b after the
// digits, or decimal digits ("010" is ten). The whole text must be the number.
// Nothing when it is not, when it is negative, or when it exceeds 64 bits.
std::optional<uint64_t> ParseCliNumber(const std::string& text);
// The same with a sign; nothing when the value does not fit a signed 64-bit number.
std::optional<int64_t> ParseCliSignedNumber(const std::string& text);

}  // namespace qv::cli
