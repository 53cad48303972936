// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ToolRange.h"

namespace qv::cli {

uint64_t RangeReadLimit(const CliArgs& args)
{
    const uint64_t offset = args.Number("offset").value_or(0);
    const uint64_t length = args.Number("length").value_or(kToolUnselectedLimit);
    return offset + length < offset ? UINT64_MAX : offset + length;
}

ToolBytes RangeOfFile(const uint8_t* data, uint64_t size, const CliArgs& args)
{
    const uint64_t offset = args.Number("offset").value_or(0);
    const auto length = args.Number("length");
    CheckOffsetInFile(offset, size);
    if (!length) return ToolInputBytes(data + offset, size - offset, 0, 0);
    if (*length > size - offset) throw UsageError("--length reicht über das Dateiende hinaus");
    return {data + offset, static_cast<size_t>(*length)};
}

void CheckOffsetInFile(uint64_t offset, uint64_t size)
{
    if (offset > size) throw UsageError("--offset liegt hinter dem Dateiende");
}

}  // namespace qv::cli
