// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/StringText.h"

#include <algorithm>

#include "common/CText.h"

namespace qv {

void AppendQuoted8(std::string& text, const uint8_t* chars, size_t count, bool fewEscapes, size_t maxText)
{
    if (text.size() >= maxText) return;
    size_t room = maxText - text.size() + 1;  // with the zero byte
    // No character takes less than one place, so more than room never shows.
    count = std::min(count, room);
    size_t start = text.size();
    text.resize(start + room);
    size_t written = BytesToCString(text.data() + start, room, chars, count, fewEscapes ? uint32_t{kCStringFewEscapes} : 0u);
    text.resize(start + written);
}

void AppendQuoted16(std::string& text, const uint8_t* bytes, size_t count, bool bigEndian, size_t maxText)
{
    if (text.size() + 2 > maxText) return;
    count = std::min(count, maxText - text.size() - 2);
    text += '"';
    for (size_t i = 0; i < count; ++i) {
        unsigned unit = bigEndian ? (bytes[2 * i] << 8) | bytes[2 * i + 1] : bytes[2 * i] | (bytes[2 * i + 1] << 8);
        text += (unit < 32 || unit > 255) ? '.' : static_cast<char>(unit);
    }
    text += '"';
}

}  // namespace qv
