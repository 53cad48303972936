// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/NameCompare.h"

#include <algorithm>

namespace qv {

uint8_t FoldNameCase(uint8_t c)
{
    if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 0x20);
    // à..þ except ÷ fold to À..Þ; š, œ, ž to Š, Œ, Ž; ÿ to Ÿ.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<uint8_t>(c - 0x20);
    if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<uint8_t>(c - 0x10);
    if (c == 0xFF) return 0x9F;
    return c;
}

int CompareNames(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int fa = FoldNameCase(static_cast<uint8_t>(a[i]));
        int fb = FoldNameCase(static_cast<uint8_t>(b[i]));
        if (fa != fb) return fa - fb;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace qv
