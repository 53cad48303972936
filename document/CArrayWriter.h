// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes bytes as C array text: "0x%02X," per byte, 16 to a line, CR LF after every line.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

// At most this many bytes are written (16 MB).
inline constexpr size_t kCArrayMaxBytes = 0x1000000;

std::vector<uint8_t> CArrayWriter(const uint8_t* data, size_t count);

}  // namespace qv
