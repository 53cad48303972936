// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator's functions inside integer expressions: RGB(r,g,b), BGR(r,g,b),
// ABS(expression) and BTOL(expression), names in any letter case.
#include <cstdint>
#include <string_view>

namespace qv {

// A NameResolver (common/Expression.h): the characters used by a well-formed call at the
// start of text, with its value; 0 when the text is no such call.
int ResolveCalculatorName(std::string_view text, int64_t& value);

}  // namespace qv
