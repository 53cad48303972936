// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the document needs of its view: the block hand-over, the changed mark and the
// insert-mode permission. CHexView implements it; document tests use the real view.
// Lengths and offsets are 64-bit: a mapped file of any size is one block.
#include <cstdint>

namespace qv {

class IDocumentView {
public:
    virtual ~IDocumentView() = default;
    // Hands a block to the view; returns the length in force before the call.
    virtual int64_t SetBuffer(uint8_t* data, int64_t length, uint64_t baseAddress, uint32_t flags) = 0;
    // The view's current block; either out-argument may be null.
    virtual uint8_t* GetBuffer(int64_t* length, uint64_t* baseAddress) const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual int IsModified() const = 0;
    virtual uint32_t QueryHexFlags() const = 0;
    // -1 when insert mode cannot be used at all, else whether it is allowed (0 or 1).
    virtual int InsertState() const = 0;
    // Returns the new active state (allowed and switched on).
    virtual int SetInsertAllowed(int mode, int allow) = 0;
    virtual void RepaintNow() = 0;
};

}  // namespace qv
