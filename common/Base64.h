// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Base64 with the standard alphabet and "=" padding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Characters Base64Encode writes for count bytes with the given line length, zero byte excluded.
size_t Base64EncodedLength(size_t count, size_t lineLength = 0);

// Encodes; with a line length, a line feed follows every full line and the last one.
// Writes at most outSize - 1 characters and a zero byte (only whole 4-character units);
// returns the characters written.
size_t Base64Encode(const uint8_t* bytes, size_t count, char* out, size_t outSize, size_t lineLength = 0);
std::string Base64Encode(const uint8_t* bytes, size_t count, size_t lineLength = 0);

// Byte count the text will give: alphabet characters up to a zero byte, times 3 / 4.
size_t Base64DecodedSize(std::string_view text);

// Decodes up to a zero byte or the end of text, skipping characters outside the alphabet;
// stops when out is full. Returns the bytes written.
size_t Base64Decode(uint8_t* out, size_t outSize, std::string_view text);

}  // namespace qv
