// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Large files for tests without the disk space: a sparse file of any size (holes read as
// zeros) with some bytes written at chosen offsets, and a way to read bytes back from it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qv::test {

// Creates (or replaces) `path` with `size` bytes; each text is written at its offset.
void MakeSparseFile(const std::string& path, int64_t size,
                    const std::vector<std::pair<int64_t, std::string>>& texts = {});

// `count` bytes of the file from `offset`, read with the file calls (not through a map).
std::string ReadFileBytes(const std::string& path, int64_t offset, size_t count);

}  // namespace qv::test
