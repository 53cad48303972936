// SPDX-License-Identifier: GPL-3.0-or-later
// Value texts and search entries from arbitrary bytes: classifying, reading, writing back,
// building and decoding entries and reading them back into the dialog must never crash or
// write past a buffer, and a found position must always hold the whole value.
#include <cstdint>
#include <string>
#include <string_view>

#include "search/FindValues.h"
#include "search/SearchEntry.h"
#include "search/ValueText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    uint8_t bytes[qv::kMaxValueBytes + 8];
    for (size_t maxBytes : {size_t{1}, size_t{2}, size_t{4}, size_t{256}}) {
        size_t count = qv::ParseValueText(text, bytes, maxBytes);
        if (count > qv::kMaxValueBytes) __builtin_trap();
        for (int kind = 0; kind < qv::kValueKindCount; ++kind)
            if (qv::FormatValueText(bytes, count, static_cast<qv::ValueKind>(kind)).size() > qv::kValueTextMaxChars)
                __builtin_trap();
    }
    qv::ClassifyValueText(text);

    qv::ValueInput input;
    input.text = std::string(text.substr(0, qv::kMaxValueBytes * 8));
    input.kind = size > 0 ? data[0] % 9 - 1 : -1;
    input.width = static_cast<qv::ValueWidth>(size > 1 ? data[1] % 4 : 3);
    input.unicode = size > 2 && (data[2] & 1);
    input.bigEndian = size > 2 && (data[2] & 2);
    input.ignoreCase = size > 2 && (data[2] & 4);
    auto entry = qv::BuildSearchEntry(input);

    // The text itself as an entry, and the built entry: both decode and read back safely.
    qv::DecodedPattern pattern;
    pattern.range = size;
    pattern.values.push_back(qv::DecodeSearchEntry(text));
    qv::ReadBackSearchEntry(text);
    if (entry) {
        pattern.values.push_back(qv::DecodeSearchEntry(*entry));
        qv::ReadBackSearchEntry(*entry);
    }
    const int64_t length = static_cast<int64_t>(size);
    for (bool ordered : {false, true}) {
        int64_t found = qv::FindValues(pattern, data, length, 0, length, ordered);
        if (found >= 0)
            for (const qv::SearchValue& value : pattern.values)
                if (value.found < 0 || value.found + value.length > length) __builtin_trap();
        qv::FindValues(pattern, data, length, length, -length, ordered);
    }
    return 0;
}
