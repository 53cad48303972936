// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/ValueText.h"

#include <algorithm>
#include <cstring>

#include "common/CText.h"
#include "common/HexText.h"
#include "common/NumberText.h"

namespace qv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view text, bool lineEndsToo)
{
    size_t i = 0;
    while (i < text.size() && (IsBlank(text[i]) || (lineEndsToo && (text[i] == '\r' || text[i] == '\n')))) ++i;
    return text.substr(i);
}

bool HasRadixPrefix(std::string_view text)
{
    if (text.size() < 2 || text[0] != '0') return false;
    char c = static_cast<char>(text[1] | 0x20);
    return c == 'x' || c == 'b' || c == 'o' || c == 'd';
}

// Numbers: 4 little-endian bytes when at most 8 digits were read, else 8. A leading minus
// gives the two's complement; a magnitude beyond 32 signed bits then needs 8 bytes.
size_t ParseNumberText(std::string_view text, uint8_t* out)
{
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    size_t consumed = 0;
    uint64_t value = static_cast<uint64_t>(ParseNumber64(text, kNumberNoSign | kNumberNoLeadingBlanks, &consumed));
    size_t digits = consumed - std::min(consumed, HasRadixPrefix(text) ? size_t{2} : size_t{0});
    size_t count = digits > 8 ? 8 : 4;
    if (negative) {
        if (value > 0x80000000u) count = 8;
        value = ~value + 1;
    }
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
    return count;
}

// C-style text: escapes as in C; a leading double quote ends at the next unescaped one.
size_t ParseCText(std::string_view text, uint8_t* out, size_t maxBytes)
{
    bool quoted = !text.empty() && text[0] == '"';
    size_t i = quoted ? 1 : 0;
    size_t count = 0;
    while (i < text.size() && count < maxBytes) {
        char c = text[i++];
        if (quoted && c == '"') break;
        if (c != '\\' || i >= text.size()) {
            out[count++] = static_cast<uint8_t>(c);
            continue;
        }
        char e = text[i];
        int octal = 0, digits = 0;
        while (digits < 3 && i + digits < text.size() && text[i + digits] >= '0' && text[i + digits] <= '7')
            octal = octal * 8 + (text[i + digits++] - '0');
        if (digits > 0) {
            out[count++] = static_cast<uint8_t>(octal);
            i += digits;
            continue;
        }
        if (e == 'x') {
            int hex = 0;
            size_t j = i + 1;
            while (j < text.size() && j < i + 4 && HexValue(text[j]) >= 0) hex = hex * 16 + HexValue(text[j++]);
            out[count++] = static_cast<uint8_t>(hex);
            i = j;
            continue;
        }
        static constexpr char kLetters[] = "abfnrtv";
        static constexpr uint8_t kCodes[] = {7, 8, 12, 10, 13, 9, 11};
        if (const char* letter = std::strchr(kLetters, e); letter != nullptr && e != '\0') {
            out[count++] = kCodes[letter - kLetters];
            ++i;
        } else if (e == '"' || e == '\'' || e == '?' || e == '\\') {
            out[count++] = static_cast<uint8_t>(e);
            ++i;
        } else {
            out[count++] = '\\';  // the next character is read normally
        }
    }
    return count;
}

// Bit masks: hex digits give 4 bits, binary digits ("#" or ":" switch to them) 1 bit, "?"
// gives don't-care bits; blanks switch back to hex. Value bytes, then their masks.
size_t ParseBitMaskText(std::string_view text, uint8_t* out, size_t maxBytes)
{
    text = SkipBlanks(text, false);
    if (!text.empty() && text[0] == ':') text.remove_prefix(1);
    const size_t maxValues = maxBytes / 2;
    uint8_t values[kMaxValueBytes / 2];
    uint8_t masks[kMaxValueBytes / 2];
    size_t count = 0;
    unsigned value = 0, mask = 0, bits = 0;
    bool binary = false;
    auto store = [&](unsigned fixedTop) {
        values[count] = static_cast<uint8_t>(value);
        masks[count] = static_cast<uint8_t>(mask | fixedTop);
        ++count;
        value = mask = bits = 0;
    };
    for (size_t i = 0; i < text.size() && count < maxValues; ++i) {
        char c = text[i];
        if (c == '#' || c == ':' || IsBlank(c)) {
            if (bits > 0) store(0);
            binary = !IsBlank(c);
            continue;
        }
        const unsigned step = binary ? 1 : 4;
        int digit = binary ? (c == '0' || c == '1' ? c - '0' : -1) : HexValue(c);
        if (c == '?') {
            value <<= step;
            mask <<= step;
        } else if (digit >= 0) {
            value = (value << step) | static_cast<unsigned>(digit);
            mask = (mask << step) | ((1u << step) - 1);
        } else {
            break;
        }
        bits += step;
        if (bits >= 8) store(0);
    }
    // A byte left incomplete at the end wants its missing high bits to be 0.
    if (bits > 0 && count < maxValues) store((0xFFu << bits) & 0xFF);
    std::memcpy(out, values, count);
    std::memcpy(out + count, masks, count);
    return 2 * count;
}

