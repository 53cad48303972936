// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/NumberText.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Value of c as a digit in any radix up to 36, or 99 when it is no digit at all.
unsigned DigitValue(char c)
{
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A' + 10);
    return 99;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The text up to its first zero byte, so that every later look-ahead may stop at the end.
std::string_view UpToZero(std::string_view text)
{
    size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

struct Notation {
    unsigned radix = 10;
    size_t prefixLength = 0;  // characters before the digits
    size_t suffixLength = 0;  // characters after the digits
};

// "0x", "0b", "0o", "0d" in either case; radix 0 when there is none.
unsigned PrefixRadix(std::string_view text)
{
    if (text.size() < 2 || text[0] != '0') return 0;
    switch (Lower(text[1])) {
    case 'x': return 16;
    case 'b': return 2;
    case 'o': return 8;
    case 'd': return 10;
    default: return 0;
    }
}

// The notation with suffixes and radix forms: «1Ah», «101b», «17o», «16#FF», plus prefixes.
Notation SuffixNotation(std::string_view text, bool leadingZeroOctal)
{
    for (auto [form, radix] : {std::pair<std::string_view, unsigned>{"16#", 16}, {"10#", 10}, {"8#", 8}, {"2#", 2}})
        if (text.starts_with(form)) return {radix, form.size(), 0};

    size_t run = 0;  // the hex digits before any suffix
    while (run < text.size() && DigitValue(text[run]) < 16) ++run;
    if (run > 0 && run < text.size() && Lower(text[run]) == 'h') return {16, 0, 1};

    if (unsigned radix = PrefixRadix(text)) return {radix, 2, 0};

    // A "b" suffix is itself a hex digit, so it is the last character of the run.
    if (run >= 2 && Lower(text[run - 1]) == 'b' &&
        std::all_of(text.begin(), text.begin() + static_cast<ptrdiff_t>(run - 1), [](char c) { return c == '0' || c == '1'; }))
        return {2, 0, 1};
    if (run > 0 && run < text.size() && Lower(text[run]) == 'o' &&
        std::all_of(text.begin(), text.begin() + static_cast<ptrdiff_t>(run), [](char c) { return c >= '0' && c <= '7'; }))
        return {8, 0, 1};

    if (leadingZeroOctal && text.size() >= 2 && text[0] == '0' && DigitValue(text[1]) < 10) return {8, 0, 0};
    return {10, 0, 0};
}

Notation NotationOf(std::string_view text, uint32_t mode)
{
    const unsigned low = mode & kNumberRadixMask;
    if (low >= 2 && low <= 36) return {low, 0, 0};
    if (low == kNumberSuffixes) return SuffixNotation(text, false);
    if (low == kNumberSuffixesOctal) return SuffixNotation(text, true);
    if (low == kNumberCStyle) {
        if (text.size() >= 2 && text[0] == '0' && Lower(text[1]) == 'x') return {16, 2, 0};
        if (!text.empty() && text[0] == '0') return {8, 0, 0};
        return {10, 0, 0};
    }
    // Mode 0, and any low byte without a meaning of its own.
    if (unsigned radix = PrefixRadix(text)) return {radix, 2, 0};
    return {10, 0, 0};
}

template <typename Unsigned>
struct DigitRun {
    Unsigned value = 0;  // modulo the type's range
    size_t digits = 0;
    bool overflow = false;  // the digits exceed the type
};

// The digits of the radix from pos on; pos ends on the first character that is none.
template <typename Unsigned>
DigitRun<Unsigned> ReadDigits(std::string_view text, size_t& pos, unsigned radix)
{
    DigitRun<Unsigned> run;
    for (; pos < text.size(); ++pos, ++run.digits) {
        const unsigned digit = DigitValue(text[pos]);
        if (digit >= radix) break;
        if (run.value > (std::numeric_limits<Unsigned>::max() - digit) / radix) run.overflow = true;
        run.value = static_cast<Unsigned>(run.value * radix + digit);  // wraps around by design
    }
    return run;
}

template <typename Unsigned>
Unsigned ParseUnsigned(std::string_view whole, uint32_t mode, size_t* consumed)
{
    const std::string_view text = UpToZero(whole);
    size_t pos = 0;
    bool leadingBlanks = false;
    if (!(mode & kNumberNoLeadingBlanks))
        while (pos < text.size() && IsBlank(text[pos])) ++pos, leadingBlanks = true;

    bool negative = false;
    if (!(mode & kNumberNoSign) && pos < text.size() && text[pos] == '-') {
        negative = true;
        ++pos;
        if (leadingBlanks && !(mode & (kNumberMinusAttached | kNumberNoLeadingBlanks)))
            while (pos < text.size() && IsBlank(text[pos])) ++pos;
    }

    const Notation notation = NotationOf(text.substr(pos), mode);
    pos += notation.prefixLength;
    const DigitRun<Unsigned> run = ReadDigits<Unsigned>(text, pos, notation.radix);
    const Unsigned value = run.value;
    const size_t digits = run.digits;

    if (digits == 0 && notation.prefixLength == 0) {
        if (consumed) *consumed = 0;
        return 0;
    }
    if (digits > 0) {
        pos += notation.suffixLength;
        if (mode & kNumberEatTrailingBlanks)
            while (pos < text.size() && IsBlank(text[pos])) ++pos;
    }
    if (consumed) *consumed = pos;
    return negative ? static_cast<Unsigned>(Unsigned{0} - value) : value;
}

struct StyleParts {
    unsigned radix = 10;
    const char* prefix = "";
    const char* suffix = "";
    bool isSigned = false;
    bool zeroBeforeLetter = false;
};

StyleParts PartsOf(uint32_t style)
{
    const unsigned low = style & kStyleRadixMask;
    if (style & kStylePlainRadix) return {(low >= 2 && low <= 36) ? low : 10u, "", "", false, false};
    switch (low) {
    case kStyleSigned: return {10, "", "", true, false};
    case kStyleHexPrefix: return {16, "0x", "", false, false};
    case kStyleBinPrefix: return {2, "0b", "", false, false};
    case kStyleOctPrefix: return {8, "0o", "", false, false};
    case kStyleHexSuffix: return {16, "", "h", false, true};
    case kStyleBinSuffix: return {2, "", "b", false, false};
    case kStyleOctSuffix: return {8, "", "o", false, false};
    case kStyleHexRadix: return {16, "16#", "", false, false};
    case kStyleBinRadix: return {2, "2#", "", false, false};
    case kStyleOctRadix: return {8, "8#", "", false, false};
    case kStyleDecRadix: return {10, "10#", "", false, false};
    default: return {10, "", "", false, false};
    }
}

// bits is the value's pattern; magnitude is its absolute value when it is negative.
size_t FormatBits(uint64_t bits, uint64_t magnitudeIfNegative, bool negativeSigned, char* out, size_t outSize,
                  uint32_t style)
{
    const StyleParts parts = PartsOf(style);
    const bool negative = parts.isSigned && negativeSigned;
    uint64_t magnitude = negative ? magnitudeIfNegative : bits;

    char reversed[64];  // at most 64 binary digits
    size_t count = 0;
    do {
        reversed[count++] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[magnitude % parts.radix];
        magnitude /= parts.radix;
    } while (magnitude != 0);

    // The minus sign counts as one of the minimum digits.
    size_t minimum = (style & kStyleMinDigitsMask) >> kStyleMinDigitsShift;
    if (negative && minimum > 0) --minimum;
    const bool blankFill = (style & kStyleBlankFill) != 0;
    if (!blankFill)
        while (count < minimum) reversed[count++] = '0';
    if ((style & kStyleMaxDigits) && minimum > 0) count = std::min(count, minimum);
    const size_t blanks = blankFill && count < minimum ? minimum - count : 0;

    char text[kFormatNumberMaxText];
    size_t length = 0;
    for (size_t i = 0; i < blanks; ++i) text[length++] = ' ';
    if (negative) text[length++] = '-';
    for (const char* p = parts.prefix; *p; ++p) text[length++] = *p;
    if (parts.zeroBeforeLetter && reversed[count - 1] > '9') text[length++] = '0';
    while (count > 0) text[length++] = reversed[--count];
    for (const char* p = parts.suffix; *p; ++p) text[length++] = *p;

    if (outSize == 0) return 0;
    if (length >= outSize) length = 0;  // a cut number would be a wrong number
    std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}

}  // namespace

int32_t ParseNumber(std::string_view text, uint32_t mode, size_t* consumed)
{
    return static_cast<int32_t>(ParseUnsigned<uint32_t>(text, mode, consumed));
}

int64_t ParseNumber64(std::string_view text, uint32_t mode, size_t* consumed)
{
    return static_cast<int64_t>(ParseUnsigned<uint64_t>(text, mode, consumed));
}

TypedNumber ReadTypedNumber(std::string_view whole)
{
    const std::string_view text = UpToZero(whole);
    TypedNumber number;
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) number.negative = text[pos++] == '-';
    const Notation notation = NotationOf(text.substr(pos), kNumberSuffixes);
    pos += notation.prefixLength;
    const DigitRun<uint64_t> run = ReadDigits<uint64_t>(text, pos, notation.radix);
    if (run.digits == 0) return TypedNumber{};
    pos += notation.suffixLength;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    number.magnitude = run.value;
    number.overflow = run.overflow;
    number.consumed = pos;
    return number;
}

size_t FormatNumber(int32_t value, char* out, size_t outSize, uint32_t style)
{
    const auto bits = static_cast<uint32_t>(value);
    return FormatBits(bits, 0u - bits, value < 0, out, outSize, style);
}

size_t FormatNumber64(int64_t value, char* out, size_t outSize, uint32_t style)
{
    const auto bits = static_cast<uint64_t>(value);
    return FormatBits(bits, uint64_t{0} - bits, value < 0, out, outSize, style);
}

std::string FormatNumber(int32_t value, uint32_t style)
{
    char text[kFormatNumberMaxText];
    return std::string(text, FormatNumber(value, text, sizeof text, style));
}

std::string FormatNumber64(int64_t value, uint32_t style)
{
    char text[kFormatNumberMaxText];
    return std::string(text, FormatNumber64(value, text, sizeof text, style));
}

}  // namespace qv
