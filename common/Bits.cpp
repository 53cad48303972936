// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Bits.h"

namespace qv {

uint64_t ReflectBits(uint64_t value, unsigned n)
{
    if (n > 64) return 0;
    uint64_t reflected = 0;
    for (unsigned i = 0; i < n; ++i) {
        reflected = (reflected << 1) | (value & 1);
        value >>= 1;
    }
    return reflected;
}

}  // namespace qv
