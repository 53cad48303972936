// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Compiles module source text into a ModuleSet in two passes: the first collects the
// labels, the second the statements. Errors are reported through the set's error sink
// and never stop the compile.
#include <optional>
#include <string>
#include <string_view>

namespace qv {

class ModuleSet;

class ModuleCompiler {
public:
    enum LoadResult { kNotOpened = 0, kAlreadyLoaded = 1, kCompiled = 2 };

    explicit ModuleCompiler(ModuleSet& set) : set_(set) {}

    // Reads and compiles a module file. Without a module name the file name (up to its
    // first ".") names the module.
    int Load(const std::string& path, const std::optional<std::string>& moduleName = std::nullopt);

    // Compiles Windows-1252 source text; an empty name is replaced by a MODUL name or the
    // module's number.
    int Compile(std::string_view source, std::string moduleName);

private:
    ModuleSet& set_;
};

// The module name a file gets: its name without folder and from the first "." on, at
// most 63 characters, in Windows-1252.
std::string ModuleNameFromPath(const std::string& path);

}  // namespace qv
