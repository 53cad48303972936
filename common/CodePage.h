// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one conversion between the 8-bit Windows-1252 texts used inside the program and
// the UTF-8 texts of the platform (Qt strings, file names shown, terminal output).
#include <optional>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Every byte maps to a character; the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value.
std::string Cp1252ToUtf8(std::string_view text);

// Characters without a Windows-1252 byte, and malformed UTF-8 sequences, become '?'.
std::string Utf8ToCp1252(std::string_view text);
// The same, for text that must not change on the way: nothing when the text is not
// well-formed UTF-8 or holds a character without a Windows-1252 byte.
std::optional<std::string> Utf8ToCp1252Exactly(std::string_view text);

// UTF-16 text (remote control) to UTF-8; nothing when it holds an unpaired surrogate,
// which no UTF-8 text can spell.
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16; malformed sequences become '?'.
std::u16string Utf8ToUtf16(std::string_view text);
// True when text is well-formed UTF-8 (used to decide how a module file is encoded).
bool IsValidUtf8(std::string_view text);

// Texts kept in UTF-8 (paths, user names, page headers) counted and cut by characters, so
// that a limit never splits a character.
size_t Utf8Length(std::string_view text);
std::string_view Utf8Prefix(std::string_view text, size_t characters);

}  // namespace qv
