#include "cli/ToolRange.h"

namespace qv::cli {

ToolBytes RangeOfFile(const std::vector<uint8_t>& bytes, const CliArgs& args)
{
    const uint64_t offset = args.Number("offset").value_or(0);
    const auto length = args.Number("length");
    if (offset > bytes.size()) throw UsageError("--offset liegt hinter dem Dateiende");
    if (!length) return ToolInputBytes(bytes.data() + offset, bytes.size() - offset, 0, 0);
    if (*length > bytes.size() - offset) throw UsageError("--length reicht über das Dateiende hinaus");
    return {bytes.data() + offset, static_cast<size_t>(*length)};
}

}  // namespace qv::cli
