// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shannon entropy of a block of bytes (0 to 8 bits per byte) and the kinds of block that an
// overview of a file tells apart at a glance: all zero, all 0xFF, text, and other data.
#include <cstdint>
#include <span>

namespace qv {

enum class BlockKind : uint8_t {
    Unknown,  // not measured yet
    Zero,     // every byte 0x00
    Ones,     // every byte 0xFF (erased flash)
    Text,     // printable ASCII, tabs and line ends, and well-formed UTF-8 sequences
    Data,
};

struct BlockMeasure {
    double entropy = 0;  // bits per byte
    BlockKind kind = BlockKind::Unknown;

    bool operator==(const BlockMeasure&) const = default;
};

// -sum(p * log2 p) over the byte values' shares; 0 for no bytes.
double ShannonEntropy(std::span<const uint8_t> bytes);

// Entropy and kind of a non-empty block, in one pass over the bytes.
BlockMeasure MeasureBlock(std::span<const uint8_t> bytes);

}  // namespace qv
