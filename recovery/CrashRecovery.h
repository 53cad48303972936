// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Crash recovery as the document sees it: when a file is opened, unsaved edits of an
// earlier run are offered back ("Ja" restores, "Nein" throws them away after a second
// question, "Abbrechen" keeps them and opens nothing); at a start without a file the
// journals of untitled documents and of files no longer at their path are offered in a
// list. The document's other events go to its journal.
#include <string>
#include <vector>

#include "document/DocumentRecovery.h"
#include "platform/DialogService.h"
#include "platform/Prompt.h"
#include "recovery/DocumentJournal.h"
#include "recovery/RecoveryListDialog.h"

namespace qv {

class CHexDoc;

class CrashRecovery : public IDocumentRecovery {
public:
    CrashRecovery(CHexDoc& document, DocumentJournal& journal, IPrompt& prompt, IDialogService& dialogs);

    OpenOffer BeforeOpen(const std::string& path) override;
    void OnDocumentEvent(DocumentEvent event) override { journal_.OnDocumentEvent(event); }

    // At a start without a file.
    void OfferAtStart();
    // Whether the last open stopped at the offer: cancelled by the user, or a restore that
    // could not be done. Nothing is wrong with the file, and the journal stays.
    bool OpenCancelled() const { return openCancelled_; }

private:
    // The start list: untitled documents, files no longer at their path, unreadable journals.
    std::vector<RecoveryListDialog::Entry> StartListEntries() const;
    OpenOffer Offer(const std::string& file, const JournalContents& contents, const std::string& path);
    // The document becomes the journal's document at path; the journal goes on from there.
    bool Restore(const std::string& file, const JournalContents& contents, const std::string& path);

    CHexDoc& document_;
    DocumentJournal& journal_;
    IPrompt& prompt_;
    IDialogService& dialogs_;
    bool openCancelled_ = false;
};

}  // namespace qv
