// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: the cursor on a byte (and digit), the selection that follows it, and the
// programmatic positioning operations used by other parts of the program.
#include <algorithm>

#include "view/HexView.h"

namespace qv {

namespace {

constexpr uint32_t kKeepSelection = 0x20;
constexpr uint32_t kNoNotify = 0x40;

}  // namespace

bool CHexView::OnSecondDigit() const
{
    if (layout_.activeArea != AreaHex) return false;
    return cursorColumn_ > layout_.ColumnOfIndex(layout_.IndexOfColumn(cursorColumn_, AreaHex), AreaHex);
}

void CHexView::PositionOfOffset(int64_t offset, int32_t& column, int64_t& line) const
{
    const int64_t b = layout_.bytesPerRow;
    const int64_t p = offset + layout_.Phase();
    line = p / b;
    column = layout_.ColumnOfIndex(static_cast<int32_t>(p % b));
}

uint64_t CHexView::OffsetAtPosition(int32_t column, int64_t line) const
{
    int64_t offset = line * layout_.bytesPerRow - layout_.Phase();
    if (column >= layout_.hexStart && column < layout_.textStart)
        offset += layout_.IndexOfColumn(column, AreaHex);
    else if (column >= layout_.textStart && layout_.textWidth > 0)
        offset += layout_.IndexOfColumn(column, AreaText);
    return buffer_.BaseAddress() + static_cast<uint64_t>(offset);
}

int CHexView::AreaOfColumn(int32_t column) const
{
    const bool hexShown = layout_.hexWidth > 0;
    const bool textShown = layout_.textWidth > 0;
    if (column < layout_.addressWidth - 2) return AreaAddress;
    if (column >= layout_.textStart && textShown) return AreaText;
    if (hexShown) return AreaHex;
    return textShown ? AreaText : AreaAddress;
}

void CHexView::SetCursorPos(int32_t column, int64_t line, uint32_t flags)
{
    const int32_t b = layout_.bytesPerRow;
    const int32_t phase = layout_.Phase();
    const int64_t length = buffer_.Length();
    const int32_t oldColumn = cursorColumn_;
    const int64_t oldLine = cursorLine_;
    const HighlightMark oldSelection = marks_[0];
    const bool hadSelection = marks_[0].active;
    int area = layout_.activeArea;
    const bool relative = (flags & CursorRelative) != 0;

    // d: the column delta of a relative move, the column itself for an absolute one.
    int32_t requested = column;
    int32_t d = column;
    if (relative) {
        const int64_t dy = line;
        if (hadSelection && area == AreaHex && !(flags & kKeepSelection) && (d == 1 || d == -1)) d *= 2;
        column = cursorColumn_ + d;
        line = cursorLine_ + dy;
        // A plain move towards the anchor of a selection lands on the anchor.
        if (hadSelection && !(flags & (CursorExtend | CursorFromMouse | kKeepSelection))) {
            const bool back = (requested == -1 && dy <= 0) || (dy == -1 && requested <= 0);
            const bool forward = (requested == 1 && dy >= 0) || (dy == 1 && requested >= 0);
            const int64_t anchor = marks_[0].first;
            if ((back && anchor < cursorOffset_) || (forward && anchor > cursorOffset_)) {
                PositionOfOffset(anchor, column, line);
                d = requested = 0;
            }
        }
    }

    if (flags & CursorFromMouse) {
        if (flags & CursorDragOrigin) {
            dragColumn_ = column;
            dragLine_ = line;
        } else if ((flags & CursorExtend) && column == dragColumn_ && line == dragLine_) {
            flags &= ~CursorExtend;  // a click without movement selects nothing
        }
        column = std::max(column, 0);
        area = AreaOfColumn(column);
    }

    if (area == AreaAddress) {
        column = std::max(column, 0);
        if (column >= layout_.addressWidth - 2) {
            area = layout_.hexWidth > 0 ? AreaHex : (layout_.textWidth > 0 ? AreaText : AreaAddress);
            column = area == AreaHex ? layout_.hexStart : layout_.textStart;
            d = requested = 0;
        }
    }
    layout_.activeArea = area;

    int digitFirst = 0;
    if (area == AreaHex) {
        const int32_t mask = layout_.invertMask;
        if (relative && requested < -1) column = std::max(column, layout_.hexStart);
        if (relative && requested > 1 && column >= layout_.textStart)
            column = layout_.ColumnOfIndex((b - 1) ^ mask, AreaHex) + 1;
        const int32_t index = layout_.IndexOfColumn(column, AreaHex);
        const int32_t h = layout_.ColumnOfIndex(index, AreaHex);
        bool second = column > h;
        int32_t position = index ^ mask;  // display position within the row
        if (!(flags & CursorFromMouse)) {
            if (d > 0 && column > h + 1) {
                second = false;
                if (++position >= b) {
                    position = 0;
                    ++line;
                }
            } else if (d < 0 && column < h) {
                position = b - 1;
                second = true;
                --line;
            }
        } else if (column > h + 2) {
            if (position == b - 1)
                second = true;
            else {
                ++position;
                second = false;
            }
        }
        if (hadSelection && !(flags & kKeepSelection)) second = false;
        column = layout_.ColumnOfIndex(position ^ mask, AreaHex) + (second ? 1 : 0);
        digitFirst = second ? 0 : 1;
    } else if (area == AreaText) {
        if (relative && !(flags & CursorFromMouse)) {
            if (requested < -1) column = std::max(column, layout_.textStart);
            if (requested > 1) column = std::min(column, layout_.lineLength - 1);
            if (column >= layout_.lineLength) {
                column = layout_.textStart;
                ++line;
            } else if (column < layout_.textStart) {
                column = layout_.lineLength - 1;
                --line;
            }
        }
        column = std::clamp(column, layout_.textStart, std::max(layout_.textStart, layout_.lineLength - 1));
    } else {
        digitFirst = layout_.addressWidth - column - 3;
    }

    int64_t offset = area == AreaAddress ? b * line
                                         : line * b - phase +
                                               (area == AreaHex ? layout_.IndexOfColumn(column, AreaHex)
                                                                : layout_.IndexOfColumn(column, AreaText));
    if (offset >= length) {
        if (InsertActive() && !(flags & CursorExtend)) {
            // The position after the last byte, where typing appends.
            offset = length;
            const int64_t p = phase + length;
            if (area != AreaAddress) column = layout_.ColumnOfIndex(static_cast<int32_t>(p % b));
            line = p / b;
            if (area == AreaHex) digitFirst = 1;
            if (topLine_ >= LineCount()) topLine_ = std::max<int64_t>(LineCount() - 1, 0);
        } else {
            const int64_t p = phase + length - 1;
            if (area != AreaAddress)
                column = layout_.ColumnOfIndex(static_cast<int32_t>(((p % b) + b) % b)) + (area == AreaHex ? 1 : 0);
            line = std::max<int64_t>(p, 0) / b;
            offset = length - 1;
            if (area == AreaHex) digitFirst = 1;
        }
    }
    if (offset < 0) {
        if (area != AreaAddress) column = layout_.ColumnOfIndex(phase);
        line = 0;
        offset = 0;
        digitFirst = area == AreaHex ? 1 : 0;
    }

    HighlightMark& selection = marks_[0];
    if ((flags & CursorExtend) && length > 0) {
        if (!selection.active) {
            selection.active = true;
            statusbarMode_ |= StatusDirty;
            const auto anchor = static_cast<int64_t>(OffsetAtPosition(oldColumn, oldLine) - buffer_.BaseAddress());
            selection.first = std::clamp<int64_t>(anchor, 0, length - 1);
        }
        const auto end = static_cast<int64_t>(OffsetAtPosition(column, line) - buffer_.BaseAddress());
        selection.last = std::clamp<int64_t>(end, 0, length - 1);
        InvalidateLines(std::min(oldLine, line), std::abs(line - oldLine) + 1);
    } else if (!(flags & (CursorExtend | kKeepSelection))) {
        if (selection.active) {
            InvalidateOffsets(selection.first, selection.last);
            statusbarMode_ |= StatusDirty;
        }
        selection = HighlightMark{};
    }
    if (selection.active && layout_.outputFormat != 0 && selectionRaster_) WidenSelectionToElements();

    if (!(flags & kNoNotify) && (selection.active != oldSelection.active || selection.first != oldSelection.first ||
                                 selection.last != oldSelection.last)) {
        if (selection.active)
            Notify(NotifyCursorMoved, std::min(selection.first, selection.last),
                   std::max(selection.first, selection.last), 1);
        else
            Notify(NotifyCursorMoved, 0, 0, 0);
    }

    cursorColumn_ = column;
    cursorLine_ = line;
    const bool movedToOtherByte = cursorOffset_ != offset;
    cursorOffset_ = offset;
    firstDigit_ = digitFirst;
    UpdateStatus();
    if (movedToOtherByte) Notify(NotifyCursorOffsetChanged, cursorOffset_, 0, 0);
}

void CHexView::WidenSelectionToElements()
{
    const int64_t m = layout_.ElementSize();
    HighlightMark& s = marks_[0];
    int64_t& low = s.first <= s.last ? s.first : s.last;
    int64_t& high = s.first <= s.last ? s.last : s.first;
    low = low / m * m;
    high = high / m * m + m - 1;
    // The last element may be cut by the block end.
    high = std::min(high, std::max(buffer_.Length() - 1, low));
}

int64_t CHexView::OffsetOf(uint64_t value, bool isAddress) const
{
    if (!isAddress) return static_cast<int64_t>(value);
    // Addresses far from the block saturate rather than wrap around.
    const uint64_t base = buffer_.BaseAddress();
    if (value >= base) return static_cast<int64_t>(std::min<uint64_t>(value - base, INT64_MAX));
    return -static_cast<int64_t>(std::min<uint64_t>(base - value, INT64_MAX));
}

bool CHexView::SetCursorOffset(uint64_t value, bool isAddress)
{
    const int64_t length = buffer_.Length();
    const int64_t v = OffsetOf(value, isAddress);
    const bool inside = v >= 0 && v < length;
    const int64_t offset = std::clamp<int64_t>(v, 0, std::max<int64_t>(length - 1, 0));
    if (layout_.activeArea == AreaAddress)
        layout_.activeArea = layout_.hexWidth > 0 ? AreaHex : (layout_.textWidth > 0 ? AreaText : AreaAddress);
    int32_t column = 0;
    int64_t line = 0;
    PositionOfOffset(offset, column, line);
    SetCursorPos(column, line, kNoNotify);
    UpdateScroll(UpdateNoScrollNotify);
    Redraw();
    return inside;
}

bool CHexView::SelectTo(uint64_t value, bool isAddress)
{
    const int64_t length = buffer_.Length();
    int64_t v = OffsetOf(value, isAddress);
    const bool inside = v >= 0 && v <= length;
    if (v > length) v = length - 1;
    if (v < 0) v = 0;
    const int64_t c = cursorOffset_;
    HighlightMark& selection = marks_[0];
    const HighlightMark old = selection;
    if (old.active) InvalidateOffsets(old.first, old.last);
    if (c < v) {
        selection = {true, c, v - 1};
    } else {
        // The cursor stays the anchor, so a selection made this way counts as made backwards.
        selection = {v != c, c, v + 1};
        if (!selection.active) selection = HighlightMark{};
    }
    if (selection.active) InvalidateOffsets(selection.first, selection.last);
    if (selection.active != old.active || selection.first != old.first || selection.last != old.last) {
        statusbarMode_ |= StatusDirty;
        if (selection.active)
            Notify(NotifyCursorMoved, std::min(selection.first, selection.last),
                   std::max(selection.first, selection.last), 1);
        else
            Notify(NotifyCursorMoved, 0, 0, 0);
    }
    UpdateStatus();
    Redraw();
    return inside;
}

uint64_t CHexView::ScrollToOffset(uint64_t value, bool isAddress)
{
    // Addresses are worked with as offsets from the base, so that no sum wraps.
    const int64_t b = layout_.bytesPerRow;
    const int64_t length = buffer_.Length();
    const uint64_t previousTop = TopOffset(true);

    int64_t a = OffsetOf(value, isAddress);
    if (length == 0) {
        a = 0;
    } else {
        a = std::min(a, length - 1);
        a = std::max(a, -b + 1);
    }
    const bool raster = (hexFlags_ & FlagRaster) != 0;
    const int64_t r = std::max(layout_.effectiveRaster, 1);
    if (raster) {
        // Keep the top address on the raster counted from the current top row: the
        // address less the row count times the row width is rounded down to the raster.
        const int64_t difference = static_cast<int64_t>(buffer_.BaseAddress() % static_cast<uint64_t>(r)) + a -
                                   topLine_ * b;
        a -= ((difference % r) + r) % r;
    }
    if (a == topLine_ * b - layout_.Phase()) return previousTop;

    const int64_t k = ((a % b) + b) % b;
    int64_t g = (b - k) % b;
    if (raster) g %= r;
    // The top row is the one that holds a under the new phase.
    const int64_t h = (a + g) / b;
    if (g != layout_.Phase()) {
        layout_.rowPhase = static_cast<int32_t>(g);
        InvalidateAll();
    }
    RefreshLineCount();
    topLine_ = std::clamp<int64_t>(h, 0, std::max<int64_t>(LineCount() - 1, 0));
    SetCursorPos(cursorColumn_, cursorLine_, kKeepSelection | kNoNotify);
    UpdateScroll(UpdateNoScrollNotify);
    Redraw();
    return previousTop;
}

uint64_t CHexView::GetSelection(bool asAddress, int64_t* length) const
{
    const uint64_t base = asAddress ? buffer_.BaseAddress() : 0;
    const HighlightMark& s = marks_[0];
    if (!s.active) {
        if (length) *length = 0;
        return base + static_cast<uint64_t>(cursorOffset_);
    }
    const int64_t span = std::abs(s.last - s.first) + 1;
    if (length) *length = std::min(span, kMaxReportedSelection);
    return base + static_cast<uint64_t>(std::min(s.first, s.last));
}

int CHexView::GetSelectionRange(int64_t* start, int64_t* length, bool asAddress, int64_t cap) const
{
    const uint64_t lower = GetSelection(asAddress, nullptr);
    if (start) *start = static_cast<int64_t>(lower);
    const std::optional<ByteRange> selected = SelectedRange();
    if (!selected) {
        if (length) *length = 0;
        return 0;
    }
    if (length) *length = std::min(selected->length, std::max<int64_t>(cap, 0));
    return 1;
}

std::optional<ByteRange> CHexView::SelectedRange() const
{
    const HighlightMark& s = marks_[0];
    if (!s.active) return std::nullopt;
    return ByteRange{std::min(s.first, s.last), std::abs(s.last - s.first) + 1};
}

int64_t CHexView::CopySelectionBytes(uint8_t* out, int64_t n) const
{
    const std::optional<ByteRange> selected = SelectedRange();
    if (!selected || n <= 0 || out == nullptr) return 0;
    int64_t copied = 0;
    ForEachWindow(Bytes(), selected->offset, std::min(n, selected->length), n, [&](int64_t, std::span<const uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), out + copied);
        copied += static_cast<int64_t>(bytes.size());
        return true;
    });
    return copied;
}

