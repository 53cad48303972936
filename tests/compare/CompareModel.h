// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain model of a compare, written from what a compare means: position p puts
// left[X + p] beside right[Y + p]; a position that only one side has differs. And pairs of
// random files that differ in random runs, some of them across the finder's chunks.
#include <algorithm>
#include <random>
#include <vector>

#include "compare/DiffFinder.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;

struct Model {
    const Bytes& left;
    const Bytes& right;
    CompareAlignment alignment;

    int64_t Span() const
    {
        const int64_t l = std::max<int64_t>(static_cast<int64_t>(left.size()) - alignment.leftStart, 0);
        const int64_t r = std::max<int64_t>(static_cast<int64_t>(right.size()) - alignment.rightStart, 0);
        return alignment.limit < 0 ? std::max(l, r) : std::min(std::max(l, r), alignment.limit);
    }
    bool Differs(int64_t p) const
    {
        if (p < 0 || p >= Span()) return false;
        const auto l = static_cast<size_t>(alignment.leftStart + p), r = static_cast<size_t>(alignment.rightStart + p);
        return l >= left.size() || r >= right.size() || left[l] != right[r];
    }
    std::vector<DiffRun> Runs() const
    {
        std::vector<DiffRun> runs;
        for (int64_t p = 0; p < Span(); ++p) {
            if (!Differs(p)) continue;
            if (runs.empty() || runs.back().End() != p) runs.push_back({p, 0});
            ++runs.back().length;
        }
        return runs;
    }
};

// Random bytes, and a copy with some random runs changed, some of them planted across the
// finder's 1 MiB chunks and the scanner's 64-byte steps.
struct FilePair {
    Bytes left, right;
    FilePair(std::mt19937& random, size_t size, size_t rightSize)
    {
        left.resize(size);
        for (auto& b : left) b = static_cast<uint8_t>(random());
        right = left;
        right.resize(rightSize, 0x5A);
        const size_t common = std::min(size, rightSize);
        auto change = [&](size_t at, size_t length) {
            for (size_t i = at; i < std::min(at + length, common); ++i) right[i] ^= static_cast<uint8_t>(1 + random() % 255);
        };
        for (size_t border : {size_t{1} << 20, size_t{2} << 20, size_t{64}, size_t{128}})
            if (border < common) change(border - 1 - random() % 3, 1 + random() % 6);
        for (int k = 0; k < 40 && common > 0; ++k) change(random() % common, 1 + random() % (k % 5 == 0 ? 300 : 4));
    }
};

}  // namespace qv::test
