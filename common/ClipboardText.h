// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text exchange with the clipboard; texts end at their first zero byte.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clipboard.h"

namespace qv {

// A copy of the clipboard's text; nothing when it holds no text, an empty one, or cannot be read.
std::optional<std::string> GetClipboardText(IClipboard& clipboard);

// Replaces the clipboard contents by the text (up to its first zero byte). Returns the length
// put on the clipboard; 0 when the text is empty (nothing is done) or the clipboard refused it.
size_t SetClipboardText(IClipboard& clipboard, std::string_view text);

}  // namespace qv
