// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ClipboardTextPieces.h"

#include <algorithm>

#include "document/CTextGenerator.h"

namespace qv::cli {

namespace {

constexpr uint64_t kPieceTarget = 1 << 20;
// Base64 lines of 64 characters hold 48 bytes; any line of the other forms holds a whole
// number of values.
constexpr uint64_t kBase64LineBytes = 48;

}  // namespace

void ExportClipboardText(const uint8_t* bytes, uint64_t count, int valueSize, int format, int lineSize,
                         const std::function<void(const std::string& piece)>& write)
{
    const uint64_t lineBytes = static_cast<uint64_t>(lineSize > 0 ? lineSize : 16) * static_cast<uint64_t>(valueSize);
    const uint64_t unit = lineBytes * kBase64LineBytes;
    const uint64_t pieceBytes = unit * std::max<uint64_t>(1, kPieceTarget / unit);
    std::string text;
    uint64_t done = 0;
    do {
        const size_t length = static_cast<size_t>(std::min(pieceBytes, count - done));
        // The room the copy command reserves: enough for every form.
        text.resize((length / static_cast<size_t>(valueSize) + 2 * length) * 4 + 20);
        text.resize(GenerateCText(bytes + done, length, valueSize, format, lineSize, text.data(), text.size()));
        write(text);
        done += length;
    } while (done < count);
}

}  // namespace qv::cli
