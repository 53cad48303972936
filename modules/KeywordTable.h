// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statement keywords of the module language with the operands each requires and
// forbids (operand bits as in StatementFlag: kHasName ... kLabelFirst).
#include <cstdint>
#include <string_view>

namespace qv {

struct Keyword {
    std::string_view word;
    uint8_t code;
    uint32_t required;
    uint32_t forbidden;
};

// The keyword equal to word (case ignored), or nullptr.
const Keyword* FindKeyword(std::string_view word);

// Whether a statement may carry a ">" row label in its flags operand.
bool AllowsRowLabel(uint8_t code);

}  // namespace qv
