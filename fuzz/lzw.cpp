// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as an LZW stream; the first byte picks a small output capacity so
// that the capacity checks are reached too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/LzwDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const size_t capacity = data[0] < 128 ? 65552 : data[0];
    std::vector<uint8_t> output(capacity);
    const size_t written = qv::LzwDecode(data + 1, size - 1, output.data(), output.size());
    if (written != 0 && written >= capacity - 4) __builtin_trap();
    return 0;
}
