// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoded patterns written as plain byte lists, and the positions a search found.
#include <algorithm>
#include <vector>

#include "search/SearchEntry.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;

inline DecodedPattern Pattern(int64_t range, std::vector<Bytes> values)
{
    DecodedPattern pattern;
    pattern.range = range;
    for (const Bytes& bytes : values) {
        SearchValue value;
        std::copy(bytes.begin(), bytes.end(), value.bytes.begin());
        value.length = static_cast<int>(bytes.size());
        pattern.values.push_back(value);
    }
    return pattern;
}

inline std::vector<int64_t> Positions(const DecodedPattern& p)
{
    std::vector<int64_t> positions;
    for (const SearchValue& v : p.values) positions.push_back(v.found);
    return positions;
}

}  // namespace qv::test
