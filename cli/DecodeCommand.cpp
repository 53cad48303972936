// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli decode: runs structure modules over a file, as the data window does, and
// prints one line per decoded field.
#include <algorithm>
#include <iostream>
#include <limits>
#include <optional>
#include <stdexcept>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "common/CodePage.h"
#include "common/NumberText.h"
#include "modules/DecodeJson.h"
#include "modules/ErrorSink.h"
#include "modules/FormatTable.h"
#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleSet.h"
#include "modules/ModuleSourceText.h"
#include "view/ByteSource.h"

namespace qv::cli {

namespace {

constexpr int kDefaultMaxRows = 8192;

// Error lines end with CR LF in the sink; the terminal gets plain line feeds, each line
// led by the module file it concerns.
void PrintErrors(const std::string& module, const std::string& text)
{
    std::string lines = Cp1252ToUtf8(text);
    lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
    for (size_t start = 0; start < lines.size();) {
        size_t end = lines.find('\n', start);
        end = end == std::string::npos ? lines.size() : end + 1;
        std::cerr << module << ": " << std::string_view(lines).substr(start, end - start);
        start = end;
    }
}

int FindEntryPoint(const ModuleSet& set, const std::string& name)
{
    std::string wanted = IsValidUtf8(name) ? Utf8ToCp1252(name) : name;
    int found = set.FindEntryPoint(wanted, 0, static_cast<int>(set.entryPoints.size()));
    if (found < 0) throw UsageError("Einstiegspunkt \"" + name + "\" nicht gefunden");
    return found;
}

// A module file is read like a data file, so that a pipe, FIFO or <(...) serves as well
// (the compiler itself reads regular files only). One that cannot be read goes to the
// compiler, which reports it as the data window does.
int LoadModule(ModuleCompiler& compiler, const std::string& path)
{
    std::optional<InputFile> file;
    try {
        file.emplace(path);
    } catch (const std::runtime_error&) {
        return compiler.Load(path);
    }
    const std::string_view bytes(reinterpret_cast<const char*>(file->Data()), file->Size());
    return compiler.Compile(ModuleSourceText(bytes), ModuleNameFromPath(path));
}

std::string Hex(int64_t value)
{
    return FormatNumber64(value, kStyleHexPrefix);
}

int Decode(const std::vector<std::string>& args)
{
    CliArgs options(args, {"entry", "offset", "max-rows"}, {"list", "json", "auto"});
    const auto& files = options.Positional();
    const bool automatic = options.Has("auto");
    if (files.empty() || (!automatic && files.size() < 2)) throw UsageError("Datei und mindestens ein Modul angeben");
    if (automatic && files.size() > 1) throw UsageError("Mit --auto kein Modul angeben");
    const InputFile data(files[0]);
    const BlockByteSource bytes(data.Data(), static_cast<int64_t>(data.Size()));

    const auto offset = static_cast<int64_t>(
        std::min<uint64_t>(options.Number("offset").value_or(0), std::numeric_limits<int64_t>::max()));

    std::vector<std::string> modules(files.begin() + 1, files.end());
    std::optional<std::string> entryName = options.Value("entry");
    if (automatic) {
        // The format that begins where decoding begins.
        const FormatTable table = LoadProgramFormatTables();
        const auto found = DetectFormats(table, bytes, offset);
        if (found.empty()) {
            std::cerr << "quarnival-cli decode: Kein bekanntes Format in " << files[0] << "\n";
            return 1;
        }
        modules = {found.front()->module};
        if (!entryName) entryName = Cp1252ToUtf8(found.front()->entryPoint);
    }

    ModuleSet set;
    ErrorSink sink;
    set.SetErrorSink(&sink);
    ModuleCompiler compiler(set);
    bool allRead = true;
    for (const std::string& module : modules) {
        sink.Clear();
        if (LoadModule(compiler, module) == ModuleCompiler::kNotOpened) allRead = false;
        PrintErrors(module, sink.Text());
    }
    if (!allRead) return 1;

    if (options.Has("list")) {
        for (const auto& entry : set.entryPoints) std::cout << Cp1252ToUtf8(entry.name) << "\n";
        return 0;
    }
    int entry = entryName ? FindEntryPoint(set, *entryName) : 0;
    uint64_t maxRows = options.Number("max-rows").value_or(kDefaultMaxRows);
    int rows = static_cast<int>(std::min<uint64_t>(maxRows, std::numeric_limits<int>::max()));

    ModuleInterpreter interpreter(set);
    int count = interpreter.Run(0, bytes, entry, rows, offset);
    if (options.Has("json")) {
        std::cout << DecodeRowsJson(set, 0);
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        RowView view = set.Row(0, i);
        std::cout << view.row->indent << '\t' << Cp1252ToUtf8(view.name) << '\t' << Cp1252ToUtf8(view.valueText)
                  << '\t' << Hex(view.row->offset) << '\t' << Hex(view.row->size) << '\t'
                  << Hex(view.row->address) << '\n';
    }
    return 0;
}

}  // namespace

QV_CLI_COMMAND("decode",
               "decode DATEI (MODUL.dfm... | --auto) [--entry NAME] [--offset O] [--max-rows N] [--list] [--json]",
               Decode);

}  // namespace qv::cli
