// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Wiederherstellen": at a start without a file, the journals of untitled documents and of
// files that are no longer at their path. "Wiederherstellen" confirms the dialog with the
// chosen entry, "Löschen" removes the chosen journal (after asking) and keeps the dialog
// open, "Später" closes it and keeps every journal.
#include <functional>
#include <string>
#include <vector>

#include "platform/DialogService.h"

namespace qv {

class RecoveryListDialog : public DialogModel {
public:
    static constexpr const char* kName = "RecoveryList";
    const char* DialogName() const override { return kName; }

    struct Entry {
        std::string file;  // the journal
        std::string text;  // the line the list shows
        std::string name;  // what the question before deleting calls it
    };

    // deleteJournal asks and removes one journal; true when it is gone.
    RecoveryListDialog(std::vector<Entry> entries, std::function<bool(const Entry&)> deleteJournal);

    const std::vector<Entry>& Entries() const { return entries_; }
    int Selected() const { return selected_; }
    void Select(int index);
    // "Löschen" on the selected entry; true when it left the list.
    bool DeleteSelected();
    // The entry to restore once the dialog was confirmed.
    const Entry* Chosen() const;

private:
    std::vector<Entry> entries_;
    std::function<bool(const Entry&)> deleteJournal_;
    int selected_ = 0;
};

}  // namespace qv
