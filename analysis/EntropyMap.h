// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entropy overview of a whole document: one measure per block, filled in a little at a
// time (the editor measures between events, on the thread that owns the bytes) and
// measured again where the document was edited. Documents of up to kMaxBlocks small blocks
// are measured byte for byte; in larger ones each block is judged by one page from its
// middle, so that the overview of a 100 GiB image reads 64 MiB of it, not all of it, and
// does not pull a mapped file into memory.
#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/Entropy.h"
#include "view/ByteSource.h"

namespace qv {

class EntropyMap {
public:
    // Blocks are at least this large; bigger documents get larger blocks, so that the map
    // never holds more than kMaxBlocks of them.
    static constexpr int64_t kMinBlockSize = 4096;
    static constexpr int64_t kMaxBlocks = 16384;
    static int64_t BlockSizeFor(int64_t documentSize);
    // What is read of a block larger than kMinBlockSize: a page-aligned sample from its middle.
    static constexpr int64_t kSampleSize = kMinBlockSize;

    // Forgets every measure: a document of this size, all blocks unknown.
    void Reset(int64_t documentSize);
    // The bytes [first, first + count) were overwritten.
    void Overwritten(int64_t first, int64_t count);
    // Bytes were inserted or deleted at `first`: the document has a new size, and every byte
    // from `first` on may have moved. The block size stays.
    void Resized(int64_t first, int64_t newSize);

    // Measures unknown blocks, lowest first, until all are known or the deadline passed (at
    // least one block per call). The source must be the document of the given size.
    // Returns true when every block is known.
    bool MeasureUntil(const IByteSource& source, std::chrono::steady_clock::time_point deadline);
    bool Complete() const { return nextUnknown_ >= BlockCount(); }

    int64_t DocumentSize() const { return size_; }
    int64_t BlockSize() const { return blockSize_; }
    int64_t BlockCount() const { return static_cast<int64_t>(blocks_.size()); }
    const BlockMeasure& Block(int64_t index) const { return blocks_[static_cast<size_t>(index)]; }

    // What a stretch of blocks [first, end) looks like as one: a kind that covers more than
    // half of its measured blocks, else data with the mean entropy of all of them; Unknown
    // while none is measured.
    BlockMeasure Summary(int64_t first, int64_t end) const;

private:
    void Forget(int64_t firstBlock, int64_t endBlock);
    // The bytes a block is measured by: all of a small block, the sample of a large one.
    std::span<const uint8_t> BytesToMeasure(const IByteSource& source, int64_t index);

    int64_t size_ = 0;
    int64_t blockSize_ = kMinBlockSize;
    std::vector<BlockMeasure> blocks_;
    int64_t nextUnknown_ = 0;  // no block below it is unknown
    std::vector<uint8_t> scratch_;
};

}  // namespace qv
