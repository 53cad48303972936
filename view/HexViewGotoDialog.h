// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Cursor setzen" dialog: a typed address (any integer expression) with the history
// of earlier texts.
#include <cstdint>
#include <optional>
#include <string>

#include "common/MultiString.h"
#include "platform/DialogService.h"

namespace qv {

class GotoDialog : public DialogModel {
public:
    const char* DialogName() const override { return "Goto"; }

    static constexpr const char* kCaption = "Cursor setzen";
    static constexpr const char* kPrompt = "Neue Adresse :";

    std::string text;     // Windows-1252, as typed
    MultiString history;  // offered in the combo box, most recent first

    // The typed text as a number, or nothing when it is no valid expression.
    std::optional<int64_t> Value() const;
};

// Puts text in front of the history: case-insensitive duplicates are dropped, at most 15
// older texts are kept and the whole list stays within 2044 bytes.
void AddToGotoHistory(MultiString& history, const std::string& text);

}  // namespace qv
