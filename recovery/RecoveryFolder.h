// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the recovery journals live: $XDG_STATE_HOME/quarnival/recovery (by default
// ~/.local/state/quarnival/recovery), a folder only its owner may enter.
#include <optional>
#include <string>
#include <vector>

#include "recovery/JournalFormat.h"

namespace qv {

// The folder's path from the environment (it need not exist yet).
std::string RecoveryFolderPath();

// Creates the folder (and missing parents) for the owner alone; an existing one is made
// 0700. False, with a German sentence in error, when that fails or the path is no folder
// of this user.
bool EnsureRecoveryFolder(const std::string& folder, std::string& error);

struct JournalEntry {
    std::string file;                    // the journal's own path
    std::optional<JournalHeader> header; // nothing: not readable as a journal
    bool inUse = false;                  // a running editor writes it
};

// Every journal in the folder ("*.qvj"), oldest first.
std::vector<JournalEntry> ListJournals(const std::string& folder);

// Deletes a journal unless a running editor holds it (it may have taken it since the folder
// was looked through). False, with errno set, when it stays.
bool RemoveJournal(const std::string& file);

}  // namespace qv
