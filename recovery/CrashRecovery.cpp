// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/CrashRecovery.h"

#include "common/PathHelpers.h"
#include "document/HexDoc.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryListDialog.h"
#include "recovery/RecoveryTexts.h"

namespace qv {

CrashRecovery::CrashRecovery(CHexDoc& document, DocumentJournal& journal, IPrompt& prompt, IDialogService& dialogs)
    : document_(document), journal_(journal), prompt_(prompt), dialogs_(dialogs)
{
}

OpenOffer CrashRecovery::BeforeOpen(const std::string& path)
{
    openCancelled_ = false;
    const std::vector<JournalEntry> entries = ListJournals(journal_.Folder());
    // The newest journal of the file first; an older one comes at the next open.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (entry->inUse || !entry->header || entry->header->path.empty() || !SamePath(entry->header->path, path))
            continue;
        const JournalFileRead read = ReadJournalFile(entry->file);
        if (!read.contents) {
            prompt_.Tell(read.error, PromptIcon::Warning);
            continue;
        }
        return Offer(entry->file, *read.contents, path);
    }
    return OpenOffer::Open;
}

OpenOffer CrashRecovery::Offer(const std::string& file, const JournalContents& contents, const std::string& path)
{
    const std::string question = RestoreQuestion(path, contents, AssessJournalBase(contents));
    for (;;) {
        switch (prompt_.Ask(question, kProgramCaption, PromptButtons::YesNoCancel, PromptAnswer::Yes)) {
        case PromptAnswer::Yes:
            if (Restore(file, contents, path)) return OpenOffer::Restored;
            openCancelled_ = true;
            return OpenOffer::Cancel;
        case PromptAnswer::No:
            if (prompt_.Ask(DiscardQuestion(path), kProgramCaption, PromptButtons::YesNo, PromptAnswer::No) ==
                PromptAnswer::Yes) {
                RemoveJournal(file);
                return OpenOffer::Open;
            }
            break;  // back to the first question
        default:
            openCancelled_ = true;
            return OpenOffer::Cancel;
        }
    }
}

bool CrashRecovery::Restore(const std::string& file, const JournalContents& contents, const std::string& path)
{
    const JournalHeader& header = contents.header;
    std::string error;
    const std::optional<RestoredDocument> restored = RestoreFromJournal(contents, error);
    if (!restored) {
        prompt_.Tell(error + "\nDie Wiederherstellungsdatei " + file + " bleibt erhalten.", PromptIcon::Error);
        return false;
    }
    if (!document_.RestoreContents(path, restored->outcome.bytes, header.format, header.readOffset,
                                   header.baseAddress, restored->fileStamp))
        return false;
    // Edits that did not fit would stand before every later one: the journal starts afresh.
    journal_.TakeOver(file, contents, restored->outcome.skipped == 0);
    const std::string report = RestoreReport(restored->outcome);
    if (!report.empty()) prompt_.Tell(report, PromptIcon::Warning);
    return true;
}

std::vector<RecoveryListDialog::Entry> CrashRecovery::StartListEntries() const
{
    std::vector<RecoveryListDialog::Entry> entries;
    for (const JournalEntry& entry : ListJournals(journal_.Folder())) {
        if (entry.inUse) continue;
        if (!entry.header) {
            entries.push_back({entry.file, entry.file + " – nicht lesbar", entry.file});
            continue;
        }
        const JournalHeader& header = *entry.header;
        const bool missing = !header.path.empty() && !StampOf(header.path);
        if (!header.path.empty() && !missing) continue;  // offered when the file is opened
        const JournalFileRead read = ReadJournalFile(entry.file);
        const std::string date = FormatJournalTime(header.createdSeconds);
        std::string text = JournalDocumentName(header) + (missing ? " (nicht mehr vorhanden)" : "") + " – " + date;
        if (read.contents) text += " – " + EditCountText(read.contents->edits.size());
        entries.push_back({entry.file, text, JournalDocumentName(header) + " vom " + date});
    }
    return entries;
}

void CrashRecovery::OfferAtStart()
{
    // A choice that cannot be restored is told, and the list comes again with the others.
    for (;;) {
        std::vector<RecoveryListDialog::Entry> entries = StartListEntries();
        if (entries.empty()) return;
        RecoveryListDialog dialog(std::move(entries), [this](const RecoveryListDialog::Entry& entry) {
            if (prompt_.Ask(DiscardQuestion(entry.name), kProgramCaption, PromptButtons::YesNo, PromptAnswer::No) !=
                PromptAnswer::Yes)
                return false;
            return RemoveJournal(entry.file);
        });
        if (!dialogs_.Run(dialog) || !dialog.Chosen()) return;
        const std::string file = dialog.Chosen()->file;
        const JournalFileRead read = ReadJournalFile(file);
        if (!read.contents) {
            prompt_.Tell(read.error, PromptIcon::Error);
            continue;
        }
        if (Restore(file, *read.contents, read.contents->header.path)) return;
    }
}

}  // namespace qv
