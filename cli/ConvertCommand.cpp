// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli convert: reads a file with one of the document's readers and writes it with
// one of its writers (plain binary, Intel HEX, C array text; the compressed container is
// read only).
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <string_view>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "cli/OutputFile.h"
#include "common/PathHelpers.h"
#include "document/CArrayReader.h"
#include "document/CArrayWriter.h"
#include "document/CompressedReader.h"
#include "document/IntelHexReader.h"
#include "document/IntelHexWriter.h"

namespace qv::cli {

namespace {

constexpr const char* kHexExtensions = "HEX;H86;IHX";
constexpr const char* kCExtensions = "C;CPP;H;HPP";

enum class Format { Binary, IntelHex, CArray, Compressed };

// The format named by --from/--to, or the one the document would use for the name.
Format FormatOf(const std::optional<std::string>& option, const std::string& path, bool reading)
{
    if (option) {
        if (*option == "bin") return Format::Binary;
        if (*option == "ihex") return Format::IntelHex;
        if (*option == "c") return Format::CArray;
        if (*option == "qvcd" && reading) return Format::Compressed;
        throw UsageError("unbekanntes Format: " + *option);
    }
    if (ExtensionInList(path, kHexExtensions)) return Format::IntelHex;
    if (ExtensionInList(path, kCExtensions)) return Format::CArray;
    return Format::Binary;
}

// The document bytes of the input: the map itself for plain binary, else what the reader makes.
std::vector<uint8_t> Read(Format format, const InputFile& input, uint32_t startOffset)
{
    const std::string_view text(reinterpret_cast<const char*>(input.Data()), input.Size());
    switch (format) {
    case Format::IntelHex: return IntelHexReader(text, startOffset);
    case Format::CArray: return CArrayReader(text);
    case Format::Compressed:
        return CompressedReader(std::vector<uint8_t>(input.Data(), input.Data() + input.Size()))
            .value_or(std::vector<uint8_t>());
    case Format::Binary: break;
    }
    return {};
}

// How many of count bytes the target format cannot hold: past its size limit, or (Intel HEX)
// at addresses beyond 32 bits.
uint64_t DroppedBytes(Format format, uint64_t count, uint32_t base)
{
    if (format == Format::CArray) return count - std::min<uint64_t>(count, kCArrayMaxBytes);
    if (format != Format::IntelHex) return 0;
    const uint64_t kept = std::min<uint64_t>(count, kIntelHexMaxWrite);
    const uint64_t end = (base & 0xFFFF0000u) + kept;
    const uint64_t beyond = end > (uint64_t{1} << 32) ? end - (uint64_t{1} << 32) : 0;
    return count - kept + beyond;
}

int Convert(const std::vector<std::string>& arguments)
{
    const CliArgs args(arguments, {"from", "to", "offset", "base"}, {});
    if (args.Positional().size() != 2) throw UsageError("IN und OUT erwartet");
    const std::string& in = args.Positional()[0];
    const std::string& out = args.Positional()[1];
    // A negative start offset moves the records up, as in the start-offset dialog.
    const int64_t offsetOption = args.SignedNumber("offset").value_or(0);
    if (offsetOption > INT64_C(0xFFFFFFFF) || offsetOption < INT32_MIN) throw UsageError("--offset passt nicht in 32 Bit");
    const uint32_t offset = static_cast<uint32_t>(offsetOption);
    // Like the editor, a start offset also becomes the address the bytes are saved at.
    const uint64_t baseOption = args.Number("base").value_or(offset);
    if (baseOption > UINT32_MAX) throw UsageError("--base passt nicht in 32 Bit");
    const uint32_t base = static_cast<uint32_t>(baseOption);

    const Format from = FormatOf(args.Value("from"), in, true);
    const Format to = FormatOf(args.Value("to"), out, false);
    const InputFile input(in);
    input.WillRead(input.Data(), input.Size());
    const std::vector<uint8_t> converted = Read(from, input, offset);
    const uint8_t* bytes = from == Format::Binary ? input.Data() : converted.data();
    const uint64_t count = from == Format::Binary ? input.Size() : converted.size();
    if (count == 0) {
        std::cerr << "quarnival-cli convert: " << in << " ergibt keine Bytes\n";
        return 1;
    }
    if (const uint64_t dropped = DroppedBytes(to, count, base)) {
        std::cerr << "quarnival-cli convert: " << out << " kann nicht alle Bytes aufnehmen: " << dropped << " von "
                  << count << " Bytes fielen weg. Es wurde nichts geschrieben.\n";
        return 1;
    }
    std::vector<uint8_t> text;
    if (to == Format::IntelHex) text = IntelHexWriter(bytes, count, base);
    if (to == Format::CArray) text = CArrayWriter(bytes, count);
    const bool isText = to == Format::IntelHex || to == Format::CArray;
    WriteOutputFile(out, isText ? text.data() : bytes, isText ? text.size() : count);
    return 0;
}

}  // namespace

QV_CLI_COMMAND_FAILURE("convert",
                       "convert IN OUT [--from bin|ihex|c|qvcd] [--to bin|ihex|c] [--offset S] [--base B]",
                       "IN ist nicht lesbar oder ergibt keine Bytes, OUT kann nicht alle Bytes aufnehmen "
                       "(dann wird nichts geschrieben) oder nicht geschrieben werden",
                       Convert);

}  // namespace qv::cli
