// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Value texts of string fields: the characters between double quotes, with escapes for
// control codes (8-bit strings) or "." for codes outside 32..255 (UTF-16 strings).
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// Appends the quoted 8-bit string, cut so that text stays within maxText characters;
// fewEscapes writes the codes 7, 8, 9, 11 and 12 as hexadecimal escapes as well.
void AppendQuoted8(std::string& text, const uint8_t* chars, size_t count, bool fewEscapes, size_t maxText);

// Appends the quoted UTF-16 string of count units at bytes (little- or big-endian).
void AppendQuoted16(std::string& text, const uint8_t* bytes, size_t count, bool bigEndian, size_t maxText);

}  // namespace qv
