// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command 32799 ("Checksumme", F5): the checksums of the view's selection (or of the
// start of its block) in the dialog "Checksumme".
#include "platform/DialogService.h"

namespace qv {

class CHexView;

void RunChecksumTool(const CHexView& view, IDialogService& dialogs);

}  // namespace qv
