// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: typing in the hex and text areas, inserting and deleting bytes, and the undo ring.
#include <algorithm>
#include <cstring>
#include <optional>

#include "view/HexView.h"

namespace qv {

namespace {

constexpr uint32_t kKeepSelection = 0x20;
constexpr uint32_t kNoNotify = 0x40;

int HexDigitValue(uint32_t character)
{
    if (character >= '0' && character <= '9') return static_cast<int>(character - '0');
    if (character >= 'a' && character <= 'f') return static_cast<int>(character - 'a' + 10);
    if (character >= 'A' && character <= 'F') return static_cast<int>(character - 'A' + 10);
    return -1;
}

}  // namespace

bool CHexView::InsertBytes(int64_t offset, int64_t n)
{
    const int64_t length = buffer_.Length();
    if (IsReadOnly() || offset < 0 || offset > length || n <= 0) return false;
    if (offset > kInsertLimit || n > kInsertLimit - offset) return false;
    if (!buffer_.EnsureCapacity(length + n)) return false;
    BytesChanging(offset, 0, nullptr, n);
    uint8_t* data = buffer_.Data();
    std::memmove(data + offset + n, data + offset, static_cast<size_t>(length - offset));
    std::memset(data + offset, 0, static_cast<size_t>(n));
    buffer_.SetLength(length + n);
    RefreshLineCount();
    hexFlags_ |= FlagModified;
    InvalidateFrom(RowOfOffset(offset));
    return true;
}

bool CHexView::DeleteBytes(int64_t offset, int64_t n)
{
    const int64_t length = buffer_.Length();
    if (IsReadOnly() || offset < 0 || offset >= length || n <= 0) return false;
    n = std::min(n, length - offset);
    BytesChanging(offset, n, nullptr, 0);
    uint8_t* data = buffer_.Data();
    std::memmove(data + offset, data + offset + n, static_cast<size_t>(length - offset - n));
    buffer_.SetLength(length - n);
    RefreshLineCount();
    hexFlags_ |= FlagModified;
    InvalidateFrom(RowOfOffset(offset));
    return true;
}

int64_t CHexView::RecordOverwrite(int64_t position, int64_t count, bool isAddress)
{
    if (IsReadOnly()) return 0;
    int64_t start = isAddress ? static_cast<int64_t>(static_cast<uint64_t>(position) - buffer_.BaseAddress()) : position;
    int64_t n = count;
    const int64_t length = buffer_.Length();
    if (start >= length) return 0;
    if (start < 0) {
        n += start;
        start = 0;
    }
    n = std::min(n, length - start);
    if (n <= 0) return 0;

    UndoRecord record;
    record.offset = start;
    record.count = n;
    const uint8_t* data = buffer_.Data() + start;
    if (n == 1)
        record.byte = *data;
    else
        record.data.assign(data, data + n);
    CommitUndo(std::move(record));
    return n;
}

void CHexView::BytesChanging(int64_t offset, int64_t removed, const uint8_t* bytes, int64_t count)
{
    if (editListener_) editListener_->OnBytesChanging({offset, removed, bytes, count});
}

void CHexView::CommitUndo(UndoRecord record)
{
    if (IsReadOnly()) return;
    const int64_t offset = record.offset;
    const int64_t count = record.count;
    const bool moved = record.kind != UndoOverwrite;
    undo_.Pending() = std::move(record);
    undo_.Commit();
    Notify(NotifyBytesEdited, offset, count, moved ? 1 : 0);
}

bool CHexView::ExchangeUndoBytes(UndoRecord& record)
{
    const int64_t q = record.offset;
    const int64_t n = record.count;
    if (q < 0 || n <= 0) return false;
    if (record.kind == UndoDeleted) {
        // Taking back a deletion puts the bytes back in; when that is impossible (the
        // block would grow past the insert limit) the step changes nothing and stays.
        if (!InsertBytes(q, n)) return false;
    } else if (n > buffer_.Length() - q) {
        return false;
    }
    uint8_t* data = buffer_.Data() + q;
    if (record.kind == UndoInserted) {
        // The inserted bytes go into the record for a redo and leave the block: one change,
        // a deletion, for the edit listener.
        if (!record.data.empty())
            std::copy(data, data + n, record.data.begin());
        else
            record.byte = *data;
        DeleteBytes(q, n);
        return true;
    }
    BytesChanging(q, n, record.data.empty() ? &record.byte : record.data.data(), n);
    if (!record.data.empty())
        std::swap_ranges(data, data + n, record.data.begin());
    else
        std::swap(*data, record.byte);
    return true;
}

bool CHexView::UndoRedo(int direction)
{
    if (IsReadOnly() || direction == 0) return false;
    if (direction < 0 ? !undo_.CanUndo() : !undo_.CanRedo()) return false;
    const int index = direction < 0 ? undo_.UndoIndex() : undo_.RedoIndex();
    UndoRecord& record = undo_.At(index);
    const int64_t lengthBefore = buffer_.Length();
    const int digitBefore = record.digitInfo;
    if (!ExchangeUndoBytes(record)) {
        Beep();
        return false;
    }
    record.kind ^= 3;
    record.digitInfo ^= 1;

    // The changed mark says whether the bytes differ from the file: clear only when the
    // steps between here and the save point changed no byte.
    if (direction > 0)
        undo_.StepForward();
    else
        undo_.StepBack();
    if (undo_.DiffersFromSavePoint())
        hexFlags_ |= FlagModified;
    else
        hexFlags_ &= ~FlagModified;
    const int64_t last = buffer_.Length() != lengthBefore ? -1 : record.offset + record.count - 1;
    if (last < 0)
        InvalidateAll();
    else
        InvalidateOffsets(record.offset, last);
    Notify(NotifyBytesEdited, record.offset, record.count, last < 0 ? 1 : 0);

    SetCursorOffset(static_cast<uint64_t>(record.offset), false);
    int digit = digitBefore;
    if (direction > 0 && (digit & 2)) digit = (digit ^ 1) + 1;
    if (digit > 2 && layout_.activeArea == AreaHex) SetCursorPos(digit - 2, 0, CursorRelative | kKeepSelection | kNoNotify);
    UpdateScroll(0);
    Redraw();
    return true;
}

// Makes room for a typed byte at the cursor (inserting one in insert mode) and starts its
// undo record; beeps and gives nothing when the byte cannot be typed.
std::optional<UndoRecord> CHexView::BeginTypedByte(bool insert)
{
    const int64_t offset = cursorOffset_;
    UndoRecord record;
    if (insert) {
        if (!InsertBytes(offset, 1)) {
            Beep();
            return std::nullopt;
        }
        record.kind = UndoInserted;
    } else if (offset < 0 || offset >= buffer_.Length()) {
        Beep();
        return std::nullopt;
    }
    record.offset = offset;
    record.byte = buffer_.Data()[offset];
    return record;
}

void CHexView::TypeText(uint8_t character)
{
    if (IsReadOnly() || layout_.textWidth == 0) return;
    std::optional<UndoRecord> record = BeginTypedByte(InsertActive());
    if (!record) return;
    uint8_t& byte = buffer_.Data()[record->offset];
    if (record->kind == UndoOverwrite) record->changesBytes = byte != character;
    if (byte != character) {
        BytesChanging(record->offset, 1, &character, 1);
        hexFlags_ |= FlagModified;
    }
    byte = character;
    InvalidateLine(cursorLine_);
    SetCursorPos(1, 0, CursorRelative);
    CommitUndo(std::move(*record));
}

void CHexView::TypeHex(uint8_t character)
{
    if (IsReadOnly() || layout_.hexWidth == 0) return;
    const int value = HexDigitValue(character);
    if (value < 0) return Beep();
    // The digit the caret shows decides the nibble, also on the last byte where a limited
    // move leaves the caret on the second digit.
    const bool second = OnSecondDigit();
    std::optional<UndoRecord> record = BeginTypedByte(InsertActive() && !second);
    if (!record) return;
    record->digitInfo = second ? 3 : 2;
    uint8_t& byte = buffer_.Data()[record->offset];
    const uint8_t edited = second ? static_cast<uint8_t>((byte & 0xF0) | value)
                                  : static_cast<uint8_t>((value << 4) | (byte & 0x0F));
    if (record->kind == UndoOverwrite) record->changesBytes = edited != byte;
    if (edited != byte) {
        BytesChanging(record->offset, 1, &edited, 1);
        hexFlags_ |= FlagModified;
    }
    byte = edited;
    InvalidateLine(cursorLine_);
    SetCursorPos(1, 0, CursorRelative | (HasSelection() ? 0 : kKeepSelection));
    CommitUndo(std::move(*record));
}

void CHexView::Backspace()
{
    const int area = layout_.activeArea;
    if (area == AreaAddress || !InsertActive()) {
        SetCursorPos(-1, 0, CursorRelative);
        return;
    }
    const int64_t length = buffer_.Length();
    UndoRecord record;
    record.kind = UndoDeleted;
    int64_t start = 0;
    int64_t count = 1;
    if (HasSelection()) {
        const HighlightMark& s = marks_[0];
        start = std::min(s.first, s.last);
        count = std::abs(s.last - s.first) + 1;
    } else {
        const bool second = OnSecondDigit();
        start = (area == AreaText || !second) ? cursorOffset_ - 1 : cursorOffset_;
        record.digitInfo = area == AreaText ? 0 : static_cast<uint8_t>(2 + (second ? 1 : 0));
    }
    if (start < 0 || start >= length) return Beep();
    count = std::min<int64_t>(count, length - start);
    const uint8_t* data = buffer_.Data() + start;
    if (HasSelection())
        record.data.assign(data, data + count);
    else
        record.byte = *data;
    if (!DeleteBytes(start, count)) return Beep();

    record.offset = start;
    record.count = count;
    int32_t column = 0;
    int64_t line = 0;
    PositionOfOffset(record.offset, column, line);
    SetCursorPos(column, line, 0);
    CommitUndo(std::move(record));
}

int CHexView::OnCharKey(uint32_t character, uint32_t flags)
{
    if (character == KeyTab) {
        if (flags & KeyFlagCtrl) return CAnsiView::OnCharKey(character, flags);
        SwitchArea((flags & KeyFlagShift) != 0);
        return 1;
    }
    if (character == KeyBack) {
        if (flags & KeyFlagAlt)
            UndoRedo(-1);
        else
            Backspace();
        return 1;
    }
    if (character < 0x20 || character > 0xFF) {
        // Ctrl with a letter arrives as a control character after its command ran.
        if (!(flags & KeyFlagCtrl)) Beep();
        return 1;
    }
    switch (layout_.activeArea) {
    case AreaText: TypeText(static_cast<uint8_t>(character)); break;
    case AreaHex: TypeHex(static_cast<uint8_t>(character)); break;
    default: Beep(); break;
    }
    return 1;
}

int CHexView::OnKeyDown(int key, uint32_t flags)
{
    const bool ctrl = (flags & KeyFlagCtrl) != 0;
    const bool shift = (flags & KeyFlagShift) != 0;
    if (ctrl && !shift) {
        int command = 0;
        if (key == 'C' || key == KeyInsert) command = CmdCopy;
        if (key == 'V') command = CmdPaste;
        if (key == 'F') command = CmdFind;
        if (key == 'Y') command = CmdCalculator;
        if (command != 0) {
            // Paste is disabled for a read-only view; its key still answers with the beep.
            if (!RunCommand(command) && command == CmdPaste && IsReadOnly()) Beep();
            return 1;
        }
    }
    if (key == KeyInsert && shift && !ctrl) {
        if (!RunCommand(CmdPaste) && IsReadOnly()) Beep();
        return 1;
    }
    if (key == KeyDelete && !ctrl && !shift) {
        const int area = layout_.activeArea;
        if (!HasSelection() && (area == AreaText || (area == AreaHex && !OnSecondDigit())))
            SetCursorPos(1, 0, CursorRelative);
        OnCharKey(KeyBack, 0);
        UpdateScroll(0);
        return 1;
    }
    if (key == KeyInsert && !ctrl && !shift) {
        const bool wasActive = InsertActive();
        insertModeOn_ = !insertModeOn_;
        ApplyCaretShape();
        if (wasActive && !InsertActive() && cursorOffset_ >= buffer_.Length()) SetCursorPos(0, 0, CursorRelative);
        UpdateScroll(0);
        return 1;
    }
    return 0;
}

}  // namespace qv
