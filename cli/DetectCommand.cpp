// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli detect: the formats that the format tables find in a file, one line each
// with the format's name, the offset of its magic bytes and the module that decodes it. With
// --offset the formats are looked for as if the file began there (an image inside a disk).
#include <iostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "cli/ToolRange.h"
#include "common/CodePage.h"
#include "common/NumberText.h"
#include "modules/DecodeJson.h"
#include "modules/FormatTable.h"
#include "view/ByteSource.h"

namespace qv::cli {
namespace {

int Detect(const std::vector<std::string>& args)
{
    CliArgs options(args, {"offset"}, {"json"});
    if (options.Positional().size() != 1) throw UsageError("Genau eine Datei angeben");
    const InputFile data(options.Positional()[0]);
    const BlockByteSource bytes(data.Data(), static_cast<int64_t>(data.Size()));
    const uint64_t start = options.Number("offset").value_or(0);
    CheckOffsetInFile(start, data.Size());
    const FormatTable table = LoadProgramFormatTables();
    for (const std::string& error : table.errors) std::cerr << "quarnival-cli detect: " << error << "\n";
    const auto found = DetectFormats(table, bytes, static_cast<int64_t>(start));
    // Where the magic bytes lie in the file.
    auto offset = [start](const FormatRule* rule) { return static_cast<int64_t>(start) + rule->offset; };

    // Paths are bytes as the system gives them; JsonString expects Windows-1252.
    auto path = [](const std::string& module) { return IsValidUtf8(module) ? Utf8ToCp1252(module) : module; };
    if (options.Has("json")) {
        std::cout << "[";
        for (size_t i = 0; i < found.size(); ++i)
            std::cout << (i ? "," : "") << "\n{\"format\":" << JsonString(found[i]->entryPoint)
                      << ",\"offset\":" << offset(found[i]) << ",\"module\":" << JsonString(path(found[i]->module))
                      << "}";
        std::cout << "]\n";
    } else {
        for (const FormatRule* rule : found)
            std::cout << Cp1252ToUtf8(rule->entryPoint) << '\t' << FormatNumber64(offset(rule), kStyleHexPrefix)
                      << '\t' << rule->module << '\n';
    }
    return found.empty() ? 1 : 0;
}

}  // namespace

QV_CLI_COMMAND_FAILURE("detect", "detect DATEI [--offset O] [--json]",
                       "kein bekanntes Format gefunden, oder die Datei ist nicht lesbar", Detect);

}  // namespace qv::cli
