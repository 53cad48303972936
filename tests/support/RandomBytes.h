// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reproducible pseudo-random bytes for tests.
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace qv::test {

inline std::vector<uint8_t> RandomBytes(size_t count, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

}  // namespace qv::test
