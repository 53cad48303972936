// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where convert writes: a regular file (or a new name) is replaced atomically; a FIFO, a
// character device, a socket or standard output is written into as it is, never renamed
// over. Failures throw std::runtime_error with a German sentence.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv::cli {

void WriteOutputFile(const std::string& path, const uint8_t* data, size_t size);

}  // namespace qv::cli
