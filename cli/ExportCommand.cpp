// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli export: bytes of a file as source text, in the clipboard form of the copy
// command or (--file) as the C-file export writes it.
#include <algorithm>
#include <iostream>
#include <map>
#include <string_view>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/ClipboardTextPieces.h"
#include "cli/InputFile.h"
#include "cli/ToolRange.h"
#include "common/CodePage.h"
#include "document/CTextGenerator.h"

namespace qv::cli {

namespace {

struct FormatChoice {
    int format;
    int textType;  // the value size that chooses a text type, 0 for the sized formats
};

const std::map<std::string, FormatChoice>& Formats()
{
    static const std::map<std::string, FormatChoice> formats = {
        {"c", {kCTextC, 0}},
        {"asm", {kCTextAssembler, 0}},
        {"base64", {kCTextTypes, kTextBase64}},
        {"hex-text", {kCTextTypes, kTextHex}},
        {"min-text", {kCTextTypes, kTextMin}},
        {"chars", {kCTextTypes, kTextChars}},
        {"dump", {kCTextDump, 0}},
    };
    return formats;
}

int Export(const std::vector<std::string>& arguments)
{
    const CliArgs args(arguments, {"offset", "length", "format", "size", "line"}, {"big-endian", "file"});
    if (args.Positional().size() != 1) throw UsageError("FILE erwartet");
    const auto formatName = args.Value("format");
    if (!formatName) throw UsageError("--format fehlt");
    const auto found = Formats().find(*formatName);
    if (found == Formats().end()) throw UsageError("unbekanntes Format: " + *formatName);
    const FormatChoice choice = found->second;

    int valueSize = static_cast<int>(args.Number("size").value_or(1));
    if (valueSize != 1 && valueSize != 2 && valueSize != 4 && valueSize != 8)
        throw UsageError("--size muss 1, 2, 4 oder 8 sein");
    if (choice.textType != 0) {
        if (args.Has("size")) throw UsageError("--size gilt nur für c, asm und dump");
        valueSize = choice.textType;
    }
    const uint64_t line = args.Number("line").value_or(16);
    if (line > 255) throw UsageError("--line muss zwischen 0 und 255 liegen");
    const int format = choice.format | (args.Has("big-endian") ? kCTextBigEndian : 0);

    const std::optional<uint64_t> lengthOption = args.Number("length");
    const uint64_t offsetOption = args.Number("offset").value_or(0);
    const bool bounded = lengthOption && offsetOption + *lengthOption >= offsetOption;
    const InputFile input(args.Positional()[0], bounded ? offsetOption + *lengthOption : UINT64_MAX);
    CheckOffsetInFile(offsetOption, input.Size());
    const uint64_t offset = offsetOption;
    const uint64_t length = std::min<uint64_t>(lengthOption.value_or(input.Size()), input.Size() - offset);
    const uint8_t* bytes = input.Data() + offset;
    input.WillRead(bytes, length);

    if (args.Has("file")) {
        GenerateCTextFile(bytes, length, valueSize, format, static_cast<int>(line), [](const char* text, size_t size) {
            std::cout.write(text, static_cast<std::streamsize>(size));
            return true;
        });
        return 0;
    }
    ExportClipboardText(bytes, length, valueSize, format, static_cast<int>(line), [](const std::string& text) {
        const std::string utf8 = Cp1252ToUtf8(text);
        std::cout.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    });
    return 0;
}

}  // namespace

QV_CLI_COMMAND("export",
               "export FILE [--offset O] [--length L] --format c|asm|base64|hex-text|min-text|chars|dump "
               "[--size 1|2|4|8] [--line N] [--big-endian] [--file]",
               Export);

}  // namespace qv::cli
