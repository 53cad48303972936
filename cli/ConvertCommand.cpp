// quarnival-cli convert: reads a file with one of the document's readers and writes it with
// one of its writers (plain binary, Intel HEX, C array text; the compressed container is
// read only).
#include <iostream>
#include <stdexcept>
#include <string_view>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "common/PathHelpers.h"
#include "document/CArrayReader.h"
#include "document/CArrayWriter.h"
#include "document/CompressedReader.h"
#include "document/IntelHexReader.h"
#include "document/IntelHexWriter.h"
#include "platform/AtomicSave.h"
#include "platform/FileSystem.h"

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

std::vector<uint8_t> Read(Format format, std::vector<uint8_t> content, uint32_t startOffset)
{
    const std::string_view text(reinterpret_cast<const char*>(content.data()), content.size());
    switch (format) {
    case Format::IntelHex: return IntelHexReader(text, startOffset);
    case Format::CArray: return CArrayReader(text);
    case Format::Compressed: return CompressedReader(content).value_or(std::vector<uint8_t>());
    case Format::Binary: break;
    }
    return content;
}

int Convert(const std::vector<std::string>& arguments)
{
    const CliArgs args(arguments, {"from", "to", "offset", "base"}, {});
    if (args.Positional().size() != 2) throw UsageError("IN und OUT erwartet");
    const std::string& in = args.Positional()[0];
    const std::string& out = args.Positional()[1];
    const uint32_t offset = static_cast<uint32_t>(args.Number("offset").value_or(0));
    // Like the editor, a start offset also becomes the address the bytes are saved at.
    const uint32_t base = static_cast<uint32_t>(args.Number("base").value_or(offset));

    const Format from = FormatOf(args.Value("from"), in, true);
    const Format to = FormatOf(args.Value("to"), out, false);
    std::vector<uint8_t> content;
    if (qv::ReadWholeFile(in, content) != FileError::None)
        throw std::runtime_error("Datei kann nicht gelesen werden: " + in);
    const std::vector<uint8_t> bytes = Read(from, std::move(content), offset);
    if (bytes.empty()) {
        std::cerr << "quarnival-cli convert: " << in << " ergibt keine Bytes\n";
        return 1;
    }
    std::vector<uint8_t> written;
    switch (to) {
    case Format::IntelHex: written = IntelHexWriter(bytes.data(), bytes.size(), base); break;
    case Format::CArray: written = CArrayWriter(bytes.data(), bytes.size()); break;
    default: written = bytes; break;
    }
    if (SaveFileAtomically(out, written.data(), written.size()) != SaveError::None) {
        std::cerr << "quarnival-cli convert: Fehler beim Speichern von " << out << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

QV_CLI_COMMAND("convert", "convert IN OUT [--from bin|ihex|c|qvcd] [--to bin|ihex|c] [--offset S] [--base B]",
               Convert);

}  // namespace qv::cli
