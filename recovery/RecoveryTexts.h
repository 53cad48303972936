// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of crash recovery: the question when a file with unsaved edits of an earlier
// run is opened, the second question before they are thrown away, what is told after a
// restore, and the lines of the list of journals.
#include <cstdint>
#include <string>

#include "recovery/JournalReader.h"
#include "recovery/JournalRestore.h"

namespace qv {

// "DD.MM.YYYY HH:MM" in local time.
std::string FormatJournalTime(int64_t secondsSince1970);

// "Es gibt ungesicherte Änderungen an DATEI vom DATUM UHRZEIT. Wiederherstellen?" with what
// the user should know before answering (the file changed, a damaged journal).
std::string RestoreQuestion(const std::string& path, const JournalContents& journal, const JournalBaseInfo& base);
std::string DiscardQuestion(const std::string& path);
// "1 Eintrag am Ende ist verloren", "3 Einträge am Ende sind verloren".
std::string LostRecordsText(int64_t count);
// "1 Änderung", "3 Änderungen".
std::string EditCountText(size_t count);
// What went differently than planned in a restore; empty when everything was applied.
std::string RestoreReport(const ReplayOutcome& outcome);
// The document a journal belongs to: its path, or "Unbenannt".
std::string JournalDocumentName(const JournalHeader& header);

}  // namespace qv
