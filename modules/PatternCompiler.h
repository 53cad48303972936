// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Compiles the byte pattern of an UNTIL operand: an optional position part (">" label and
// number), up to 32 bytes in hexadecimal, wildcard, bit or string form, an optional "+n".
#include <cstddef>
#include <string_view>

#include "modules/ModuleRecords.h"

namespace qv {

class LabelList;

constexpr size_t kMaxPatternText = 256;

// Reads the pattern starting at line[pos] (the character after "UNTIL" and its blank) and
// moves pos to the first character that is not part of it. Returns false when the
// pattern has no bytes.
bool CompilePattern(std::string_view line, size_t& pos, const LabelList& labels, BytePattern& pattern);

}  // namespace qv
