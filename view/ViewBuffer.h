// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The block a hex view shows and edits: pointer, length, base address, ownership,
// spare room after a grown block, and the blocks it replaced while inserting (kept
// alive until the view goes, because the document may still point into the first).
// Readers see the bytes through Bytes() alone; only the view's edits use Data().
#include <cstdint>
#include <memory>
#include <vector>

#include "view/ByteSource.h"

namespace qv {

class ViewBuffer {
public:
    ViewBuffer();
    ~ViewBuffer();
    ViewBuffer(const ViewBuffer&) = delete;
    ViewBuffer& operator=(const ViewBuffer&) = delete;

    uint8_t* Data() const { return data_; }
    int64_t Length() const { return length_; }
    uint64_t BaseAddress() const { return baseAddress_; }
    bool Owned() const { return owned_; }
    int64_t SpareCapacity() const { return spareCapacity_; }
    // The bytes as every reader sees them; follows each change of block or length.
    const IByteSource& Bytes() const { return source_; }

    // Takes a new block; releases the old one when it was owned and releaseOld is true.
    void Replace(uint8_t* data, int64_t length, uint64_t baseAddress, bool owned, bool releaseOld);

    // Blocks that a view allocates itself and may later release (the document's blocks
    // come from the same allocator, so ownership can pass in both directions).
    static uint8_t* Allocate(size_t bytes);
    static void Release(uint8_t* block);

    // Editing: grows the block to hold at least newLength bytes. An owned block that is too
    // small is replaced by a larger copy; the old one is kept among the replaced blocks.
    // Returns false when the memory cannot be had.
    bool EnsureCapacity(int64_t newLength);
    // Sets the length after an insert or delete (the bytes were moved by the caller).
    void SetLength(int64_t length);

private:
    uint8_t* data_ = nullptr;
    int64_t length_ = 0;
    uint64_t baseAddress_ = 0;
    bool owned_ = false;
    int64_t spareCapacity_ = 0;
    std::vector<uint8_t*> replacedBlocks_;
    BlockByteSource source_;
};

}  // namespace qv
