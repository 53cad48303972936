// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/HexDoc.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/NumberText.h"
#include "common/PathHelpers.h"
#include "document/NewSizeDialog.h"
#include "platform/AtomicSave.h"
#include "platform/FileSystem.h"
#include "view/BufferFlags.h"
#include "view/ViewBuffer.h"

namespace qv {
namespace {

constexpr const char* kFormatCaption = "Welches Format";
constexpr int64_t kMapThreshold = 0x1FFFFF;
constexpr const char* kTooLargeForHeap =
    "%1\nist 2 GByte groß oder größer und kann nur im MemmoryMap Modus geöffnet werden.";

std::string Replace1(std::string text, const std::string& value)
{
    size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

bool ExtensionIn(const std::string& path, const char* list)
{
    return ExtensionInList(FileNameOf(path), list) != 0;
}

const char* FormatName(DocumentFormat format)
{
    switch (format) {
    case DocumentFormat::IntelHex: return "Intel HEX";
    case DocumentFormat::CArray: return "C++";
    case DocumentFormat::Compressed: return "komprimierte";
    case DocumentFormat::Binary: break;
    }
    return "binäre";
}

constexpr const char* kNotRegularOpen = "%1 ist keine gewöhnliche Datei (Gerät, FIFO oder Socket) und kann nicht geöffnet werden.";
constexpr const char* kLockedElsewhere =
    "Die Datei %1 ist von einem anderen Programm zum Schreiben geöffnet.\nSie wird nur zum Lesen geöffnet.";
constexpr const char* kWriteProtected = "Datei kann nicht gespeichert werden !\nSie ist schreib geschützt.";

std::string ShortenedText(const std::string& path, int64_t size)
{
    return "Die Datei " + path + " wurde von einem anderen Programm auf " + std::to_string(size) +
           " Bytes verkürzt.\nDie Bytes dahinter gibt es nicht mehr. Die Datei wird ab jetzt nur zum Lesen gezeigt; "
           "mit \"Speichern unter\" lässt sich das Gezeigte sichern.";
}

void ReportUnavailable(IPrompt& prompt, DocumentFormat format)
{
    prompt.Tell(std::string("Das ") + FormatName(format) + "-Format ist in dieser Version nicht verfügbar.",
                PromptIcon::Error);
}

}  // namespace

CHexDoc::CHexDoc(DocumentServices services) : services_(std::move(services))
{
    if (services_.settings) {
        auto stored = services_.settings->ReadDword("", "PasteMode");
        pasteMode_ = (stored && *stored == InsertAllowed) ? InsertAllowed : 0;
    }
}

CHexDoc::~CHexDoc()
{
    if (services_.settings) services_.settings->WriteDword("", "PasteMode", pasteMode_);
    CloseContents();
}

std::string CHexDoc::Title() const
{
    return path_.empty() ? "Unbenannt" : FileNameOf(path_);
}

void CHexDoc::SetPath(const std::string& path)
{
    path_ = path;
    if (onTitleChanged) onTitleChanged();
}

// ---- the document cycle ---------------------------------------------------------------

bool CHexDoc::SaveModified()
{
    if (!HasUnsavedChanges()) return true;
    const std::string name = path_.empty() ? Title() : path_;
    switch (Prompt().Ask(Replace1("Änderungen in %1 speichern?", name), kProgramCaption, PromptButtons::YesNoCancel,
                         PromptAnswer::Yes)) {
    case PromptAnswer::Yes: return FileSave();
    case PromptAnswer::No: return true;
    default: return false;
    }
}

bool CHexDoc::FileNew()
{
    if (!SaveModified()) return false;
    return NewDocument();
}

bool CHexDoc::FileOpen(const std::string& path)
{
    if (!SaveModified()) return false;
    switch (recovery_ ? recovery_->BeforeOpen(path) : OpenOffer::Open) {
    case OpenOffer::Cancel: return false;
    case OpenOffer::Restored:
        if (services_.addRecentFile) services_.addRecentFile(path);
        return true;
    case OpenOffer::Open: break;
    }
    if (!OpenDocument(path)) {
        // The old contents are gone already: what remains is an empty, untitled document.
        ResetToEmpty();
        if (services_.removeRecentFile) services_.removeRecentFile(path);
        return false;
    }
    SetPath(path);
    if (services_.addRecentFile) services_.addRecentFile(path);
    return true;
}

bool CHexDoc::FileSave()
{
    if (!CanSave()) return false;
    if (path_.empty()) return FileSaveAs();
    if (!SaveDocument(path_)) return false;
    Tell(DocumentEvent::Saved);
    return true;
}

bool CHexDoc::FileSaveAs()
{
    if (!CanSave() || !services_.askSavePath) return false;
    auto path = services_.askSavePath(path_.empty() ? Title() : path_);
    if (!path || !SaveDocument(*path)) return false;
    SetPath(*path);
    Tell(DocumentEvent::Saved);
    if (services_.addRecentFile) services_.addRecentFile(*path);
    return true;
}

// ---- new ------------------------------------------------------------------------------

bool CHexDoc::NewDocument()
{
    CloseContents();
    changed_ = false;
    SetPath("");
    if (!view_) return false;

    uint32_t size = 256;
    if (newCount_ != 0) {
        auto asked = AskNewSize(*services_.dialogs, Prompt());
        if (!asked) return false;
        size = *asked;
    }
    data_ = ViewBuffer::Allocate(size + 4);
    if (!data_) return false;
    baseAddress_ = services_.startOptions ? services_.startOptions->BaseAddress : 0;
    length_ = size;
    viewFlags_ = ViewWritable;
    ownsBuffer_ = false;
    view_->SetBuffer(data_, length_, baseAddress_, pasteMode_ | ViewWritable | ViewOwnsBuffer);
    if (newCount_ != 0) view_->SetModified(true);
    ++newCount_;
    Tell(DocumentEvent::Created);
    return true;
}

// ---- open -----------------------------------------------------------------------------

bool CHexDoc::OpenDocument(const std::string& path)
{
    CloseContents();
    changed_ = false;
    // The old document is gone: while the file is read (and its errors are told) the
    // window is untitled, so no check of the file on disk looks at the old path.
    SetPath("");
    const FileInfo info = QueryFile(path);
    if (info.special) {
        // Devices, FIFOs and sockets are never read: a FIFO would wait for a writer forever.
        ShowFileError(kNotRegularOpen, path);
        ResetToEmpty();
        return false;
    }
    // Another instance maps the file writable: saving here would replace the file under it.
    const bool lockedElsewhere = LockedForWriting(path);
    if (lockedElsewhere) ShowFileError(kLockedElsewhere, path);
    if (view_) {
        const int64_t size = (info.exists && !info.isDirectory) ? info.size : 0;
        const StartOptions options = services_.startOptions ? *services_.startOptions : StartOptions{};
        if ((size > kMapThreshold || options.MapMode == 1) && options.MapMode != -1) {
            bool map = options.MapMode == 1 ||
                       Prompt().Ask("Die Datei ist größer als 2 MByte\nSoll sie im MemmoryMap Modus geöffnet werden ?") ==
                           PromptAnswer::Yes;
            if (map) return OpenMapped(path, lockedElsewhere);
        }
    }
    if (!LoadFromFile(path, lockedElsewhere)) return false;
    changed_ = false;
    Tell(DocumentEvent::Loaded);
    return true;
}

bool CHexDoc::OpenMapped(const std::string& path, bool lockedElsewhere)
{
    const int32_t access = services_.startOptions ? services_.startOptions->AccessMode : 0;
    bool readOnly = access == 1 || lockedElsewhere;
    if (access == 0 && !lockedElsewhere)
        readOnly = Prompt().Ask("Die Schreib-Erlaubnis sperren ?\n\nWarnung ! Ansontsten werden alle Änderungen "
                                "direkt gespeichert !") == PromptAnswer::Yes;
    MappedFile::Error error = MappedFile::Error::None;
    auto mapped = MappedFile::Open(path, !readOnly, error);
    if (!mapped) {
        Prompt().Tell(error == MappedFile::Error::CannotOpen ? "Fehler beim öffnen von :\n" + path : "Zugriffs Fehler",
                      PromptIcon::Error);
        ResetToEmpty();
        return false;
    }
    mapped_ = std::move(mapped);
    mappedBytes_ = std::make_unique<MappedFileBytes>(*mapped_);
    length_ = static_cast<int64_t>(mapped_->Size());
    baseAddress_ = services_.startOptions ? services_.startOptions->BaseAddress : 0;
    data_ = mapped_->Data();
    viewFlags_ = readOnly ? 0 : ViewWritable;
    ownsBuffer_ = false;
    view_->SetBuffer(data_, length_, baseAddress_, viewFlags_);
    view_->SetModified(false);
    changed_ = false;
    RecordStamp(mapped_->Stamp());
    Tell(DocumentEvent::Loaded);
    return true;
}

void CHexDoc::RecordStamp(const std::optional<FileStamp>& stamp)
{
    stamp_ = stamp;
    noticed_ = stamp.value_or(FileStamp{});
}

// ---- files changed by other programs ----------------------------------------------------

void CHexDoc::CheckMapFault()
{
    if (!MapLostBytes()) return;
    const FileStamp now = mapped_->Stamp();
    if (now.size < length_) {
        DetachMap(ShortenedText(path_, now.size));
    } else {
        DetachMap("Beim Zugriff auf " + path_ + " fehlten Bytes (Datenträger voll oder Lesefehler).\nSie werden als "
                  "00 gezeigt. Die Datei wird ab jetzt nur zum Lesen gezeigt.");
    }
}

void CHexDoc::CheckFileOnDisk()
{
    CheckMapFault();
    if (path_.empty() || !view_) return;
    const std::optional<FileStamp> now = StampOf(path_);
    if (IsMapped() && !mapDetached_) {
        const FileStamp mine = mapped_->Stamp();
        if (!now || now->device != mine.device || now->inode != mine.inode) {
            DetachMap("Die Datei " + path_ + " wurde von einem anderen Programm ersetzt oder gelöscht.\nDie gezeigten "
                      "Bytes gehören zur alten Fassung; sie werden ab jetzt nur zum Lesen gezeigt und lassen sich mit "
                      "\"Speichern unter\" sichern.");
        } else if (mine.size < length_) {
            DetachMap(ShortenedText(path_, mine.size));  // shortened before an access met the gap
        }
        return;
    }
    const FileStamp seen = now.value_or(FileStamp{});
    if (seen == noticed_) return;
    noticed_ = seen;
    if (stamp_ && seen == *stamp_) return;  // changed and changed back
    view_->SetModified(true);
    Prompt().Tell(Replace1(now ? "Die Datei %1 wurde von einem anderen Programm geändert.\nDie gezeigten Bytes "
                                 "stimmen nicht mehr mit der Datei überein; beim Speichern wird nachgefragt."
                               : "Die Datei %1 wurde von einem anderen Programm gelöscht oder umbenannt.",
                           path_),
                  PromptIcon::Warning);
}

void CHexDoc::DetachMap(const std::string& message)
{
    mapDetached_ = true;
    const int64_t onDisk = mapped_->Stamp().size;
    if (onDisk < length_) length_ = std::max<int64_t>(onDisk, 0);
    viewFlags_ = 0;
    view_->SetBuffer(data_, length_, baseAddress_, KeepCursor | KeepScroll);
    // This is the news about the file on disk: it is not told again as a change.
    noticed_ = StampOf(path_).value_or(FileStamp{});
    Prompt().Tell(message, PromptIcon::Warning);
}

const IByteSource* CHexDoc::FileReadBytes() const
{
    if (!IsMapped() || mapDetached_ || sectionShown_) return nullptr;
    return mappedBytes_.get();
}

bool CHexDoc::ConfirmOverwriteChanged(const std::string& path)
{
    if (path != path_ || !stamp_) return true;
    // Asked again when the file changes once more while the question is open.
    std::optional<FileStamp> agreed;
    for (;;) {
        const std::optional<FileStamp> now = StampOf(path);
        if (!now || *now == *stamp_ || now == agreed) return true;
        if (Prompt().Ask(Replace1("Die Datei %1 wurde nach dem Öffnen von einem anderen Programm geändert oder "
                                  "ersetzt.\nSoll sie trotzdem überschrieben werden ?",
                                  path),
                         kProgramCaption, PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes)
            return false;
        agreed = now;
    }
}

void CHexDoc::ShowFileError(const std::string& message, const std::string& path)
{
    Prompt().Tell(Replace1(message, path), PromptIcon::Error);
}

std::optional<DocumentFormat> CHexDoc::ChooseLoadFormat(const std::string& path, const std::vector<uint8_t>& head,
                                                        int64_t length, bool& askOffset)
{
    askOffset = false;
    if (ExtensionIn(path, "C;CPP;H;HPP")) {
        if (Prompt().Ask("Die Datei im C++ Format laden ?", kFormatCaption) == PromptAnswer::Yes)
            return DocumentFormat::CArray;
    } else if (ExtensionIn(path, "HEX;H86;IHX")) {
        if (services_.startOptions && services_.startOptions->IntelHexMode == 1) return DocumentFormat::IntelHex;
        switch (Prompt().Ask("Die Datei im Intel HEX-Format laden.\nSoll ein Offset angegeben werden ?\n\n"
                             "(Abbrechen für binäres Format)",
                             kFormatCaption, PromptButtons::YesNoCancel, PromptAnswer::No)) {
        case PromptAnswer::Yes: askOffset = true; return DocumentFormat::IntelHex;
        case PromptAnswer::No: return DocumentFormat::IntelHex;
        default: break;
        }
    } else if (ExtensionIn(path, "BIN") && length > 256 && head.size() >= 4 && std::memcmp(head.data(), "QVCD", 4) == 0) {
        if (Prompt().Ask("Die Datei im komprimierten Format laden ?", kFormatCaption) == PromptAnswer::Yes)
            return DocumentFormat::Compressed;
    }
    return DocumentFormat::Binary;
}

bool CHexDoc::LoadFromFile(const std::string& path, bool readOnly)
{
    std::vector<uint8_t> content;
    FileStamp readStamp;
    switch (ReadWholeFile(path, content, &readStamp)) {
    case FileError::None: break;
    case FileError::NotFound: ShowFileError("%1 wurde nicht gefunden.", path); return false;
    case FileError::AccessDenied:
    case FileError::IsDirectory: ShowFileError("Zugriff auf %1 wurde verwehrt.", path); return false;
    case FileError::NotRegular: ShowFileError(kNotRegularOpen, path); return false;
    case FileError::TooLarge: ShowFileError(kTooLargeForHeap, path); return false;
    case FileError::ReadError: Prompt().Tell("Fehler beim Öffnen des Dokuments.", PromptIcon::Error); return false;
    }
    if (!view_) return true;

    bool askOffset = false;
    DocumentFormat format =
        *ChooseLoadFormat(path, std::vector<uint8_t>(content.begin(), content.begin() + std::min<size_t>(4, content.size())),
                          static_cast<int64_t>(content.size()), askOffset);

    std::vector<uint8_t> bytes;
    readOffset_ = 0;
    if (format == DocumentFormat::Binary) {
        bytes = std::move(content);
    } else if (!FormatAvailable(format)) {
        ReportUnavailable(Prompt(), format);
        format = DocumentFormat::Binary;
    } else {
        FormatContext context{services_.startOptions, services_.dialogs, services_.prompt, askOffset};
        // A reader that fails leaves the document empty, without a message.
        if (auto read = ReadDocumentFormat(format, content, context)) bytes = std::move(*read);
        readOffset_ = context.startOffsetUsed;
    }
    loadedFormat_ = format;

    data_ = ViewBuffer::Allocate(bytes.size() + 4);
    if (!data_) {
        Prompt().Tell("Fehler beim Öffnen des Dokuments.", PromptIcon::Error);
        return false;
    }
    if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
    length_ = static_cast<int64_t>(bytes.size());
    baseAddress_ = services_.startOptions ? services_.startOptions->BaseAddress : 0;
    if (readOnly || (services_.startOptions && services_.startOptions->AccessMode == 1)) {
        viewFlags_ = 0;
        ownsBuffer_ = true;
    } else {
        viewFlags_ = pasteMode_ | ViewWritable | ViewOwnsBuffer;
        ownsBuffer_ = false;
    }
    view_->SetBuffer(data_, length_, baseAddress_, viewFlags_);
    view_->SetModified(false);
    // The stamp of the bytes read, not of the file after the format questions: a change
    // made while they were open is then noticed, never overwritten unasked.
    RecordStamp(readStamp);
    return true;
}

// ---- save -----------------------------------------------------------------------------

bool CHexDoc::SaveDocument(const std::string& path)
{
    if (!CanSave()) return false;
    const FileInfo info = QueryFile(path);
    if (info.special) {
        ShowFileError("%1 ist keine gewöhnliche Datei und kann nicht überschrieben werden.", path);
        return false;
    }
    if (info.exists && !info.isDirectory && info.readOnly) {
        Prompt().Tell(kWriteProtected, PromptIcon::Error);
        return false;
    }
    if (info.isDirectory) {
        ShowFileError("Zugriff auf %1 wurde verwehrt.", path);
        return false;
    }
    if (mapDetached_ && path == path_) {
        // Our own map holds the file's lock; what it shows is no longer what the file holds.
        ShowFileError("Die Datei %1 wurde von einem anderen Programm verändert und wird deshalb nicht "
                      "überschrieben.\nDas Gezeigte lässt sich mit \"Speichern unter\" unter einem anderen Namen "
                      "sichern.",
                      path);
        return false;
    }
    if (LockedForWriting(path)) {
        ShowFileError("Schreiben auf %1 ist nicht möglich, da schreibgeschützt oder von anderem Anwender geöffnet.",
                      path);
        return false;
    }
    if (!SaveToFile(path)) return false;
    changed_ = view_ && view_->IsModified();
    RecordStamp(StampOf(path));
    return true;
}

bool CHexDoc::SaveToFile(const std::string& path)
{
    if (!view_) return false;
    int64_t length = 0;
    uint64_t base = 0;
    const uint8_t* data = view_->GetBuffer(&length, &base);
    if (sectionShown_ && (data != data_ || length != length_)) {
        switch (Prompt().Ask("Es ist nur ein Ausschnitt eingeblendet. Nur den Ausschnitt speichern? Die übrigen " +
                                 std::to_string(length_ - length) + " Bytes der Datei gehen verloren.",
                             kProgramCaption, PromptButtons::YesNoCancel, PromptAnswer::No)) {
        case PromptAnswer::Yes: break;
        case PromptAnswer::No:
            // The whole document, with the section's edits: the view edits the block in place.
            data = data_, length = length_, base = baseAddress_;
            break;
        default: return false;
        }
    }

    DocumentFormat format = DocumentFormat::Binary;
    if (ExtensionIn(path, "HEX;H86;IHX")) {
        if (Prompt().Ask("Im Intel HEX-Format speichern ?", kFormatCaption) == PromptAnswer::Yes)
            format = DocumentFormat::IntelHex;
    } else if (ExtensionIn(path, "C;CPP;H;HPP")) {
        if (Prompt().Ask("Im C++ Format speichern ?", kFormatCaption) == PromptAnswer::Yes)
            format = DocumentFormat::CArray;
    }

    // Intel HEX records carry 32-bit addresses: bytes beyond them would be written wrapped.
    const uint64_t end = base + static_cast<uint64_t>(std::max<int64_t>(length, 1)) - 1;
    if (format == DocumentFormat::IntelHex && (end > UINT32_MAX || end < base)) {
        Prompt().Tell("Das Intel HEX-Format kann nur Adressen bis 0xFFFFFFFF aufnehmen, das Dokument reicht bis " +
                          FormatNumber64(static_cast<int64_t>(end), kStyleHexPrefix) + ".",
                      PromptIcon::Error);
        return false;
    }
    // A format that cannot hold every byte says so first; a cut file is never a full save.
    const size_t capacity = FormatCapacity(format);
    const bool partial = static_cast<size_t>(length) > capacity;
    if (partial) {
        const std::string most = std::to_string(capacity);
        if (Prompt().Ask(std::string("Das ") + FormatName(format) + "-Format kann höchstens " + most +
                             " Bytes aufnehmen, das Dokument hat " + std::to_string(length) + " Bytes.\nNur die ersten " +
                             most + " Bytes speichern ?",
                         kProgramCaption, PromptButtons::YesNo, PromptAnswer::No) != PromptAnswer::Yes)
            return false;
    }

    std::vector<uint8_t> text;
    if (format != DocumentFormat::Binary) {
        auto written = FormatAvailable(format) ? WriteDocumentFormat(format, data, static_cast<size_t>(length), base)
                                               : std::nullopt;
        if (!written) {
            ReportUnavailable(Prompt(), format);
            return false;
        }
        text = std::move(*written);
        data = text.data();
        length = static_cast<int64_t>(text.size());
    }

    // After the last question, right before writing: another program may have changed the
    // file while the questions were open.
    if (!ConfirmOverwriteChanged(path)) return false;
    switch (SaveFileAtomically(path, data, static_cast<size_t>(length), services_.write)) {
    case SaveError::None: break;
    case SaveError::ReadOnly:
        ShowFileError("Schreiben auf %1 ist nicht möglich, da schreibgeschützt oder von anderem Anwender geöffnet.",
                      path);
        return false;
    case SaveError::AccessDenied: ShowFileError("Zugriff auf %1 wurde verwehrt.", path); return false;
    case SaveError::DiskFull: ShowFileError("Beim Zugriff auf %1 wurde ein voller Datenträger gemeldet.", path); return false;
    case SaveError::NotFound: ShowFileError("%1 wurde nicht gefunden.", path); return false;
    case SaveError::NotRegularFile:
        ShowFileError("%1 ist keine gewöhnliche Datei und kann nicht überschrieben werden.", path);
        return false;
    case SaveError::WriteFailed: Prompt().Tell("Fehler beim Speichern des Dokuments.", PromptIcon::Error); return false;
    }
    // After a partial save the file differs from the document.
    view_->SetModified(partial);
    return true;
}

// ---- close ----------------------------------------------------------------------------

void CHexDoc::CloseContents()
{
    if (data_) Tell(DocumentEvent::Closing);
    if (view_ && data_) {
        view_->SetBuffer(nullptr, 0, 0, 0);
        // The edits went with the bytes: the empty view has nothing left to save.
        view_->SetModified(false);
    }
    baseAddress_ = 0;
    length_ = 0;
    viewFlags_ = 0;
    if (ownsBuffer_ && data_) ViewBuffer::Release(data_);
    data_ = nullptr;
    ownsBuffer_ = false;
    mappedBytes_.reset();
    mapped_.reset();
    mapDetached_ = false;
    loadedFormat_ = DocumentFormat::Binary;
    readOffset_ = 0;
    sectionShown_ = false;
    RecordStamp(std::nullopt);
}

void CHexDoc::ResetToEmpty()
{
    CloseContents();
    if (view_) view_->SetBuffer(nullptr, 0, 0, 0);
}

bool CHexDoc::HasUnsavedChanges()
{
    // A mapped file holds every change already, unless the map was cut off from it.
    if ((IsMapped() && !mapDetached_) || !view_) return false;
    if (view_->IsModified()) changed_ = true;
    return view_->IsModified() != 0;
}

const uint8_t* CHexDoc::DocumentBytes(int64_t& length, int64_t& shownOffset) const
{
    length = 0;
    shownOffset = 0;
    if (!view_) return nullptr;
    int64_t shownLength = 0;
    const uint8_t* shown = view_->GetBuffer(&shownLength, nullptr);
    // An owning view may have grown its block: then it alone has the bytes.
    if ((viewFlags_ & ViewOwnsBuffer) || !data_) {
        length = shownLength;
        return shown;
    }
    length = length_;
    shownOffset = shown ? shown - data_ : 0;
    return data_;
}

bool CHexDoc::RestoreContents(const std::string& path, const std::vector<uint8_t>& bytes, DocumentFormat format,
                              uint32_t readOffset, uint64_t baseAddress, const std::optional<FileStamp>& stamp)
{
    if (!view_) return false;
    CloseContents();
    data_ = ViewBuffer::Allocate(bytes.size() + 4);
    if (!data_) {
        Prompt().Tell("Fehler beim Öffnen des Dokuments.", PromptIcon::Error);
        ResetToEmpty();
        return false;
    }
    if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
    length_ = static_cast<int64_t>(bytes.size());
    baseAddress_ = baseAddress;
    loadedFormat_ = format;
    readOffset_ = readOffset;
    viewFlags_ = pasteMode_ | ViewWritable | ViewOwnsBuffer;
    ownsBuffer_ = false;
    view_->SetBuffer(data_, length_, baseAddress_, viewFlags_);
    // The recovered edits are not in the file: the document is changed.
    view_->SetModified(true);
    changed_ = true;
    SetPath(path);
    RecordStamp(stamp);
    return true;
}

// ---- sections -------------------------------------------------------------------------

void CHexDoc::ShowSection(uint64_t offset, uint64_t length)
{
    if (!view_ || !data_) return;
    if (viewFlags_ & ViewOwnsBuffer) {
        // The view may have grown its block while inserting: cut from its current block,
        // and take that block over so that it stays alive while sections of it are shown
        // and is released once, at close.
        int64_t currentLength = 0;
        uint64_t currentBase = 0;
        data_ = view_->GetBuffer(&currentLength, &currentBase);
        length_ = currentLength;
        ownsBuffer_ = true;
        viewFlags_ &= ~ViewOwnsBuffer;
    }
    const auto whole = static_cast<uint64_t>(length_);
    if (offset > whole) offset = whole, length = 0;
    if (length > whole - offset) length = whole - offset;
    view_->SetBuffer(data_ + offset, static_cast<int64_t>(length), baseAddress_ + offset,
                     (viewFlags_ & ~ViewOwnsBuffer) | KeepOldBuffer | NoRepaint);
    sectionShown_ = true;
    view_->RepaintNow();
}

void CHexDoc::ReopenPrevious()
{
    if (!services_.recentFiles || !services_.openFile) return;
    const auto recent = services_.recentFiles();
    if (recent.empty() || recent[0].empty()) return;
    if (::strcasecmp(path_.c_str(), recent[0].c_str()) == 0) {
        if (recent.size() > 1 && !recent[1].empty()) services_.openFile(recent[1]);
    } else {
        services_.openFile(recent[0]);
    }
}

// ---- insert mode ----------------------------------------------------------------------

void CHexDoc::ToggleInsertMode()
{
    if (!view_ || (view_->QueryHexFlags() & FlagReadOnly)) return;
    pasteMode_ = pasteMode_ ? 0 : InsertAllowed;
    view_->SetInsertAllowed(-1, static_cast<int>(pasteMode_));
}

MenuState CHexDoc::InsertModeState() const
{
    if (view_ && view_->InsertState() == -1) return {false, false};
    return {true, pasteMode_ == InsertAllowed};
}

}  // namespace qv
