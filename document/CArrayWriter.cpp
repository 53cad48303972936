// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CArrayWriter.h"

#include <algorithm>

namespace qv {

std::vector<uint8_t> CArrayWriter(const uint8_t* data, size_t count)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    constexpr size_t kPerLine = 16;
    count = std::min(count, kCArrayMaxBytes);

    std::vector<uint8_t> out;
    out.reserve(count * 5 + (count / kPerLine + 1) * 2);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t value = data[i];
        out.insert(out.end(), {'0', 'x', static_cast<uint8_t>(kHexDigits[value >> 4]),
                               static_cast<uint8_t>(kHexDigits[value & 15]), ','});
        if ((i + 1) % kPerLine == 0 || i + 1 == count) out.insert(out.end(), {'\r', '\n'});
    }
    return out;
}

}  // namespace qv
