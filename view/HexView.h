// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CHexView: the hex view. A line view whose rows show a block of bytes as address column,
// hex area and text area. The buffer side (the block handed over by the document, the
// changed mark and the insert-mode permission) is the IDocumentView part; the layout,
// rendering, cursor, selection, editing and undo parts build on it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/MultiString.h"
#include "platform/Clipboard.h"
#include "platform/DialogService.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "platform/Timers.h"
#include "view/AnsiView.h"
#include "view/BufferFlags.h"
#include "view/ByteEditListener.h"
#include "view/DocumentView.h"
#include "view/HexLayout.h"
#include "view/HexRow.h"
#include "view/HexViewStatus.h"
#include "view/StatusPanes.h"
#include "view/UndoRing.h"
#include "view/ViewBuffer.h"

namespace qv {

class CHexView;

// Notifications of the hex view to the window that owns it (three values each).
enum HexViewNotification : int {
    NotifyCursorMoved = 11253,      // lower end, upper end, active (0, 0, 0 without a selection)
    NotifySettingsChanged = 11254,  // the configuration dialog was confirmed
    NotifyViewFocusLost = 11255,
    NotifyViewFocusGained = 11256,
    NotifyBufferReplaced = 11257,   // SetBuffer handed the view a block: new length, 0, 0
    NotifyCursorOffsetChanged = 11258,  // the cursor stands on another byte: new offset, 0, 0
    // An edit step was recorded, undone or redone: first offset, byte count, 1 when the bytes
    // from the first offset on moved (an insert or delete), else 0. Bytes recorded for an
    // overwrite are written right after the step: read them when the command is done.
    NotifyBytesEdited = 11259,
};

class IHexViewEvents {
public:
    virtual ~IHexViewEvents() = default;
    virtual void OnHexViewNotify(CHexView& view, int code, int64_t a, int64_t b, int64_t c) = 0;
};

// What a compare with another file tells the view: which of its bytes differ (drawn in the
// colour entry "Unterschied", below the selection and the found values). Edits reach the
// compare as NotifyBytesEdited, like every other follower of the bytes.
class IByteDifferences {
public:
    virtual ~IByteDifferences() = default;
    // differs[i] = 1 where the byte at offset + i differs, else 0.
    virtual void MarkDiffering(int64_t offset, int32_t count, uint8_t* differs) const = 0;
};
inline constexpr int32_t kDifferenceColorIndex = 20;

// Commands of the hex view.
enum HexViewCommand : int {
    CmdHexSettings = 32786,
    CmdGotoAddress = 32813,
    CmdUndo = 57643,
    CmdRedo = 32833,
    CmdChecksum = 32799,
    CmdCopy = 57634,
    CmdPaste = 57637,
    CmdFind = 57636,
    CmdCalculator = 32821,
    CmdPasteDump = 32862,
    CmdCopyAsString = 32864,
    CmdCopyAsSource = 32826,
    CmdInsertNumber = 32823,
};

// Message number of ViewControl for other programs.
inline constexpr int kViewControlMessage = 10228;
// Lengths reported by GetSelection are capped here.
inline constexpr int64_t kMaxReportedSelection = 4194304;

// Some bytes of the block: offset from its first byte and length.
struct ByteRange {
    int64_t offset = 0;
    int64_t length = 0;
    bool operator==(const ByteRange&) const = default;
};
// Default option word of a new hex view.
inline constexpr uint32_t kDefaultHexFlags = 0x18E;

// Offsets and lengths are int64_t (counted from the block's first byte), addresses are
// uint64_t (offset plus base address); operations that take either say so with a flag.
class CHexView : public CAnsiView, public IDocumentView {
public:
    // flags: hide bits and other low option bits for the new view. With a user store and
    // FlagPersist the stored settings are loaded now and written back on destruction.
    explicit CHexView(uint32_t flags = 0, const SettingsStores& stores = {});
    ~CHexView() override;

