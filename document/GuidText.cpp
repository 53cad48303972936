// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/GuidText.h"

#include <algorithm>
#include <cctype>

#include "common/FormatText.h"
#include "common/HexText.h"
#include "common/NumberText.h"

namespace qv {

namespace {

constexpr size_t kFieldSizes[3] = {4, 2, 2};

uint32_t FieldValue(const GuidBytes& guid, size_t at, size_t size)
{
    uint32_t value = 0;
    for (size_t i = size; i-- > 0;) value = (value << 8) | guid[at + i];
    return value;
}

void StoreField(GuidBytes& guid, size_t at, size_t size, uint32_t value)
{
    for (size_t i = 0; i < size; ++i) guid[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

GuidBytes ParseGuidNumbers(std::string_view text)
{
    GuidBytes guid{};
    for (size_t field = 0; field < 11; ++field) {
        while (!text.empty() && !std::isdigit(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
        if (text.empty()) break;
        size_t consumed = 0;
        const uint32_t value = static_cast<uint32_t>(ParseNumber(text, kNumberAuto, &consumed));
        text.remove_prefix(std::max<size_t>(consumed, 1));
        if (field < 3)
            StoreField(guid, field == 0 ? 0 : 2 + 2 * field, kFieldSizes[field], value);
        else
            guid[field + 5] = static_cast<uint8_t>(value);
    }
    return guid;
}

}  // namespace

std::string GuidRegistryText(const GuidBytes& g)
{
    return FormatTextString("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", FieldValue(g, 0, 4),
                            FieldValue(g, 4, 2), FieldValue(g, 6, 2), g[8], g[9], g[10], g[11], g[12], g[13], g[14],
                            g[15]);
}

std::string GuidInitialiserText(const GuidBytes& g)
{
    return FormatTextString("0x%08X,0x%04X,0x%04X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X",
                            FieldValue(g, 0, 4), FieldValue(g, 4, 2), FieldValue(g, 6, 2), g[8], g[9], g[10], g[11],
                            g[12], g[13], g[14], g[15]);
}

std::optional<GuidBytes> ParseGuidRegistryText(std::string_view text)
{
    static constexpr std::string_view kShape = "{........-....-....-....-............}";
    if (text.size() != kShape.size()) return std::nullopt;
    std::string digits;
    for (size_t i = 0; i < text.size(); ++i) {
        if (kShape[i] != '.') {
            if (text[i] != kShape[i]) return std::nullopt;
        } else if (HexValue(text[i]) < 0) {
            return std::nullopt;
        } else {
            digits += text[i];
        }
    }
    uint8_t bytes[16];
    for (size_t i = 0; i < 16; ++i) bytes[i] = static_cast<uint8_t>(HexValue(digits[2 * i]) * 16 + HexValue(digits[2 * i + 1]));
    // The digits show the three fields most significant byte first; they are stored the other way.
    GuidBytes guid{};
    size_t at = 0;
    for (size_t size : kFieldSizes) {
        for (size_t i = 0; i < size; ++i) guid[at + i] = bytes[at + size - 1 - i];
        at += size;
    }
    for (; at < 16; ++at) guid[at] = bytes[at];
    return guid;
}

std::optional<GuidBytes> ParseGuidAnswer(std::string_view answer)
{
    std::string text;
    for (char c : answer.substr(0, 256))
        if (c != '{' && c != '}') text += c;
    size_t prefix = std::string::npos;
    for (size_t i = 0; i + 1 < text.size() && prefix == std::string::npos; ++i)
        if (text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) prefix = i;
    if (prefix != std::string::npos) {
        if (Trimmed(std::string_view(text).substr(0, prefix)).empty()) return ParseGuidNumbers(text);
        text.resize(prefix);
    }
    return ParseGuidRegistryText("{" + std::string(Trimmed(text)) + "}");
}

}  // namespace qv
