// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value texts of decoded fields: hexadecimal, binary and octal forms with prefix or
// suffix and minimum digits, C character literal, unsigned and signed decimal, and the
// text of a value text list, chosen by the statement's flag letters.
#include <cstdint>
#include <string>

#include "modules/ModuleRecords.h"

namespace qv {

// A row's value text holds at most this many characters.
constexpr size_t kMaxValueText = 1023;
// An element is only shown while at least this much room is left.
constexpr size_t kMinElementRoom = 60;

// Whether AppendValueText would still write anything for these flags and this text.
bool ValueTextOpen(const std::string& text, uint32_t flags);

// Appends the text of one element of elementSize bytes (value holds its bits; only the
// low 32 bits count unless elementSize is 8). formCount is the number of forms the
// previous element of the field wrote (0 for the first) and receives this element's.
void AppendValueText(std::string& text, uint64_t value, int elementSize, uint32_t flags, const ValueTextList* list,
                     int& formCount);

// A floating-point value as "%e" with a three-digit exponent: 1.500000e+001.
std::string FormatFloatValue(double value);

}  // namespace qv
