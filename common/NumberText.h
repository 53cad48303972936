// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing integers as text, in every radix and notation the program accepts.
// Texts are 8-bit; a zero byte inside a text ends it like the end of the view.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// NumberMode: the low byte chooses the notation, the high bits are options.
enum NumberMode : uint32_t {
    kNumberAuto = 0,              // decimal, or "0x", "0b", "0o", "0d" prefixes; leading 0 is not octal
    // 2..36: fixed radix, no prefix
    kNumberSuffixesOctal = 251,   // as kNumberSuffixes, and a leading 0 before digits means octal
    kNumberSuffixes = 252,        // as kNumberAuto plus suffixes h/b/o and radix forms 2# 8# 10# 16#
    kNumberCStyle = 255,          // "0x" hexadecimal, leading 0 octal, otherwise decimal
    kNumberRadixMask = 0xFF,
    kNumberEatTrailingBlanks = 0x1000,  // blanks after the number count as consumed
    kNumberMinusAttached = 0x2000,      // a "-" must be followed directly by the digits
    kNumberNoSign = 0x4000,             // no "-" is accepted
    kNumberNoLeadingBlanks = 0x8000,    // leading blanks are not skipped
};

// Reads a number, accumulating modulo 2^32; the value is negated when a "-" was read.
// `consumed` receives the count of characters used (0 or just blanks/sign/prefix when
// nothing readable was found, in which case the value is 0).
int32_t ParseNumber(std::string_view text, uint32_t mode, size_t* consumed = nullptr);
// The same with 64-bit accumulation.
int64_t ParseNumber64(std::string_view text, uint32_t mode, size_t* consumed = nullptr);

// A number as the user types it into an offset field or gives it on the command line:
// optional blanks, an optional "+" or "-", then a number with a 0x, 0o or 0b prefix, digits
// with an h, o or b suffix, or decimal digits (a leading 0 stays decimal), and blanks.
struct TypedNumber {
    bool negative = false;
    uint64_t magnitude = 0;  // modulo 2^64
    size_t consumed = 0;     // characters read, trailing blanks included; 0: no number
    bool overflow = false;   // the digits exceed 64 bits
    // The value as a 64-bit two's complement pattern.
    uint64_t Bits() const { return negative ? uint64_t{0} - magnitude : magnitude; }
};
// Reads such a number from the start of the text.
TypedNumber ReadTypedNumber(std::string_view text);

// NumberStyle: the low byte chooses the notation, the high bits are options.
enum NumberStyle : uint32_t {
    kStyleSigned = 0,        // «-5»
    kStyleHexPrefix = 1,     // «0xFF»
    kStyleBinPrefix = 2,     // «0b101»
    kStyleOctPrefix = 3,     // «0o17»
    kStyleHexSuffix = 4,     // «0FFh», «1Ah»
    kStyleBinSuffix = 5,     // «101b»
    kStyleOctSuffix = 6,     // «17o»
    kStyleHexRadix = 7,      // «16#FF»
    kStyleBinRadix = 8,      // «2#101»
    kStyleOctRadix = 9,      // «8#17»
    kStyleDecRadix = 10,     // «10#255»
    kStyleUnsigned = 15,     // any other low byte: unsigned decimal
    kStyleRadixMask = 0xFF,
    kStyleMinDigitsShift = 8,         // bits 8..13: minimum digit count (a "-" counts as one)
    kStyleMinDigitsMask = 0x3F00,
    kStyleMaxDigits = 0x4000,         // the minimum is also the maximum: keep the lowest digits
    kStylePlainRadix = 0x8000,        // no prefix/suffix; the low byte is the radix (2..36)
    kStyleBlankFill = 0x10000,        // fill with blanks in front instead of zeros
};

// Builds a style word for a minimum digit count (0..63).
constexpr uint32_t StyleMinDigits(unsigned digits) { return (digits & 0x3F) << kStyleMinDigitsShift; }

// Buffer size that holds every text FormatNumber/FormatNumber64 can write, zero byte included.
inline constexpr size_t kFormatNumberMaxText = 72;

// Writes the value in the given style and a closing zero byte; returns the length. Style 0
// treats the value as signed, every other style prints the bit pattern unsigned. When the
// text does not fit into outSize (zero byte included), writes an empty text and returns 0.
size_t FormatNumber(int32_t value, char* out, size_t outSize, uint32_t style);
size_t FormatNumber64(int64_t value, char* out, size_t outSize, uint32_t style);
std::string FormatNumber(int32_t value, uint32_t style);
std::string FormatNumber64(int64_t value, uint32_t style);

}  // namespace qv
