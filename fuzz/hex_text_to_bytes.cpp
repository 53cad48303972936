// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary text as a hex dump into a buffer of exactly the maximum size, and writes
// dumps of arbitrary bytes into buffers of every option and a tight size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/HexText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5) return 0;
    uint32_t options = 0;
    std::memcpy(&options, data, 4);
    const size_t maximum = data[4] % 64;
    options = (options & ~uint32_t{qv::kHexReadMaxMask}) | static_cast<uint32_t>(maximum);
    const std::vector<char> text(data + 5, data + size);
    const std::string_view view(text.data(), text.size());

    std::vector<uint8_t> out(maximum);
    size_t consumed = 0;
    const size_t count = qv::HexTextToBytes(out.data(), options, view, &consumed);
    if (count > maximum || consumed > view.size()) std::abort();

    // Dump the input bytes with the fuzzed options into a buffer smaller than needed.
    const std::vector<uint8_t> bytes(data + 5, data + size);
    std::vector<char> dump(bytes.size() * 2 + 1);
    const size_t length = qv::BytesToHexText(bytes.data(), dump.data(), dump.size(), bytes.size(), options);
    if (length > dump.size()) std::abort();

    // Space-separated dumps read back to the same bytes.
    const std::string full = qv::BytesToHexText(bytes.data(), bytes.size(), qv::HexSeparator(' ') | 4);
    std::vector<uint8_t> back(bytes.size() > 0xFFFF ? 0xFFFF : bytes.size());
    const size_t backCount = qv::HexTextToBytes(back.data(), static_cast<uint32_t>(back.size()), full);
    if (backCount != back.size() || !std::equal(back.begin(), back.end(), bytes.begin())) std::abort();
    return 0;
}
