// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "Neuer Hexbereich": asks the size of a new document (at most 64 KB).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/DialogService.h"
#include "platform/Prompt.h"

namespace qv {

class NewSizeDialog : public DialogModel {
public:
    static constexpr const char* kName = "NewSize";
    const char* DialogName() const override { return kName; }

    std::string sizeText = "256";  // the field "Speichergröße :"
};

inline constexpr uint32_t kMaxNewDocumentSize = 65536;

// Shows the dialog; the size typed (an expression), cut to 64 KB with a warning, or
// nothing when the user cancelled.
std::optional<uint32_t> AskNewSize(IDialogService& dialogs, IPrompt& prompt);

}  // namespace qv
