// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether Num Lock is on, for the "NUM" indicator of the status bar.
#include <optional>

namespace qv {

// Known only on an X11 display (directly or through XWayland); nothing elsewhere.
std::optional<bool> NumLockIsOn();

}  // namespace qv
