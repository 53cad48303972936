// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CRC polynomial written as a formula such as "x^16 + x^12 + x^5 + 1". The exponent
// may follow x after a caret, an apostrophe or directly, optionally in braces.
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Renders the polynomial of width w given in reflected form (leading term x^w first).
std::string RenderCrcFormula(unsigned width, uint64_t reflected);

struct CrcFormula {
    bool valid = false;
    unsigned width = 1;   // the highest exponent (the leading term), 1..64
    uint64_t normal = 0;  // the terms below the leading one, bit k for x^k
};

// Reads a formula; "=" ends it like the end of the text. Any other character than terms,
// "+" and blanks makes it invalid; a text without terms is the polynomial 0 of width 1.
CrcFormula ParseCrcFormula(std::string_view text);

}  // namespace qv
