// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The extra panes of the main window's status bar that the focused hex view writes into,
// and its messages.
// The main window implements it. Texts are UTF-8 (the view's texts are plain ASCII).
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct StatusPaneSpec {
    int32_t style = 0;
    // Negative: that many average character widths of the status bar font; positive: pixels.
    int32_t width = 0;
};

class IStatusPanes {
public:
    virtual ~IStatusPanes() = default;
    // Defines the extra panes after the window's own ones; an empty list removes them.
    virtual void DefinePanes(const std::vector<StatusPaneSpec>& panes) = 0;
    // Sets the text of extra pane `index` in default colours; false when there is no such pane.
    virtual bool SetPaneText(int index, const std::string& textUtf8) = 0;
    // A message in the window's own pane, which gives way to the next one after a while.
    virtual void ShowMessage(const std::string& textUtf8) = 0;
};

}  // namespace qv
