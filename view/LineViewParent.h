// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a line view tells the window that owns it (the main window implements it):
// scroll and focus notifications, commands chosen in its context menu, dropped files.
#include <cstdint>
#include <string>

namespace qv {

class CAnsiView;

enum LineViewNotification : int {
    NotifyScrolled = 10228,      // a = left column, b = top line
    NotifyFocusGained = 10229,
    NotifyFocusLost = 10230,
};

class ILineViewParent {
public:
    virtual ~ILineViewParent() = default;
    virtual void OnLineViewNotify(CAnsiView& view, int code, int64_t a, int64_t b) = 0;
    // Runs a menu or key command; false when nobody handles it.
    virtual bool ExecuteCommand(int command) = 0;
    virtual bool IsCommandEnabled(int command) = 0;
    // The first of the files dropped on the view (a UTF-8 path): open it if the
    // document agrees to give up its contents.
    virtual void OnFileDropped(CAnsiView& view, const std::string& path) = 0;
};

}  // namespace qv
