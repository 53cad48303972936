// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluates arbitrary text as 32- and 64-bit expressions, with and without names.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/Expression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<char> text(data, data + size);
    const std::string_view view(text.data(), text.size());

    int32_t value = 0;
    bool ok = false;
    if (qv::EvaluateExpression(view, value, &ok) > view.size()) std::abort();

    int64_t value64 = 0;
    bool ok64 = false;
    if (qv::EvaluateExpression64(view, value64, &ok64) > view.size()) std::abort();

    // Names of letters and underscores; an odd first letter declines, to exercise the fallback.
    const qv::NameResolver resolver = [](std::string_view rest, int64_t& named) {
        int length = 0;
        while (static_cast<size_t>(length) < rest.size() &&
               ((rest[length] >= 'a' && rest[length] <= 'z') || rest[length] == '_'))
            ++length;
        if (length == 0 || (rest[0] & 1)) return 0;
        named = length * 1000003LL;
        return length;
    };
    if (qv::EvaluateExpression(view, value, &ok, resolver) > view.size()) std::abort();
    if (qv::EvaluateExpression64(view, value64, &ok64, resolver) > view.size()) std::abort();
    return 0;
}
