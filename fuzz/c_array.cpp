// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any text as a C array file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/CArrayReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Every value takes at least one character or comma: never more bytes than text + 1.
    if (qv::CArrayReader(text).size() > size + 1) __builtin_trap();
    return 0;
}
