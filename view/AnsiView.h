// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CAnsiView: a view of numbered lines in a fixed-pitch font. It keeps the line count and
// length, the cursor (column, line) and the scroll position of up to four panes, turns
// keys and mouse input into cursor moves and hook calls, and draws the visible part of
// each line through the PrintLine hook of a derived class. It knows nothing of the
// window system: a host (ILineViewHost) supplies scroll bars, caret, repaint, capture,
// timers and fonts, and forwards its events to the Handle... operations below.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogService.h"
#include "platform/SettingsStore.h"
#include "view/LineDrawing.h"
#include "view/LinePanes.h"
#include "view/LineViewHost.h"
#include "view/LineViewInput.h"
#include "view/LineViewParent.h"
#include "view/RedrawState.h"
#include "view/ViewStyle.h"

namespace qv {

// Option word bits.
inline constexpr uint32_t OptNoHorizontalScroll = 0x1;  // left column stays 0
inline constexpr uint32_t OptNoVerticalScroll = 0x2;    // top line stays 0
inline constexpr uint32_t OptColumnsA = 0x4;            // 0x4..0x20: only re-count the pane size when changed
inline constexpr uint32_t OptRowsA = 0x8;
inline constexpr uint32_t OptColumnsB = 0x10;
inline constexpr uint32_t OptRowsB = 0x20;
inline constexpr uint32_t OptAcceptFiles = 0x40;
inline constexpr uint32_t OptSplitSideBySide = 0x400;   // may split side by side; horizontal bar always shown
inline constexpr uint32_t OptSplitTopBottom = 0x800;    // may split top/bottom; vertical bar always shown

// Caret mode bits.
inline constexpr uint32_t CaretThin = 0x1;   // 2 pixels wide instead of a block
inline constexpr uint32_t CaretShown = 0x2;

// SetCursorPos flags used by the framework.
inline constexpr uint32_t CursorRelative = 0x1;
inline constexpr uint32_t CursorExtend = 0x2;
inline constexpr uint32_t CursorCtrl = 0x4;
inline constexpr uint32_t CursorFromMouse = 0x8;
inline constexpr uint32_t CursorDragOrigin = 0x10;
inline constexpr uint32_t CursorDerived20 = 0x20;
inline constexpr uint32_t CursorDerived40 = 0x40;

// UpdateScroll flags.
inline constexpr uint32_t UpdateNoScrollNotify = 0x2;  // no OnScrolled, no NotifyScrolled
inline constexpr uint32_t UpdateNoDraw = 0x4;

// Commands the line view handles or offers in its context menu.
enum LineViewCommand : int {
    CmdFont = 32783,
    CmdColors = 32784,
    CmdPageSetup = 57605,
    CmdPrint = 57607,
    CmdPrintDirect = 57608,
    CmdPrintPreview = 57609,
};

// Message number of LineViewControl for other programs.
inline constexpr int kLineViewControlMessage = 10227;
inline constexpr int kAutoScrollTimer = 34902;
inline constexpr int kAutoScrollIntervalMs = 165;
inline constexpr int kMaxKeyRepeat = 30;
inline constexpr int32_t kMaxLeftMargin = 2000;

enum class DragMode { None = 0, Text = 1, Margin = 2 };
enum class RightMode { None = 0, Text = 1, Margin = 2, Panning = 3 };

// Scroll position and size of one pane.
struct PaneState {
    int32_t leftColumn = 0;
    int64_t topLine = 0;
    int32_t columns = 1;
    int32_t rows = 1;
    int32_t lastColumnPartial = 0;
    int32_t lastRowPartial = 0;
};

class CAnsiView {
public:
    // The base class alone is the "Null" view: 80 columns, 100 lines.
    explicit CAnsiView(std::string_view viewName = "Null", int32_t lineLength = 80, int32_t extraLines = 0);
    virtual ~CAnsiView();
    CAnsiView(const CAnsiView&) = delete;
    CAnsiView& operator=(const CAnsiView&) = delete;

