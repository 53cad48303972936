// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journal of the open document's unsaved edits. It begins with the first change after
// the bytes were last the file's (or with a new document that counts as changed), takes
// every change of the bytes the view reports, makes it durable at most two seconds later,
// and goes when the document is saved or closed by the user's choice. A stop request
// (a signal) leaves it on disk for the next start instead.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "document/DocumentRecovery.h"
#include "platform/Timers.h"
#include "recovery/JournalReader.h"
#include "recovery/JournalWriter.h"
#include "view/ByteEditListener.h"

namespace qv {

class CHexDoc;
class CHexView;

// Documents up to this size keep a copy of their bytes in the journal when it begins, so
// that the edits can be restored even after the file was changed by another program.
inline constexpr int64_t kJournalSnapshotLimit = 16 * 1024 * 1024;
// The longest time an edit may stay without fdatasync.
inline constexpr int kJournalSyncDelayMs = 2000;

class DocumentJournal : public IByteEditListener {
public:
    // folder: where journals go (created when the first one is needed). onFailure hears
    // of a journal that cannot be written, once per failure (it must not open a dialog:
    // it may be told while one is open).
    DocumentJournal(CHexDoc& document, CHexView& view, std::string folder, ITimerService* timers,
                    std::function<void(const std::string&)> onFailure);
    ~DocumentJournal() override;
    DocumentJournal(const DocumentJournal&) = delete;
    DocumentJournal& operator=(const DocumentJournal&) = delete;

    void OnBytesChanging(const ByteEdit& edit) override;
    void OnDocumentEvent(DocumentEvent event);

    // A stop request: makes the journal durable and lets go of it, so that the next start
    // offers it. True when the document has no unsaved edit that the journal lacks;
    // false (LastError says why) when it cannot be written.
    bool SecureForStop();
    // The document now holds the edits of a journal read from disk. With `continueIt` new
    // edits go on in that journal; otherwise (or when it cannot be continued) a new one
    // begins with the document's bytes and the old one goes.
    void TakeOver(const std::string& file, const JournalContents& contents, bool continueIt);

    const std::string& Folder() const { return folder_; }
    const std::string& LastError() const { return lastError_; }

private:
    // A journal whose base is the document's bytes as they are now.
    bool Begin();
    void End();
    void Failed(const std::string& error);
    void ScheduleSync();
    void StopSyncTimer();
    void SyncNow();
    // A mapped file holds its edits itself.
    bool NeedsJournal() const;

    CHexDoc& document_;
    CHexView& view_;
    std::string folder_;
    ITimerService* timers_;
    std::function<void(const std::string&)> onFailure_;
    std::unique_ptr<JournalWriter> writer_;
    int syncTimer_ = 0;
    bool broken_ = false;      // the document has edits that no journal holds
    int64_t failedAt_ = 0;     // when writing last failed (steady seconds)
    std::string lastError_;
};

}  // namespace qv
