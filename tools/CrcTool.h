// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command 32865 ("CRC brechnen", Ctrl+G): the dialog "CRC-Summe berechnen" over the
// view's selection (or the start of its bytes); OK stores its values and histories.
#include "platform/DialogService.h"
#include "platform/LongTask.h"
#include "platform/SettingsStore.h"
#include "tools/ChecksumInput.h"

namespace qv {

// Returns whether the dialog was confirmed. A long first pass runs before the dialog
// opens; cancelling it opens no dialog.
bool RunCrcTool(const ToolBytes& input, const SettingsStores& settings, IDialogService& dialogs,
                ILongTaskRunner& runner);

}  // namespace qv
