// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Random access to the bytes of an IByteSource for a module run: the run reads a few bytes
// at a time, here and there, so the reader keeps one window of the source and fetches
// another only when a read leaves it. A contiguous source hands out its own memory, so a
// window costs nothing but the call; any other source copies at most kWindow bytes.
#include <cstdint>
#include <span>
#include <vector>

#include "view/ByteSource.h"

namespace qv {

class SourceReader {
public:
    static constexpr int64_t kWindow = 64 * 1024;

    explicit SourceReader(const IByteSource& source) : source_(source), size_(source.Size()) {}

    int64_t Size() const { return size_; }

    // count bytes from at, which the caller has checked to lie inside the source. The
    // pointer stays valid until the next call.
    const uint8_t* At(int64_t at, int64_t count)
    {
        if (at < windowStart_ || at + count > windowStart_ + static_cast<int64_t>(window_.size())) Fetch(at, count);
        return window_.data() + (at - windowStart_);
    }
    uint8_t Byte(int64_t at) { return *At(at, 1); }

private:
    void Fetch(int64_t at, int64_t count);

    const IByteSource& source_;
    int64_t size_;
    std::vector<uint8_t> scratch_;
    std::span<const uint8_t> window_;
    int64_t windowStart_ = 0;
};

}  // namespace qv
