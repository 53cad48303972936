// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes bytes as Intel HEX records: 16 data bytes a record, extended linear address
// records before each 64 KB block when the addresses need more than 16 bits, the end record.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

// At most this many bytes are written; the rest of a larger document is left out.
inline constexpr size_t kIntelHexMaxWrite = 0x4000000;

// The file content for count bytes shown from baseAddress. The base's low 16 bits are not
// kept: byte i is written at (baseAddress & 0xFFFF0000) + i.
std::vector<uint8_t> IntelHexWriter(const uint8_t* data, size_t count, uint32_t baseAddress);

}  // namespace qv
