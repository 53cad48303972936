// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of a document as its readers see them: a size and windows of consecutive
// bytes. Painting, search, checksums and CRCs, modules, the clipboard, printing, compare,
// hashes and the inspector read the document through this seam alone, so that a store that
// is not one contiguous block (a piece table) can take the block's place without touching
// them. Today the view's block and a file's map stand behind it.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace qv {

class IByteSource {
public:
    virtual ~IByteSource() = default;
    virtual int64_t Size() const = 0;
    // The bytes [offset, offset + length), cut at the end of the source (empty past it). A
    // store that holds them contiguously returns its own memory; any other copies them into
    // `scratch`. The span stays valid until the source changes or `scratch` is reused.
    virtual std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>& scratch) const = 0;
};

// A contiguous block: the view's bytes or a mapped file.
class BlockByteSource final : public IByteSource {
public:
    BlockByteSource() = default;
    BlockByteSource(const uint8_t* data, int64_t size) : data_(data), size_(size) {}
    void Reset(const uint8_t* data, int64_t size)
    {
        data_ = data;
        size_ = size;
    }
    int64_t Size() const override { return size_; }
    std::span<const uint8_t> Window(int64_t offset, int64_t length, std::vector<uint8_t>&) const override
    {
        if (offset < 0 || offset >= size_ || length <= 0) return {};
        int64_t n = length < size_ - offset ? length : size_ - offset;
        return {data_ + offset, static_cast<size_t>(n)};
    }

private:
    const uint8_t* data_ = nullptr;
    int64_t size_ = 0;
};

// Visits [offset, offset + length) in windows of at most `chunk` bytes, in order; stops early
// (and returns false) when `visit` returns false. `visit` gets each window's offset.
bool ForEachWindow(const IByteSource& source, int64_t offset, int64_t length, int64_t chunk,
                   const std::function<bool(int64_t offset, std::span<const uint8_t> bytes)>& visit);

}  // namespace qv
