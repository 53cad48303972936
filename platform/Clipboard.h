// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system clipboard, text only. Texts are 8-bit Windows-1252 unless said otherwise; the
// Qt side converts.
#include <optional>
#include <string>

#include "common/CodePage.h"

namespace qv {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // The clipboard's text, or nothing when it holds no text.
    virtual std::optional<std::string> GetText() = 0;
    virtual bool SetText(const std::string& text) = 0;
    // A text kept in UTF-8 (a path), put there with every character. A clipboard that holds
    // only the code page gets the nearest it can hold.
    virtual bool SetUtf8Text(const std::string& utf8) { return SetText(Utf8ToCp1252(utf8)); }
    // Whether the clipboard offers text, without fetching it (asked often, to enable commands).
    virtual bool HasText() { return GetText().has_value(); }
};

}  // namespace qv
