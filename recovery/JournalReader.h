// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a recovery journal: every complete record up to the first one that is cut off
// (a power loss during a write) or damaged. What follows that point is counted as lost.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recovery/JournalFormat.h"

namespace qv {

struct JournalContents {
    JournalHeader header;
    std::vector<uint8_t> snapshot;
    bool snapshotIntact = false;  // the header announced a snapshot and it was read whole
    std::vector<JournalEdit> edits;
    int64_t lostRecords = 0;      // records after the last complete one that cannot be used
    uint64_t intactLength = 0;    // bytes from the file's start to the end of the last complete record
};

// Nothing when the bytes are no journal at all (no signature or no intact header).
std::optional<JournalContents> ParseJournal(const uint8_t* data, size_t size);

struct JournalFileRead {
    std::optional<JournalContents> contents;
    std::string error;  // why the file could not be read, as a German sentence
};

JournalFileRead ReadJournalFile(const std::string& path);
// Only the header (cheap, for looking through the folder).
std::optional<JournalHeader> ReadJournalHeader(const std::string& path);

// Number of bytes the edits bring in (what a list of journals shows as their size).
int64_t InsertedBytes(const std::vector<JournalEdit>& edits);

}  // namespace qv
