// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command 32799 ("Checksumme", F5): the checksums of the view's selection (or of the
// start of its bytes), computed as long work, in the dialog "Checksumme".
#include <optional>

#include "platform/DialogService.h"
#include "platform/LongTask.h"
#include "tools/Checksum.h"
#include "tools/ChecksumInput.h"

namespace qv {

// What the progress dialog says while the sums are computed.
inline constexpr const char* kChecksumTaskTitle = "Checksumme wird berechnet …";

// The sums of the input, read window by window; nothing when the work was cancelled.
std::optional<Checksums> ComputeChecksums(const ToolBytes& input, TaskProgress& progress);

// A cancelled computation opens no dialog.
void RunChecksumTool(const ToolBytes& input, IDialogService& dialogs, ILongTaskRunner& runner);

}  // namespace qv
