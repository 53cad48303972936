// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Editable combo boxes that keep exactly what the user typed.
class QComboBox;

namespace qv {

// Makes the combo editable without Qt's default completer: that one completes inline
// ("3" becomes "32-Bit") and matches without regard to case, and on Enter or when the focus
// leaves, the combo would then also switch to a history line equal but for case ("hello"
// becomes "Hello"). Without it the only match left is the exact one, which changes nothing.
// Typed text is never added to the list by the combo itself.
void SetEditableKeepingText(QComboBox* combo);

}  // namespace qv
