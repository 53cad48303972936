// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command 32865 ("CRC brechnen", Ctrl+G): the dialog "CRC-Summe berechnen" over the
// view's selection (or the start of its block); OK stores its values and histories.
#include "platform/DialogService.h"
#include "platform/SettingsStore.h"

namespace qv {

class CHexView;

// Returns whether the dialog was confirmed.
bool RunCrcTool(const CHexView& view, const SettingsStores& settings, IDialogService& dialogs);

}  // namespace qv
