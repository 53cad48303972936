// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/LzwDecode.h"

#include <cstring>

namespace qv {

namespace {

constexpr uint32_t kClearCode = 256;
constexpr uint32_t kEndCode = 257;
constexpr uint32_t kFirstFreeCode = 258;
constexpr uint32_t kTableSize = 4096;
constexpr uint32_t kMaxWidth = 12;

// Every string in the table is a run of bytes already written to the output (the previous
// string followed by one more byte), so an entry is just its position and length there and
// decoding a code is a copy from earlier output.
struct Entry {
    uint32_t start;
    uint32_t length;
};

// Copies a string from earlier output. The source ends at or before the target, so copying
// 8 bytes at a time reads only bytes that are final; the last chunk may write up to 7 bytes
// past the string, which the caller's room check allows for.
inline void CopyEarlier(uint8_t* target, const uint8_t* source, size_t length)
{
    for (size_t i = 0; i < length; i += 8) {
        uint64_t chunk;  // through a register: source and target chunks may overlap
        std::memcpy(&chunk, source + i, 8);
        std::memcpy(target + i, &chunk, 8);
    }
}

constexpr size_t kCopySlack = 8;

}  // namespace

size_t LzwDecode(const uint8_t* stream, size_t streamLength, uint8_t* output, size_t capacity)
{
    if (capacity <= 4) return 0;
    const size_t limit = capacity - 4;  // written bytes must stay below this

    Entry table[kTableSize];
    uint32_t width = 9;
    uint32_t mask = 511;
    uint32_t nextCode = kFirstFreeCode;
    bool havePrevious = false;
    Entry previous{0, 0};
    size_t written = 0;

    uint32_t bits = 0;
    uint32_t bitCount = 0;
    for (size_t i = 0; i < streamLength; ++i) {
        bits |= static_cast<uint32_t>(stream[i]) << bitCount;
        bitCount += 8;
        while (bitCount >= width) {
            const uint32_t code = bits & mask;
            bits >>= width;
            bitCount -= width;

            if (code == kClearCode) {
                width = 9;
                mask = 511;
                nextCode = kFirstFreeCode;
                havePrevious = false;
                continue;
            }
            if (code == kEndCode) return written;
            if (!havePrevious) {
                if (written + 1 >= limit) return 0;
                output[written] = static_cast<uint8_t>(code);
                previous = {static_cast<uint32_t>(written), 1};
                ++written;
                havePrevious = true;
                continue;
            }
            if (code > nextCode) return written;

            Entry current;
            if (code < 256) {
                if (written + 1 >= limit) return 0;
                output[written] = static_cast<uint8_t>(code);
                current = {static_cast<uint32_t>(written), 1};
            } else if (code < nextCode) {
                const Entry& known = table[code];
                if (written + known.length >= limit) return 0;
                if (written + known.length + kCopySlack <= capacity)
                    CopyEarlier(output + written, output + known.start, known.length);
                else
                    std::memcpy(output + written, output + known.start, known.length);
                current = {static_cast<uint32_t>(written), known.length};
            } else {
                // The code being defined right now: the previous string plus its own first byte.
                // The previous string ends exactly where this one starts, so the copy does not overlap.
                if (written + previous.length + 1 >= limit) return 0;
                std::memcpy(output + written, output + previous.start, previous.length);
                output[written + previous.length] = output[previous.start];
                current = {static_cast<uint32_t>(written), previous.length + 1};
            }
            written += current.length;

            if (nextCode < kTableSize) {
                // previous string + first byte of the current one = the bytes right after it
                table[nextCode] = {previous.start, previous.length + 1};
                ++nextCode;
                if (nextCode == mask + 1 && width < kMaxWidth) {
                    ++width;
                    mask = (mask << 1) | 1;
                }
            }
            previous = current;
        }
    }
    return 0;
}

}  // namespace qv
