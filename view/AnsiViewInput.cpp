// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, mouse, wheel, timer, focus and drop handling of CAnsiView.
#include <algorithm>
#include <cstdlib>

#include "view/AnsiView.h"

namespace qv {

namespace {

constexpr int32_t kPanThreshold = 3;      // pixels the mouse may move before panning starts
constexpr int kPanStillTicks = 5;         // timer ticks of holding still before panning starts
constexpr uint64_t kDoubleClickHoldOffMs = 300;

int32_t FloorDiv(int32_t a, int32_t b)
{
    int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Autoscroll step of one axis: positive past the far edge (odd, at least 1), negative
// before the near edge, 0 inside.
int32_t AutoStep(int32_t pos, int32_t nearEdge, int32_t farEdge)
{
    if (pos >= farEdge) return ((pos - farEdge) / 8) | 1;
    if (pos < nearEdge) return FloorDiv(pos - nearEdge, 8);
    return 0;
}

uint32_t KeyModifiers(uint32_t keyFlags)
{
    return ((keyFlags & KeyFlagShift) ? ModShift : 0) | ((keyFlags & KeyFlagCtrl) ? ModCtrl : 0);
}

uint32_t MouseModifiers(uint32_t mouseFlags)
{
    return ((mouseFlags & MouseShift) ? ModShift : 0) | ((mouseFlags & MouseCtrl) ? ModCtrl : 0);
}

bool IsNavigationKey(int key)
{
    return key >= KeyPageUp && key <= KeyDown;
}

// Draws once when an input handler ends, however many requests it made.
class BatchScope {
public:
    explicit BatchScope(CAnsiView& view) : view_(view) { view_.BeginUpdateBatch(); }
    ~BatchScope() { view_.EndUpdateBatch(); }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    CAnsiView& view_;
};

}  // namespace

// ---- Keys ----

void CAnsiView::HandleKeyDown(int key, int repeat, uint32_t flags)
{
    BatchScope batch(*this);
    modifierState_ = KeyModifiers(flags);
    repeat = std::clamp(repeat, 1, kMaxKeyRepeat);
    for (int i = 0; i < repeat; ++i) {
        if (OnKeyDown(key, flags)) continue;
        if (key == KeyClear && (flags & (KeyFlagShift | KeyFlagCtrl | KeyFlagAlt)) == 0) {
            OnDoubleClick(0, 0, 0, cursorColumn_, cursorLine_);
        } else if (IsNavigationKey(key)) {
            HandleNavigationKey(key);
        } else {
            continue;
        }
        UpdateScroll(0);
    }
}

void CAnsiView::HandleNavigationKey(int key)
{
    bool shift = (modifierState_ & ModShift) != 0;
    bool ctrl = (modifierState_ & ModCtrl) != 0;
    int32_t page = std::max(1, paneRows_ - 1);
    if (ctrl && (key == KeyEnd || key == KeyHome)) {
        SetCursorPos(0, key == KeyEnd ? std::max<int64_t>(0, lineCount_ - 1) : 0, shift ? CursorExtend : 0);
        return;
    }
    if ((ctrl && !shift) || !(caretMode_ & CaretShown)) {
        switch (key) {
        case KeyPageUp: topLine_ -= page; break;
        case KeyPageDown: topLine_ += page; break;
        case KeyLeft: leftColumn_ -= 1; break;
        case KeyRight: leftColumn_ += 1; break;
        case KeyUp: topLine_ -= 1; break;
        case KeyDown: topLine_ += 1; break;
        default: return;
        }
        UpdateScroll(UpdateNoDraw);
        OnScrollKey(key);
        return;
    }
    uint32_t moveFlags = CursorRelative | (shift ? CursorExtend : 0) | (ctrl ? CursorCtrl : 0);
    switch (key) {
    case KeyPageUp:
        topLine_ -= page;
        SetCursorPos(0, -page, moveFlags);
        break;
    case KeyPageDown:
        topLine_ += page;
        SetCursorPos(0, page, moveFlags);
        break;
    case KeyEnd: SetCursorPos(lineLength_ - cursorColumn_, 0, moveFlags); break;
    case KeyHome: SetCursorPos(-cursorColumn_, 0, moveFlags); break;
    case KeyLeft: SetCursorPos(-1, 0, moveFlags); break;
    case KeyRight: SetCursorPos(1, 0, moveFlags); break;
    case KeyUp: SetCursorPos(0, -1, moveFlags); break;
    case KeyDown: SetCursorPos(0, 1, moveFlags); break;
    default: break;
    }
}

void CAnsiView::HandleKeyUp(int key, int repeat, uint32_t flags)
{
    modifierState_ = KeyModifiers(flags);
    repeat = std::clamp(repeat, 1, kMaxKeyRepeat);
    for (int i = 0; i < repeat; ++i) OnKeyUp(key, flags);
}

void CAnsiView::HandleChar(uint32_t character, int repeat, uint32_t flags)
{
    BatchScope batch(*this);
    modifierState_ = KeyModifiers(flags);
    repeat = std::clamp(repeat, 1, kMaxKeyRepeat);
    for (int i = 0; i < repeat; ++i) OnCharKey(character, flags);
    UpdateScroll(0);
}

// ---- Focus ----

void CAnsiView::HandleKillFocus()
{
    hasFocus_ = false;
    if (host_) host_->ShowCaret(false);
    NotifyParent(NotifyFocusLost, 0, 0);
}

// ---- Mouse ----

void CAnsiView::MouseToCell(const PaneHit& hit, int32_t x, int32_t y, int32_t& px, int32_t& py, int32_t& column,
                            int64_t& line) const
{
    px = x - hit.origin.x;
    py = y - hit.origin.y;
    column = leftColumn_ + FloorDiv(px + subScrollX_ + charWidth_ / 2 - leftMargin_, charWidth_);
    line = topLine_ + FloorDiv(py + subScrollY_, charHeight_);
}

PaneHit CAnsiView::HitInActivePane(int32_t, int32_t) const
{
    LineRect rect = layout_.PaneRect(activePane_);
    return {HitText + activePane_, activePane_, {rect.left, rect.top}};
}

void CAnsiView::HandleMouseDown(MouseButton button, uint32_t flags, int32_t x, int32_t y)
{
    if (button == MouseButton::Extra1 || button == MouseButton::Extra2) {
        // The extra buttons page: the second one up, the first one down.
        int key = button == MouseButton::Extra2 ? KeyPageUp : KeyPageDown;
        uint32_t keyFlags = ((flags & MouseShift) ? KeyFlagShift : 0) | ((flags & MouseCtrl) ? KeyFlagCtrl : 0);
        HandleKeyDown(key, 1, keyFlags);
        HandleKeyUp(key, 1, keyFlags);
        return;
    }
    if (button == MouseButton::Middle) return;
    BatchScope batch(*this);
    modifierState_ = MouseModifiers(flags);
    PaneHit hit = layout_.HitTest(x, y);
    if (button == MouseButton::Left && hit.code != HitNothing && hit.code < HitText) {
        splitterDrag_ = hit.code;
        if (host_) host_->SetCapture(true);
        return;
    }
    if (button == MouseButton::Left && (hit.code == HitSplitBoxSideBySide || hit.code == HitSplitBoxTopBottom)) {
        splitterDrag_ = hit.code == HitSplitBoxSideBySide ? HitVerticalBar : HitHorizontalBar;
        if (host_) host_->SetCapture(true);
        return;
    }
    if (hit.code < HitText || hit.code >= HitSplitBoxSideBySide) return;
    ActivatePane(hit.pane);
    if (host_) host_->TakeFocus();
    int32_t px, py, column;
    int64_t line;
    MouseToCell(hit, x, y, px, py, column, line);
    bool inMargin = px < leftMargin_;

    if (button == MouseButton::Left) {
        int handled = inMargin ? OnMarginMouse(flags | MarginDown | MarginLeft, px, py, line)
                               : OnLeftDown(flags, px, py, column, line);
        if (!handled) {
            StopTimer();
            if (column < leftColumn_) {
                dragMode_ = DragMode::Margin;
            } else {
                if (dragMode_ == DragMode::None) SetCursorPos(column, line, CursorFromMouse | CursorDragOrigin);
                dragMode_ = DragMode::Text;
                if ((flags & MouseCtrl) && OnDoubleClick(flags, px, py, column, line)) dragMode_ = DragMode::None;
            }
            if (dragMode_ != DragMode::None && host_) host_->SetCapture(true);
        }
    } else {
        int handled = inMargin ? OnMarginMouse(flags | MarginDown | MarginRight, px, py, line)
                               : OnRightDown(flags, px, py, column, line);
        if (!handled) {
            rightMode_ = inMargin ? RightMode::Margin : RightMode::Text;
            rightTicks_ = 0;
            rightPress_ = {x, y};
            StartTimer();
        }
    }
    UpdateScroll(0);
}

void CAnsiView::HandleMouseUp(MouseButton button, uint32_t flags, int32_t x, int32_t y)
{
    if (button != MouseButton::Left && button != MouseButton::Right) return;
    BatchScope batch(*this);
    modifierState_ = MouseModifiers(flags);
    if (button == MouseButton::Left && splitterDrag_ != HitNothing) {
        MoveSplitter(x, y);
        splitterDrag_ = HitNothing;
        if (host_) host_->SetCapture(false);
        return;
    }
    PaneHit hit = HitInActivePane(x, y);
    int32_t px, py, column;
    int64_t line;
    MouseToCell(hit, x, y, px, py, column, line);
    bool inMargin = px < leftMargin_;
    if (button == MouseButton::Left) {
        int handled = inMargin ? OnMarginMouse(flags | MarginUp | MarginLeft, px, py, line)
                               : OnLeftUp(flags, px, py, column, line);
        if (!handled) {
            dragMode_ = DragMode::None;
            StopTimer();
            if (host_) host_->SetCapture(false);
        }
    } else {
        RightMode mode = rightMode_;
        int handled = inMargin ? OnMarginMouse(flags | MarginUp | MarginRight, px, py, line)
                               : OnRightUp(flags, px, py, column, line);
        if (mode == RightMode::Panning) {
            EndPanning(true);
        } else {
            StopTimer();
            rightMode_ = RightMode::None;
            if (!handled && (mode == RightMode::Text || mode == RightMode::Margin)) {
                ContextMenu menu;
                ShowContextMenu(x, y, menu);
            }
        }
        rightMode_ = RightMode::None;
    }
    UpdateScroll(0);
}

void CAnsiView::HandleDoubleClick(MouseButton button, uint32_t flags, int32_t x, int32_t y)
{
    if (button != MouseButton::Left && button != MouseButton::Right) return;
    BatchScope batch(*this);
    modifierState_ = MouseModifiers(flags);
    PaneHit hit = layout_.HitTest(x, y);
    if (button == MouseButton::Left && hit.code == HitSplitBoxSideBySide) return ToggleSplit(SplitSideBySide);
    if (button == MouseButton::Left && hit.code == HitSplitBoxTopBottom) return ToggleSplit(SplitTopBottom);
    if (hit.code < HitText || hit.code >= HitSplitBoxSideBySide) return;
    ActivatePane(hit.pane);
    int32_t px, py, column;
    int64_t line;
    MouseToCell(hit, x, y, px, py, column, line);
    bool inMargin = px < leftMargin_;
    if (button == MouseButton::Right) {
        if (inMargin)
            OnMarginMouse(flags | MarginDouble | MarginRight, px, py, line);
        else
            OnRightDoubleClick(flags, px, py, column, line);
        return;
    }
    int handled = inMargin ? OnMarginMouse(flags | MarginDouble | MarginLeft, px, py, line)
                           : OnDoubleClick(flags, px, py, column, line);
    if (!handled && column >= leftColumn_) {
        SetCursorPos(column, line, CursorFromMouse);
        // The button is still down: a drag may follow, but not before the hold-off.
        holdOffUntil_ = (host_ ? host_->TickCount() : 0) + kDoubleClickHoldOffMs;
        dragMode_ = DragMode::Text;
        if (host_) host_->SetCapture(true);
    }
    UpdateScroll(0);
}

void CAnsiView::HandleMouseMove(uint32_t flags, int32_t x, int32_t y)
{
    BatchScope batch(*this);
    if (splitterDrag_ != HitNothing) {
        MoveSplitter(x, y);
        return;
    }
    if (rightMode_ == RightMode::Panning) {
        PanTo(x, y);
        return;
    }
    if (rightMode_ != RightMode::None && (flags & MouseRight)) {
        if (std::abs(x - rightPress_.x) > kPanThreshold || std::abs(y - rightPress_.y) > kPanThreshold) {
            EnterPanning();
            PanTo(x, y);
        }
        return;
    }
    if (dragMode_ == DragMode::Text && (flags & MouseLeft)) {
        DragMove(flags, x, y);
        return;
    }
    if (dragMode_ == DragMode::Margin) {
        PaneHit hit = HitInActivePane(x, y);
        int32_t px, py, column;
        int64_t line;
        MouseToCell(hit, x, y, px, py, column, line);
        OnMarginMouse(flags | MarginMove, px, py, line);
        return;
    }
    PaneHit hit = layout_.HitTest(x, y);
    if (hit.code < HitText || hit.code >= HitSplitBoxSideBySide) return;
    int32_t px, py, column;
    int64_t line;
    MouseToCell(hit, x, y, px, py, column, line);
    OnMouseMove(flags, px, py, column, line);
}

void CAnsiView::DragMove(uint32_t /*flags*/, int32_t x, int32_t y)
{
    PaneHit hit = HitInActivePane(x, y);
    LineRect rect = layout_.PaneRect(activePane_);
    int32_t px, py, column;
    int64_t line;
    MouseToCell(hit, x, y, px, py, column, line);
    autoStepX_ = AutoStep(px, leftMargin_, rect.Width() - charWidth_);
    autoStepY_ = AutoStep(py, 0, rect.Height() - charHeight_);
    if (autoStepX_ != 0 || autoStepY_ != 0) {
        StartTimer();
        return;
    }
    StopTimer();
    uint64_t now = host_ ? host_->TickCount() : 0;
    if (now >= holdOffUntil_) {
        SetCursorPos(column, line, CursorExtend | CursorFromMouse);
        UpdateScroll(0);
    }
}

void CAnsiView::StartTimer()
{
    if (timerRunning_ || !host_) return;
    host_->StartTimer(kAutoScrollTimer, kAutoScrollIntervalMs);
    timerRunning_ = true;
}

void CAnsiView::StopTimer()
{
    if (!timerRunning_) return;
    if (host_) host_->StopTimer(kAutoScrollTimer);
    timerRunning_ = false;
}

void CAnsiView::HandleTimer(int id)
{
    if (id != kAutoScrollTimer) return;
    BatchScope batch(*this);
    if (rightMode_ == RightMode::Text || rightMode_ == RightMode::Margin) {
        LinePoint at = host_ ? host_->MousePosition() : rightPress_;
        bool still = std::abs(at.x - rightPress_.x) <= kPanThreshold && std::abs(at.y - rightPress_.y) <= kPanThreshold;
        if (!still) {
            rightTicks_ = 0;
            rightPress_ = at;
        } else if (++rightTicks_ >= kPanStillTicks) {
            EnterPanning();
        }
        return;
    }
    if (dragMode_ != DragMode::Text || (autoStepX_ == 0 && autoStepY_ == 0)) {
        StopTimer();
        return;
    }
    if (host_ && host_->TickCount() < holdOffUntil_) return;
    SetCursorPos(autoStepX_, autoStepY_, CursorRelative | CursorExtend | CursorFromMouse);
    UpdateScroll(0);
}

// ---- Right-button panning ----

void CAnsiView::EnterPanning()
{
    StopTimer();
    rightMode_ = RightMode::Panning;
    panAnchor_ = rightPress_;
    panAnchorLeft_ = leftColumn_;
    panAnchorTop_ = topLine_;
    subScrollX_ = 0;
    subScrollY_ = 0;
    if (host_) {
        host_->ShowCaret(false);
        host_->SetCursorShape(CursorShape::Hand);
        host_->SetCapture(true);
    }
}

void CAnsiView::PanTo(int32_t x, int32_t y)
{
    // Dragging the text right shows what lies to its left. Lines are counted from the
    // anchor, so that the pixel arithmetic stays small on a view of any length.
    int32_t pixelX = (options_ & OptNoHorizontalScroll) ? 0 : panAnchorLeft_ * charWidth_ - (x - panAnchor_.x);
    int32_t pixelY = (options_ & OptNoVerticalScroll) ? 0 : -(y - panAnchor_.y);
    leftColumn_ = FloorDiv(pixelX, charWidth_);
    const int32_t linesMoved = FloorDiv(pixelY, charHeight_);
    topLine_ = (options_ & OptNoVerticalScroll) ? 0 : panAnchorTop_ + linesMoved;
    subScrollX_ = pixelX - leftColumn_ * charWidth_;
    subScrollY_ = pixelY - linesMoved * charHeight_;
    int32_t wantLeft = leftColumn_;
    int64_t wantTop = topLine_;
    UpdateScroll(UpdateNoDraw);
    if (leftColumn_ != wantLeft) subScrollX_ = 0;  // at a limit: no partial cell
    if (topLine_ != wantTop) subScrollY_ = 0;
    InvalidateAll();
}

void CAnsiView::EndPanning(bool scrollRest)
{
    if (host_) {
        host_->SetCapture(false);
        host_->SetCursorShape(CursorShape::Arrow);
    }
    if (scrollRest) {
        if (subScrollX_ > charWidth_ / 2) ++leftColumn_;
        if (subScrollY_ > charHeight_ / 2) ++topLine_;
    }
    subScrollX_ = 0;
    subScrollY_ = 0;
    rightMode_ = RightMode::None;
    InvalidateAll();
}

// ---- Splitters ----

void CAnsiView::MoveSplitter(int32_t x, int32_t y)
{
    uint32_t split = layout_.Split();
    int32_t splitX = layout_.SplitX();
    int32_t splitY = layout_.SplitY();
    int32_t half = kSplitterWidth / 2;
    if (splitterDrag_ == HitVerticalBar || splitterDrag_ == HitBothBars) {
        split |= SplitSideBySide;
        splitX = x - half;
    }
    if (splitterDrag_ == HitHorizontalBar || splitterDrag_ == HitBothBars) {
        split |= SplitTopBottom;
        splitY = y - half;
    }
    SetSplit(split, splitX, splitY);
    // A drag that removed the split ends there.
    if (splitterDrag_ == HitVerticalBar && !(layout_.Split() & SplitSideBySide)) splitterDrag_ = HitNothing;
    if (splitterDrag_ == HitHorizontalBar && !(layout_.Split() & SplitTopBottom)) splitterDrag_ = HitNothing;
    if (splitterDrag_ == HitNothing && host_) host_->SetCapture(false);
}

void CAnsiView::ToggleSplit(uint32_t which)
{
    uint32_t split = layout_.Split() ^ which;
    int32_t x = layout_.SplitX();
    int32_t y = layout_.SplitY();
    if (which == SplitSideBySide && (split & which)) x = (layout_.TextWidth() - kSplitterWidth) / 2;
    if (which == SplitTopBottom && (split & which)) y = (layout_.TextHeight() - kSplitterWidth) / 2;
    SetSplit(split, x, y);
}

CursorShape CAnsiView::CursorShapeAt(int32_t x, int32_t y) const
{
    if (rightMode_ == RightMode::Panning) return CursorShape::Hand;
    int code = splitterDrag_ != HitNothing ? splitterDrag_ : layout_.HitTest(x, y).code;
    switch (code) {
    case HitVerticalBar:
    case HitSplitBoxSideBySide: return CursorShape::SizeWestEast;
    case HitHorizontalBar:
    case HitSplitBoxTopBottom: return CursorShape::SizeNorthSouth;
    case HitBothBars: return CursorShape::SizeAll;
    default: return CursorShape::Arrow;
    }
}

// ---- Wheel and scroll bars ----

void CAnsiView::HandleWheel(uint32_t flags, int32_t delta)
{
    if (delta == 0) return;
    BatchScope batch(*this);
    modifierState_ = MouseModifiers(flags);
    if (OnWheel(flags, delta)) return;
    int32_t lines = (flags & MouseCtrl) ? std::max(1, paneRows_ - 1) : (flags & MouseShift) ? 9 : 3;
    int64_t oldTop = topLine_;
    topLine_ += delta > 0 ? -lines : lines;
    UpdateScroll(0);
    if (topLine_ == oldTop) return;
    OnScrollKey(0);
    if (dragMode_ == DragMode::Text && host_ && (host_->MouseAndKeyState() & MouseLeft)) {
        LinePoint at = host_->MousePosition();
        DragMove(host_->MouseAndKeyState(), at.x, at.y);
    }
}

void CAnsiView::HandleScroll(int bar, ScrollAction action, int64_t position)
{
    if (bar < 0 || bar >= kScrollBarCount) return;
    BatchScope batch(*this);
    bool horizontal = bar < ScrollBarVerticalTop;
    int pane = horizontal ? ((activePane_ & 2) | bar) : ((activePane_ & 1) | ((bar - 2) << 1));
    ActivatePane(pane);
    int64_t value = horizontal ? leftColumn_ : topLine_;
    int32_t page = std::max(1, (horizontal ? paneColumns_ : paneRows_) - 1);
    switch (action) {
    case ScrollAction::LineUp: value -= 1; break;
    case ScrollAction::LineDown: value += 1; break;
    case ScrollAction::PageUp: value -= page; break;
    case ScrollAction::PageDown: value += page; break;
    case ScrollAction::Top: value = 0; break;
    case ScrollAction::Bottom: value = horizontal ? lineLength_ : lineCount_; break;
    case ScrollAction::ThumbTrack:
    case ScrollAction::ThumbPosition: value = position; break;
    case ScrollAction::EndScroll: return;
    }
    if (horizontal)
        leftColumn_ = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    else
        topLine_ = value;
    UpdateScroll(0);
}

// ---- Dropped files ----

void CAnsiView::HandleDroppedFiles(const std::vector<std::string>& paths)
{
    if (paths.empty() || paths.front().empty() || !(options_ & OptAcceptFiles) || !parent_) return;
    parent_->OnFileDropped(*this, paths.front());
    Redraw(false);
}

}  // namespace qv
