// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/DocumentJournal.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>

#include "document/HexDoc.h"
#include "recovery/RecoveryFolder.h"
#include "view/HexView.h"

namespace qv {
namespace {

// After a failed write the journal is tried again with the next edit this much later.
constexpr int64_t kRetryAfterFailureSeconds = 5;

int64_t SteadySeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

DocumentJournal::DocumentJournal(CHexDoc& document, CHexView& view, std::string folder, ITimerService* timers,
                                 std::function<void(const std::string&)> onFailure)
    : document_(document), view_(view), folder_(std::move(folder)), timers_(timers), onFailure_(std::move(onFailure))
{
    view_.SetEditListener(this);
}

DocumentJournal::~DocumentJournal()
{
    view_.SetEditListener(nullptr);
    StopSyncTimer();
    // Whatever is still written belongs to the document: make it durable and leave it.
    if (writer_) writer_->Sync();
}

bool DocumentJournal::NeedsJournal() const
{
    // A map cut off from its file is read-only: its edits went into the file's pages.
    return !document_.IsMapped();
}

void DocumentJournal::OnBytesChanging(const ByteEdit& edit)
{
    if (!NeedsJournal()) return;
    if (broken_) {
        if (SteadySeconds() - failedAt_ < kRetryAfterFailureSeconds) return;
        // The journal starts over from the bytes as they are now, which hold every edit so far.
        if (writer_) writer_->Remove();
        writer_.reset();
    }
    if (!writer_ && !Begin()) return;
    int64_t length = 0;
    int64_t shownOffset = 0;
    // The shown block starts shownOffset bytes into the document's bytes.
    const uint8_t* at = document_.DocumentBytes(length, shownOffset) + shownOffset + edit.offset;
    if (!writer_->AppendEdit(shownOffset + edit.offset, at, edit.removedCount, edit.inserted, edit.insertedCount)) {
        Failed(writer_->Error());
        return;
    }
    ScheduleSync();
}

bool DocumentJournal::Begin()
{
    std::string error;
    if (!EnsureRecoveryFolder(folder_, error)) {
        Failed(error);
        return false;
    }
    int64_t length = 0;
    int64_t shownOffset = 0;
    const uint8_t* bytes = document_.DocumentBytes(length, shownOffset);
    JournalHeader header;
    header.createdSeconds = std::time(nullptr);
    header.processId = static_cast<int32_t>(::getpid());
    header.path = document_.PathName();
    header.stamp = document_.Stamp();
    header.format = document_.LoadedFormat();
    header.readOffset = document_.ReadOffset();
    header.baseAddress = document_.BaseAddress();
    header.baseLength = length;
    // Unchanged bytes are the file's: the journal needs a copy only for a file changed later.
    // While a section is shown the file may hold only the section (it may have been saved).
    int64_t shownLength = 0;
    view_.GetBuffer(&shownLength, nullptr);
    const bool bytesAreFile = !header.path.empty() && header.stamp && !view_.IsModified() && shownOffset == 0 &&
                              shownLength == length;
    if (header.path.empty() && std::all_of(bytes, bytes + length, [](uint8_t b) { return b == 0; })) {
        header.base = JournalBase::Zeros;
    } else if (bytesAreFile) {
        header.base = JournalBase::File;
        header.hasSnapshot = length <= kJournalSnapshotLimit;
        header.keepsRemovedBytes = !header.hasSnapshot;
    } else {
        header.base = JournalBase::Snapshot;
        header.hasSnapshot = true;
    }
    writer_ = JournalWriter::Create(folder_, header, bytes, error);
    if (!writer_) {
        Failed(error);
        return false;
    }
    broken_ = false;
    ScheduleSync();
    return true;
}

void DocumentJournal::End()
{
    if (writer_) writer_->Remove();
    writer_.reset();
    broken_ = false;
    StopSyncTimer();
}

void DocumentJournal::Failed(const std::string& error)
{
    broken_ = true;
    failedAt_ = SteadySeconds();
    lastError_ = error;
    if (onFailure_) onFailure_(error);
}

void DocumentJournal::ScheduleSync()
{
    if (syncTimer_ || !timers_) return;
    syncTimer_ = timers_->Start(kJournalSyncDelayMs, [this] { SyncNow(); });
}

void DocumentJournal::StopSyncTimer()
{
    if (syncTimer_ && timers_) timers_->Stop(syncTimer_);
    syncTimer_ = 0;
}

void DocumentJournal::SyncNow()
{
    StopSyncTimer();
    if (!writer_) return;
    // Undone back to the file's bytes: nothing is left to recover.
    if (!view_.IsModified()) return End();
    if (!writer_->Sync()) Failed(writer_->Error());
}

void DocumentJournal::OnDocumentEvent(DocumentEvent event)
{
    switch (event) {
    case DocumentEvent::Closing:
    case DocumentEvent::Loaded: End(); break;
    case DocumentEvent::Saved:
        End();
        // A partial save leaves the document changed: its bytes are no longer the file's.
        if (view_.IsModified() && NeedsJournal()) Begin();
        break;
    case DocumentEvent::Created:
        if (view_.IsModified()) Begin();
        break;
    }
}

bool DocumentJournal::SecureForStop()
{
    if (!document_.HasUnsavedChanges()) {
        End();
        return true;
    }
    if (!NeedsJournal()) {
        lastError_ = "Eine Datei im MemoryMap-Modus, die ein anderes Programm verkürzt oder ersetzt hat, lässt sich "
                     "nur mit \"Speichern unter\" sichern.";
        return false;
    }
    if (broken_ || !writer_) {
        if (writer_) writer_->Remove();
        writer_.reset();
        if (!Begin()) return false;
    }
    if (!writer_->Sync()) {
        Failed(writer_->Error());
        return false;
    }
    writer_->Release();
    writer_.reset();
    StopSyncTimer();
    return true;
}

void DocumentJournal::TakeOver(const std::string& file, const JournalContents& contents, bool continueIt)
{
    End();
    std::string error;
    if (continueIt)
        writer_ = JournalWriter::Adopt(file, contents.intactLength, contents.edits.size(),
                                       contents.header.keepsRemovedBytes, error);
    if (writer_) return;
    if (Begin()) RemoveJournal(file);
}

}  // namespace qv
