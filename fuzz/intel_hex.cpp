// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any text as an Intel HEX file, with and without a start offset.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/IntelHexReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const uint32_t offset = qv::ProposeStartOffset(text);
    if (qv::IntelHexReader(text, offset).size() % 1024 != 0) __builtin_trap();
    qv::IntelHexReader(text, 0);
    return 0;
}
