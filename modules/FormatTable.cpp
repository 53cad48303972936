// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/FormatTable.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "common/HexText.h"
#include "common/NumberText.h"
#include "modules/ModuleSourceText.h"
#include "platform/FileSystem.h"
#include "view/ByteSource.h"

namespace qv {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The next blank-separated field; a field that starts with a double quote runs to the
// closing quote, blanks included. Empty at the end of the line.
std::string_view NextField(std::string_view& line)
{
    size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) ++start;
    size_t end = start;
    if (end < line.size() && line[end] == '"') {
        for (++end; end < line.size() && line[end] != '"'; ++end)
            if (line[end] == '\\' && end + 1 < line.size()) ++end;
        if (end < line.size()) ++end;
    } else {
        while (end < line.size() && !IsBlank(line[end])) ++end;
    }
    std::string_view field = line.substr(start, end - start);
    line.remove_prefix(end);
    return field;
}

// Hexadecimal digit pairs ("504B0304"), or a quoted text with \\, \", \0 and \xNN.
bool ReadBytes(std::string_view field, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = field.substr(1, field.size() - 2);
        for (size_t i = 0; i < field.size(); ++i) {
            char c = field[i];
            if (c != '\\') {
                bytes.push_back(static_cast<uint8_t>(c));
                continue;
            }
            if (++i >= field.size()) return false;
            if (field[i] == '0') {
                bytes.push_back(0);
            } else if (field[i] == 'x' && i + 2 < field.size() && HexValue(field[i + 1]) >= 0 &&
                       HexValue(field[i + 2]) >= 0) {
                bytes.push_back(static_cast<uint8_t>(HexValue(field[i + 1]) * 16 + HexValue(field[i + 2])));
                i += 2;
            } else if (field[i] == '\\' || field[i] == '"') {
                bytes.push_back(static_cast<uint8_t>(field[i]));
            } else {
                return false;
            }
        }
        return !bytes.empty();
    }
    if (field.empty() || field.size() % 2 != 0) return false;
    for (size_t i = 0; i < field.size(); i += 2) {
        int high = HexValue(field[i]), low = HexValue(field[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

bool IsModuleName(std::string_view field)
{
    if (field.size() < 4) return false;
    std::string suffix(field.substr(field.size() - 4));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](char c) { return char(std::tolower(c)); });
    return suffix == ".dfm";
}

}  // namespace

void FormatTable::Parse(std::string_view text, const std::string& folder, const std::string& fileName)
{
    std::string_view rest = text;
    for (int number = 1; !rest.empty(); ++number) {
        size_t end = rest.find_first_of("\r\n");
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        if (rest.starts_with("\r\n")) rest.remove_prefix(2);
        else if (!rest.empty()) rest.remove_prefix(1);

        auto fail = [&](const char* message) {
            errors.push_back(fileName + "(" + std::to_string(number) + "): " + message);
        };
        std::string_view offsetText = NextField(line);
        if (offsetText.empty() || offsetText[0] == '#' || offsetText[0] == ';') continue;
        FormatRule rule;
        // Read as offsets are typed everywhere; a bare prefix or more than 63 bits is no offset.
        const TypedNumber offset = ReadTypedNumber(offsetText);
        if (offset.consumed != offsetText.size() || offset.negative || offset.overflow ||
            offset.magnitude > static_cast<uint64_t>(INT64_MAX)) {
            fail("Ungültiger Offset");
            continue;
        }
        rule.offset = static_cast<int64_t>(offset.magnitude);
        if (!ReadBytes(NextField(line), rule.magic)) {
            fail("Ungültige Kennbytes");
            continue;
        }
        std::string_view field = NextField(line);
        if (!IsModuleName(field) && ReadBytes(field, rule.mask)) {
            if (rule.mask.size() != rule.magic.size()) {
                fail("Die Maske passt nicht zu den Kennbytes");
                continue;
            }
            field = NextField(line);
        } else {
            rule.mask.assign(rule.magic.size(), 0xFF);
        }
        if (!IsModuleName(field)) {
            fail("Modul fehlt");
            continue;
        }
        while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
        while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
        if (line.empty()) {
            fail("Einstiegspunkt fehlt");
            continue;
        }
        // Module files name their entry points in Windows-1252 (or UTF-8, converted).
        rule.entryPoint = ModuleSourceText(line);
        std::filesystem::path module(std::string{field});
        rule.module = module.is_absolute() ? module.string() : (std::filesystem::path(folder) / module).string();
        for (size_t i = 0; i < rule.magic.size(); ++i) rule.magic[i] &= rule.mask[i];
        rules.push_back(std::move(rule));
    }
}

void FormatTable::Load(const std::string& path)
{
    std::vector<uint8_t> bytes;
    const FileError error = ReadWholeFile(path, bytes);
    if (error == FileError::NotFound) return;
    if (error != FileError::None) {
        errors.push_back(path + ": Kann Datei nicht öffnen.");
        return;
    }
    Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
          std::filesystem::path(path).parent_path().string(), path);
}

std::string UserModuleFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return std::string(data) + "/quarnival/modules";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/quarnival/modules";
}

std::string ShippedModuleFolder(const std::string& programFolder)
{
    for (const char* relative : {"/../share/quarnival/modules", "/../resources/modules"}) {
        const std::string folder = std::filesystem::path(programFolder + relative).lexically_normal().string();
        if (QueryFile(folder).isDirectory) return folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    }
    return {};
}

std::vector<std::string> FormatTablePaths(const std::string& shippedFolder)
{
    std::vector<std::string> paths{UserModuleFolder() + "/" + kFormatTableName};
    if (!shippedFolder.empty()) paths.push_back(shippedFolder + "/" + kFormatTableName);
    return paths;
}

std::string ProgramFolder()
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

FormatTable LoadProgramFormatTables()
{
    FormatTable table;
    for (const std::string& path : FormatTablePaths(ShippedModuleFolder(ProgramFolder()))) table.Load(path);
    return table;
}

std::vector<const FormatRule*> DetectFormats(const FormatTable& table, const IByteSource& data, int64_t start)
{
    std::vector<const FormatRule*> found;
    std::vector<uint8_t> scratch;
    for (size_t r = 0; r < table.rules.size(); ++r) {
        const FormatRule& rule = table.rules[r];
        const bool repeated = std::any_of(table.rules.begin(), table.rules.begin() + static_cast<ptrdiff_t>(r),
                                          [&](const FormatRule& earlier) {
                                              return earlier.offset == rule.offset && earlier.magic == rule.magic &&
                                                     earlier.mask == rule.mask;
                                          });
        if (repeated) continue;
        const auto length = static_cast<int64_t>(rule.magic.size());
        if (start < 0 || rule.offset > data.Size() - start - length) continue;
        std::span<const uint8_t> bytes = data.Window(start + rule.offset, length, scratch);
        if (static_cast<int64_t>(bytes.size()) != length) continue;
        bool matches = true;
        for (size_t i = 0; i < rule.magic.size() && matches; ++i) matches = (bytes[i] & rule.mask[i]) == rule.magic[i];
        if (matches) found.push_back(&rule);
    }
    return found;
}

}  // namespace qv
