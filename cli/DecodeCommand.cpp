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
#include "modules/ModuleCompiler.h"
#include "modules/ModuleInterpreter.h"
#include "modules/ModuleSet.h"
#include "modules/ModuleSourceText.h"

namespace qv::cli {

namespace {

constexpr int kDefaultMaxRows = 8192;

// Error lines end with CR LF in the sink; the terminal gets plain line feeds.
void PrintErrors(const std::string& text)
{
    std::string lines = Cp1252ToUtf8(text);
    lines.erase(std::remove(lines.begin(), lines.end(), '\r'), lines.end());
    std::cerr << lines;
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

int Decode(const std::vector<std::string>& args)
{
    CliArgs options(args, {"entry", "offset", "max-rows"}, {"list", "json"});
    const auto& files = options.Positional();
    if (files.size() < 2) throw UsageError("Datei und mindestens ein Modul angeben");
    const InputFile data(files[0]);

    ModuleSet set;
    ErrorSink sink;
    set.SetErrorSink(&sink);
    ModuleCompiler compiler(set);
    bool allRead = true;
    for (size_t i = 1; i < files.size(); ++i) {
        sink.Clear();
        if (LoadModule(compiler, files[i]) == ModuleCompiler::kNotOpened) allRead = false;
        PrintErrors(sink.Text());
    }
    if (!allRead) return 1;

    if (options.Has("list")) {
        for (const auto& entry : set.entryPoints) std::cout << Cp1252ToUtf8(entry.name) << "\n";
        return 0;
    }
    int entry = options.Value("entry") ? FindEntryPoint(set, *options.Value("entry")) : 0;
    auto offset = static_cast<int32_t>(options.Number("offset").value_or(0));
    uint64_t maxRows = options.Number("max-rows").value_or(kDefaultMaxRows);
    int rows = static_cast<int>(std::min<uint64_t>(maxRows, std::numeric_limits<int>::max()));
    auto length = static_cast<int32_t>(std::min<uint64_t>(data.Size(), std::numeric_limits<int32_t>::max()));

    ModuleInterpreter interpreter(set);
    int count = interpreter.Run(0, data.Data(), length, entry, rows, offset);
    if (options.Has("json")) {
        std::cout << DecodeRowsJson(set, 0);
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        RowView view = set.Row(0, i);
        std::cout << view.row->indent << '\t' << Cp1252ToUtf8(view.name) << '\t' << Cp1252ToUtf8(view.valueText)
                  << '\t' << FormatNumber(view.row->offset, kStyleHexPrefix) << '\t'
                  << FormatNumber(view.row->size, kStyleHexPrefix) << '\t'
                  << FormatNumber(view.row->address, kStyleHexPrefix) << '\n';
    }
    return 0;
}

}  // namespace

QV_CLI_COMMAND("decode",
               "decode DATEI MODUL.dfm... [--entry NAME] [--offset O] [--max-rows N] [--list] [--json]",
               Decode);

}  // namespace qv::cli
