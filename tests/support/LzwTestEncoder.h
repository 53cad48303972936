// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A greedy longest-match LZW encoder for the container's code streams (9 to 12 bits, least
// significant bit first, 256 clear, 257 end, clear sent when a 4097th code would be needed).
// Only tests, fuzz seeds and benchmarks write this format, so it lives here.
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qv::test {

inline std::vector<uint8_t> LzwTestEncode(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    uint32_t bitCount = 0;
    auto put = [&](uint32_t code, uint32_t width) {
        bits |= code << bitCount;
        bitCount += width;
        while (bitCount >= 8) {
            out.push_back(static_cast<uint8_t>(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    // The decoder defines each entry one code later than the encoder, so the width of a code
    // follows the decoder's next code: one less than ours once a code has been sent.
    auto widthFor = [](uint32_t decoderNext) {
        return decoderNext < 512 ? 9u : decoderNext < 1024 ? 10u : decoderNext < 2048 ? 11u : 12u;
    };

    std::unordered_map<uint32_t, uint32_t> table;  // (prefix code << 8 | byte) -> code
    uint32_t nextCode = 258;
    bool sentSinceClear = false;
    size_t i = 0;
    while (i < size) {
        uint32_t code = data[i++];
        while (i < size) {
            auto found = table.find(code << 8 | data[i]);
            if (found == table.end()) break;
            code = found->second;
            ++i;
        }
        put(code, widthFor(sentSinceClear ? nextCode - 1 : nextCode));
        sentSinceClear = true;
        if (i >= size) break;
        if (nextCode < 4096) {
            table[code << 8 | data[i]] = nextCode++;
        } else {
            put(256, 12);
            table.clear();
            nextCode = 258;
            sentSinceClear = false;
        }
    }
    put(257, widthFor(nextCode));  // the decoder has caught up: no entry follows the last code
    if (bitCount > 0) out.push_back(static_cast<uint8_t>(bits));
    return out;
}

}  // namespace qv::test
