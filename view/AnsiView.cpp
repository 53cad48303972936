// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/AnsiView.h"

#include <algorithm>

namespace qv {

namespace {

std::vector<CAnsiView*>& Registry()
{
    static std::vector<CAnsiView*> views;
    return views;
}

CAnsiView*& LastFocused()
{
    static CAnsiView* view = nullptr;
    return view;
}

uint32_t Pack(int32_t low, int32_t high)
{
    return (static_cast<uint32_t>(low) & 0xFFFF) | (static_cast<uint32_t>(high) << 16);
}

}  // namespace

CAnsiView::CAnsiView(std::string_view viewName, int32_t lineLength, int32_t extraLines)
    : viewName_(viewName), style_(AcquireViewStyle(viewName))
{
    lineLength_ = std::max(0, lineLength);
    lineCount_ = std::max<int64_t>(0, int64_t{100} + extraLines);
    if (style_->fontCreated) {
        charWidth_ = style_->cell.width;
        charHeight_ = style_->cell.height;
    }
    Registry().push_back(this);
}

CAnsiView::~CAnsiView()
{
    auto& views = Registry();
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    if (LastFocused() == this) LastFocused() = nullptr;
}

const std::vector<CAnsiView*>& CAnsiView::AllViews()
{
    return Registry();
}

CAnsiView* CAnsiView::ActiveView()
{
    if (LastFocused()) return LastFocused();
    return Registry().empty() ? nullptr : Registry().front();
}

// ---- Default hooks ----

void CAnsiView::SetCursorPos(int32_t column, int64_t line, uint32_t flags)
{
    if (flags & CursorRelative) {
        column += cursorColumn_;
        line += cursorLine_;
    }
    cursorColumn_ = column;
    cursorLine_ = line;
}

int32_t CAnsiView::GetLineLength(int64_t /*line*/)
{
    return 0;
}

void CAnsiView::OnScrolled() {}

void CAnsiView::OnSizeChanged(int32_t /*columns*/, int32_t /*rows*/, int32_t /*columnDelta*/, int32_t /*rowDelta*/) {}

int CAnsiView::OnScrollKey(int /*key*/)
{
    return 0;
}

int CAnsiView::OnCharKey(uint32_t character, uint32_t flags)
{
    if (character != KeyTab || !(flags & KeyFlagCtrl)) return 0;
    int step = (flags & KeyFlagShift) ? kMaxPanes - 1 : 1;
    for (int pane = (activePane_ + step) % kMaxPanes; pane != activePane_; pane = (pane + step) % kMaxPanes) {
        if (layout_.PaneExists(pane)) {
            ActivatePane(pane);
            break;
        }
    }
    return 1;
}

int CAnsiView::OnKeyUp(int, uint32_t)
{
    return 0;
}

int CAnsiView::OnKeyDown(int, uint32_t)
{
    return 0;
}

int CAnsiView::OnDoubleClick(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnRightDoubleClick(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnLeftDown(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnRightDown(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnLeftUp(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnRightUp(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnMouseMove(uint32_t, int32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnMarginMouse(uint32_t, int32_t, int32_t, int64_t)
{
    return 0;
}

int CAnsiView::OnPanesChanged(uint32_t, int32_t, int32_t)
{
    return 0;
}

int CAnsiView::OnWheel(uint32_t, int32_t)
{
    return 0;
}

int CAnsiView::GetScrollBar(int which)
{
    return which == 0 ? (activePane_ & 1) : ScrollBarVerticalTop + (activePane_ >> 1);
}

// ---- Wiring ----

void CAnsiView::AttachHost(ILineViewHost* host)
{
    host_ = host;
    if (!host_) return;
    host_->AcceptDroppedFiles((options_ & OptAcceptFiles) != 0);
    marginColor_ = 0xC0C0C0;
    bars_ = {};
    for (int bar = 0; bar < kScrollBarCount; ++bar) host_->SetScrollBar(bar, bars_[static_cast<size_t>(bar)]);
    if (style_->fontCreated)
        ApplyCell(style_->cell);
    else
        SetFont(0, "Courier");  // a new style: the stored spec, by default Courier of 15 pixels
    caretCreated_ = false;  // the caret is made by the next draw
    InvalidateAll();
    UpdateScroll(UpdateNoScrollNotify);
}

void CAnsiView::DetachHost()
{
    if (host_ && timerRunning_) host_->StopTimer(kAutoScrollTimer);
    timerRunning_ = false;
    host_ = nullptr;
}

void CAnsiView::SetSettingsStores(const SettingsStores& stores)
{
    settings_ = stores;
    LoadSettings();
}

void CAnsiView::HandleSetFocus(uint32_t modifiers)
{
    hasFocus_ = true;
    LastFocused() = this;
    modifierState_ = modifiers & (ModShift | ModCtrl);
    caretCreated_ = false;  // the caret belongs to the focused window: make it again
    redraw_.Merge(RedrawCaret);
    if (!redraw_.InBatch()) DrawPending();
    NotifyParent(NotifyFocusGained, 0, 0);
}

// ---- Sizes and panes ----

void CAnsiView::HandleSize(int32_t width, int32_t height)
{
    clientWidth_ = std::max(0, width);
    clientHeight_ = std::max(0, height);
    layout_.SetClient(clientWidth_, clientHeight_);
    RecountAllPanes();
    InvalidateAll();
    UpdateScroll(0);
}

void CAnsiView::SyncActivePane()
{
    PaneState& pane = panes_[static_cast<size_t>(activePane_)];
    pane = {leftColumn_, topLine_, paneColumns_, paneRows_, lastColumnPartial_, lastRowPartial_};
    // Panes above each other share the column, panes beside each other the line.
    panes_[static_cast<size_t>(activePane_ ^ 2)].leftColumn = leftColumn_;
    panes_[static_cast<size_t>(activePane_ ^ 1)].topLine = topLine_;
}

void CAnsiView::LoadActivePane()
{
    const PaneState& pane = panes_[static_cast<size_t>(activePane_)];
    leftColumn_ = pane.leftColumn;
    topLine_ = pane.topLine;
    paneColumns_ = pane.columns;
    paneRows_ = pane.rows;
    lastColumnPartial_ = pane.lastColumnPartial;
    lastRowPartial_ = pane.lastRowPartial;
}

void CAnsiView::RecountAllPanes()
{
    SyncActivePane();
    charWidth_ = std::max(1, charWidth_);
    charHeight_ = std::max(1, charHeight_);
    for (int p = 0; p < kMaxPanes; ++p) {
        if (!layout_.PaneExists(p)) continue;
        LineRect rect = layout_.PaneRect(p);
        PaneState& pane = panes_[static_cast<size_t>(p)];
        int32_t width = rect.Width() - leftMargin_;
        int32_t height = rect.Height();
        pane.columns = std::max(1, (width + charWidth_ - 1) / charWidth_);
        pane.lastColumnPartial = width <= 0 || width % charWidth_ != 0 ? 1 : 0;
        pane.rows = std::max(1, (height + charHeight_ - 1) / charHeight_);
        pane.lastRowPartial = height <= 0 || height % charHeight_ != 0 ? 1 : 0;
    }
    textWidth_ = layout_.TextWidth();
    textHeight_ = layout_.TextHeight();
    LoadActivePane();
}

void CAnsiView::ActivatePane(int pane)
{
    if (pane == activePane_ || !layout_.PaneExists(pane)) return;
    SyncActivePane();
    activePane_ = pane;
    LoadActivePane();
    seenLeft_ = leftColumn_;
    seenTop_ = topLine_;
    seenColumns_ = paneColumns_;
    seenRows_ = paneRows_;
    redraw_.Merge(RedrawCaret);
}

void CAnsiView::SetSplit(uint32_t flags, int32_t x, int32_t y)
{
    uint32_t oldSplit = layout_.Split();
    int32_t oldX = layout_.SplitX();
    int32_t oldY = layout_.SplitY();
    SyncActivePane();
    layout_.SetSplit(flags, x, y);
    uint32_t added = layout_.Split() & ~oldSplit;
    // A new pane starts where its neighbour stands.
    if (added & SplitSideBySide) {
        panes_[1] = panes_[0];
        panes_[3] = panes_[2];
    }
    if (added & SplitTopBottom) {
        panes_[2] = panes_[0];
        panes_[3] = panes_[1];
    }
    if (!layout_.PaneExists(activePane_)) {
        int pane = activePane_;
        if (!(layout_.Split() & SplitSideBySide)) pane &= ~1;
        if (!(layout_.Split() & SplitTopBottom)) pane &= ~2;
        activePane_ = pane;
        LoadActivePane();
    }
    RecountAllPanes();
    if (layout_.Split() == oldSplit && layout_.SplitX() == oldX && layout_.SplitY() == oldY) return;
    InvalidateAll();
    OnPanesChanged(layout_.Split(), layout_.SplitX(), layout_.SplitY());
    UpdateScroll(0);
}

LineRect CAnsiView::LineRectInPane(int pane, int64_t line) const
{
    if (!layout_.PaneExists(pane)) return {};
    const PaneState& state = pane == activePane_
                                 ? PaneState{leftColumn_, topLine_, paneColumns_, paneRows_, 0, 0}
                                 : panes_[static_cast<size_t>(pane)];
    const int64_t row = line - state.topLine;
    if (row < 0 || row > state.rows) return {};
    LineRect rect = layout_.PaneRect(pane);
    int32_t y = rect.top + static_cast<int32_t>(row) * charHeight_ - (pane == activePane_ ? subScrollY_ : 0);
    LineRect result{rect.left, std::max(rect.top, y), rect.right, std::min(rect.bottom, y + charHeight_)};
    return result.IsEmpty() ? LineRect{} : result;
}

LinePoint CAnsiView::CaretPoint() const
{
    LineRect rect = layout_.PaneRect(activePane_);
    // Only asked while the cursor line is in the pane, so the row fits 32 bits.
    return {rect.left + leftMargin_ + (cursorColumn_ - leftColumn_) * charWidth_ - subScrollX_,
            rect.top + static_cast<int32_t>(cursorLine_ - topLine_) * charHeight_ - subScrollY_};
}

// ---- UpdateScroll ----

void CAnsiView::ClampCursor()
{
    cursorLine_ = std::clamp<int64_t>(cursorLine_, 0, std::max<int64_t>(0, lineCount_));
    cursorColumn_ = std::clamp(cursorColumn_, 0, std::max(0, lineLength_ - 1));
}

void CAnsiView::ApplyOptionChanges()
{
    uint32_t changed = options_ ^ appliedOptions_;
    appliedOptions_ = options_;
    if (changed & (OptSplitSideBySide | OptSplitTopBottom)) {
        uint32_t oldSplit = layout_.Split();
        SyncActivePane();
        layout_.AllowSplits((options_ & OptSplitSideBySide) != 0, (options_ & OptSplitTopBottom) != 0);
        if (!layout_.PaneExists(activePane_)) {
            activePane_ = 0;
            LoadActivePane();
        }
        RecountAllPanes();
        InvalidateAll();
        if (layout_.Split() != oldSplit) OnPanesChanged(layout_.Split(), layout_.SplitX(), layout_.SplitY());
    }
    if (changed & (OptColumnsA | OptRowsA | OptColumnsB | OptRowsB)) RecountAllPanes();
    if ((changed & OptAcceptFiles) && host_) host_->AcceptDroppedFiles((options_ & OptAcceptFiles) != 0);
}

void CAnsiView::UpdateScroll(uint32_t flags)
{
    ClampCursor();
    ApplyOptionChanges();

    // Without a text area (no window yet) there is nothing to keep the cursor visible
    // in: the cursor counts as moved until the view has a size.
    bool sized = textWidth_ > 0 && textHeight_ > 0;
    bool columnChanged = sized && cursorColumn_ != seenCursorColumn_;
    bool lineChanged = sized && cursorLine_ != seenCursorLine_;
    int32_t fullColumns = std::max(1, paneColumns_ - lastColumnPartial_);
    int32_t fullRows = std::max(1, paneRows_ - lastRowPartial_);
    if (columnChanged) {
        if (cursorColumn_ >= leftColumn_ + fullColumns)
            leftColumn_ = cursorColumn_ - fullColumns + 1;
        else if (cursorColumn_ < leftColumn_)
            leftColumn_ = cursorColumn_;
    }
    if (lineChanged) {
        if (cursorLine_ >= topLine_ + fullRows)
            topLine_ = cursorLine_ - fullRows + 1;
        else if (cursorLine_ < topLine_)
            topLine_ = cursorLine_;
    }
    // Scrolling alone may bring the last line up to the middle of the pane.
    int32_t columnReserve = paneColumns_ / 2 - lastColumnPartial_;
    int32_t rowReserve = lineChanged ? 0 : paneRows_ / 2 - lastRowPartial_;
    leftColumn_ = std::max(0, std::min(leftColumn_, lineLength_ - columnReserve));
    topLine_ = std::max<int64_t>(0, std::min(topLine_, lineCount_ - rowReserve));
    if (options_ & OptNoHorizontalScroll) leftColumn_ = 0;
    if (options_ & OptNoVerticalScroll) topLine_ = 0;
    if (sized) {
        seenCursorColumn_ = cursorColumn_;
        seenCursorLine_ = cursorLine_;
    }

    SyncActivePane();
    if (leftColumn_ != seenLeft_ || topLine_ != seenTop_) {
        seenLeft_ = leftColumn_;
        seenTop_ = topLine_;
        InvalidateAll();
        if (!(flags & UpdateNoScrollNotify)) {
            OnScrolled();
            NotifyParent(NotifyScrolled, leftColumn_, topLine_);
        }
    }

    if (caretMode_ != appliedCaretMode_) caretCreated_ = false;  // re-created by the next draw

    UpdateStripsAndBars();

    if (paneColumns_ != seenColumns_ || paneRows_ != seenRows_) {
        int32_t columnDelta = paneColumns_ - seenColumns_;
        int32_t rowDelta = paneRows_ - seenRows_;
        seenColumns_ = paneColumns_;
        seenRows_ = paneRows_;
        OnSizeChanged(paneColumns_, paneRows_, columnDelta, rowDelta);
    }

    redraw_.Merge(RedrawCaret);
    if (!(flags & UpdateNoDraw) && !redraw_.InBatch() && redraw_.Pending()) DrawPending();
}

void CAnsiView::UpdateStripsAndBars()
{
    int32_t extent = host_ ? host_->ScrollBarExtent() : 0;
    // Showing a strip shrinks the panes, which may call for the other strip: settle it.
    for (int round = 0; round < 3; ++round) {
        bool needH = !(options_ & OptNoHorizontalScroll) && lineLength_ > paneColumns_;
        bool needV = !(options_ & OptNoVerticalScroll) && lineCount_ > paneRows_;
        bool showH = host_ && (needH || (options_ & OptSplitSideBySide));
        bool showV = host_ && (needV || (options_ & OptSplitTopBottom));
        if (showH == layout_.HorizontalStrip() && showV == layout_.VerticalStrip()) break;
        layout_.SetStrips(showH, showV, extent);
        RecountAllPanes();
        InvalidateAll();
    }
    if (!host_) return;
    SyncActivePane();
    for (int bar = 0; bar < kScrollBarCount; ++bar) {
        ScrollBarState state;
        if (layout_.ScrollBarNeeded(bar)) {
            bool horizontal = bar < ScrollBarVerticalTop;
            // The bar of a column (row) of panes follows the upper (left) pane of it,
            // or the active pane when that one is in the column (row).
            int pane = horizontal ? ((activePane_ & 2) | bar) : ((activePane_ & 1) | ((bar - 2) << 1));
            const PaneState& ps = panes_[static_cast<size_t>(pane)];
            int64_t page = horizontal ? ps.columns : ps.rows;
            int64_t range = horizontal ? lineLength_ : lineCount_;
            bool extended = (options_ & (horizontal ? OptSplitSideBySide : OptSplitTopBottom)) != 0;
            if (extended) range += page / 2;
            int64_t position = horizontal ? ps.leftColumn : ps.topLine;
            state.page = std::max<int64_t>(1, page);
            state.maximum = std::max(position, std::max<int64_t>(0, range - page));
            state.position = position;
            state.visible = true;
            state.enabled = range > page;
            state.where = layout_.ScrollBarRect(bar);
        }
        if (!(state == bars_[static_cast<size_t>(bar)])) {
            bars_[static_cast<size_t>(bar)] = state;
            host_->SetScrollBar(bar, state);
        }
    }
}

void CAnsiView::NotifyParent(int code, int64_t a, int64_t b)
{
    if (parent_) parent_->OnLineViewNotify(*this, code, a, b);
}

// ---- Redraw ----

void CAnsiView::InvalidateAll()
{
    redraw_.RequestAll();
}

void CAnsiView::InvalidateLine(int64_t line)
{
    redraw_.RequestLine(line);
}

void CAnsiView::InvalidateLines(int64_t first, int64_t count)
{
    redraw_.RequestLines(first, count);
}

void CAnsiView::InvalidateFrom(int64_t line)
{
    redraw_.RequestFrom(line);
}

void CAnsiView::InvalidateCursorLine()
{
    redraw_.Merge(RedrawCursorLine);
}

void CAnsiView::BeginUpdateBatch()
{
    if (batchDepth_++ == 0) redraw_.SetBatch(true);
}

void CAnsiView::EndUpdateBatch()
{
    if (batchDepth_ == 0) return;
    if (--batchDepth_ == 0) {
        redraw_.SetBatch(false);
        if (redraw_.Pending()) DrawPending();
    }
}

void CAnsiView::Redraw(bool onlyIfRequested)
{
    if (!onlyIfRequested) InvalidateAll();
    if (redraw_.Pending()) DrawPending();
}

void CAnsiView::InvalidateRange(int64_t first, int64_t last)
{
    for (int pane = 0; pane < kMaxPanes; ++pane) {
        if (!layout_.PaneExists(pane)) continue;
        const PaneState& ps = panes_[static_cast<size_t>(pane)];
        int64_t from = std::max(first, ps.topLine);
        int64_t to = std::min<int64_t>(last, ps.topLine + ps.rows);
        if (from > to) continue;
        LineRect top = LineRectInPane(pane, from);
        LineRect bottom = LineRectInPane(pane, to);
        LineRect rect = layout_.PaneRect(pane);
        rect.top = top.IsEmpty() ? rect.top : top.top;
        if (!bottom.IsEmpty()) rect.bottom = bottom.bottom;
        if (!rect.IsEmpty()) host_->Invalidate(rect);
    }
}

void CAnsiView::DrawPending()
{
    if (!host_) {
        redraw_.Clear();
        return;
    }
    SyncActivePane();
    uint32_t bits = redraw_.Bits();
    if (bits & (RedrawAll | RedrawFromOldEnd)) {
        host_->Invalidate({0, 0, clientWidth_, clientHeight_});
    } else {
        int64_t first = 0;
        int64_t last = 0;
        if (redraw_.LineRange(first, last)) InvalidateRange(first, last);
        if (bits & RedrawCursorLine) InvalidateRange(cursorLine_, cursorLine_);
        if (bits & RedrawLineBeforeCursor) InvalidateRange(cursorLine_ - 1, cursorLine_ - 1);
    }
    redraw_.Clear();
    ApplyCaret();
    host_->PaintNow();
}

void CAnsiView::ApplyCaret()
{
    if (!host_) return;
    if (!caretCreated_) {
        appliedCaretMode_ = caretMode_;
        host_->DestroyCaret();
        host_->CreateCaret((caretMode_ & CaretThin) ? 2 : charWidth_ + 1, charHeight_);
        caretCreated_ = true;
    }
    bool inPane = cursorColumn_ >= leftColumn_ && cursorColumn_ < leftColumn_ + paneColumns_ &&
                  cursorLine_ >= topLine_ && cursorLine_ < topLine_ + paneRows_;
    bool show = (caretMode_ & CaretShown) && hasFocus_ && inPane && rightMode_ != RightMode::Panning;
    if (show) {
        LinePoint at = CaretPoint();
        host_->SetCaretPos(at.x, at.y);
    }
    host_->ShowCaret(show);
}

// ---- Options and simple setters ----

void CAnsiView::SetCaretMode(uint32_t mode)
{
    caretMode_ = mode & (CaretThin | CaretShown);
    UpdateScroll(0);
}

void CAnsiView::SetOptions(uint32_t options)
{
    options_ = options;
    UpdateScroll(0);
}

void CAnsiView::EnableDroppedFiles(bool enable)
{
    SetOptions(enable ? options_ | OptAcceptFiles : options_ & ~OptAcceptFiles);
}

void CAnsiView::SetLineCount(int64_t count)
{
    lineCount_ = std::max<int64_t>(0, count);
    InvalidateAll();
}

void CAnsiView::SetLineLength(int32_t length)
{
    lineLength_ = std::max(0, length);
    InvalidateAll();
}

// ---- LineViewControl ----

uint32_t CAnsiView::LineViewControl(uint32_t select, uint32_t packedPosition)
{
    int32_t column = static_cast<int32_t>(packedPosition & 0xFFFF);
    int32_t line = static_cast<int32_t>(packedPosition >> 16);
    // The message packs 16 bits per value: lines beyond them come back cut.
    uint32_t cursor = Pack(cursorColumn_, static_cast<int32_t>(cursorLine_));
    uint32_t scroll = Pack(leftColumn_, static_cast<int32_t>(topLine_));
    switch (select) {
    case 0:
    case 4:
        SetCursorPos(column, line, select == 4 ? CursorExtend : 0);
        UpdateScroll(0);
        return cursor;
    case 2:
        leftColumn_ = column;
        topLine_ = line;
        UpdateScroll(0);
        return scroll;
    case 3:
        return scroll;
    case 1:
    case 5:
        return cursor;
    default:
        return 0;
    }
}

}  // namespace qv
