// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/NewSizeDialog.h"

#include "common/Expression.h"

namespace qv {

std::optional<uint32_t> AskNewSize(IDialogService& dialogs, IPrompt& prompt)
{
    NewSizeDialog dialog;
    if (!dialogs.Run(dialog)) return std::nullopt;
    int32_t value = 0;
    EvaluateExpression(dialog.sizeText, value);
    // Compared unsigned, so a negative size counts as too large.
    uint32_t size = static_cast<uint32_t>(value);
    if (size > kMaxNewDocumentSize) {
        prompt.Tell("Neue Dokumente können nur maximal 64kByte groß sein.\n\n"
                    "Die Speichergröße wurde auf 64kByte verkleinert.",
                    PromptIcon::Warning);
        size = kMaxNewDocumentSize;
    }
    return size;
}

}  // namespace qv