int64_t CHexView::CopyBytesAtCursor(uint8_t* out, int64_t n) const
{
    if (n <= 0 || out == nullptr) return 0;
    const auto start = static_cast<int64_t>(GetSelection(false, nullptr));
    int64_t copied = 0;
    ForEachWindow(Bytes(), start, n, n, [&](int64_t, std::span<const uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), out + copied);
        copied += static_cast<int64_t>(bytes.size());
        return true;
    });
    return copied;
}

uint64_t CHexView::TopOffset(bool asAddress) const
{
    const int64_t top = layout_.bytesPerRow * topLine_ - layout_.Phase();
    return static_cast<uint64_t>(top) + (asAddress ? buffer_.BaseAddress() : 0);
}

uint64_t CHexView::MarkPosition(bool asAddress) const
{
    const int64_t position = marks_[0].active ? marks_[0].first : cursorOffset_;
    return static_cast<uint64_t>(position) + (asAddress ? buffer_.BaseAddress() : 0);
}

void CHexView::ClearFoundMarks()
{
    for (int n = 1; n < kHighlightMarkCount; ++n) {
        if (marks_[n].active) InvalidateOffsets(marks_[n].first, marks_[n].last);
        marks_[n] = HighlightMark{};
    }
}

bool CHexView::SetMark(int index, int64_t start, int64_t length)
{
    if (index == -2) {
        ClearFoundMarks();
        Redraw();
        return true;
    }
    if (index == -1) {
        for (int n = 1; n < kHighlightMarkCount && index == -1; ++n)
            if (!marks_[n].active) index = n - 1;
        if (index == -1) return false;
    }
    if (index < 0 || index > kHighlightMarkCount - 2 || length < 0) return false;
    HighlightMark& mark = marks_[index + 1];
    if (mark.active) InvalidateOffsets(mark.first, mark.last);
    if (length == 0) {
        mark = HighlightMark{};
        Redraw();
        return true;
    }
    const int64_t last = start + std::min(length, INT64_MAX - std::max<int64_t>(start, 0)) - 1;
    if (mark.active && mark.first == start && mark.last == last) return true;
    mark = {true, start, last};
    InvalidateOffsets(start, last);
    Redraw();
    return true;
}

