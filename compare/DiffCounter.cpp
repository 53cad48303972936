// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/DiffCounter.h"

#include <algorithm>

namespace qv {

void DiffCounter::InvalidateFrom(int64_t first, int64_t span)
{
    span_ = std::max<int64_t>(span, 0);
    const auto count = static_cast<size_t>((span_ + blockSize_ - 1) / blockSize_);
    // Whole blocks before the one that holds `first` keep their counts.
    const auto kept = static_cast<size_t>(std::min(BlockOf(std::max<int64_t>(first, 0)), span_ / blockSize_));
    for (size_t block = kept; block < known_.size(); ++block) Forget(static_cast<int64_t>(block));
    blocks_.resize(count);
    known_.resize(count, false);
    uncounted_ = static_cast<int64_t>(std::count(known_.begin(), known_.end(), false));
    nextBlock_ = std::min(nextBlock_, static_cast<int64_t>(kept));
}

void DiffCounter::Forget(int64_t block)
{
    if (block < 0 || block >= static_cast<int64_t>(known_.size()) || !known_[static_cast<size_t>(block)]) return;
    known_[static_cast<size_t>(block)] = false;
    DiffTally& tally = blocks_[static_cast<size_t>(block)];
    counted_.bytes -= tally.bytes;
    counted_.runs -= tally.runs;
    tally = {};
    ++uncounted_;
    nextBlock_ = std::min(nextBlock_, block);
}

void DiffCounter::Invalidate(int64_t first, int64_t last)
{
    if (first > last) std::swap(first, last);
    const int64_t from = BlockOf(std::max<int64_t>(first, 0));
    const int64_t to = std::min(BlockOf(std::max<int64_t>(last, 0) + 1), static_cast<int64_t>(known_.size()) - 1);
    for (int64_t block = from; block <= to; ++block) Forget(block);
}

bool DiffCounter::Step(const DiffFinder& finder, int64_t budget)
{
    const auto count = static_cast<int64_t>(known_.size());
    for (int64_t read = 0; uncounted_ > 0 && read < budget;) {
        while (nextBlock_ < count && known_[static_cast<size_t>(nextBlock_)]) ++nextBlock_;
        if (nextBlock_ >= count) nextBlock_ = 0;  // a forgotten block lies before the last one counted
        if (known_[static_cast<size_t>(nextBlock_)]) continue;
        const int64_t start = nextBlock_ * blockSize_;
        const int64_t end = std::min(start + blockSize_, span_);
        DiffTally& tally = blocks_[static_cast<size_t>(nextBlock_)];
        tally = finder.Tally(start, end);
        counted_ += tally;
        known_[static_cast<size_t>(nextBlock_)] = true;
        --uncounted_;
        read += end - start;
    }
    return Complete();
}

int DiffCounter::Percent() const
{
    if (known_.empty()) return 100;
    const auto count = static_cast<int64_t>(known_.size());
    return static_cast<int>((count - uncounted_) * 100 / count);
}

}  // namespace qv
