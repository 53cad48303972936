// SPDX-License-Identifier: GPL-3.0-or-later
// Converts arbitrary bytes both ways between Windows-1252 and UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // Every 8-bit text has a UTF-8 form that converts back unchanged.
    const std::string utf8 = qv::Cp1252ToUtf8(bytes);
    if (!qv::IsValidUtf8(utf8) || qv::Utf8ToCp1252(utf8) != bytes) std::abort();

    // Arbitrary (often malformed) UTF-8 gives at most one byte per input byte.
    const std::string narrowed = qv::Utf8ToCp1252(bytes);
    if (narrowed.size() > bytes.size()) std::abort();
    if (qv::IsValidUtf8(bytes) && qv::Cp1252ToUtf8(narrowed).size() > bytes.size() * 3) std::abort();
    return 0;
}