uint64_t CHexView::SetBaseAddress(uint64_t newBase)
{
    const uint64_t oldBase = buffer_.BaseAddress();
    if (newBase == oldBase) return oldBase;
    const uint64_t mark = MarkPosition(false);
    const uint64_t top = TopOffset(false);
    const uint64_t lower = GetSelection(false, nullptr);

    // The same block again: ownership and the changed mark stay as they are.
    const uint32_t flagsBefore = hexFlags_;
    uint32_t handOver = KeepOldBuffer;
    if (!IsReadOnly()) handOver |= ViewWritable;
    if (buffer_.Owned()) handOver |= ViewOwnsBuffer;
    SetBuffer(buffer_.Data(), buffer_.Length(), newBase, handOver);
    hexFlags_ = (hexFlags_ & ~(FlagModified | FlagOwnsBuffer | FlagReadOnly)) |
                (flagsBefore & (FlagModified | FlagOwnsBuffer | FlagReadOnly));

    SetCursorOffset(mark, false);
    ScrollToOffset(top, false);
    SelectTo(lower, false);
    return oldBase;
}

int64_t CHexView::ViewControl(int select, int64_t argument)
{
    const auto value = static_cast<uint64_t>(argument);
    switch (select) {
    case 0: SetCursorOffset(value, false); return 1;
    case 1: return static_cast<int64_t>(MarkPosition(false));
    case 2: ScrollToOffset(value, false); return 1;
    case 3: return static_cast<int64_t>(TopOffset(false));
    case 4: SelectTo(value, false); return 1;
    case 5: return static_cast<int64_t>(GetSelection(false, nullptr));
    case 6: SetBaseAddress(value); return 1;
    case 7: return static_cast<int64_t>(buffer_.BaseAddress());
    case 8: return buffer_.Length();
    default: return 0;
    }
}

void CHexView::SwitchArea(bool backwards)
{
    const int area = layout_.activeArea;
    if (area != AreaAddress) savedIndex_ = layout_.IndexOfColumn(cursorColumn_, area);
    int next = (area + (backwards ? 2 : 1)) % 3;
    const bool hexShown = layout_.hexWidth > 0;
    const bool textShown = layout_.textWidth > 0;
    for (int tries = 0; tries < 3; ++tries) {
        if ((next == AreaHex && !hexShown) || (next == AreaText && !textShown))
            next = (next + (backwards ? 2 : 1)) % 3;
        else
            break;
    }
    layout_.activeArea = next;
    const int32_t column = next == AreaAddress ? 0 : layout_.ColumnOfIndex(savedIndex_, next);
    SetCursorPos(column, cursorLine_, 0);
    UpdateScroll(0);
    Redraw();
}

}  // namespace qv
