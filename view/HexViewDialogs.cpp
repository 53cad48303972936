// SPDX-License-Identifier: GPL-3.0-or-later
// CHexView: the commands that open a dialog ("Konfiguration" and "Cursor setzen").
#include "common/NumberText.h"
#include "view/HexView.h"
#include "view/HexViewConfigDialog.h"
#include "view/HexViewGotoDialog.h"

namespace qv {

bool CHexView::EditSettings(IDialogService& dialogs)
{
    ConfigDialog dialog = ConfigDialog::FromView(*this);
    if (!dialogs.Run(dialog)) return false;
    dialog.ApplyTo(*this);
    Notify(NotifySettingsChanged, 0, 0, 0);
    return true;
}

int64_t CHexView::GotoAddress(IDialogService& dialogs)
{
    const uint64_t base = buffer_.BaseAddress();
    uint64_t initial = base + static_cast<uint64_t>(cursorOffset_);
    if (HasSelection()) {
        // A selected number (little-endian, up to 8 bytes) is offered as the target.
        uint8_t bytes[8] = {};
        const int64_t n = CopySelectionBytes(bytes, 8);
        initial = 0;
        for (int64_t i = n - 1; i >= 0; --i) initial = (initial << 8) | bytes[i];
        if (initial < base) initial += base;
    }

    GotoDialog dialog;
    dialog.text = FormatNumber64(static_cast<int64_t>(initial), kStyleHexPrefix);
    dialog.history = gotoHistory_;
    if (!dialogs.Run(dialog)) return -1;

    AddToGotoHistory(gotoHistory_, dialog.text);
    const std::optional<int64_t> value = dialog.Value();
    if (!value) {
        Beep();
        return -1;
    }
    SetCursorOffset(static_cast<uint64_t>(*value), true);
    return *value;
}

}  // namespace qv
