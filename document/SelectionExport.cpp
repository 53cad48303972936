// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/SelectionExport.h"

#include <algorithm>
#include <unistd.h>

#include "document/CTextGenerator.h"
#include "document/NumberEntryDialog.h"
#include "document/NumberEntrySettings.h"
#include "document/SelectionExportSaveDialog.h"
#include "platform/FileSystem.h"

namespace qv {

namespace {

constexpr const char* kNothingSelected = "Es ist kein Bereich markiert !";
constexpr const char* kSaveTitle = "Markierung speichern";

// The document's folder with a closing "/", or nothing for an untitled document.
std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

const char* PatternFor(int format)
{
    if (format == kCTextAssembler) return "*.asm";
    if (format == kCTextTypes || format == kCTextDump) return "*.txt";
    return "*.h";
}

}  // namespace

void SelectionExport::SaveSelectionAsText(const SelectedBytes& selection, const std::string& documentPath)
{
    NumberEntrySettings settings = NumberEntrySettings::Load(services_.settings);
    NumberEntryDialog dialog;
    dialog.caption = "Speichere im C++ Format";
    dialog.label = "Spaltenbreite";
    dialog.withFormatGroup = true;
    settings.ApplyTo(dialog);
    if (!services_.dialogs->Run(dialog)) return;
    settings.TakeFrom(dialog);
    if (services_.settings.user) settings.Save(*services_.settings.user);

    if (!selection.bytes) {
        services_.prompt->Tell(kNothingSelected);
        return;
    }
    const size_t length = std::min(selection.length, kMaxBytes);
    const std::string proposed =
        lastTextPath_.empty() ? FolderOf(documentPath) + PatternFor(settings.format) : lastTextPath_;
    const std::string path = AskPath(kTextFilter, proposed);
    if (path.empty()) return;
    lastTextPath_ = path;
    if (!ConfirmOverwrite(path)) return;

    std::string text;
    const int format = settings.format | (dialog.BigEndian() ? kCTextBigEndian : 0);
    GenerateCTextFile(selection.bytes, length, settings.valueSize, format, settings.LineSize8(),
                      [&text](const char* piece, size_t size) {
                          text.append(piece, size);
                          return true;
                      });
    Save(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

void SelectionExport::SaveSelection(const SelectedBytes& selection, const std::string& documentPath)
{
    if (!selection.bytes) {
        services_.prompt->Tell(kNothingSelected);
        return;
    }
    const std::string path = AskPath(kBinaryFilter, FolderOf(documentPath) + "*.*");
    if (path.empty() || !ConfirmOverwrite(path)) return;
    Save(path, selection.bytes, std::min(selection.length, kMaxBytes));
}

std::string SelectionExport::AskPath(const std::string& filter, const std::string& proposed)
{
    SelectionExportSaveDialog dialog;
    dialog.title = kSaveTitle;
    dialog.filter = filter;
    dialog.proposedPath = proposed;
    if (!services_.dialogs->Run(dialog)) return {};
    return dialog.chosenPath;
}

bool SelectionExport::ConfirmOverwrite(const std::string& path)
{
    if (!QueryFile(path).exists) return true;
    const std::string question = "Die Datei " + path + "\nexistiert bereits ?\n\nÜberschreiben ?";
    return services_.prompt->Ask(question, "Fehler", PromptButtons::OkCancel, PromptAnswer::Ok) == PromptAnswer::Ok;
}

void SelectionExport::Save(const std::string& path, const uint8_t* data, size_t size)
{
    // The file is written in pieces of kCTextPiece bytes. A failure before the first write
    // means the file could not be opened; a later one that it could not be written.
    bool writing = false;
    const WriteFunction& write = services_.write;
    auto pieceWriter = [&](int fd, const void* bytes, size_t count) -> ssize_t {
        writing = true;
        const size_t piece = std::min(count, kCTextPiece);
        return write ? write(fd, bytes, piece) : ::write(fd, bytes, piece);
    };
    if (SaveFileAtomically(path, data, size, pieceWriter) == SaveError::None) return;
    services_.prompt->Tell(writing ? "Fehler beim Speichern" : "Fehler beim Öffnen der Datei", PromptIcon::Error);
}

}  // namespace qv
