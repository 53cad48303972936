// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qv {
namespace {

// Unicode code points of the bytes 0x80..0x9F; the rest of Windows-1252 equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(uint8_t byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : byte;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, 0 when malformed.
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& cp)
{
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

// Calls use(code point) for each character of UTF-8 text; a malformed byte counts as '?'.
template <typename Use>
void ForEachCodePoint(std::string_view text, Use use)
{
    for (size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        size_t length = DecodeUtf8(text, pos, cp);
        if (length == 0) cp = U'?', length = 1;
        pos += length;
        use(cp);
    }
}

// The Windows-1252 byte of a code point; '?' for characters the code page lacks.
char ByteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    // Runs of ASCII are copied whole: long texts such as clipboard dumps are mostly ASCII.
    for (size_t pos = 0; pos < text.size();) {
        size_t end = pos;
        while (end < text.size() && static_cast<uint8_t>(text[end]) < 0x80) ++end;
        out.append(text.data() + pos, end - pos);
        if (end < text.size()) AppendUtf8(out, CodePointOf(static_cast<uint8_t>(text[end++])));
        pos = end;
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&out](char32_t cp) { out += ByteOf(cp); });
    return out;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size(); ++pos) {
        char32_t cp = text[pos];
        if (cp >= 0xD800 && cp <= 0xDBFF && pos + 1 < text.size() && text[pos + 1] >= 0xDC00 &&
            text[pos + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[pos + 1] - 0xDC00);
            ++pos;
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) return std::nullopt;  // an unpaired surrogate
        AppendUtf8(out, cp);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&out](char32_t cp) {
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    });
    return out;
}

bool IsValidUtf8(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        size_t length = DecodeUtf8(text, pos, cp);
        if (length == 0) return false;
        pos += length;
    }
    return true;
}

std::optional<std::string> Utf8ToCp1252Exactly(std::string_view text)
{
    if (!IsValidUtf8(text)) return std::nullopt;
    std::string converted = Utf8ToCp1252(text);
    // A character without a byte came out as '?', which does not read back as itself.
    if (Cp1252ToUtf8(converted) != text) return std::nullopt;
    return converted;
}

namespace {
bool StartsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}
}  // namespace

size_t Utf8Length(std::string_view text)
{
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

std::string_view Utf8Prefix(std::string_view text, size_t characters)
{
    size_t end = 0;
    for (size_t seen = 0; end < text.size(); ++end) {
        if (StartsCharacter(text[end]) && seen++ == characters) break;
    }
    return text.substr(0, end);
}

}  // namespace qv
