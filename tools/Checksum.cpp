// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Checksum.h"

#include <bit>
#include <cstring>

namespace qv {

namespace {

// Every checksum is a fixed combination of two quantities: the sums of the bytes in each
// of the four positions modulo 4 (laneSum) and the exclusive-or of all little-endian
// double words (zero padding at the end changes neither). Summation is linear modulo
// 2^32, so e.g. the big-endian word sum is 256 * (even-position bytes) + odd-position bytes.
struct LaneTotals {
    uint32_t laneSum[4] = {0, 0, 0, 0};
    uint32_t dwordXor = 0;
};

constexpr uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;

// Adds the bytes of one 64-bit word, split into 16-bit lanes for even and odd positions.
// Each lane grows by at most 255 per word, so 257 words fit before a lane could overflow.
inline void AddWord(uint64_t word, uint64_t& even, uint64_t& odd)
{
    even += word & kEvenBytes;
    odd += (word >> 8) & kEvenBytes;
}

// Moves the 16-bit lanes into the four 32-bit position sums.
inline void FlushLanes(uint64_t even, uint64_t odd, uint32_t laneSum[4])
{
    laneSum[0] += static_cast<uint32_t>((even & 0xFFFF) + ((even >> 32) & 0xFFFF));
    laneSum[2] += static_cast<uint32_t>(((even >> 16) & 0xFFFF) + (even >> 48));
    laneSum[1] += static_cast<uint32_t>((odd & 0xFFFF) + ((odd >> 32) & 0xFFFF));
    laneSum[3] += static_cast<uint32_t>(((odd >> 16) & 0xFFFF) + (odd >> 48));
}

inline uint64_t LoadLittle64(const uint8_t* p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

LaneTotals SumLanes(const uint8_t* data, size_t length)
{
    LaneTotals totals;
    uint64_t xorAll = 0;
    size_t pos = 0;
    // Blocks of 32 bytes in two independent lane pairs; 128 blocks keep every 16-bit lane
    // below 2 * 128 * 255 < 65536.
    constexpr size_t kBlock = 32;
    constexpr size_t kBlocksPerFlush = 128;
    while (length - pos >= kBlock) {
        uint64_t even0 = 0, odd0 = 0, even1 = 0, odd1 = 0;
        size_t blocks = (length - pos) / kBlock;
        if (blocks > kBlocksPerFlush) blocks = kBlocksPerFlush;
        const uint8_t* p = data + pos;
        for (size_t i = 0; i < blocks; ++i, p += kBlock) {
            uint64_t w0 = LoadLittle64(p), w1 = LoadLittle64(p + 8);
            uint64_t w2 = LoadLittle64(p + 16), w3 = LoadLittle64(p + 24);
            AddWord(w0, even0, odd0);
            AddWord(w1, even1, odd1);
            AddWord(w2, even0, odd0);
            AddWord(w3, even1, odd1);
            xorAll ^= w0 ^ w1 ^ w2 ^ w3;
        }
        FlushLanes(even0, odd0, totals.laneSum);
        FlushLanes(even1, odd1, totals.laneSum);
        pos += blocks * kBlock;
    }
    // The rest, at most 31 bytes: byte by byte; positions keep counting from the start,
    // which pads the last unit with zeros exactly as a full unit would be read.
    uint32_t tailXor = 0;
    for (; pos < length; ++pos) {
        totals.laneSum[pos & 3] += data[pos];
        tailXor ^= static_cast<uint32_t>(data[pos]) << (8 * (pos & 3));
    }
    totals.dwordXor = static_cast<uint32_t>(xorAll) ^ static_cast<uint32_t>(xorAll >> 32) ^ tailXor;
    return totals;
}

ChecksumTriple Triple(uint32_t sum, uint32_t xored)
{
    return {sum, 0u - sum, xored};
}

uint32_t SwapWordHalves16(uint32_t value)
{
    return ((value & 0xFF) << 8) | ((value >> 8) & 0xFF);
}

}  // namespace

void ChecksumAccumulator::Add(const uint8_t* data, size_t length)
{
    // The piece is summed as if it began at position 0 and then moved to where it lies:
    // position p of the piece is position (phase + p) of the range.
    const LaneTotals t = SumLanes(data, length);
    const unsigned phase = static_cast<unsigned>(length_ & 3);
    for (unsigned lane = 0; lane < 4; ++lane) laneSum_[(lane + phase) & 3] += t.laneSum[lane];
    dwordXor_ ^= std::rotl(t.dwordXor, static_cast<int>(8 * phase));
    length_ += length;
}

Checksums ChecksumAccumulator::Result() const
{
    const uint32_t* s = laneSum_;
    const uint32_t x = dwordXor_;
    const uint32_t evenBytes = s[0] + s[2];
    const uint32_t oddBytes = s[1] + s[3];
    const uint32_t wordXorLittle = (x & 0xFFFF) ^ (x >> 16);

    Checksums sums;
    sums.bytes = Triple(evenBytes + oddBytes, (x ^ (x >> 8) ^ (x >> 16) ^ (x >> 24)) & 0xFF);
    sums.wordsLittle = Triple(evenBytes + (oddBytes << 8), wordXorLittle);
    sums.wordsBig = Triple((evenBytes << 8) + oddBytes, SwapWordHalves16(wordXorLittle));
    sums.dwordsLittle = Triple(s[0] + (s[1] << 8) + (s[2] << 16) + (s[3] << 24), x);
    sums.dwordsBig = Triple((s[0] << 24) + (s[1] << 16) + (s[2] << 8) + s[3], __builtin_bswap32(x));
    return sums;
}

Checksums ComputeChecksums(const uint8_t* data, size_t length)
{
    ChecksumAccumulator sums;
    sums.Add(data, length);
    return sums.Result();
}

}  // namespace qv