    // ---- IDocumentView ----
    int64_t SetBuffer(uint8_t* data, int64_t length, uint64_t baseAddress, uint32_t flags) override;
    uint8_t* GetBuffer(int64_t* length, uint64_t* baseAddress) const override;
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
    // The block's bytes for every reader (painting, clipboard, printing, search, tools):
    // valid until the next SetBuffer or edit.
    const IByteSource& Bytes() const { return buffer_.Bytes(); }
    int64_t Length() const { return buffer_.Length(); }
    uint64_t BaseAddress() const { return buffer_.BaseAddress(); }

    // ---- Services of the window ----
    // The window that owns the view. Its notifications pass through the view first, so
    // that a focus change shows or removes the view's status panes before the window hears of it.
    void SetParent(ILineViewParent* parent);
    ILineViewParent* WindowParent() const { return relay_.parent; }
    void SetStatusPanes(IStatusPanes* panes) { statusPanes_ = panes; }
    void SetPrompt(IPrompt* prompt) { prompt_ = prompt; }
    void SetEvents(IHexViewEvents* events) { events_ = events; }
    // Hears of every change of the bytes (nothing: no one listens).
    void SetEditListener(IByteEditListener* listener) { editListener_ = listener; }
    IHexViewEvents* Events() const { return events_; }
    // Null: no compare. Registers the colour entry "Unterschied" and redraws.
    void SetDifferences(IByteDifferences* differences);
    IByteDifferences* Differences() const { return differences_; }

    // ---- Layout and display settings ----
    // Negative arguments keep the current value; returns the bytes per row before the call.
    int32_t SetLayout(int32_t lineWidth, int32_t extraSpace, int32_t insertSpace, int32_t addressDigits,
                      int32_t outputFormat, int32_t invert);
    void FitWidthToWindow(int32_t columns, int32_t rows, int32_t columnDelta, int32_t rowDelta);
    // widthMode: 0 automatic, > 0 automatic with that width raster, < 0 fixed width.
    // Returns LineWidth after the call.
    int32_t ApplyRasterSettings(int32_t widthMode, int32_t raster, int32_t statusMode, int32_t selectionRaster);
    int32_t ColumnOfIndex(int32_t index) const { return layout_.ColumnOfIndex(index); }
    int32_t IndexOfColumn(int32_t column) const { return layout_.IndexOfColumn(column); }
    const HexLayout& RowLayout() const { return layout_; }
    int32_t BytesPerRow() const { return layout_.bytesPerRow; }
    uint32_t StatusbarMode() const { return statusbarMode_; }
    int32_t SelectionRaster() const { return selectionRaster_; }
    // Layout values from the per-user store (the root section), then the style's fonts
    // and colours; SaveSettings writes the layout values to the per-user store.
    void LoadSettings();
    void SaveSettings();
    // Command 32786: the "Konfiguration" dialog; true when confirmed.
    bool EditSettings(IDialogService& dialogs);

    // ---- Rendering ----
    // Builds one row with the view's marks (none when printing).
    void BuildRow(int64_t row, bool printing, RowText& out) const;
    int32_t PrintLine(ILineDrawing& dc, const LineRect& rect, int64_t line, int32_t firstColumn, int32_t count,
                      uint32_t flags) override;
    void DrawMargin(ILineDrawing& dc, const LineRect& rect, int64_t line) override;
    int32_t GetLineLength(int64_t line) override;
    bool LinesOfOneLength() const override { return true; }
    // Status panes: defined while the view has the focus.
    void StatusFocusGained();
    void StatusFocusLost();
    void UpdateStatus();
    // Width of the address pane in character widths: as wide as the block's addresses need.
    int32_t AddressPaneWidth() const;

