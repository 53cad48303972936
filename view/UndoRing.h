// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hex view's undo history: a ring of 256 steps. One slot always stays free, so at
// most 255 steps can be undone; a full ring forgets its oldest step. The ring also knows
// the position of the bytes last loaded or saved (the save point), so that the changed mark
// can say whether the bytes differ from the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

enum UndoKind : uint8_t {
    UndoOverwrite = 0,  // 3 after an undo (the two values of a toggled overwrite)
    UndoDeleted = 1,    // bytes were deleted
    UndoInserted = 2,   // bytes were inserted
};

struct UndoRecord {
    std::vector<uint8_t> data;  // multi-byte steps: the saved bytes
    int64_t offset = 0;
    int64_t count = 1;
    uint8_t byte = 0;           // single-byte steps: the saved byte
    uint8_t digitInfo = 0;      // 0 text area, 2 high-nibble edit, 3 low-nibble edit
    bool changesBytes = true;   // false when the step wrote the bytes that were there
    uint8_t kind = UndoOverwrite;
};

class UndoRing {
public:
    static constexpr int kSize = 256;

    bool CanUndo() const { return current_ != oldest_; }
    bool CanRedo() const { return current_ != end_; }
    // Drops every step and its saved data; the save point is lost with them.
    void Clear();
    // The slot the next step is written into; Commit makes it part of the history.
    UndoRecord& Pending() { return records_[current_]; }
    // Makes the pending record the newest step; forgets redoable steps and, when the
    // ring is full, the oldest one.
    void Commit();

    // The step an undo would take back, and the index it sits at.
    int UndoIndex() const { return (current_ + kSize - 1) % kSize; }
    int RedoIndex() const { return current_; }
    UndoRecord& At(int index) { return records_[static_cast<std::size_t>(index)]; }
    // Moves the current position after an undo or redo of the step at index.
    void StepBack() { current_ = UndoIndex(); }
    void StepForward() { current_ = (current_ + 1) % kSize; }

    // The current position holds the file's bytes (after loading or saving).
    void MarkSaved() { savePoint_ = current_; }
    // No position holds the file's bytes any more.
    void ForgetSavePoint() { savePoint_ = kNoSavePoint; }
    // Whether the bytes at the current position may differ from those at the save point:
    // true when the save point is gone or a step between the two changed bytes.
    bool DiffersFromSavePoint() const;

    // Number of steps that can be undone / redone.
    int UndoCount() const { return (current_ - oldest_ + kSize) % kSize; }
    int RedoCount() const { return (end_ - current_ + kSize) % kSize; }

private:
    static constexpr int kNoSavePoint = -1;
    // Steps from the oldest position to index.
    int Age(int index) const { return (index - oldest_ + kSize) % kSize; }

    std::array<UndoRecord, kSize> records_;
    int current_ = 0;
    int end_ = 0;
    int oldest_ = 0;
    int savePoint_ = kNoSavePoint;
};

}  // namespace qv
