// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reader of Intel HEX files: data records (00) placed by their address plus the extended
// segment (02) or linear (04) base, less a start offset. Never fails; unusable text gives
// no bytes.
#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

// Records whose first byte would land beyond this index are skipped.
inline constexpr int64_t kIntelHexMaxIndex = 0x10000000;

// The document bytes: every byte not given by a record is 0, the length is the highest
// written index rounded up to a multiple of 1024.
std::vector<uint8_t> IntelHexReader(std::string_view content, uint32_t startOffset);

// The start offset to propose for the file: the base set by the last 02 or 04 record that
// comes before the first data record, 0 when there is none.
uint32_t ProposeStartOffset(std::string_view content);

}  // namespace qv
