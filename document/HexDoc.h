// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CHexDoc: the one document. It decides how a file is brought into memory (a heap block
// read in one of the file formats, or a memory map of the file itself), hands the bytes to
// the view, writes them back on save, keeps the insert-mode setting, and carries the
// document cycle around it: path, title, the changed mark and the save question.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/DocumentFormats.h"
#include "document/DocumentRecovery.h"
#include "document/MappedFileBytes.h"
#include "document/StartOptions.h"
#include "platform/AtomicSave.h"
#include "platform/DialogService.h"
#include "platform/MappedFile.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"
#include "view/DocumentView.h"

namespace qv {

struct DocumentServices {
    IPrompt* prompt = nullptr;
    IDialogService* dialogs = nullptr;
    ISettingsStore* settings = nullptr;  // the user's store
    StartOptions* startOptions = nullptr;
    // Asks where to save an untitled document (or for "Speichern unter"); nothing = cancelled.
    std::function<std::optional<std::string>(const std::string& proposedPath)> askSavePath;
    // The recent-file list, most recent first.
    std::function<std::vector<std::string>()> recentFiles;
    // Opens a file the way the user's open command does (save question first).
    std::function<void(const std::string& path)> openFile;
    // A file was opened or saved under a new name: it goes to the front of the recent files.
    std::function<void(const std::string& path)> addRecentFile;
    // A file could not be opened: it leaves the recent files.
    std::function<void(const std::string& path)> removeRecentFile;
    // The write call used when saving; empty for the system's own (tests inject failures).
    WriteFunction write;
};

struct MenuState {
    bool enabled = true;
    bool checked = false;
};

class CHexDoc {
public:
    explicit CHexDoc(DocumentServices services);
    ~CHexDoc();
    CHexDoc(const CHexDoc&) = delete;
    CHexDoc& operator=(const CHexDoc&) = delete;

    void AttachView(IDocumentView* view) { view_ = view; }
    // Crash recovery hears of every open, new document, save and close (nothing: none).
    void SetRecovery(IDocumentRecovery* recovery) { recovery_ = recovery; }

    // The document cycle the commands run: each asks to save a changed document first
    // where the user would lose edits.
    bool FileNew();
    bool FileOpen(const std::string& path);
    bool FileSave();
    bool FileSaveAs();
    // The save question before the document is closed or replaced; false = cancelled.
    bool SaveModified();

    // The steps themselves.
    bool NewDocument();
    bool OpenDocument(const std::string& path);
    bool SaveDocument(const std::string& path);
    void CloseContents();
    void ResetToEmpty();
    bool HasUnsavedChanges();
    void ShowSection(uint64_t offset, uint64_t length);
    void ReopenPrevious();

    // Command 32868 "Einfügemodus erlauben".
    void ToggleInsertMode();
    MenuState InsertModeState() const;
    // Save and Save As are disabled while a file is memory-mapped, unless the map was cut
    // off from its file (shortened or replaced by another program): its bytes may be kept.
    bool CanSave() const { return !IsMapped() || mapDetached_; }

    // Other programs may change the file at any time. Called often (cheap): a map that lost
    // pages is told once and shown read-only from then on.
    void CheckMapFault();
    // The map met pages its file no longer has, and CheckMapFault has not told it yet.
    bool MapLostBytes() const { return IsMapped() && !mapDetached_ && mapped_->Faulted(); }
    // Called when the window becomes active: a file replaced, shortened or changed on disk
    // is told once; the document then counts as changed (it differs from the file).
    void CheckFileOnDisk();

    bool IsMapped() const { return mapped_ != nullptr; }
    // The bytes of a mapped document read from its file, not through the map (see
    // MappedFileBytes); null when the view's bytes are not simply the file's: held in memory,
    // a section shown, or the map no longer standing for the file.
    const IByteSource* FileReadBytes() const;
    const std::string& PathName() const { return path_; }
    std::string Title() const;  // the file name, or "Unbenannt"
    uint64_t BaseAddress() const { return baseAddress_; }
    int64_t Length() const { return length_; }
    uint32_t ViewFlags() const { return viewFlags_; }
    uint32_t PasteMode() const { return pasteMode_; }
    bool ChangedFlag() const { return changed_; }
    IDocumentView* View() const { return view_; }
    // How the file was read: its format and, for Intel HEX, where its first bytes went.
    DocumentFormat LoadedFormat() const { return loadedFormat_; }
    uint32_t ReadOffset() const { return readOffset_; }
    // The file as last opened or saved (nothing for a new document).
    const std::optional<FileStamp>& Stamp() const { return stamp_; }
    // All of the document's bytes, also while the view shows only a section of them;
    // shownOffset is where the view's block starts in them.
    const uint8_t* DocumentBytes(int64_t& length, int64_t& shownOffset) const;
    // The document becomes these bytes, recovered from a journal: a changed heap document
    // of path (empty: untitled) read as format, whose file is now at stamp.
    bool RestoreContents(const std::string& path, const std::vector<uint8_t>& bytes, DocumentFormat format,
                         uint32_t readOffset, uint64_t baseAddress, const std::optional<FileStamp>& stamp);

    // Title or path changed (the frame updates its caption).
    std::function<void()> onTitleChanged;

private:
    // readOnly: the view may not edit (the document then keeps the block).
    bool LoadFromFile(const std::string& path, bool readOnly);
    bool SaveToFile(const std::string& path);
    std::optional<DocumentFormat> ChooseLoadFormat(const std::string& path, const std::vector<uint8_t>& head,
                                                   int64_t length, bool& askOffset);
    bool OpenMapped(const std::string& path, bool lockedElsewhere);
    void RecordStamp(const std::optional<FileStamp>& stamp);
    // Shows the map read-only from now on, cut to the file's present length, after telling why.
    void DetachMap(const std::string& message);
    bool ConfirmOverwriteChanged(const std::string& path);
    void SetPath(const std::string& path);
    void ShowFileError(const std::string& message, const std::string& path);
    IPrompt& Prompt() const { return *services_.prompt; }

    void Tell(DocumentEvent event)
    {
        if (recovery_) recovery_->OnDocumentEvent(event);
    }

    DocumentServices services_;
    IDocumentView* view_ = nullptr;
    IDocumentRecovery* recovery_ = nullptr;

    bool ownsBuffer_ = false;  // the document releases data_ at close
    uint32_t viewFlags_ = 0;
    uint32_t pasteMode_ = 0;
    uint64_t baseAddress_ = 0;
    int64_t length_ = 0;
    uint8_t* data_ = nullptr;
    uint32_t newCount_ = 0;
    std::unique_ptr<MappedFile> mapped_;
    std::unique_ptr<MappedFileBytes> mappedBytes_;  // reads mapped_'s file
    DocumentFormat loadedFormat_ = DocumentFormat::Binary;
    uint32_t readOffset_ = 0;

    bool mapDetached_ = false;  // the map no longer stands for the file on disk
    // A section was shown: data_ and length_ hold the whole document, the view a part of it.
    bool sectionShown_ = false;

    std::string path_;
    bool changed_ = false;
    // The file as last opened or saved, and as last told to the user.
    std::optional<FileStamp> stamp_;
    FileStamp noticed_;
};

}  // namespace qv
