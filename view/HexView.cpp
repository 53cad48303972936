// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: construction, the reaction to a new block, and small shared helpers.
#include "view/HexView.h"

#include <algorithm>

namespace qv {

namespace {

// The colour entries of the hex view: positions 1..6 of the style's table.
std::vector<ColorEntry> HexColorEntries()
{
    return {
        {kDefaultColor, 0x0000FF, 2, 0, "Adressen"},
        {kDefaultColor, 0xFF0000, 3, 0, "HEX-Bereich"},
        {0xFF0000, 0xFFFFFF, 4, 0, "Markierung"},
        {0xC86464, 0xFFFFFF, 5, 0, "Bereich"},
        {0xFFE6E6, 0xFF0000, 6, 0, "Bit-Marke"},
        {0xFFE6E6, 0x000000, 7, 0, "Bit-Marke-Text"},
    };
}

}  // namespace

CHexView::CHexView(uint32_t flags, const SettingsStores& stores) : CAnsiView("Hex", 76, 0)
{
    if (Colors().Count() <= 1) Colors().AddDefaults(HexColorEntries());
    // The construction word may add hide bits and other low options; the changed mark is
    // never taken from it.
    hexFlags_ = kDefaultHexFlags | (flags & 0x7F);
    SetOptions(Options() | OptColumnsB | OptRowsB);
    SetLeftMargin(2);
    SetLayout(16, 4, 1, 6, 0, 0);
    ApplyCaretShape();
    if (stores.user || stores.machine) SetSettingsStores(stores);
    if ((hexFlags_ & FlagPersist) && Settings().user) LoadSettings();
}

CHexView::~CHexView()
{
    if ((hexFlags_ & FlagPersist) && Settings().user) SaveSettings();
}

void CHexView::Beep()
{
    if (prompt_) prompt_->Beep();
}

void CHexView::Notify(int code, int64_t a, int64_t b, int64_t c)
{
    if (events_) events_->OnHexViewNotify(*this, code, a, b, c);
}

void CHexView::ApplyCaretShape()
{
    SetCaretMode(InsertActive() ? (CaretShown | CaretThin) : CaretShown);
}

void CHexView::Repaint()
{
    Redraw(false);
}

bool CHexView::UpdateAddressDigits()
{
    // The address column shows the block's highest address whole.
    const int64_t length = buffer_.Length();
    const int32_t needed = length > 0 ? HexDigitsOf(buffer_.BaseAddress() + static_cast<uint64_t>(length - 1)) : 0;
    if (needed == layout_.addressDigitsNeeded) return false;
    layout_.addressDigitsNeeded = needed;
    hexFlags_ |= FlagRelayout;
    return true;
}

void CHexView::RefreshLineCount()
{
    // A length that crossed a power of 16 needs another digit count: a new layout.
    if (UpdateAddressDigits()) {
        SetLayout(-1, -1, -1, -1, -1, -1);
        return;
    }
    SetLineCount(layout_.LineCount(buffer_.Length()));
}

int64_t CHexView::RowOfOffset(int64_t offset) const
{
    return std::max<int64_t>((offset + layout_.Phase()) / layout_.bytesPerRow, 0);
}

void CHexView::InvalidateOffsets(int64_t first, int64_t last)
{
    if (first > last) std::swap(first, last);
    const int64_t top = RowOfOffset(std::max<int64_t>(first, 0));
    const int64_t bottom = RowOfOffset(std::max<int64_t>(last, 0));
    InvalidateLines(top, bottom - top + 1);
}

void CHexView::OnNewBlockDisplay(bool keepScroll, bool keepCursor)
{
    ClearFoundMarks();  // drawn with the new layout below
    hexFlags_ |= FlagRelayout;
    statusbarMode_ |= StatusDirty;  // the address may change while the cursor offset stays
    if (!keepScroll && !keepCursor) layout_.rowPhase = 0;
    if (keepScroll)
        RefreshLineCount();
    else
        SetLayout(-1, -1, -1, -1, -1, -1);

    if (!keepCursor) {
        if (layout_.lineLength <= PaneColumns()) leftColumn_ = 0;
        ScrollToOffset(buffer_.BaseAddress(), true);
        SetCursorOffset(buffer_.BaseAddress(), true);
        UpdateStatus();
        return;
    }
    // The cursor and selection stay, but never beyond the new block.
    const int64_t last = std::max<int64_t>(buffer_.Length() - 1, 0);
    if (marks_[0].active) {
        if (buffer_.Length() == 0) {
            marks_[0] = HighlightMark{};
        } else {
            marks_[0].first = std::min(marks_[0].first, last);
            marks_[0].last = std::min(marks_[0].last, last);
        }
    }
    SetCursorPos(0, 0, CursorRelative | 0x20 | 0x40);
    UpdateStatus();
}

void CHexView::OnNewBlockEditing()
{
    undo_.Clear();
    // Unchanged bytes are the file's: undoing back to here clears the changed mark.
    if (!IsModified()) undo_.MarkSaved();
    ApplyCaretShape();
}

void CHexView::OnInsertStateChanged()
{
    ApplyCaretShape();
    // Without insert mode the position after the last byte is not a place for the cursor.
    if (!InsertActive() && cursorOffset_ >= buffer_.Length()) SetCursorPos(0, 0, CursorRelative | 0x20 | 0x40);
}

void CHexView::ShowContextMenu(int32_t x, int32_t y, ContextMenu& menu)
{
    menu.push_back(CommandEntry(CmdChecksum, "&Checksumme"));
    menu.push_back(CommandEntry(CmdGotoAddress, "&Zu Adresse"));
    MenuEntry copy = CommandEntry(CmdCopy, "&Kopieren");
    copy.enabled = copy.enabled && HasSelection();
    menu.push_back(copy);
    menu.push_back(CommandEntry(CmdFind, "&Suchen"));
    menu.push_back(MenuEntry{});
    menu.push_back(CommandEntry(CmdHexSettings, "&Einstellungen"));
    CAnsiView::ShowContextMenu(x, y, menu);
}

}  // namespace qv
