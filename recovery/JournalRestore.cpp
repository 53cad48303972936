// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/JournalRestore.h"

#include <algorithm>
#include <string_view>

#include "document/IntelHexReader.h"

namespace qv {

JournalBaseInfo AssessJournalBase(const JournalContents& journal)
{
    const JournalHeader& header = journal.header;
    JournalBaseInfo info;
    if (header.base == JournalBase::Zeros) return info;
    if (!header.path.empty()) {
        const std::optional<FileStamp> now = StampOf(header.path);
        info.fileMissing = !now;
        info.fileChanged = !now || !header.stamp || *now != *header.stamp;
    }
    if (journal.snapshotIntact) {
        info.fromSnapshot = true;
        return info;
    }
    // Without the snapshot only the file itself can give the bytes.
    info.available = header.base == JournalBase::File && !header.path.empty() && !info.fileMissing &&
                     (!info.fileChanged || header.keepsRemovedBytes);
    info.touchedOnly = info.available && info.fileChanged;
    return info;
}

ReplayOutcome ReplayEdits(std::vector<uint8_t> base, const std::vector<JournalEdit>& edits)
{
    ReplayOutcome outcome;
    std::vector<uint8_t>& bytes = outcome.bytes;
    bytes = std::move(base);
    for (size_t i = 0; i < edits.size(); ++i) {
        const JournalEdit& edit = edits[i];
        const auto size = static_cast<int64_t>(bytes.size());
        if (edit.offset > size || edit.removedCount > size - edit.offset) {
            outcome.skipped = static_cast<int64_t>(edits.size() - i);
            break;
        }
        const auto at = bytes.begin() + edit.offset;
        if (!edit.removed.empty() && !std::equal(edit.removed.begin(), edit.removed.end(), at)) ++outcome.conflicts;
        if (edit.removedCount == edit.insertedCount) {
            if (edit.inserted.empty())
                std::fill_n(at, edit.insertedCount, 0);
            else
                std::copy(edit.inserted.begin(), edit.inserted.end(), at);
        } else {
            const auto end = bytes.erase(at, at + edit.removedCount);
            if (edit.inserted.empty())
                bytes.insert(end, static_cast<size_t>(edit.insertedCount), 0);
            else
                bytes.insert(end, edit.inserted.begin(), edit.inserted.end());
        }
        ++outcome.applied;
    }
    return outcome;
}

std::optional<std::vector<uint8_t>> DecodeAs(const JournalHeader& header, std::vector<uint8_t> content)
{
    switch (header.format) {
    case DocumentFormat::Binary: return content;
    case DocumentFormat::IntelHex:
        return IntelHexReader(std::string_view(reinterpret_cast<const char*>(content.data()), content.size()),
                              header.readOffset);
    case DocumentFormat::Compressed:
    case DocumentFormat::CArray: {
        FormatContext context;  // no questions: the journal knows the answers
        return ReadDocumentFormat(header.format, content, context);
    }
    }
    return std::nullopt;
}

std::optional<RestoredDocument> RestoreFromJournal(const JournalContents& journal, std::string& error)
{
    const JournalHeader& header = journal.header;
    RestoredDocument restored;
    restored.base = AssessJournalBase(journal);
    if (!header.path.empty()) restored.fileStamp = StampOf(header.path);
    if (!restored.base.available) {
        error = "Die Bytes, auf die sich die Änderungen beziehen, sind nicht mehr vorhanden: " +
                std::string(header.path.empty() ? "die Wiederherstellungsdatei ist unvollständig."
                                                : "die Datei " + header.path + " fehlt oder wurde geändert.");
        return std::nullopt;
    }
    std::vector<uint8_t> base;
    if (header.base == JournalBase::Zeros) {
        base.assign(static_cast<size_t>(header.baseLength), 0);
    } else if (restored.base.fromSnapshot) {
        base = journal.snapshot;
    } else {
        std::vector<uint8_t> content;
        std::optional<std::vector<uint8_t>> decoded;
        if (ReadWholeFile(header.path, content) == FileError::None) decoded = DecodeAs(header, std::move(content));
        if (!decoded) {
            error = "Die Datei " + header.path + " kann nicht gelesen werden.";
            return std::nullopt;
        }
        // The unchanged file must give the bytes the edits began from.
        if (!restored.base.fileChanged && static_cast<int64_t>(decoded->size()) != header.baseLength) {
            error = "Die Datei " + header.path + " ergibt nicht mehr die Bytes, auf die sich die Änderungen beziehen.";
            return std::nullopt;
        }
        base = std::move(*decoded);
    }
    restored.outcome = ReplayEdits(std::move(base), journal.edits);
    return restored;
}

}  // namespace qv
