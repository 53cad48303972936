// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reader of C/C++ source text made of byte values: lines of comma-separated numbers in C
// notation («0x01,0x02,»); declarations, braces and comments give no bytes.
#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

// Reading stops once the result exceeds this many bytes (the bytes read are kept).
inline constexpr size_t kCArrayMaxRead = 0x1000000;

std::vector<uint8_t> CArrayReader(std::string_view content);

// The byte values of one line, however many, appended to out.
void ReadCArrayLine(std::string_view line, std::vector<uint8_t>& out);

}  // namespace qv
