// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Case-blind comparison of module words (keywords, label names) in Windows-1252: ASCII
// letters and the accented letters of the code page fold to their capitals.
#include <cstdint>
#include <string_view>

namespace qv {

uint8_t FoldNameCase(uint8_t c);

// <0, 0, >0 like strcmp on the folded characters; a name that is the start of another
// sorts first.
int CompareNames(std::string_view a, std::string_view b);

inline bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareNames(a, b) == 0;
}

// Letters, digits, "_" and the bytes 80h to FFh make up words.
inline bool IsWordChar(char c)
{
    auto u = static_cast<uint8_t>(c);
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u >= 0x80;
}

inline bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace qv
