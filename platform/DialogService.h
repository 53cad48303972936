// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialogs are plain model classes (fields and rules) that the GUI binds to a widget.
// Std-only code opens one through IDialogService; the Qt side looks the widget up by the
// model's DialogName(), tests answer with a script working on the model directly.
#include <string>

namespace qv {

class DialogModel {
public:
    virtual ~DialogModel() = default;
    // Unique name of the dialog kind, used to find its widget ("NewSize", "Goto", ...).
    virtual const char* DialogName() const = 0;
};

class IDialogService {
public:
    virtual ~IDialogService() = default;
    // Runs the dialog modally; true when the user confirmed it (OK), false when cancelled.
    virtual bool Run(DialogModel& model) = 0;
};

}  // namespace qv
