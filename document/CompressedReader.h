// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reader of the compressed container ("QVCD"): a 16-byte header, an extra header area and
// blocks of zeros, raw bytes or LZW streams. Read only; nothing writes this format.
#include <cstdint>
#include <optional>
#include <vector>

namespace qv {

// The document bytes held by the container in content (the whole file), or nothing when
// any check fails: a container is either loaded completely or not at all.
std::optional<std::vector<uint8_t>> CompressedReader(const std::vector<uint8_t>& content);

// The first bytes of every container.
inline constexpr char kCompressedMagic[4] = {'Q', 'V', 'C', 'D'};

}  // namespace qv
