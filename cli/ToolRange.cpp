// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ToolRange.h"

#include <algorithm>

namespace qv::cli {

uint64_t RangeReadLimit(const CliArgs& args)
{
    const uint64_t offset = args.Number("offset").value_or(0);
    const uint64_t length = args.Number("length").value_or(kToolUnselectedLimit);
    return offset + length < offset ? UINT64_MAX : offset + length;
}

ToolBytes RangeOfFile(const IByteSource& file, const CliArgs& args)
{
    const uint64_t size = static_cast<uint64_t>(file.Size());
    const uint64_t offset = args.Number("offset").value_or(0);
    const auto length = args.Number("length");
    CheckOffsetInFile(offset, size);
    const uint64_t available = size - offset;
    if (length && *length > available) throw UsageError("--length reicht über das Dateiende hinaus");
    const uint64_t taken = length ? *length : std::min<uint64_t>(available, kToolUnselectedLimit);
    return {&file, static_cast<int64_t>(offset), static_cast<int64_t>(taken)};
}

void CheckOffsetInFile(uint64_t offset, uint64_t size)
{
    if (offset > size) throw UsageError("--offset liegt hinter dem Dateiende");
}

}  // namespace qv::cli
