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

void ViewBuffer::Replace(uint8_t* data, int32_t length, uint32_t baseAddress, bool owned, bool releaseOld)
{
    if (owned_ && releaseOld && data_ != data) Release(data_);
    data_ = data;
    length_ = length < 0 ? 0 : length;
    baseAddress_ = baseAddress;
    owned_ = owned;
    spareCapacity_ = 0;
}

bool ViewBuffer::EnsureCapacity(int32_t newLength)
{
    if (newLength <= length_ + spareCapacity_) return true;
    if (!owned_) return false;
    // Grow with room to spare so that typing in insert mode does not copy on every byte.
    const int64_t capacity = static_cast<int64_t>(newLength) + 0x1000;
    uint8_t* grown = Allocate(static_cast<size_t>(capacity));
    if (!grown) return false;
    if (length_ > 0) std::memcpy(grown, data_, static_cast<size_t>(length_));
    replacedBlocks_.push_back(data_);
    data_ = grown;
    spareCapacity_ = static_cast<int32_t>(capacity - length_);
    return true;
}

void ViewBuffer::SetLength(int32_t length)
{
    spareCapacity_ += length_ - length;
    length_ = length;
}

}  // namespace qv
