// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluates arbitrary text as the time converter's floating-point expression.
#include <cstdint>
#include <string_view>

#include "tools/TimeFloatExpression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    double value = 0;
    qv::EvaluateFloatExpression(std::string_view(reinterpret_cast<const char*>(data), size), value);
    return 0;
}
