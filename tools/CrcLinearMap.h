// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A linear map of 64-bit vectors over GF(2), kept as the images of the 64 unit vectors.
// Every CRC step with a zero input byte is such a map; its powers move a start value
// across any number of bytes, which is how one pass serves several start values.
#include <array>
#include <cstdint>

namespace qv {

class CrcLinearMap {
public:
    // The map v -> step(v); step must be linear (step(a ^ b) == step(a) ^ step(b)).
    template <typename Step>
    static CrcLinearMap FromStep(Step step)
    {
        CrcLinearMap map;
        for (unsigned k = 0; k < 64; ++k) map.column_[k] = step(1ull << k);
        return map;
    }

    uint64_t Apply(uint64_t value) const;
    // first, then second: v -> second(first(v)).
    static CrcLinearMap Compose(const CrcLinearMap& first, const CrcLinearMap& second);
    // The map applied count times.
    CrcLinearMap Power(uint64_t count) const;
    // Applies the map count times to value (by squaring: about 2 log2(count) compositions).
    uint64_t ApplyPower(uint64_t value, uint64_t count) const;

    bool operator==(const CrcLinearMap&) const = default;

private:
    std::array<uint64_t, 64> column_{};
};

}  // namespace qv