    // ---- Overridable operations, in slot order ----
    // 1. Opens the colour dialog: 1 OK, 0 cancelled or impossible, 2 refused (no style).
    virtual int EditColors();
    // 2. Values outside 0..2000 become 0; applied to every view of the style group.
    virtual void SetLeftMargin(int32_t pixels);
    // 3. Draws `count` columns of `line` from `firstColumn` into `rect` (its left edge is
    //    the text start); returns the number of characters drawn. flags bit 0: printing.
    virtual int32_t PrintLine(ILineDrawing& dc, const LineRect& rect, int64_t line, int32_t firstColumn,
                              int32_t count, uint32_t flags);
    // 4. Paints the margin left of a line.
    virtual void DrawMargin(ILineDrawing& dc, const LineRect& rect, int64_t line);
    // 5. Appends the line view's entries to `menu` and pops it up at client point (x, y);
    //    the chosen command is run (RunCommand).
    virtual void ShowContextMenu(int32_t x, int32_t y, ContextMenu& menu);
    // 6. Moves the cursor (flags: CursorPosFlags).
    virtual void SetCursorPos(int32_t column, int64_t line, uint32_t flags);
    // 7. Length of one line (used by printing with wrapping).
    virtual int32_t GetLineLength(int64_t line);
    // Whether every line has the length of the first (printing then needs not ask each one).
    virtual bool LinesOfOneLength() const { return false; }
    // 8. The scroll position changed.
    virtual void OnScrolled();
    // 9. The pane's column or row count changed.
    virtual void OnSizeChanged(int32_t columns, int32_t rows, int32_t columnDelta, int32_t rowDelta);
    // 10. A scroll key moved the view without moving the cursor (key 0: the wheel).
    virtual int OnScrollKey(int key);
    // 11. A character (Windows-1252 code, control characters included); flags: KeyFlags.
    virtual int OnCharKey(uint32_t character, uint32_t flags);
    // 12.-13. Keys (LineKey codes); OnKeyDown returns non-zero when it handled the key.
    virtual int OnKeyUp(int key, uint32_t flags);
    virtual int OnKeyDown(int key, uint32_t flags);
    // 14.-20. Mouse in a pane's text; x, y relative to the pane's text origin;
    //     flags: MouseFlags. Non-zero: handled.
    virtual int OnDoubleClick(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    virtual int OnRightDoubleClick(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    virtual int OnLeftDown(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    virtual int OnRightDown(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    virtual int OnLeftUp(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    virtual int OnRightUp(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    virtual int OnMouseMove(uint32_t flags, int32_t x, int32_t y, int32_t column, int64_t line);
    // 21. Mouse in the left margin; code = flags | MarginMouseCodes.
    virtual int OnMarginMouse(uint32_t code, int32_t x, int32_t y, int64_t line);
    // 22. The pane arrangement changed.
    virtual int OnPanesChanged(uint32_t splitFlags, int32_t splitX, int32_t splitY);
    // 23. Wheel; delta in 1/120 notches, positive upwards. Non-zero: handled.
    virtual int OnWheel(uint32_t flags, int32_t delta);
    // 24. Scroll bar of the active pane: which 0 horizontal, 1 vertical → ScrollBarId.
    virtual int GetScrollBar(int which);

    // ---- Wiring (by the window that hosts the view) ----
    // Attaching is the window creation: scroll bars, font and caret are set up.
    void AttachHost(ILineViewHost* host);
    void DetachHost();
    ILineViewHost* Host() const { return host_; }
    void SetParent(ILineViewParent* parent) { parent_ = parent; }
    ILineViewParent* Parent() const { return parent_; }
    void SetDialogService(IDialogService* dialogs) { dialogs_ = dialogs; }
    // Sets the stores and loads the style's settings from them.
    void SetSettingsStores(const SettingsStores& stores);

    // ---- Events forwarded by the host ----
    void HandleSize(int32_t width, int32_t height);
    // Paints the panes' lines that meet `clip`, the margins, splitter bars and boxes.
    void HandlePaint(ILineDrawing& dc, const LineRect& clip);
    void HandleKeyDown(int key, int repeat, uint32_t flags);
    void HandleKeyUp(int key, int repeat, uint32_t flags);
    void HandleChar(uint32_t character, int repeat, uint32_t flags);
    void HandleSetFocus(uint32_t modifiers);
    void HandleKillFocus();
    // position: the thumb's place in lines (columns), for the thumb actions.
    void HandleScroll(int bar, ScrollAction action, int64_t position);
    void HandleMouseDown(MouseButton button, uint32_t flags, int32_t x, int32_t y);
    void HandleMouseUp(MouseButton button, uint32_t flags, int32_t x, int32_t y);
    void HandleDoubleClick(MouseButton button, uint32_t flags, int32_t x, int32_t y);
    void HandleMouseMove(uint32_t flags, int32_t x, int32_t y);
    void HandleWheel(uint32_t flags, int32_t delta);
    void HandleTimer(int id);
    // The cursor shape for a point when no capture is running.
    CursorShape CursorShapeAt(int32_t x, int32_t y) const;
    void HandleSystemColorsChanged();
    void HandleDroppedFiles(const std::vector<std::string>& paths);
    // Commands the view handles itself (font, colours); false for others.
    bool HandleCommand(int command);
    // Runs a command: the view's own first, else the parent's.
    bool RunCommand(int command);
    // wParam/lParam form of the control message: column low 16 bits, line high 16 bits.
    uint32_t LineViewControl(uint32_t select, uint32_t packedPosition);

    // ---- Operations ----
    // The central recomputation after every change (see UpdateScrollFlags).
    void UpdateScroll(uint32_t flags);
    // Draws now when something is requested; with onlyIfRequested false requests all first.
    void Redraw(bool onlyIfRequested = true);
    // Redraw requests (merged into the RedrawState).
    void InvalidateAll();
    void InvalidateLine(int64_t line);
    void InvalidateLines(int64_t first, int64_t count);
    void InvalidateFrom(int64_t line);
    void InvalidateCursorLine();
    // Requests are collected while a batch is open and drawn once when the outermost closes.
    void BeginUpdateBatch();
    void EndUpdateBatch();

    // Font: height 0 uses the stored FontSpec, otherwise height 6..48 with width 0 and
    // fixed pitch. Faces are tried from `face` on; if none works the old font stays.
    void SetFont(int32_t height, std::string_view face);
    // Sets the style's FontSpec and makes the font.
    void ApplyFontSpec(const FontSpec& spec);
    // Opens the font dialog; 1 OK, 0 cancelled or impossible.
    int EditFont();
    // Opens the page setup dialog; on OK the process's page settings change and are
    // stored with the view's settings. 1 OK, 0 cancelled or impossible.
    int EditPageSetup();
    // Settings of the style: read from the machine-wide store then the user's; written to the user's.
    void LoadSettings();
    void StoreSettings();

    void SetCaretMode(uint32_t mode);
    void SetOptions(uint32_t options);
    void EnableDroppedFiles(bool enable);
    void SetNoStyle(bool noStyle) { noStyle_ = noStyle; }
    void SetLineCount(int64_t count);
    void SetLineLength(int32_t length);
    // Makes pane 0..3 the active one (its scroll position becomes the view's).
    void ActivatePane(int pane);
    void SetSplit(uint32_t flags, int32_t x, int32_t y);

    // ---- State ----
    const std::string& ViewName() const { return viewName_; }
    ViewStyle& Style() { return *style_; }
    const ViewStyle& Style() const { return *style_; }
    ColorTable& Colors() { return style_->colors; }
    // While a print job runs, PrintLine draws with the job's colours (null: the view's own).
    void SetPrintColors(const ColorTable* table) { printColors_ = table; }
    // The colours PrintLine uses for its flags: the print job's when printing.
    const ColorTable& ColorsFor(uint32_t printLineFlags) const;
    int64_t LineCount() const { return lineCount_; }
    int32_t LineLength() const { return lineLength_; }
    int32_t CursorColumn() const { return cursorColumn_; }
    int64_t CursorLine() const { return cursorLine_; }
    int32_t LeftColumn() const { return leftColumn_; }
    int64_t TopLine() const { return topLine_; }
    int32_t PaneColumns() const { return paneColumns_; }
    int32_t PaneRows() const { return paneRows_; }
    int32_t CharWidth() const { return charWidth_; }
    int32_t CharHeight() const { return charHeight_; }
    int32_t LeftMargin() const { return leftMargin_; }
    uint32_t Options() const { return options_; }
    uint32_t ModifierState() const { return modifierState_; }
    uint32_t CaretMode() const { return caretMode_; }
    const RedrawState& Redraws() const { return redraw_; }
    bool HasFocus() const { return hasFocus_; }
    DragMode Drag() const { return dragMode_; }
    RightMode Right() const { return rightMode_; }
    int ActivePane() const { return activePane_; }
    const PaneState& Pane(int pane) const { return panes_.at(static_cast<size_t>(pane)); }
    const LinePaneLayout& Layout() const { return layout_; }
    bool NoStyle() const { return noStyle_; }
    const SettingsStores& Settings() const { return settings_; }

    // Every line view of the process, in creation order.
    static const std::vector<CAnsiView*>& AllViews();
    // The view that last gained the focus, else the first one; null when none exists.
    static CAnsiView* ActiveView();

    // The text the base class draws for its lines.
    static constexpr const char* kNullLineText = "CAnsiView::PrintLine() wurde nicht abgeleitet !";

protected:
    // Menu entry whose enabled state the parent decides.
    MenuEntry CommandEntry(int command, std::string text) const;
    // Client rectangle of a line in a pane (full pane width, margin included); empty when not visible.
    LineRect LineRectInPane(int pane, int64_t line) const;
    // Cursor cell of the active pane in client pixels.
    LinePoint CaretPoint() const;

    std::string viewName_;
    std::shared_ptr<ViewStyle> style_;
    // Lines are 64-bit: the rows of a file of any size; columns stay 32-bit.
    int64_t lineCount_ = 100;
    int32_t lineLength_ = 80;
    int32_t cursorColumn_ = 0;
    int64_t cursorLine_ = 0;
    // Scroll position and size of the active pane (mirrored into panes_).
    int32_t leftColumn_ = 0;
    int64_t topLine_ = 0;
    int32_t paneColumns_ = 1;
    int32_t paneRows_ = 1;
    int32_t lastColumnPartial_ = 0;
    int32_t lastRowPartial_ = 0;
    int32_t clientWidth_ = 0;
    int32_t clientHeight_ = 0;
    int32_t textWidth_ = 0;
    int32_t textHeight_ = 0;
    int32_t charWidth_ = 10;
    int32_t charHeight_ = 13;
    int32_t leftMargin_ = 0;
    uint32_t options_ = OptSplitTopBottom;
    uint32_t modifierState_ = 0;
    uint32_t caretMode_ = 0;
    RedrawState redraw_;
    bool hasFocus_ = false;
    DragMode dragMode_ = DragMode::None;
    RightMode rightMode_ = RightMode::None;
    bool noStyle_ = false;

private:
    void ClampCursor();
    void ApplyOptionChanges();
    void RecountAllPanes();
    void SyncActivePane();
    void LoadActivePane();
    void UpdateScrollBars();
    void ApplyCaret();
    void NotifyParent(int code, int64_t a, int64_t b);
    void DrawPending();
    void InvalidateRange(int64_t first, int64_t last);
    void DrawPane(ILineDrawing& dc, const LineRect& clip, int pane);
    void HandleNavigationKey(int key);
    void MouseToCell(const PaneHit& hit, int32_t x, int32_t y, int32_t& px, int32_t& py, int32_t& column,
                     int64_t& line) const;
    void DragMove(uint32_t flags, int32_t x, int32_t y);
    void StopTimer();
    void StartTimer();
    void EndPanning(bool scrollRest);
    void PanTo(int32_t x, int32_t y);
    void LoadFrom(const ISettingsStore& store);
    void ApplyCell(CellMetrics cell);
    void UpdateStripsAndBars();
    void EnterPanning();
    void ToggleSplit(uint32_t which);
    void MoveSplitter(int32_t x, int32_t y);
    PaneHit HitInActivePane(int32_t x, int32_t y) const;
    void RedrawGroup();

    ILineViewHost* host_ = nullptr;
    ILineViewParent* parent_ = nullptr;
    IDialogService* dialogs_ = nullptr;
    SettingsStores settings_;
    LinePaneLayout layout_;
    std::array<PaneState, kMaxPanes> panes_{};
    int activePane_ = 0;
    uint32_t appliedOptions_ = 0;  // applied by the first UpdateScroll
    uint32_t appliedCaretMode_ = 0;
    bool caretCreated_ = false;
    int batchDepth_ = 0;
    // Mouse state: drag autoscroll, hold-off after a double click, right-button panning.
    bool timerRunning_ = false;
    int32_t autoStepX_ = 0;
    int32_t autoStepY_ = 0;
    uint64_t holdOffUntil_ = 0;
    int rightTicks_ = 0;
    LinePoint rightPress_;
    LinePoint panAnchor_;
    int32_t panAnchorLeft_ = 0;
    int64_t panAnchorTop_ = 0;
    int32_t subScrollX_ = 0;
    int32_t subScrollY_ = 0;
    // Splitter drag: which bar (HitCode) is being moved.
    int splitterDrag_ = HitNothing;
    // What the last UpdateScroll saw, to tell what changed since.
    int32_t seenCursorColumn_ = 0;
    int64_t seenCursorLine_ = 0;
    int32_t seenLeft_ = 0;
    int64_t seenTop_ = 0;
    int32_t seenColumns_ = 0;
    int32_t seenRows_ = 0;
    std::array<ScrollBarState, kScrollBarCount> bars_{};
    Color marginColor_ = 0xC0C0C0;
    const ColorTable* printColors_ = nullptr;
};

}  // namespace qv
