// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoder of the LZW code streams stored in compressed container blocks: codes packed
// least significant bit first, 9 to 12 bits wide, 256 = clear, 257 = end.
#include <cstddef>
#include <cstdint>

namespace qv {

// Decodes stream into output (room for capacity bytes). Returns the number of bytes
// written when the end code is reached; 0 when the output would come within 4 bytes of
// the capacity or the stream ends without an end code. A code that is not yet defined
// stops decoding and returns what was written so far (callers check the length). Bytes
// after the decoded ones, up to the capacity, may be overwritten as scratch space.
size_t LzwDecode(const uint8_t* stream, size_t streamLength, uint8_t* output, size_t capacity);

}  // namespace qv
