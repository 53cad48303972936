// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialogs of the data window as plain models: the module file dialog, the error
// dialog of a module load, the selection of module files to take out of the list, and the
// options of the current page ("Daten Fenster Optionen").
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DialogService.h"

namespace qv {

class ModuleSet;

struct ModuleFileDialog : DialogModel {
    const char* DialogName() const override { return "ModuleFiles"; }
    std::string folder;               // initial folder
    std::vector<std::string> chosen;  // full paths, filled on OK
};

struct ModuleErrorDialog : DialogModel {
    const char* DialogName() const override { return "ModuleErrors"; }
    std::string caption;  // UTF-8: "Modulfehler in " and the file name
    std::string text;     // Windows-1252 error lines, CR LF separated
};

struct ModuleRemoveDialog : DialogModel {
    static constexpr const char* kCaption = "Module löschen";
    const char* DialogName() const override { return "ModuleRemove"; }
    std::vector<std::string> paths;     // sorted, case ignored
    std::vector<std::string> selected;  // filled on OK
};

struct DataWindowOptionsDialog : DialogModel {
    static constexpr const char* kCaption = "Daten Fenster Optionen";
    const char* DialogName() const override { return "DataWindowOptions"; }

    const ModuleSet* modules = nullptr;
    std::string offsetText;  // "0x" and hexadecimal digits
    std::string lengthText;
    std::string maxRowsText;
    int module = 0;      // index into the set's modules
    int entryPoint = 0;  // index into the set's entry points
    bool showOffset = false;
    bool showSize = false;
    bool showAddress = false;
    bool fixedFont = false;
    bool gridLines = false;
    bool autoDetect = true;  // "Format automatisch erkennen"

    // Module indices sorted by name (case ignored), and the entry points of one module.
    std::vector<int> SortedModules() const;
    std::vector<int> SortedEntryPoints(int moduleIndex) const;
    std::string ModuleName(int module) const;
    std::string EntryPointName(int entryPoint) const;
};

}  // namespace qv
