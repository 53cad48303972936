// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A byte source of any size that holds zeros except for a few planted runs of bytes, and
// takes no memory for them: each window is made in the caller's scratch, as a store that is
// not one block would make it. It counts the windows it hands out and can play a user who
// cancels long work once a given number of windows was read.
#include <algorithm>
#include <map>
#include <vector>

#include "platform/LongTask.h"
#include "view/ByteSource.h"

namespace qv::test {

class SparseByteSource : public IByteSource {
public:
    explicit SparseByteSource(int64_t size) : size_(size) {}

    void Plant(int64_t offset, std::vector<uint8_t> bytes) { planted_[offset] = std::move(bytes); }

    int64_t Size() const override { return size_; }
    std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>& scratch) const override
    {
        if (offset < 0 || offset >= size_ || length <= 0) return {};
        length = std::min(length, size_ - offset);
        scratch.assign(static_cast<size_t>(length), 0);
        for (const auto& [at, bytes] : planted_)
            for (size_t i = 0; i < bytes.size(); ++i)
                if (at + static_cast<int64_t>(i) >= offset && at + static_cast<int64_t>(i) < offset + length)
                    scratch[static_cast<size_t>(at + static_cast<int64_t>(i) - offset)] = bytes[i];
        if (++windows == cancelAfterWindows && cancel) cancel->Cancel();
        return {scratch.data(), scratch.size()};
    }

    mutable int windows = 0;
    // Cancels this progress when the window of this number (counted from 1) is handed out.
    TaskProgress* cancel = nullptr;
    int cancelAfterWindows = 0;

private:
    int64_t size_;
    std::map<int64_t, std::vector<uint8_t>> planted_;
};

}  // namespace qv::test
