// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command "Hashwerte": the cryptographic hashes of the selection, or of the whole document
// without one, computed with progress and "Abbrechen", shown in the dialog "Hashwerte".
#include <array>
#include <string>

#include "analysis/Hashes.h"
#include "platform/DialogService.h"
#include "platform/LongTask.h"

namespace qv {

class CHexView;

class HashDialogModel : public DialogModel {
public:
    const char* DialogName() const override { return "Hashes"; }

    // What was hashed: "Markierung 0x10 bis 0x1F (16 Bytes)" or "Ganzes Dokument (256 Bytes)".
    std::string rangeText;
    // Lower-case hex digits of every algorithm, in the order of HashAlgorithms().
    std::array<std::string, kHashAlgorithmCount> digests;

    // One line per algorithm, "SHA-256: <digest>", for the clipboard.
    std::string AllLines() const;
};

// Hashes the view's bytes through the runner and shows the dialog; nothing is shown when the
// user cancelled the computation. Returns whether the dialog was shown.
bool RunHashTool(const CHexView& view, IDialogService& dialogs, ILongTaskRunner& runner);

}  // namespace qv
