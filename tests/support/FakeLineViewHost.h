// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Line-view host for tests: records scroll bars, invalidated rectangles, caret and
// capture calls; fonts have a fixed cell per face (faces can be made unavailable);
// timers fire only when a test calls the view's HandleTimer.
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "view/LineViewHost.h"
#include "view/LineViewParent.h"

namespace qv::test {

class FakeLineViewHost : public ILineViewHost {
public:
    int32_t ScrollBarExtent() const override { return extent; }
    void SetScrollBar(int bar, const ScrollBarState& state) override { bars[static_cast<size_t>(bar)] = state; }
    void Invalidate(const LineRect& rect) override { invalidated.push_back(rect); }
    void PaintNow() override { ++paints; }
    void CreateCaret(int32_t width, int32_t height) override
    {
        caretWidth = width;
        caretHeight = height;
        ++caretsCreated;
    }
    void DestroyCaret() override { caretShown = false; }
    void ShowCaret(bool show) override { caretShown = show; }
    void SetCaretPos(int32_t x, int32_t y) override { caretPos = {x, y}; }
    void SetCapture(bool capture) override { captured = capture; }
    void SetCursorShape(CursorShape shape) override { cursor = shape; }
    void TakeFocus() override { ++focusRequests; }
    LinePoint MousePosition() const override { return mouse; }
    uint32_t MouseAndKeyState() const override { return buttons; }
    void StartTimer(int id, int intervalMs) override { timers[id] = intervalMs; }
    void StopTimer(int id) override { timers.erase(id); }
    uint64_t TickCount() const override { return now; }
    std::optional<CellMetrics> MeasureFont(const FontSpec& spec) override
    {
        measured.push_back(spec.FaceName());
        if (missingFaces.count(spec.FaceName())) return std::nullopt;
        if (spec.style & variantCellDiffersFor) return CellMetrics{cell.width + 1, cell.height};
        return cell;
    }
    void FontsChanged() override { ++fontChanges; }
    Color SystemColorOf(SystemColor which) const override
    {
        return which == SystemColor::ButtonFace ? buttonFace : which == SystemColor::Window ? 0xFFFFFF : 0;
    }
    int TrackPopupMenu(int32_t x, int32_t y, const ContextMenu& menu) override
    {
        menus.push_back(menu);
        menuPoint = {x, y};
        return menuChoice;
    }
    void AcceptDroppedFiles(bool accept) override { acceptsFiles = accept; }

    // Sum of invalidated areas would double count; tests look at the rectangles.
    void ClearRecords()
    {
        invalidated.clear();
        paints = 0;
    }

    int32_t extent = 16;
    std::array<ScrollBarState, kScrollBarCount> bars{};
    std::vector<LineRect> invalidated;
    int paints = 0;
    int32_t caretWidth = 0;
    int32_t caretHeight = 0;
    int caretsCreated = 0;
    bool caretShown = false;
    LinePoint caretPos;
    bool captured = false;
    CursorShape cursor = CursorShape::Arrow;
    int focusRequests = 0;
    LinePoint mouse;
    uint32_t buttons = 0;
    std::map<int, int> timers;
    uint64_t now = 1000;
    CellMetrics cell{8, 16};
    std::set<std::string> missingFaces;
    uint32_t variantCellDiffersFor = 0;  // style bits whose variants measure differently
    std::vector<std::string> measured;
    int fontChanges = 0;
    Color buttonFace = 0xF0F0F0;
    std::vector<ContextMenu> menus;
    LinePoint menuPoint;
    int menuChoice = 0;
    bool acceptsFiles = false;
};

// The window owning a line view: records notifications, commands and dropped files.
class FakeLineViewParent : public ILineViewParent {
public:
    struct Notification {
        int code;
        int64_t a;
        int64_t b;
    };
    void OnLineViewNotify(CAnsiView&, int code, int64_t a, int64_t b) override { notes.push_back({code, a, b}); }
    bool ExecuteCommand(int command) override
    {
        executed.push_back(command);
        return enabledCommands.count(command) != 0;
    }
    bool IsCommandEnabled(int command) override { return enabledCommands.count(command) != 0; }
    void OnFileDropped(CAnsiView&, const std::string& path) override { dropped.push_back(path); }

    int Count(int code) const
    {
        int n = 0;
        for (const Notification& note : notes) n += note.code == code;
        return n;
    }

    std::vector<Notification> notes;
    std::vector<int> executed;
    std::set<int> enabledCommands;
    std::vector<std::string> dropped;
};

}  // namespace qv::test
