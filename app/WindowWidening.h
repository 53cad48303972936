// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Room for a side panel or a second pane: a window that is not maximised grows by the
// panel's width, as far as its screen allows, and shrinks back when the panel goes, unless
// the user resized it in between. The hex view beside the panel keeps its bytes per row.
class QDockWidget;
class QWidget;

namespace qv {

class WindowWidening {
public:
    void Widen(QWidget& window, int extra);
    // The window's width once what was added to it has been laid out.
    void Settled(const QWidget& window);
    void GiveBack(QWidget& window);

private:
    int before_ = -1;
    int widened_ = -1;
};

// Shows or hides a dock of the main window. A dock that appears beside the view (docked, in
// an area where no other dock is shown) widens the window by its width; hiding it again
// gives the width back.
void ToggleSideDock(QDockWidget& dock);

}  // namespace qv
