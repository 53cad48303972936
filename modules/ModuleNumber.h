// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers of the module language: optional sign, then "0x", "0d", "0o", "0b" and digits,
// or decimal digits; a leading zero does not mean octal; 32-bit wrap-around.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv {

// Reads the number at text[pos] and moves pos past it. A "+" is read as a sign only when
// plusIsSign is set; a sign without digits reads as 0.
int32_t ReadModuleNumber(std::string_view text, size_t& pos, bool plusIsSign);

}  // namespace qv
