#include "document/DocumentFormats.h"

namespace qv {

// The text formats are not built yet: the document reports them as not available.
bool FormatAvailable(DocumentFormat format)
{
    return format == DocumentFormat::Binary;
}

std::optional<std::vector<uint8_t>> ReadDocumentFormat(DocumentFormat, const std::vector<uint8_t>&, FormatContext&)
{
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> WriteDocumentFormat(DocumentFormat, const uint8_t*, size_t, uint32_t)
{
    return std::nullopt;
}

}  // namespace qv
