// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/RecoveryListDialog.h"

namespace qv {

RecoveryListDialog::RecoveryListDialog(std::vector<Entry> entries, std::function<bool(const Entry&)> deleteJournal)
    : entries_(std::move(entries)), deleteJournal_(std::move(deleteJournal))
{
}

void RecoveryListDialog::Select(int index)
{
    if (index >= 0 && index < static_cast<int>(entries_.size())) selected_ = index;
}

bool RecoveryListDialog::DeleteSelected()
{
    const Entry* entry = Chosen();
    if (!entry || !deleteJournal_ || !deleteJournal_(*entry)) return false;
    entries_.erase(entries_.begin() + selected_);
    if (selected_ >= static_cast<int>(entries_.size()) && selected_ > 0) --selected_;
    return true;
}

const RecoveryListDialog::Entry* RecoveryListDialog::Chosen() const
{
    if (selected_ < 0 || selected_ >= static_cast<int>(entries_.size())) return nullptr;
    return &entries_[static_cast<size_t>(selected_)];
}

}  // namespace qv
