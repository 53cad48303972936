// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a line view needs of the window that shows it: scroll bars, repaint, caret,
// mouse capture and cursor shape, timers, fonts, system colours and popup menus.
// The Qt widget implements it; tests use a recording fake.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "view/FontSpec.h"
#include "view/LineDrawing.h"

namespace qv {

enum class CursorShape { Arrow, Hand, SizeWestEast, SizeNorthSouth, SizeAll };

enum class SystemColor { Window, WindowText, ButtonFace };

// The four scroll bars: one horizontal bar under each column of panes, one vertical bar
// beside each row of panes.
enum ScrollBarId : int {
    ScrollBarHorizontalLeft = 0,
    ScrollBarHorizontalRight = 1,
    ScrollBarVerticalTop = 2,
    ScrollBarVerticalBottom = 3,
};
inline constexpr int kScrollBarCount = 4;

// In lines or columns: a view of a large file has more lines than a 32-bit bar counts
// (the window maps them onto its bar, ScrollBarScale.h).
struct ScrollBarState {
    int64_t maximum = 0;   // range 0..maximum
    int64_t page = 1;
    int64_t position = 0;
    bool visible = false;
    bool enabled = true;
    LineRect where;        // client pixels
    bool operator==(const ScrollBarState&) const = default;
};

struct MenuEntry {
    int command = 0;       // 0 with an empty text: a separator
    std::string text;      // UTF-8, '&' marks the access key
    bool enabled = true;
    bool checked = false;
};
using ContextMenu = std::vector<MenuEntry>;

class ILineViewHost {
public:
    virtual ~ILineViewHost() = default;

    // Thickness of the scroll-bar strips (width of a vertical bar, height of a horizontal one).
    virtual int32_t ScrollBarExtent() const = 0;
    virtual void SetScrollBar(int bar, const ScrollBarState& state) = 0;

    // Marks a client rectangle for painting; PaintNow paints what is marked at once.
    virtual void Invalidate(const LineRect& rect) = 0;
    virtual void PaintNow() = 0;

    virtual void CreateCaret(int32_t width, int32_t height) = 0;
    virtual void DestroyCaret() = 0;
    virtual void ShowCaret(bool show) = 0;
    virtual void SetCaretPos(int32_t x, int32_t y) = 0;

    virtual void SetCapture(bool capture) = 0;
    virtual void SetCursorShape(CursorShape shape) = 0;
    virtual void TakeFocus() = 0;
    // Current mouse position in client pixels, and the buttons and modifiers held now
    // (MouseFlags bits), whatever the last event said.
    virtual LinePoint MousePosition() const = 0;
    virtual uint32_t MouseAndKeyState() const = 0;

    // Window timers: the view's HandleTimer(id) runs every intervalMs until stopped.
    virtual void StartTimer(int id, int intervalMs) = 0;
    virtual void StopTimer(int id) = 0;
    // Milliseconds from an arbitrary start, monotonic.
    virtual uint64_t TickCount() const = 0;

    // Cell size of the font that the FontSpec names, or nullopt when no font of that face
    // can be made. FontsChanged tells the host to rebuild its fonts from the style.
    virtual std::optional<CellMetrics> MeasureFont(const FontSpec& spec) = 0;
    virtual void FontsChanged() = 0;

    virtual Color SystemColorOf(SystemColor which) const = 0;

    // Shows the menu at client point (x, y) and returns the chosen command or 0.
    virtual int TrackPopupMenu(int32_t x, int32_t y, const ContextMenu& menu) = 0;

    virtual void AcceptDroppedFiles(bool accept) = 0;
};

}  // namespace qv
