// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system clipboard, text only. Texts are 8-bit Windows-1252; the Qt side converts.
#include <optional>
#include <string>

namespace qv {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // The clipboard's text, or nothing when it holds no text.
    virtual std::optional<std::string> GetText() = 0;
    virtual bool SetText(const std::string& text) = 0;
    // Whether the clipboard offers text, without fetching it (asked often, to enable commands).
    virtual bool HasText() { return GetText().has_value(); }
};

}  // namespace qv
