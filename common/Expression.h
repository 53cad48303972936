// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The C-like integer expression evaluator used for every numeric field of the program.
// Arithmetic wraps around (32 or 64 bits). Numbers are read with ParseNumber in mode
// kNumberSuffixes, so «1Ah», «16#FF» and «0b101» are all accepted.
//
// Division of the smallest value by -1 does not trap: the quotient is the smallest value
// itself (the wrapped-around result of negating it) and the remainder is 0.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace qv {

// Looks at the text at a name (a character that is not a digit and starts no other primary).
// Returns the count of characters it consumed and sets the value, or 0 or less to let
// the text be read as a number instead.
using NameResolver = std::function<int(std::string_view text, int64_t& value)>;

// Evaluates the expression at the start of text. Returns the characters consumed, trailing
// blanks included. `ok` receives whether the whole text was a valid expression; on failure
// `value` holds what was computed before the failure (e.g. «7/0» leaves 7).
size_t EvaluateExpression(std::string_view text, int32_t& value, bool* ok = nullptr,
                          const NameResolver& resolver = {});
size_t EvaluateExpression64(std::string_view text, int64_t& value, bool* ok = nullptr,
                            const NameResolver& resolver = {});

}  // namespace qv
