// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ByteSource.h"

#include <algorithm>

namespace qv {

bool ForEachWindow(const IByteSource& source, int64_t offset, int64_t length, int64_t chunk,
                   const std::function<bool(int64_t offset, std::span<const uint8_t> bytes)>& visit)
{
    std::vector<uint8_t> scratch;
    int64_t end = std::min(offset + length, source.Size());
    for (int64_t at = std::max<int64_t>(offset, 0); at < end;) {
        std::span<const uint8_t> bytes = source.Window(at, std::min(chunk, end - at), scratch);
        if (bytes.empty()) break;
        if (!visit(at, bytes)) return false;
        at += static_cast<int64_t>(bytes.size());
    }
    return true;
}

}  // namespace qv
