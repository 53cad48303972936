// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hexadecimal dumps: bytes to text such as «01 23 45 67» and back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Options of BytesToHexText.
enum HexTextOption : uint32_t {
    kHexGroupMask = 0xFF,               // N: one extra blank after every N bytes (0: never)
    kHexSeparatorShift = 8,             // bits 8..15: separator after every value (0: none)
    kHexSeparatorMask = 0xFF00,
    kHexValueSizeShift = 25,            // bits 25..26: value size 1, 2, 4 or 8 bytes
    kHexValueSizeMask = 0x06000000,
    kHexGroupEndBlank = 0x08000000,     // where a value ends with a group, the separator is a blank
    kHexNoTrailingSeparator = 0x10000000,
    kHexLeadingColon = 0x20000000,
    kHexReverse = 0x40000000,           // size 1: last byte first; else bytes within each value
    kHexZeroTerminate = 0x80000000,
};

constexpr uint32_t HexSeparator(char separator) { return static_cast<uint8_t>(separator) << kHexSeparatorShift; }
// sizeCode 0..3 for values of 1, 2, 4, 8 bytes.
constexpr uint32_t HexValueSize(unsigned sizeCode) { return (sizeCode & 3u) << kHexValueSizeShift; }

// Writes the dump of `count` bytes; never more than outSize characters (a requested zero
// byte included: the text is cut so that it fits). Returns the characters written,
// without the zero byte.
// The value of a hex digit (either case), -1 for any other character.
int HexValue(char c);

size_t BytesToHexText(const uint8_t* bytes, char* out, size_t outSize, size_t count, uint32_t options);
std::string BytesToHexText(const uint8_t* bytes, size_t count, uint32_t options);

// Options of HexTextToBytes.
enum HexReadOption : uint32_t {
    kHexReadMaxMask = 0xFFFF,           // maximum count of bytes (the size of the output buffer)
    kHexReadFillShift = 20,             // bits 20..27: fill byte, with kHexReadFill
    kHexReadQuoted = 0x10000000,        // "text" stands for its character codes
    kHexReadColonIsError = 0x20000000,  // a leading ":" is not skipped
    kHexReadFill = 0x40000000,          // fill the rest of the maximum with the fill byte
};

constexpr uint32_t HexReadFillByte(uint8_t fill) { return kHexReadFill | (uint32_t{fill} << kHexReadFillShift); }

// Reads hex byte pairs («01 23 45», «a b c», «0123456» = 01 23 45 06) into out, which must
// hold the maximum count given in the low 16 bits of options. `consumed` receives the offset
// of the first character not used (blanks after the last byte skipped). Returns the bytes made.
size_t HexTextToBytes(uint8_t* out, uint32_t options, std::string_view text, size_t* consumed = nullptr);

// HexTextToBytes without its 16-bit limit: reads up to maxBytes (out must hold them), piece by
// piece, as one dump would be read (a ":" is skipped only at the start).
size_t HexDumpToBytes(uint8_t* out, size_t maxBytes, std::string_view text);

}  // namespace qv
