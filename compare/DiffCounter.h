// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number of differing bytes and runs of a compare, counted a block at a time so that a
// huge compare is counted in small steps between the window's other work, and an edit
// recounts only the blocks it touched.
#include <cstdint>
#include <vector>

#include "compare/DiffFinder.h"

namespace qv {

class DiffCounter {
public:
    static constexpr int64_t kDefaultBlock = int64_t{1} << 20;
    explicit DiffCounter(int64_t blockSize = kDefaultBlock) : blockSize_(blockSize) {}

    // Forgets every count; the compare now has `span` positions.
    void Reset(int64_t span) { InvalidateFrom(0, span); }
    // The positions from `first` on moved (bytes were inserted or deleted): their blocks are
    // counted again, and the compare now has `span` positions.
    void InvalidateFrom(int64_t first, int64_t span);
    // The bytes of positions [first, last] changed: their blocks are counted again. A run
    // that starts right after `last` depends on it, so that block is too.
    void Invalidate(int64_t first, int64_t last);
    // Counts blocks not yet counted, in order, until about `budget` positions were read;
    // true when every block is counted.
    bool Step(const DiffFinder& finder, int64_t budget);

    bool Complete() const { return uncounted_ == 0; }
    // The counts of the blocks counted so far (all of them when Complete()).
    DiffTally Counted() const { return counted_; }
    // Share of the positions counted, 0..100.
    int Percent() const;

private:
    int64_t BlockOf(int64_t position) const { return position / blockSize_; }
    void Forget(int64_t block);

    int64_t blockSize_;
    int64_t span_ = 0;
    std::vector<DiffTally> blocks_;
    std::vector<bool> known_;
    int64_t uncounted_ = 0;
    int64_t nextBlock_ = 0;  // where Step looks first
    DiffTally counted_;
};

}  // namespace qv
