// SPDX-License-Identifier: GPL-3.0-or-later
// The buffer side of CHexView: taking a block from the document and reporting it back.
#include "view/HexView.h"

namespace qv {

int64_t CHexView::SetBuffer(uint8_t* data, int64_t length, uint64_t baseAddress, uint32_t flags)
{
    const int64_t previousLength = buffer_.Length();
    // There is no portable probe for readable memory: the view trusts the given length,
    // except that a missing block or a negative length shows nothing.
    if (data == nullptr || length < 0) length = 0;

    const bool wasOwned = (hexFlags_ & FlagOwnsBuffer) != 0;
    buffer_.Replace(data, length, baseAddress, (flags & ViewOwnsBuffer) != 0,
                    wasOwned && (flags & KeepOldBuffer) == 0);

    hexFlags_ &= ~(FlagOwnsBuffer | FlagReadOnly);
    if (flags & ViewOwnsBuffer) hexFlags_ |= FlagOwnsBuffer;
    if (!(flags & ViewWritable)) hexFlags_ |= FlagReadOnly;

    OnNewBlockDisplay((flags & KeepScroll) != 0, (flags & KeepCursor) != 0);
    if (!(flags & NoRepaint)) Repaint();

    const uint32_t needed = ViewWritable | ViewOwnsBuffer | InsertAllowed;
    insertAllowed_ = (flags & needed) == needed && buffer_.Length() <= kInsertLimit;
    if (flags & InsertOn) insertModeOn_ = true;
    if (flags & InsertOff) insertModeOn_ = false;

    OnNewBlockEditing();
    // Whoever kept a pointer into the old block learns that it is gone, even when the new
    // block happens to lie at the same address.
    Notify(NotifyBufferReplaced, buffer_.Length(), 0, 0);
    return previousLength;
}

uint8_t* CHexView::GetBuffer(int64_t* length, uint64_t* baseAddress) const
{
    if (length) *length = buffer_.Length();
    if (baseAddress) *baseAddress = buffer_.BaseAddress();
    return buffer_.Data();
}

// The document clears the mark once the bytes are the file's (loaded or saved), and sets it
// when they are not (a new document, a partial save): the undo ring's save point follows.
void CHexView::SetModified(bool modified)
{
    if (modified) {
        hexFlags_ |= FlagModified;
        undo_.ForgetSavePoint();
    } else {
        hexFlags_ &= ~FlagModified;
        undo_.MarkSaved();
    }
}

int CHexView::IsModified() const
{
    return (hexFlags_ & FlagModified) ? 1 : 0;
}

uint32_t CHexView::QueryHexFlags() const
{
    return hexFlags_ & 0x807F;
}

int CHexView::InsertState() const
{
    if (IsReadOnly() || !(hexFlags_ & FlagOwnsBuffer) || buffer_.Length() > kInsertLimit) return -1;
    return insertAllowed_ ? 1 : 0;
}

int CHexView::SetInsertAllowed(int mode, int allow)
{
    const bool wasActive = InsertActive();
    if (allow > 0)
        insertAllowed_ = !IsReadOnly() && (hexFlags_ & FlagOwnsBuffer) && buffer_.Length() <= kInsertLimit;
    else if (allow == 0)
        insertAllowed_ = false;
    if (mode >= 0) insertModeOn_ = true;
    if (InsertActive() != wasActive) OnInsertStateChanged();
    return InsertActive() ? 1 : 0;
}

}  // namespace qv
