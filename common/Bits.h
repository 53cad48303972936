// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace qv {

// The low n bits of value in reversed order (n up to 64; above 64 gives 0).
uint64_t ReflectBits(uint64_t value, unsigned n);

}  // namespace qv
