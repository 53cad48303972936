// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of the value inspector: the bytes at a position read as each common type, and a
// typed value turned back into the type's bytes. The conversions are those of the calculator,
// the float converter and the time converter; these functions only choose the bytes and the
// byte order. Texts are UTF-8, since the code point rows show characters beyond Windows-1252.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class InspectorRow {
    Int8, UInt8, Int16, UInt16, Int32, UInt32, Int64, UInt64,
    Float32, Float64,
    Binary,     // the byte as eight binary digits
    Character,  // the byte as a Windows-1252 character
    Utf8,       // the code point of the UTF-8 sequence starting there
    Utf16,      // the code point of the UTF-16 unit (or surrogate pair) starting there
    UnixTime32, DosTime, OleTime, FileTime,
};
inline constexpr int kInspectorRowCount = 18;

// The row's label: "int32", "float64", "Binär", "DOS-Zeit", ...
const char* InspectorRowName(InspectorRow row);

// Shown where too few bytes remain for the type, and for bytes that are no value of it.
inline constexpr const char* kInspectorMissing = "-";
inline constexpr const char* kInspectorInvalid = "ungültig";

// The row's text for the bytes from the position on (at most 8 are looked at).
std::string InspectorRowText(InspectorRow row, std::span<const uint8_t> bytes, bool bigEndian);

// The bytes a typed text stands for in the row's type; nothing when the text does not read
// as a value of that type.
std::optional<std::vector<uint8_t>> InspectorRowBytes(InspectorRow row, std::string_view text, bool bigEndian);

}  // namespace qv
