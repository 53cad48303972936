// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a compressed container. The input is prefixed with the magic
// so that the checks behind it are reached.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "document/CompressedReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> content(size + 4);
    std::memcpy(content.data(), qv::kCompressedMagic, 4);
    if (size > 0) std::memcpy(content.data() + 4, data, size);
    if (auto bytes = qv::CompressedReader(content); bytes && (bytes->empty() || bytes->size() % 4 != 0))
        __builtin_trap();
    return 0;
}
