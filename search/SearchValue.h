// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One value of a search, decoded from its entry: the bytes to compare, how many, and how.
#include <array>
#include <cstdint>

namespace qv {

enum class MatchMode : uint8_t {
    Exact = 0,       // every byte equal
    IgnoreCase = 1,  // equal after folding A-Z to a-z
    Masked = 2,      // (document byte XOR value byte) AND mask byte is 0
};

struct SearchValue {
    // The value bytes; for a masked value the mask bytes follow at bytes[length].
    std::array<uint8_t, 256> bytes{};
    int length = 0;  // bytes compared (at most 256, masked values at most 128)
    MatchMode mode = MatchMode::Exact;
    int64_t found = -1;  // position found during a group search
};

// Folds only the ASCII letters A-Z to a-z; every other byte compares unchanged.
inline uint8_t FoldCase(uint8_t byte) { return (byte >= 'A' && byte <= 'Z') ? static_cast<uint8_t>(byte + 32) : byte; }

}  // namespace qv
