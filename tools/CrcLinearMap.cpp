// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcLinearMap.h"

namespace qv {

uint64_t CrcLinearMap::Apply(uint64_t value) const
{
    uint64_t result = 0;
    while (value != 0) {
        result ^= column_[__builtin_ctzll(value)];
        value &= value - 1;
    }
    return result;
}

CrcLinearMap CrcLinearMap::Compose(const CrcLinearMap& first, const CrcLinearMap& second)
{
    CrcLinearMap map;
    for (unsigned k = 0; k < 64; ++k) map.column_[k] = second.Apply(first.column_[k]);
    return map;
}

CrcLinearMap CrcLinearMap::Power(uint64_t count) const
{
    CrcLinearMap result = FromStep([](uint64_t v) { return v; });
    CrcLinearMap power = *this;
    while (count != 0) {
        if (count & 1) result = Compose(result, power);
        count >>= 1;
        if (count != 0) power = Compose(power, power);
    }
    return result;
}

uint64_t CrcLinearMap::ApplyPower(uint64_t value, uint64_t count) const
{
    CrcLinearMap power = *this;
    while (count != 0 && value != 0) {
        if (count & 1) value = power.Apply(value);
        count >>= 1;
        if (count != 0) power = Compose(power, power);
    }
    return value;
}

}  // namespace qv
