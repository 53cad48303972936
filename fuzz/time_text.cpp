// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary text as a typed time: whatever is read must stay within the ranges
// the converter relies on.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/TimeParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qv::ParsedTime parsed = qv::ParseTimeText(text);
    if (parsed.hour > 23 || parsed.minute > 59 || parsed.second > 59 || parsed.fraction >= 1000000000u) std::abort();
    return 0;
}
