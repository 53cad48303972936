// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CText.h"

namespace qv {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The letter of a byte's short escape («\n» → 'n'), or 0 when it has none.
char ShortEscape(uint8_t byte, bool fewEscapes)
{
    switch (byte) {
    case '\n': return 'n';
    case '\r': return 'r';
    case '"': return '"';
    case '\\': return '\\';
    default: break;
    }
    if (fewEscapes) return 0;
    switch (byte) {
    case '\t': return 't';
    case 7: return 'a';
    case 8: return 'b';
    case 11: return 'v';
    case 12: return 'f';
    default: return 0;
    }
}

bool IsHexDigitCharacter(uint8_t byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') || (byte >= 'A' && byte <= 'F');
}

// Writes the form of one byte into form (at most 5 characters) and returns its length.
// afterHexEscape: the previous byte ended in a hexadecimal escape; a hex digit character
// right after it would be read as part of that escape, so it is escaped as well.
size_t ByteForm(uint8_t byte, uint32_t options, bool afterHexEscape, char* form, bool& hexEscape)
{
    const bool allHex = (options & kCStringAllHex) != 0;
    const char shortEscape = ShortEscape(byte, (options & kCStringFewEscapes) != 0);
    const bool escaped = shortEscape != 0 || byte < 32 || (afterHexEscape && IsHexDigitCharacter(byte));
    hexEscape = escaped && (allHex || shortEscape == 0);
    if (!escaped) {
        form[0] = static_cast<char>(byte);
        return 1;
    }
    form[0] = '\\';
    if (!hexEscape) {
        form[1] = shortEscape;
        return 2;
    }
    size_t length = 0;
    form[++length] = 'x';
    if (!(options & kCStringTwoDigitHex)) form[++length] = '0';
    form[++length] = kHexDigits[byte >> 4];
    form[++length] = kHexDigits[byte & 15];
    return length + 1;
}

}  // namespace

size_t BytesToCString(char* out, size_t outSize, const uint8_t* bytes, size_t count, uint32_t options)
{
    const bool quotes = !(options & kCStringNoQuotes);
    const size_t reserve = (quotes ? 1 : 0) + 1;  // closing quote and zero byte
    if (outSize < reserve + (quotes ? 1 : 0)) {
        if (outSize > 0) out[0] = '\0';
        return 0;
    }
    if (bytes == nullptr) count = 0;
    size_t length = 0;
    if (quotes) out[length++] = '"';
    bool afterHexEscape = false;
    for (size_t i = 0; i < count; ++i) {
        char form[5];
        const size_t formLength = ByteForm(bytes[i], options, afterHexEscape, form, afterHexEscape);
        if (length + formLength + reserve > outSize) break;
        for (size_t k = 0; k < formLength; ++k) out[length++] = form[k];
    }
    if (quotes) out[length++] = '"';
    out[length] = '\0';
    return length;
}

std::string BytesToCString(const uint8_t* bytes, size_t count, uint32_t options)
{
    std::string text(count * 5 + 3, '\0');
    text.resize(BytesToCString(text.data(), text.size(), bytes, count, options));
    return text;
}

size_t ByteToCChar(uint8_t byte, char* out, size_t outSize, bool withoutQuotes)
{
    char text[kCCharMaxText];
    size_t length = 0;
    if (!withoutQuotes) text[length++] = '\'';
    if (byte == '\'') {
        text[length++] = '\\';
        text[length++] = '\'';
    } else {
        bool hexEscape = false;
        length += ByteForm(byte, withoutQuotes ? 0u : uint32_t{kCStringTwoDigitHex}, false, text + length, hexEscape);
    }
    if (!withoutQuotes) text[length++] = '\'';
    if (length >= outSize) {
        if (outSize > 0) out[0] = '\0';
        return 0;
    }
    for (size_t k = 0; k < length; ++k) out[k] = text[k];
    out[length] = '\0';
    return length;
}

}  // namespace qv
