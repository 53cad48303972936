// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An observer of every change of the bytes a hex view holds: typing, inserting, deleting,
// pasting, number entry, undo and redo. It hears of each change just before the bytes
// change, so that the bytes about to go can still be read in the view's block.
#include <cstdint>

namespace qv {

struct ByteEdit {
    int64_t offset = 0;                // in the view's block
    int64_t removedCount = 0;          // bytes at offset that are replaced (still in the block)
    const uint8_t* inserted = nullptr; // the bytes taking their place; null: zero bytes
    int64_t insertedCount = 0;
};

class IByteEditListener {
public:
    virtual ~IByteEditListener() = default;
    virtual void OnBytesChanging(const ByteEdit& edit) = 0;
};

}  // namespace qv
