// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes arbitrary text into buffers of the announced size and of a smaller size, and
// checks that encoding arbitrary bytes decodes back to them.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/Base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<char> text(data, data + size);
    const std::string_view view(text.data(), text.size());

    const size_t expected = qv::Base64DecodedSize(view);
    std::vector<uint8_t> out(expected);
    if (qv::Base64Decode(out.data(), out.size(), view) != expected) std::abort();
    std::vector<uint8_t> half(expected / 2);
    if (qv::Base64Decode(half.data(), half.size(), view) != half.size()) std::abort();

    const size_t lineLength = size > 0 ? data[0] % 80 : 0;
    const std::string encoded = qv::Base64Encode(data, size, lineLength);
    if (encoded.size() != qv::Base64EncodedLength(size, lineLength)) std::abort();
    std::vector<uint8_t> back(qv::Base64DecodedSize(encoded));
    if (back.size() != size || qv::Base64Decode(back.data(), back.size(), encoded) != size) std::abort();
    if (!std::equal(back.begin(), back.end(), data)) std::abort();

    std::vector<char> small(size / 2 + 1);
    if (qv::Base64Encode(data, size, small.data(), small.size(), lineLength) >= small.size()) std::abort();
    return 0;
}
