// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save-file dialog of the selection export commands: a title, a filter list in the
// form "Name (*.h)|*.h|…|", the proposed name (a folder followed by a pattern such as
// "*.h", or the name chosen before) and, on OK, the chosen path.
#include <string>

#include "platform/DialogService.h"

namespace qv {

class SelectionExportSaveDialog : public DialogModel {
public:
    const char* DialogName() const override { return "SelectionExportSave"; }

    std::string title;
    std::string filter;
    std::string proposedPath;
    std::string chosenPath;  // set by the dialog on OK
};

}  // namespace qv
