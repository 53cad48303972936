// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CompressedReader.h"

#include <cstring>

#include "document/LzwDecode.h"

namespace qv {

namespace {

constexpr size_t kHeaderSize = 16;
constexpr uint32_t kMaxDataLength = 0x1000000;
constexpr uint32_t kContainerLimit = 0x7FFFF8;  // container length and data length stay below
constexpr size_t kSpareRoom = 0x11000;           // lets the last blocks decode in place
constexpr size_t kLzwCapacity = 65552;

uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

std::optional<std::vector<uint8_t>> CompressedReader(const std::vector<uint8_t>& content)
{
    if (content.size() < kHeaderSize || std::memcmp(content.data(), kCompressedMagic, 4) != 0) return std::nullopt;
    const uint8_t* header = content.data();
    const uint64_t containerLength = static_cast<uint64_t>(Read32(header + 4)) + 8;
    const uint32_t extraLength = Read16(header + 8);
    const uint32_t tailFlag = Read16(header + 10);
    const uint32_t dataLength = Read32(header + 12);

    if (dataLength > kMaxDataLength) return std::nullopt;
    if (containerLength < 1 || containerLength >= kContainerLimit) return std::nullopt;
    if (dataLength == 0 || dataLength >= kContainerLimit || dataLength % 4 != 0) return std::nullopt;
    if (kHeaderSize + extraLength >= containerLength) return std::nullopt;
    if (tailFlag >= dataLength) return std::nullopt;
    if (content.size() < containerLength) return std::nullopt;  // truncated file

    const size_t end = static_cast<size_t>(containerLength);
    const size_t countLimit = static_cast<size_t>(dataLength) + tailFlag;
    std::vector<uint8_t> output(countLimit + kSpareRoom, 0);

    size_t position = kHeaderSize + extraLength;
    size_t count = 0;
    for (;;) {
        if (end - position < 4) return std::nullopt;  // no room for a block header
        const uint16_t length = Read16(content.data() + position);
        const uint16_t stored = Read16(content.data() + position + 2);
        position += 4;
        if (length < stored || end - position < stored) return std::nullopt;

        uint8_t* target = output.data() + count;
        if (stored == length) {
            std::memcpy(target, content.data() + position, stored);
        } else if (stored != 0) {
            if (LzwDecode(content.data() + position, stored, target, kLzwCapacity) != length) return std::nullopt;
        } else {
            std::memset(target, 0, length);  // an earlier LZW block may have used this room as scratch
        }
        position += stored;

        if (position >= end) {
            if (position != end) return std::nullopt;
            if (tailFlag == 0) count += length;
            break;
        }
        count += length;
        if (count >= countLimit) return std::nullopt;
    }
    if (count != dataLength) return std::nullopt;
    output.resize(dataLength);
    return output;
}

}  // namespace qv
