// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/DocumentFormats.h"

#include <cstdint>
#include <string_view>

#include "document/CArrayReader.h"
#include "document/CArrayWriter.h"
#include "document/CompressedReader.h"
#include "document/IntelHexReader.h"
#include "document/IntelHexWriter.h"
#include "document/StartOffsetDialog.h"
#include "document/StartOptions.h"

namespace qv {

namespace {

std::string_view AsText(const std::vector<uint8_t>& content)
{
    return {reinterpret_cast<const char*>(content.data()), content.size()};
}

// The offset the user places the file's first bytes at, when asked; it also becomes the
// base address shown. Cancelling reads from offset 0 and keeps the base address.
uint32_t AskStartOffset(std::string_view text, FormatContext& context)
{
    if (!context.askStartOffset || !context.dialogs) return 0;
    StartOffsetDialog dialog(ProposeStartOffset(text));
    if (!context.dialogs->Run(dialog)) return 0;
    const uint32_t offset = dialog.Offset();
    if (context.startOptions) context.startOptions->BaseAddress = offset;
    return offset;
}

}  // namespace

bool FormatAvailable(DocumentFormat)
{
    return true;
}

std::optional<std::vector<uint8_t>> ReadDocumentFormat(DocumentFormat format, const std::vector<uint8_t>& content,
                                                       FormatContext& context)
{
    switch (format) {
    case DocumentFormat::IntelHex: {
        const std::string_view text = AsText(content);
        context.startOffsetUsed = AskStartOffset(text, context);
        return IntelHexReader(text, context.startOffsetUsed);
    }
    case DocumentFormat::Compressed: return CompressedReader(content);
    case DocumentFormat::CArray: return CArrayReader(AsText(content));
    case DocumentFormat::Binary: break;
    }
    return std::nullopt;
}

size_t FormatCapacity(DocumentFormat format)
{
    switch (format) {
    case DocumentFormat::IntelHex: return kIntelHexMaxWrite;
    case DocumentFormat::CArray: return kCArrayMaxBytes;
    case DocumentFormat::Compressed:
    case DocumentFormat::Binary: break;
    }
    return SIZE_MAX;
}

std::optional<std::vector<uint8_t>> WriteDocumentFormat(DocumentFormat format, const uint8_t* data, size_t length,
                                                        uint32_t baseAddress)
{
    switch (format) {
    case DocumentFormat::IntelHex: return IntelHexWriter(data, length, baseAddress);
    case DocumentFormat::CArray: return CArrayWriter(data, length);
    case DocumentFormat::Compressed:
    case DocumentFormat::Binary: break;
    }
    return std::nullopt;
}

}  // namespace qv
