// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes a hex view shows, as a byte source that follows the view: inserting bytes may
// give the view a new block, so the block is looked up on every read.
#include "view/ByteSource.h"
#include "view/HexView.h"

namespace qv {

class ViewByteSource final : public IByteSource {
public:
    explicit ViewByteSource(const CHexView& view) : view_(view) {}
    int64_t Size() const override { return view_.Buffer().Data() ? view_.Length() : 0; }
    std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>& scratch) const override
    {
        return BlockByteSource(view_.Buffer().Data(), Size()).Window(offset, length, scratch);
    }

private:
    const CHexView& view_;
};

}  // namespace qv
