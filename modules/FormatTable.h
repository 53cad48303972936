// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table that tells the module for a file by its magic bytes: one line per format with
// the offset of the magic bytes, the bytes themselves, an optional mask, the module file
// and the entry point that decodes the format (docs/modules.md). The shipped table lies
// beside the shipped modules; the user's own table, of the same form, in the user's module
// folder comes first.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class IByteSource;

struct FormatRule {
    int64_t offset = 0;
    std::vector<uint8_t> magic;
    std::vector<uint8_t> mask;  // as long as magic; all FFh when the line gives none
    std::string module;         // full path of the module file
    std::string entryPoint;     // Windows-1252, as the module names it; also the format's name
};

struct FormatTable {
    std::vector<FormatRule> rules;
    // One line per line of a table that could not be read: "file(line): text" (UTF-8).
    std::vector<std::string> errors;

    // Adds the rules of a table's text; module names are taken relative to folder.
    void Parse(std::string_view text, const std::string& folder, const std::string& fileName);
    // Adds the rules of a table file; a missing file adds nothing and is no error.
    void Load(const std::string& path);
};

// The tables to read, the user's first: FILE in the user's module folder, then in shipped.
inline constexpr const char* kFormatTableName = "formats.txt";
std::vector<std::string> FormatTablePaths(const std::string& shippedFolder);
// $XDG_DATA_HOME/quarnival/modules (~/.local/share/quarnival/modules without it).
std::string UserModuleFolder();
// The shipped modules beside a program in folder programFolder: installed
// (../share/quarnival/modules) or in the source tree (../resources/modules); empty if neither.
std::string ShippedModuleFolder(const std::string& programFolder);

// The folder of the running program (from /proc/self/exe); empty when unknown.
std::string ProgramFolder();
// The user's table and the one shipped beside the running program.
FormatTable LoadProgramFormatTables();

// The rules whose magic bytes the data holds, in table order, for a format that begins at
// start (a rule's offset counts from there). A rule with the same offset, magic and mask as
// an earlier one is left out, so a user's line replaces a shipped one.
std::vector<const FormatRule*> DetectFormats(const FormatTable& table, const IByteSource& data, int64_t start = 0);

}  // namespace qv