    // ---- Cursor, selection and navigation ----
    void SetCursorPos(int32_t column, int64_t line, uint32_t flags) override;
    int ActiveArea() const { return layout_.activeArea; }
    int64_t CursorOffset() const { return cursorOffset_; }
    int FirstDigit() const { return firstDigit_; }
    // True when the caret stands on the second hex digit of its byte.
    bool OnSecondDigit() const;
    void PositionOfOffset(int64_t offset, int32_t& column, int64_t& line) const;
    // The address at a position (row start plus the byte found in the column).
    uint64_t OffsetAtPosition(int32_t column, int64_t line) const;
    // The offset of an address (less the base, saturated) or of an offset value (read as a
    // signed 64-bit number). The positioning operations below take their value this way.
    int64_t OffsetOf(uint64_t value, bool isAddress) const;
    bool SetCursorOffset(uint64_t value, bool isAddress);
    bool SelectTo(uint64_t value, bool isAddress);
    uint64_t ScrollToOffset(uint64_t value, bool isAddress);
    // Lower end of the selection (or the cursor) and its length (0 without a selection),
    // capped at kMaxReportedSelection.
    uint64_t GetSelection(bool asAddress, int64_t* length) const;
    int GetSelectionRange(int64_t* start, int64_t* length, bool asAddress, int64_t cap) const;
    // The selected bytes as offsets, whole however long; nothing without a selection.
    std::optional<ByteRange> SelectedRange() const;
    int64_t CopySelectionBytes(uint8_t* out, int64_t n) const;
    int64_t CopyBytesAtCursor(uint8_t* out, int64_t n) const;
    uint64_t TopOffset(bool asAddress) const;
    uint64_t MarkPosition(bool asAddress) const;
    // index 0..7: marks 1..8; -1 the first free one; -2 clears all. length 0 clears.
    bool SetMark(int index, int64_t start, int64_t length);
    const HighlightMark& Mark(int n) const { return marks_.at(static_cast<size_t>(n)); }
    bool HasSelection() const { return marks_[0].active; }
    uint64_t SetBaseAddress(uint64_t newBase);
    // The ViewControl sub-commands; offsets and results are 64-bit.
    int64_t ViewControl(int select, int64_t argument);
    // Tab / Shift+Tab: the cursor goes to the same byte in the next / previous area.
    void SwitchArea(bool backwards);
    // Command 32813: "Cursor setzen"; returns the value, or -1 when cancelled.
    int64_t GotoAddress(IDialogService& dialogs);
    const MultiString& GotoHistory() const { return gotoHistory_; }

    // ---- Editing and undo ----
    bool InsertBytes(int64_t offset, int64_t n);
    bool DeleteBytes(int64_t offset, int64_t n);
    // position: an offset, or an address (isAddress) read as an unsigned 64-bit number.
    int64_t RecordOverwrite(int64_t position, int64_t count, bool isAddress);
    // Makes `record` the newest undo step (nothing for a read-only view).
    void CommitUndo(UndoRecord record);
    bool UndoRedo(int direction);
    bool CanUndo() const { return !IsReadOnly() && undo_.CanUndo(); }
    bool CanRedo() const { return !IsReadOnly() && undo_.CanRedo(); }
    const UndoRing& Undo() const { return undo_; }
    // Overwrites count bytes at offset (cut at the block end) as one undo step, sets the
    // changed mark and redraws; returns the bytes written (0 for a read-only view).
    int64_t OverwriteBytes(int64_t offset, const uint8_t* bytes, int64_t count);

    // ---- Clipboard ----
    // The first `cap` bytes of the selection, read through Bytes(); empty without one.
    std::vector<uint8_t> SelectedBytes(int64_t cap) const;
    // Command 57634: the selection as plain characters (text area, no byte below 0x20) or as
    // a ":" hex dump, at most 4 MiB.
    void CopyToClipboard(IClipboard& clipboard) const;
    // Commands 57637 (a typed value) and 32862 (a free-form dump): the clipboard text is written
    // at the selection or cursor, overwriting or inserting, as one undo step.
    void PasteFromClipboard(IClipboard& clipboard, bool asDump);
    // Command 32864: the selection as the body of a C string.
    void CopyAsCString(IClipboard& clipboard) const;
    // Command 32826: the selection as source text chosen in "Kopiere im C++ Format".
    void CopyAsSource(IClipboard& clipboard, IDialogService& dialogs, const SettingsStores& stores,
                      ITimerService* timers) const;
    // Command 32823: a number typed in "Zahlen eingabe" overwrites the bytes at the selection
    // or cursor.
    void InsertNumber(IDialogService& dialogs);

