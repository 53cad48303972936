// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fifteen simple checksums of a byte range: sums, differences and exclusive-ors over
// bytes, 16-bit words and 32-bit double words (the latter two read little- and big-endian).
// Every accumulator is 32 bits wide and wraps around. A range whose length is not a
// multiple of the unit ends in one last unit padded with zero bytes after the data.
#include <cstddef>
#include <cstdint>

namespace qv {

struct ChecksumTriple {
    uint32_t added = 0;       // sum of the units
    uint32_t subtracted = 0;  // 0 minus every unit in turn
    uint32_t xored = 0;       // exclusive-or of the units

    bool operator==(const ChecksumTriple&) const = default;
};

struct Checksums {
    ChecksumTriple bytes;
    ChecksumTriple wordsLittle;
    ChecksumTriple wordsBig;
    ChecksumTriple dwordsLittle;
    ChecksumTriple dwordsBig;

    bool operator==(const Checksums&) const = default;
};

// The sums of a range that arrives in pieces, in order; pieces may have any length.
class ChecksumAccumulator {
public:
    void Add(const uint8_t* data, size_t length);
    Checksums Result() const;

private:
    // The sums of the bytes in each of the four positions modulo 4, and the exclusive-or
    // of all little-endian double words: every checksum follows from these.
    uint32_t laneSum_[4] = {0, 0, 0, 0};
    uint32_t dwordXor_ = 0;
    uint64_t length_ = 0;
};

// One pass over the bytes, no allocation.
Checksums ComputeChecksums(const uint8_t* data, size_t length);

}  // namespace qv
