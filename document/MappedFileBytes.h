// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A mapped document's bytes read from its file with read calls instead of through the map.
// The map shares the page cache with them, so they are the bytes the view shows, edits
// included; but reading them does not make the file's pages part of the window's memory.
// For readers that pass over a whole document in the background (the entropy overview):
// through the map, the kernel's read-ahead would make a 100 GiB image resident.
#include <algorithm>
#include <cstddef>

#include "platform/MappedFile.h"
#include "view/ByteSource.h"

namespace qv {

class MappedFileBytes final : public IByteSource {
public:
    explicit MappedFileBytes(const MappedFile& file) : file_(file) {}
    int64_t Size() const override { return static_cast<int64_t>(file_.Size()); }
    std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>& scratch) const override
    {
        if (offset < 0 || offset >= Size() || length <= 0) return {};
        scratch.resize(static_cast<size_t>(std::min(length, Size() - offset)));
        const size_t read = file_.ReadAt(offset, scratch.size(), scratch.data());
        // What another program cut off the file is read as the view reads it: through the
        // map, as zeros, and noted as the map's fault for the document to find.
        const uint8_t* const mapped = file_.Data() + offset;
        std::copy(mapped + read, mapped + scratch.size(), scratch.begin() + static_cast<std::ptrdiff_t>(read));
        return scratch;
    }

private:
    const MappedFile& file_;
};

}  // namespace qv
