// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli dump: the rows of a file exactly as the hex view builds them, one line per
// row, as UTF-8 with the trailing blanks kept.
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/SystemErrorText.h"
#include "cli/ToolRange.h"
#include "common/CodePage.h"
#include "view/HexLayout.h"
#include "view/HexRow.h"

namespace qv::cli {

namespace {

// UTF-8 form of every Windows-1252 byte, made once from the program's code page table.
struct Utf8Table {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<uint8_t, 256> lengths{};

    Utf8Table()
    {
        for (int b = 0; b < 256; ++b) {
            const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(b)));
            lengths[static_cast<size_t>(b)] = static_cast<uint8_t>(std::min<size_t>(utf8.size(), 4));
            std::copy_n(utf8.begin(), lengths[static_cast<size_t>(b)], bytes[static_cast<size_t>(b)].begin());
        }
    }
};

class Output {
public:
    // Room for one more row of at most `bytes` bytes.
    char* Reserve(size_t bytes)
    {
        if (used_ + bytes > buffer_.size()) Flush();
        return buffer_.data() + used_;
    }
    void Commit(size_t bytes) { used_ += bytes; }
    void Flush()
    {
        std::cout.write(buffer_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

private:
    std::vector<char> buffer_ = std::vector<char>(1 << 20);
    size_t used_ = 0;
};

// A pipe cannot seek: its first `count` bytes are read and dropped. False when it ends first.
bool SkipUnseekable(std::FILE* file, uint64_t count)
{
    if (errno != ESPIPE) return false;
    std::vector<char> dropped(1 << 16);
    while (count > 0) {
        const size_t got = std::fread(dropped.data(), 1, std::min<uint64_t>(count, dropped.size()), file);
        if (got == 0) return false;
        count -= got;
    }
    return true;
}

int32_t OptionInt(const CliArgs& args, const std::string& name, int32_t fallback, int64_t low, int64_t high)
{
    const std::optional<uint64_t> value = args.Number(name);
    if (!value) return fallback;
    if (static_cast<int64_t>(*value) < low || static_cast<int64_t>(*value) > high || *value > INT32_MAX)
        throw UsageError("--" + name + " liegt nicht zwischen " + std::to_string(low) + " und " +
                         std::to_string(high));
    return static_cast<int32_t>(*value);
}

int32_t FormatOption(const CliArgs& args)
{
    const std::optional<std::string> format = args.Value("format");
    if (!format || *format == "byte") return 0;
    if (*format == "word") return 1;
    if (*format == "dword") return 2;
    if (*format == "qword") return 3;
    throw UsageError("--format erwartet byte, word, dword oder qword");
}

int RunDump(const std::vector<std::string>& argv)
{
    const CliArgs args(argv,
                       {"line-width", "extra-space", "insert-space", "address-digits", "format", "base", "offset",
                        "length", "row-phase"},
                       {"invert", "hide-address", "hide-hex", "hide-text"});
    if (args.Positional().size() != 1) throw UsageError("genau eine Datei erwartet");

    // The rows of a fixed-width view: the width is taken as given (no width raster).
    uint32_t hexFlags = 0x184;
    if (args.Has("hide-address")) hexFlags |= FlagHideAddress;
    if (args.Has("hide-hex")) hexFlags |= FlagHideHex;
    if (args.Has("hide-text")) hexFlags |= FlagHideText;
    HexLayout layout;
    LayoutRequest request;
    request.lineWidth = OptionInt(args, "line-width", 16, 1, 256);
    request.extraSpace = OptionInt(args, "extra-space", 4, 0, 4096);
    request.insertSpace = OptionInt(args, "insert-space", 1, 0, 1);
    request.addressDigits = OptionInt(args, "address-digits", 6, 1, 8);
    request.outputFormat = FormatOption(args);
    request.invert = args.Has("invert") ? 1 : 0;
    layout.Apply(request, hexFlags);
    layout.rowPhase = OptionInt(args, "row-phase", 0, 0, 255) % layout.bytesPerRow;

    const std::optional<uint64_t> baseOption = args.Number("base");
    if (baseOption && *baseOption > UINT32_MAX) throw UsageError("--base passt nicht in 32 Bit");
    uint32_t base = baseOption ? static_cast<uint32_t>(*baseOption) : 0;

    const std::string& path = args.Positional()[0];
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error(FileErrorText(path, errno));
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);

    // A section is shown as a block of its own that keeps its addresses.
    const uint64_t offset = args.Number("offset").value_or(0);
    uint64_t remaining = UINT64_MAX;
    if (const std::optional<uint64_t> limit = args.Number("length")) remaining = *limit;
    struct stat status {};
    if (::fstat(::fileno(file), &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0)
        CheckOffsetInFile(offset, static_cast<uint64_t>(status.st_size));
    if (offset > 0 && fseeko(file, static_cast<off_t>(std::min<uint64_t>(offset, INT64_MAX)), SEEK_SET) != 0 &&
        !SkipUnseekable(file, offset))
        CheckOffsetInFile(offset, 0);  // the stream ended before the offset
    base += static_cast<uint32_t>(offset);

    // The file is read in chunks of whole rows: every chunk after the first starts a row,
    // so it is a block of its own with the row phase 0 and the address of its first byte.
    const int64_t b = layout.bytesPerRow;
    const int64_t rowsPerChunk = (4 << 20) / b;
    std::vector<uint8_t> chunk(static_cast<size_t>(rowsPerChunk * b));
    static const Utf8Table utf8;
    Output out;
    RowText row;
    HexLayout chunkLayout = layout;
    uint64_t shown = 0;
    for (bool first = true; remaining > 0; first = false) {
        const int64_t wanted = first ? rowsPerChunk * b - layout.Phase() : rowsPerChunk * b;
        const size_t got =
            std::fread(chunk.data(), 1, static_cast<size_t>(std::min<uint64_t>(wanted, remaining)), file);
        if (got == 0) break;
        remaining -= got;
        const uint32_t chunkBase = base + static_cast<uint32_t>(shown);
        shown += got;
        if (!first) chunkLayout.rowPhase = 0;
        const int32_t length = static_cast<int32_t>(got);
        const int32_t rows = chunkLayout.LineCount(length);
        const size_t textStart = static_cast<size_t>(layout.textStart);
        for (int32_t r = 0; r < rows; ++r) {
            BuildHexRow(chunkLayout, chunk.data(), length, chunkBase, r, nullptr, row);
            const size_t columns = static_cast<size_t>(row.length);
            char* target = out.Reserve(columns * 4 + 4);
            // Address and hex columns are ASCII; only the text area needs converting.
            const size_t ascii = std::min(textStart, columns);
            std::copy_n(row.chars.data(), ascii, target);
            size_t n = ascii;
            // Without branches: random bytes would defeat the branch predictor.
            for (size_t c = textStart; c < columns; ++c) {
                const uint8_t ch = static_cast<uint8_t>(row.chars[c]);
                std::memcpy(target + n, utf8.bytes[ch].data(), 4);
                n += utf8.lengths[ch];
            }
            target[n++] = '\n';
            out.Commit(n);
        }
        if (static_cast<int64_t>(got) < wanted) break;
    }
    if (std::ferror(file)) throw std::runtime_error(FileErrorText(path, errno));
    out.Flush();
    return 0;
}

}  // namespace

QV_CLI_COMMAND("dump",
               "dump DATEI [--line-width N] [--extra-space N] [--insert-space 0|1] [--address-digits N] "
               "[--format byte|word|dword|qword] [--invert] [--hide-address] [--hide-hex] [--hide-text] "
               "[--base ADR] [--offset O] [--length L] [--row-phase P]",
               RunDump);

}  // namespace qv::cli
