// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ViewBuffer.h"

#include <cstdlib>
#include <cstring>

namespace qv {

ViewBuffer::ViewBuffer()
{
    // A new view owns an empty one-byte block.
    data_ = Allocate(1);
    owned_ = true;
    source_.Reset(data_, 0);
}

ViewBuffer::~ViewBuffer()
{
    for (uint8_t* block : replacedBlocks_) Release(block);
    if (owned_) Release(data_);
}

uint8_t* ViewBuffer::Allocate(size_t bytes)
{
    return static_cast<uint8_t*>(std::calloc(bytes ? bytes : 1, 1));
}

void ViewBuffer::Release(uint8_t* block)
{
    std::free(block);
}

void ViewBuffer::Replace(uint8_t* data, int64_t length, uint64_t baseAddress, bool owned, bool releaseOld)
{
    if (owned_ && releaseOld && data_ != data) Release(data_);
    data_ = data;
    length_ = length < 0 ? 0 : length;
    baseAddress_ = baseAddress;
    owned_ = owned;
    spareCapacity_ = 0;
    source_.Reset(data_, length_);
}

bool ViewBuffer::EnsureCapacity(int64_t newLength)
{
    if (newLength <= length_ + spareCapacity_) return true;
    if (!owned_) return false;
    // Grow with room to spare so that typing in insert mode does not copy on every byte.
    const int64_t capacity = newLength + 0x1000;
    uint8_t* grown = Allocate(static_cast<size_t>(capacity));
    if (!grown) return false;
    if (length_ > 0) std::memcpy(grown, data_, static_cast<size_t>(length_));
    replacedBlocks_.push_back(data_);
    data_ = grown;
    spareCapacity_ = capacity - length_;
    source_.Reset(data_, length_);
    return true;
}

void ViewBuffer::SetLength(int64_t length)
{
    spareCapacity_ += length_ - length;
    length_ = length;
    source_.Reset(data_, length_);
}

}  // namespace qv
