// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rebuilding a document from a journal: choosing the bytes its edits apply to (the file as
// it was, the snapshot kept in the journal, or zeros for a new document) and applying the
// edits in order.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recovery/JournalReader.h"

namespace qv {

struct JournalBaseInfo {
    bool available = true;      // false: the bytes the edits apply to are gone
    bool fileChanged = false;   // the file is not the one the edits began from (or it is gone)
    bool fileMissing = false;
    bool fromSnapshot = false;  // the edits apply to the bytes kept in the journal
    // The file changed and the journal kept only the regions its edits touched: the edits
    // apply to the file as it is now, each checked against the bytes it replaced.
    bool touchedOnly = false;
};

// Judged from the journal and the file on disk now.
JournalBaseInfo AssessJournalBase(const JournalContents& journal);

struct ReplayOutcome {
    std::vector<uint8_t> bytes;
    int64_t applied = 0;
    // Edits whose replaced bytes were not those the journal recorded (only a journal that
    // keeps the replaced bytes can tell).
    int64_t conflicts = 0;
    // Edits left out: one reached past the end of the bytes, so it and all later ones
    // cannot belong to these bytes.
    int64_t skipped = 0;
};

ReplayOutcome ReplayEdits(std::vector<uint8_t> base, const std::vector<JournalEdit>& edits);

struct RestoredDocument {
    ReplayOutcome outcome;
    JournalBaseInfo base;
    std::optional<FileStamp> fileStamp;  // of the journal's file as it is now
};

// Nothing, with a German sentence in error, when the base cannot be had.
std::optional<RestoredDocument> RestoreFromJournal(const JournalContents& journal, std::string& error);

// The document's bytes from a file's content in the journal's format (Intel HEX placed at
// the journal's start offset, without asking).
std::optional<std::vector<uint8_t>> DecodeAs(const JournalHeader& header, std::vector<uint8_t> content);

}  // namespace qv
