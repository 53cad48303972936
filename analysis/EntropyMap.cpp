// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/EntropyMap.h"

#include <algorithm>
#include <array>

namespace qv {

int64_t EntropyMap::BlockSizeFor(int64_t documentSize)
{
    int64_t size = kMinBlockSize;
    while (size * kMaxBlocks < documentSize) size *= 2;
    return size;
}

void EntropyMap::Reset(int64_t documentSize)
{
    size_ = std::max<int64_t>(documentSize, 0);
    blockSize_ = BlockSizeFor(size_);
    blocks_.assign(static_cast<size_t>((size_ + blockSize_ - 1) / blockSize_), BlockMeasure{});
    nextUnknown_ = 0;
}

void EntropyMap::Forget(int64_t firstBlock, int64_t endBlock)
{
    firstBlock = std::max<int64_t>(firstBlock, 0);
    endBlock = std::min(endBlock, BlockCount());
    for (int64_t i = firstBlock; i < endBlock; ++i) blocks_[static_cast<size_t>(i)] = BlockMeasure{};
    if (firstBlock < endBlock) nextUnknown_ = std::min(nextUnknown_, firstBlock);
}

void EntropyMap::Overwritten(int64_t first, int64_t count)
{
    if (count <= 0) return;
    Forget(first / blockSize_, (first + count - 1) / blockSize_ + 1);
}

void EntropyMap::Resized(int64_t first, int64_t newSize)
{
    size_ = std::max<int64_t>(newSize, 0);
    blocks_.resize(static_cast<size_t>((size_ + blockSize_ - 1) / blockSize_), BlockMeasure{});
    nextUnknown_ = std::min(nextUnknown_, BlockCount());
    Forget(std::max<int64_t>(first, 0) / blockSize_, BlockCount());
}

bool EntropyMap::MeasureUntil(const IByteSource& source, std::chrono::steady_clock::time_point deadline)
{
    while (nextUnknown_ < BlockCount()) {
        BlockMeasure& block = blocks_[static_cast<size_t>(nextUnknown_)];
        if (block.kind == BlockKind::Unknown) {
            const auto bytes = BytesToMeasure(source, nextUnknown_);
            // A source shorter than the map: its missing blocks stay unknown until the map is told.
            if (bytes.empty()) return false;
            block = MeasureBlock(bytes);
        }
        ++nextUnknown_;
        if (std::chrono::steady_clock::now() >= deadline) break;
    }
    return Complete();
}

std::span<const uint8_t> EntropyMap::BytesToMeasure(const IByteSource& source, int64_t index)
{
    const int64_t start = index * blockSize_;
    if (blockSize_ <= kSampleSize) return source.Window(start, blockSize_, scratch_);
    const int64_t length = std::min(blockSize_, size_ - start);
    const int64_t sample = std::min(kSampleSize, length);
    // Page-aligned, so that the sample touches one page of a mapped file.
    const int64_t middle = ((length - sample) / 2) / kSampleSize * kSampleSize;
    return source.Window(start + middle, sample, scratch_);
}

BlockMeasure EntropyMap::Summary(int64_t first, int64_t end) const
{
    first = std::max<int64_t>(first, 0);
    end = std::min(end, BlockCount());
    std::array<int64_t, 5> kinds{};
    double entropy = 0;
    for (int64_t i = first; i < end; ++i) {
        const BlockMeasure& block = blocks_[static_cast<size_t>(i)];
        ++kinds[static_cast<size_t>(block.kind)];
        entropy += block.entropy;
    }
    const int64_t measured = (end - first) - kinds[static_cast<size_t>(BlockKind::Unknown)];
    if (measured <= 0) return {};
    for (BlockKind kind : {BlockKind::Zero, BlockKind::Ones, BlockKind::Text})
        if (2 * kinds[static_cast<size_t>(kind)] > measured) return {entropy / measured, kind};
    return {entropy / measured, BlockKind::Data};
}

}  // namespace qv
