// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line text question: caption, prompt above the field, the proposed text and the most
// characters the field takes.
#include <cstddef>
#include <string>

#include "platform/DialogService.h"

namespace qv {

class TextInputDialog : public DialogModel {
public:
    static constexpr const char* kName = "TextInput";
    const char* DialogName() const override { return kName; }

    std::string caption;  // fixed texts, UTF-8
    std::string prompt;
    std::string text;  // the user's text (Windows-1252); in: the proposal, out: the answer
    size_t maxLength = 250;
};

}  // namespace qv