    // Characters and keys from the line view.
    int OnCharKey(uint32_t character, uint32_t flags) override;
    int OnKeyDown(int key, uint32_t flags) override;
    void OnSizeChanged(int32_t columns, int32_t rows, int32_t columnDelta, int32_t rowDelta) override;
    void ShowContextMenu(int32_t x, int32_t y, ContextMenu& menu) override;

protected:
    // New-block notification, display: marks, row layout, top row, cursor and selection.
    virtual void OnNewBlockDisplay(bool keepScroll, bool keepCursor);
    // New-block notification, editing: caret shape and undo history.
    virtual void OnNewBlockEditing();
    // The insert state changed outside a new block: the caret shape follows.
    virtual void OnInsertStateChanged();
    virtual void Repaint();

private:
    class ParentRelay : public ILineViewParent {
    public:
        explicit ParentRelay(CHexView& view) : view_(view) {}
        void OnLineViewNotify(CAnsiView& view, int code, int64_t a, int64_t b) override;
        bool ExecuteCommand(int command) override { return parent && parent->ExecuteCommand(command); }
        bool IsCommandEnabled(int command) override { return parent && parent->IsCommandEnabled(command); }
        void OnFileDropped(CAnsiView& view, const std::string& path) override
        {
            if (parent) parent->OnFileDropped(view, path);
        }
        ILineViewParent* parent = nullptr;

    private:
        CHexView& view_;
    };

    void Beep();
    // After a copy that took at most `cap` bytes: says in the status bar when the selection
    // was longer.
    void TellIfCopyWasCut(int64_t cap) const;
    void DefineStatusPanes();
    void Notify(int code, int64_t a, int64_t b, int64_t c);
    void ApplyCaretShape();
    // The line count and the address digits follow the block's length and base.
    void RefreshLineCount();
    // Sets the digits the block's highest address needs; true (and a relayout due) when they changed.
    bool UpdateAddressDigits();
    void InvalidateOffsets(int64_t first, int64_t last);
    // Marks 1..8 cleared and their rows invalidated, not yet drawn.
    void ClearFoundMarks();
    int64_t RowOfOffset(int64_t offset) const;
    // Area of a mouse column; hidden areas are never chosen.
    int AreaOfColumn(int32_t column) const;
    void WidenSelectionToElements();
    std::optional<UndoRecord> BeginTypedByte(bool insert);
    void TypeText(uint8_t character);
    void TypeHex(uint8_t character);
    void Backspace();
    bool ExchangeUndoBytes(UndoRecord& record);
    // Tells the edit listener that count bytes at offset are about to become `bytes`
    // (null: zeros) or, with removed != count, that the length changes.
    void BytesChanging(int64_t offset, int64_t removed, const uint8_t* bytes, int64_t count);

    ViewBuffer buffer_;
    uint32_t hexFlags_ = kDefaultHexFlags;
    bool insertAllowed_ = false;
    bool insertModeOn_ = false;

    HexLayout layout_;
    uint32_t statusbarMode_ = 2 | StatusDirty;
    int32_t selectionRaster_ = 0;
    int fitDepth_ = 0;

    int64_t cursorOffset_ = 0;
    int firstDigit_ = 1;
    int32_t savedIndex_ = 0;
    int32_t dragColumn_ = 0;
    int64_t dragLine_ = 0;
    std::array<HighlightMark, kHighlightMarkCount> marks_{};
    MultiString gotoHistory_;

    UndoRing undo_;

    ParentRelay relay_{*this};
    IStatusPanes* statusPanes_ = nullptr;
    IPrompt* prompt_ = nullptr;
    IHexViewEvents* events_ = nullptr;
    IByteEditListener* editListener_ = nullptr;
    IByteDifferences* differences_ = nullptr;
    bool panesPresent_ = false;
    int32_t definedPaneWidth_ = 0;
    int64_t shownOffset_ = -1;
    int64_t shownValue_ = -1;
};

}  // namespace qv
