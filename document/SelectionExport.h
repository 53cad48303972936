// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document's selection export commands: 32830 "Speichere als C-Datei" writes the
// selection as source text in the format chosen in NumberEntryDialog, 32829
// "Speichere &Markierung" writes the selected bytes unchanged. Both save atomically: a
// failed save leaves an existing file whole.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/AtomicSave.h"
#include "platform/DialogService.h"
#include "platform/Prompt.h"
#include "platform/SettingsStore.h"

namespace qv {

struct SelectionExportServices {
    IPrompt* prompt = nullptr;
    IDialogService* dialogs = nullptr;
    SettingsStores settings;
    WriteFunction write;  // empty for the system's own write call (tests inject failures)
};

// The selected bytes; bytes is null when nothing is selected.
struct SelectedBytes {
    const uint8_t* bytes = nullptr;
    size_t length = 0;
};

class SelectionExport {
public:
    static constexpr size_t kMaxBytes = 0x400000;
    static constexpr const char* kTextFilter =
        "C-Header Datei   (*.h)|*.h|C-Quellcode Datei   (*.c)|*.c|C++ Quellcode Datei   (*.cpp)|*.cpp|"
        "Assembler Datei   (*.asm)|*.asm|Alle Dateien   (*.*)|*.*|";
    static constexpr const char* kBinaryFilter = "Binärdatei (*.bin)|*.bin|Alle Dateien|*.*|";

    explicit SelectionExport(SelectionExportServices services) : services_(std::move(services)) {}

    // Command 32830; documentPath names the folder proposed for a first save.
    void SaveSelectionAsText(const SelectedBytes& selection, const std::string& documentPath);
    // Command 32829.
    void SaveSelection(const SelectedBytes& selection, const std::string& documentPath);

private:
    std::string AskPath(const std::string& filter, const std::string& proposed);
    bool ConfirmOverwrite(const std::string& path);
    void Save(const std::string& path, const uint8_t* data, size_t size);

    SelectionExportServices services_;
    std::string lastTextPath_;  // the name chosen for source text in this run
};

}  // namespace qv
