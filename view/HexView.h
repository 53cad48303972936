#pragma once
// CHexView: the hex view. This header holds its buffer side (the block handed over by the
// document, the changed mark and the insert-mode permission); the display, cursor and
// editing parts build on it and react to a new block through the notification hooks.
#include <cstdint>

#include "view/BufferFlags.h"
#include "view/DocumentView.h"
#include "view/ViewBuffer.h"

namespace qv {

class CHexView : public IDocumentView {
public:
    CHexView() = default;
    ~CHexView() override = default;

    // IDocumentView
    int32_t SetBuffer(uint8_t* data, int32_t length, uint32_t baseAddress, uint32_t flags) override;
    uint8_t* GetBuffer(int32_t* length, uint32_t* baseAddress) const override;
    void SetModified(bool modified) override;
    int IsModified() const override;
    uint32_t QueryHexFlags() const override;
    int InsertState() const override;
    int SetInsertAllowed(int mode, int allow) override;
    void RepaintNow() override { Repaint(); }

    bool IsReadOnly() const { return (hexFlags_ & FlagReadOnly) != 0; }
    bool InsertActive() const { return insertAllowed_ && insertModeOn_; }
    uint32_t HexFlags() const { return hexFlags_; }
    const ViewBuffer& Buffer() const { return buffer_; }

protected:
    // New-block notification, display: marks, row layout, top row, cursor and selection.
    virtual void OnNewBlockDisplay(bool /*keepScroll*/, bool /*keepCursor*/) {}
    // New-block notification, editing: caret shape and undo history.
    virtual void OnNewBlockEditing() {}
    // The insert state changed outside a new block: the caret shape follows.
    virtual void OnInsertStateChanged() {}
    virtual void Repaint() {}

    ViewBuffer buffer_;
    uint32_t hexFlags_ = FlagOwnsBuffer;
    bool insertAllowed_ = false;
    bool insertModeOn_ = false;
};

}  // namespace qv
