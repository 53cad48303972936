// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bytes as C string and character literals («"a\tb"», «'\x1F'»).
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

enum CStringOption : uint32_t {
    kCStringTwoDigitHex = 0x04000000,  // hexadecimal escapes with two digits instead of three
    kCStringNoQuotes = 0x20000000,     // leave out both double quotes
    kCStringAllHex = 0x40000000,       // every escaped byte in the hexadecimal form
    kCStringFewEscapes = 0x80000000,   // only \n, \r, \" and \\ in the short form
};

// Writes the literal and a zero byte, never more than outSize characters in all: a byte
// whose form no longer fits is left out, and the closing quote always fits. Returns the
// characters written, without the zero byte (0 when outSize cannot hold even the quotes).
size_t BytesToCString(char* out, size_t outSize, const uint8_t* bytes, size_t count, uint32_t options);
std::string BytesToCString(const uint8_t* bytes, size_t count, uint32_t options);

// Buffer size that holds every ByteToCChar text, zero byte included.
inline constexpr size_t kCCharMaxText = 8;

// «'A'», «'\n'», «'\''», «'\x1F'»; without quotes «\x01F» for the control bytes.
// Writes a zero byte; returns the characters written (0 when outSize is too small).
size_t ByteToCChar(uint8_t byte, char* out, size_t outSize, bool withoutQuotes);

}  // namespace qv
