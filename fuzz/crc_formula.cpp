// SPDX-License-Identifier: GPL-3.0-or-later
// Parses arbitrary text as a CRC polynomial formula.
#include <cstdint>
#include <string>

#include "tools/CrcFormula.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)qv::ParseCrcFormula(text);
    return 0;
}
