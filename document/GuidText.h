// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A GUID as 16 bytes in the binary layout of the platform (a 32-bit and two 16-bit fields
// stored least significant byte first, then eight single bytes) and its two text forms:
// the registry form «{01234567-89AB-CDEF-0123-456789ABCDEF}» and the C initialiser
// «0x01234567,0x89AB,0xCDEF,0x01,…».
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

using GuidBytes = std::array<uint8_t, 16>;

// The registry form with braces, upper-case digits.
std::string GuidRegistryText(const GuidBytes& guid);
// The C initialiser form, fields "0x%08X,0x%04X,0x%04X" and eight "0x%02X".
std::string GuidInitialiserText(const GuidBytes& guid);
// The registry form exactly: braces, 8-4-4-4-12 hexadecimal digits in either case.
std::optional<GuidBytes> ParseGuidRegistryText(std::string_view text);

// What the user typed into "GUID einfügen": braces are ignored; text before a "0x" is the
// registry form; a text beginning with "0x" is up to eleven numbers (32-bit field, two
// 16-bit fields, eight bytes; missing ones 0); anything else the registry form alone.
// Nothing when the registry form is not a valid GUID.
std::optional<GuidBytes> ParseGuidAnswer(std::string_view text);

}  // namespace qv
