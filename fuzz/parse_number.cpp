// SPDX-License-Identifier: GPL-3.0-or-later
// Reads numbers in every mode from arbitrary text, and checks that every formatted number
// fits its buffer and reads back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    const uint32_t mode = data[0] | (uint32_t{data[1]} << 8);
    const uint32_t style = data[2] | (uint32_t{data[3]} << 8) | ((data[3] & 1u) << 16);
    // An exact-size copy, so that any read past the text is caught by the sanitizer.
    const std::vector<char> text(data + 4, data + size);
    const std::string_view view(text.data(), text.size());

    size_t consumed = 0;
    const int32_t value = qv::ParseNumber(view, mode, &consumed);
    if (consumed > view.size()) std::abort();
    size_t consumed64 = 0;
    const int64_t value64 = qv::ParseNumber64(view, mode, &consumed64);
    if (consumed64 != consumed || static_cast<int32_t>(value64) != value) std::abort();

    char out[qv::kFormatNumberMaxText];
    const size_t length = qv::FormatNumber64(value64, out, sizeof out, style);
    if (length == 0 || length >= sizeof out || out[length] != '\0') std::abort();
    // Plain decimal and prefixed hexadecimal read back to the same bits.
    const std::string hex = qv::FormatNumber(value, qv::kStyleHexPrefix);
    if (qv::ParseNumber(hex, qv::kNumberAuto) != value) std::abort();
    if (qv::ParseNumber64(qv::FormatNumber64(value64, qv::kStyleSigned), qv::kNumberAuto) != value64) std::abort();
    return 0;
}
