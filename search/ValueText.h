// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Typed value texts: which kind a text is, the bytes it stands for, and the text for bytes.
// Texts are 8-bit Windows-1252.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "search/ValueKind.h"

namespace qv {

// The kind a typed text has, judged by its first characters; nothing for an empty text.
std::optional<ValueKind> ClassifyValueText(std::string_view text);

// The bytes the text stands for, at most maxBytes of them (numbers always give their 4 or
// 8 little-endian bytes, so `out` must hold max(maxBytes, 8)). A bit mask gives its value
// bytes followed by as many mask bytes. A negative number gives its two's complement.
// Returns the count of bytes written.
size_t ParseValueText(std::string_view text, uint8_t* out, size_t maxBytes);
// The same for long texts such as the clipboard's: text and hex dumps are not cut to the
// 256 bytes of a typed value (bit masks still are).
size_t ParseLongValueText(std::string_view text, uint8_t* out, size_t maxBytes);

// The text for the bytes in the given kind, at most maxChars characters.
inline constexpr size_t kValueTextMaxChars = 256;
std::string FormatValueText(const uint8_t* bytes, size_t count, ValueKind kind,
                            size_t maxChars = kValueTextMaxChars);

}  // namespace qv