// Up to four bytes as a 32-bit value, more as a 64-bit one (so that an 8-byte number
// reads back unchanged); missing high bytes repeat the top bit of the last byte.
std::string FormatNumberKind(const uint8_t* bytes, size_t count, ValueKind kind)
{
    static constexpr uint8_t kZero = 0;
    if (count == 0) {  // counts as one byte, which is not there to read: 0
        bytes = &kZero;
        count = 1;
    }
    const size_t width = count > 4 ? 8 : 4;
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
        uint8_t byte = i < count ? bytes[i] : ((bytes[count - 1] & 0x80) ? 0xFF : 0x00);
        value |= uint64_t{byte} << (8 * i);
    }
    const uint32_t style = static_cast<uint32_t>(kind);
    if (width == 8) return FormatNumber64(static_cast<int64_t>(value), style);
    return FormatNumber(static_cast<int32_t>(static_cast<uint32_t>(value)), style);
}

std::string FormatBitMask(const uint8_t* bytes, size_t count)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const size_t half = count / 2;
    std::string text = ":";
    for (size_t i = 0; i < half; ++i) {
        if (i > 0) text += ' ';
        uint8_t value = bytes[i], mask = bytes[half + i];
        if (mask == 0x00 || mask == 0x0F || mask == 0xF0 || mask == 0xFF) {
            text += (mask & 0xF0) ? kHex[value >> 4] : '?';
            text += (mask & 0x0F) ? kHex[value & 0xF] : '?';
        } else {
            text += '#';
            for (int bit = 7; bit >= 0; --bit) text += ((mask >> bit) & 1) ? static_cast<char>('0' + ((value >> bit) & 1)) : '?';
        }
    }
    return text;
}

}  // namespace

std::optional<ValueKind> ClassifyValueText(std::string_view text)
{
    text = SkipBlanks(text, false);
    if (text.empty()) return std::nullopt;
    switch (text[0]) {
    case '"': return ValueKind::Text;
    case ':': {
        size_t found = text.find_first_of(":(#?", 1);
        return found != std::string_view::npos && text[found] != '(' ? ValueKind::BitMask : ValueKind::HexDump;
    }
    case '-':
        // A lone minus sign (or one before a blank) is just text.
        if (text.size() < 2 || IsBlank(text[1])) return ValueKind::Text;
        return ClassifyValueText(text.substr(1)).value_or(ValueKind::Text);
    case '0': {
        char second = text.size() > 1 ? text[1] : '\0';
        if (second <= 'Z') second = static_cast<char>(second | 0x20);
        if (second == 'o') return ValueKind::Octal;
        if (second == 'b') return ValueKind::Binary;
        if (second == 'x') return ValueKind::Hex;
        return ValueKind::Decimal;
    }
    default:
        return text[0] >= '1' && text[0] <= '9' ? ValueKind::Decimal : ValueKind::Text;
    }
}

size_t ParseValueText(std::string_view text, uint8_t* out, size_t maxBytes)
{
    return ParseLongValueText(text, out, std::min<size_t>(maxBytes, kMaxValueBytes));
}

size_t ParseLongValueText(std::string_view text, uint8_t* out, size_t maxBytes)
{
    text = SkipBlanks(text, true);
    auto kind = ClassifyValueText(text);
    if (!kind) return 0;
    switch (*kind) {
    case ValueKind::Decimal:
    case ValueKind::Hex:
    case ValueKind::Binary:
    case ValueKind::Octal: return ParseNumberText(text, out);
    case ValueKind::HexDump: return HexDumpToBytes(out, maxBytes, text);
    case ValueKind::BitMask: return ParseBitMaskText(text, out, std::min<size_t>(maxBytes, kMaxValueBytes));
    default: return ParseCText(text, out, maxBytes);
    }
}

std::string FormatValueText(const uint8_t* bytes, size_t count, ValueKind kind, size_t maxChars)
{
    std::string text;
    switch (kind) {
    case ValueKind::Decimal:
    case ValueKind::Hex:
    case ValueKind::Binary:
    case ValueKind::Octal: text = FormatNumberKind(bytes, count, kind); break;
    case ValueKind::Text:
        while (count > 0 && bytes[count - 1] == 0) --count;
        text.resize(maxChars + 1);
        text.resize(BytesToCString(text.data(), maxChars + 1, bytes, count, 0));
        return text;
    case ValueKind::HexDump:
        text = BytesToHexText(bytes, count, kHexLeadingColon | kHexNoTrailingSeparator | HexSeparator(' '));
        break;
    case ValueKind::BitMask: text = FormatBitMask(bytes, count); break;
    default: break;
    }
    if (text.size() > maxChars) text.resize(maxChars);
    return text;
}

}  // namespace qv
